#pragma once

#include <QWidget>

class QVBoxLayout;

namespace solvara {

class StyledLabel;

// A titled group of a settings tab: the title in the headline style (shown verbatim, not
// looked up), then the content, 10 pixels apart, leading-aligned. Add the content's widgets
// and rows with addWidget()/addLayout(), or to contentLayout().
class SettingsSection : public QWidget {
    Q_OBJECT

public:
    static constexpr int spacing = 10;

    explicit SettingsSection(const QString& title, QWidget* parent = nullptr);

    void addWidget(QWidget* widget);
    void addLayout(QLayout* layout);
    QVBoxLayout* contentLayout() const { return content_; }
    StyledLabel* titleLabel() const { return title_; }

private:
    StyledLabel* title_;
    QVBoxLayout* content_;
};

}  // namespace solvara
