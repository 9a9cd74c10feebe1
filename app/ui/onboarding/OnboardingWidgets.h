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

// The green check mark of a granted permission; it grows in from nothing and fades in.
class GrantedMark : public QWidget {
    Q_OBJECT

public:
    explicit GrantedMark(QWidget* parent = nullptr);

    // Shows the mark; `animated` lets it grow in over 0.3 s.
    void appear(bool animated);
    // How far it has grown: 0 nothing, 1 full size and opacity.
    double shown() const { return shown_; }
    QSize sizeHint() const override { return {24, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QVariantAnimation* animation_;
    double shown_ = 1;
};

// One permission: its symbol, title and description, and either a green check mark (granted)
// or a "Grant" button.
class PermissionCard : public QWidget {
    Q_OBJECT

public:
    PermissionCard(std::string_view symbol, QColor Theme::*color, const QString& title, const QString& description,
                   QWidget* parent = nullptr);

    // `animated`: the check mark grows in (a permission granted while the page is open).
    void setGranted(bool granted, bool animated);
    bool isGranted() const { return granted_; }
    QAbstractButton* grantButton() const { return grant_; }

signals:
    void grantRequested();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPushButton* grant_;
    GrantedMark* check_;
    QString title_;
    bool granted_ = false;
};

}  // namespace solvara
