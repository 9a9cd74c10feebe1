#pragma once

#include <QAbstractButton>

namespace solvara {

// An on/off switch: a checkable button drawn as a capsule track with a round knob (accent when
// on). Mouse, Space and a screen reader's toggle all fire toggled(); views write their setting
// from toggled() and set the state in refresh() under a QSignalBlocker. It keeps its accessible
// description at "On" or "Off".
class Switch : public QAbstractButton {
    Q_OBJECT

public:
    static constexpr int trackWidth = 32;
    static constexpr int trackHeight = 18;

    explicit Switch(const QString& accessibleName, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void checkStateSet() override;
    void nextCheckState() override;

private:
    void describe();
};

}  // namespace solvara
