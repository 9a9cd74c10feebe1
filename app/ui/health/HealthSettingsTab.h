#pragma once

#include <QWidget>

namespace solvara {

class AppState;
struct UiServices;

// The main window's Health tab. Until its own view lands, an empty page.
class HealthSettingsTab : public QWidget {
public:
    explicit HealthSettingsTab(AppState& state, UiServices& ui, QWidget* parent = nullptr);
};

}  // namespace solvara
