#pragma once

#include <QWidget>

namespace solvara {

class StyledLabel;

// A label at the leading edge and a value at the trailing edge of one row: the label in the
// primary colour, the value in the secondary (DejaVu Sans digits are all one width, so numbers
// do not jitter). Both texts are shown verbatim; setValue() from a refresh. A screen reader hears
// the value label by its accessible name, so that name is the row's label and the value shown
// ("Coordinates: 40.71, -74.01"), renamed with every new value: set the value only through
// setValue().
class SettingsRow : public QWidget {
    Q_OBJECT

public:
    SettingsRow(const QString& label, const QString& value, QWidget* parent = nullptr);

    void setValue(const QString& value);
    QString value() const;
    StyledLabel* labelText() const { return label_; }
    StyledLabel* valueText() const { return value_; }

private:
    void nameValue();

    StyledLabel* label_;
    StyledLabel* value_;
};

}  // namespace solvara
