#pragma once

#include <QWidget>

namespace solvara {

class AppState;
struct UiServices;

// The main window's Dashboard page. Until its own view lands, an empty page.
class DashboardTab : public QWidget {
public:
    explicit DashboardTab(AppState& state, UiServices& ui, QWidget* parent = nullptr);
};

}  // namespace solvara
