#pragma once

#include <string_view>

#include <QPushButton>
#include <QWidget>

#include "app/ui/kit/Theme.h"

class QAbstractButton;
class QLabel;
class QVariantAnimation;

namespace solvara {

class StyledLabel;

// The flow's thin progress bar: a faint track and an accent fill of (step + 1) / steps of its
// width, sliding to a new step over 0.4 s.
class OnboardingProgressBar : public QWidget {
    Q_OBJECT

public:
    OnboardingProgressBar(int steps, QWidget* parent = nullptr);

    void setStep(int step, bool animated);
    // The fill's width now.
    double fillWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int steps_;
    double shownStep_ = 0;
    QVariantAnimation* animation_;
};

// The filled accent button that moves the flow on.
class ProminentButton : public QPushButton {
    Q_OBJECT

public:
    explicit ProminentButton(const QString& text, QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// One permission: its symbol, title and description, and either a green check mark (granted)
// or a "Grant" button.
class PermissionCard : public QWidget {
    Q_OBJECT

public:
    PermissionCard(std::string_view symbol, QColor Theme::*color, const QString& title, const QString& description,
                   QWidget* parent = nullptr);

    void setGranted(bool granted);
    bool isGranted() const { return granted_; }
    QAbstractButton* grantButton() const { return grant_; }

signals:
    void grantRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* grant_;
    StyledLabel* check_;
    QString title_;
    bool granted_ = false;
};

}  // namespace solvara
