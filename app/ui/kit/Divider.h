#pragma once

#include <QWidget>

namespace solvara {

// A thin line across (or, vertical, down) its space in the separator colour, 1 pixel thick.
class Divider : public QWidget {
    Q_OBJECT

public:
    explicit Divider(Qt::Orientation orientation = Qt::Horizontal, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace solvara
