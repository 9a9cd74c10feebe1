// The kit's widgets side by side, and the tray icon for each symbol the tray shows.

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/ui/kit/Card.h"
#include "app/ui/kit/Divider.h"
#include "app/ui/kit/Dot.h"
#include "app/ui/kit/Picker.h"
#include "app/ui/kit/Pill.h"
#include "app/ui/kit/SettingsRow.h"
#include "app/ui/kit/SettingsSection.h"
#include "app/ui/kit/SteppedSlider.h"
#include "app/ui/kit/StyledLabel.h"
#include "app/ui/kit/Switch.h"
#include "app/ui/kit/TrayIconRenderer.h"
#include "core/foundation/Format.h"
#include "tests/screenshots/Screenshots.h"

using namespace solvara;

SOLVARA_SCENE(kitWidgets, "kit-widgets", 420, 0) {
    auto page = std::make_unique<QWidget>();
    auto* stack = new QVBoxLayout(page.get());
    stack->setContentsMargins(24, 24, 24, 24);
    stack->setSpacing(20);

    auto* section = new SettingsSection("Section title", page.get());
    auto* row = new QHBoxLayout();
    row->addWidget(new StyledLabel("Enable filtering", TextStyle::body, &Theme::primary));
    row->addStretch(1);
    auto* on = new Switch("On switch");
    on->setChecked(true);
    row->addWidget(on);
    row->addWidget(new Switch("Off switch"));
    section->addLayout(row);
    auto* slider = new SteppedSlider(1800, 6500, 100, [](double v) {
        return QString::fromStdString(format::integer(static_cast<std::int64_t>(v)) + "K");
    });
    slider->setValue(4321);
    section->addWidget(slider);
    auto* picker = new Picker("Mode");
    for (const char* mode : {"Auto", "Movie", "Reading"}) picker->addOption(mode, QString(mode));
    picker->setCurrentTag(QString("Movie"));
    section->addWidget(picker);
    section->addWidget(new SettingsRow("Effective color temperature", "4500K"));
    section->addWidget(new SettingsRow("Breaks completed", "12"));
    stack->addWidget(section);
    stack->addWidget(new Divider());

    auto* card = new Card();
    auto* inside = new QHBoxLayout(card);
    inside->setContentsMargins(0, 0, 0, 0);
    for (auto role : {&Theme::green, &Theme::yellow, &Theme::red, &Theme::blue, &Theme::secondary}) {
        inside->addWidget(new Dot(10, role));
    }
    inside->addStretch(1);
    inside->addWidget(new Pill("≥250 lux", TextStyle::systemFont(8, QFont::Medium)));
    inside->addWidget(new StyledLabel("caption", TextStyle::caption, &Theme::secondary));
    stack->addWidget(card);
    return page;
}

SOLVARA_SCENE(trayIcons, "tray-icons", 560, 0) {
    auto page = std::make_unique<QWidget>();
    auto* grid = new QVBoxLayout(page.get());
    grid->setContentsMargins(12, 12, 12, 12);
    // On a dark and a light panel, at the sizes trays use.
    for (const char* panel : {"#2b2b2b", "#d6d6d6"}) {
        auto* strip = new QWidget();
        strip->setAutoFillBackground(true);
        QPalette p = strip->palette();
        p.setColor(QPalette::Window, QColor(panel));
        strip->setPalette(p);
        auto* icons = new QHBoxLayout(strip);
        for (const char* symbol : {"sun.max", "sun.min", "sun.horizon", "sunset", "moon.stars"}) {
            for (int size : {16, 22, 32}) {
                auto* image = new QLabel();
                image->setPixmap(QPixmap::fromImage(TrayIconRenderer::image(symbol, size)));
                icons->addWidget(image, 0, Qt::AlignCenter);
            }
        }
        grid->addWidget(strip);
    }
    return page;
}
