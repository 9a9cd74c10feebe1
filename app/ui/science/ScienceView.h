#pragma once

#include <QWidget>

namespace solvara {

class AppState;
struct UiServices;

// The main window's Science tab. Until its own view lands, an empty page.
class ScienceView : public QWidget {
public:
    explicit ScienceView(AppState& state, UiServices& ui, QWidget* parent = nullptr);
};

}  // namespace solvara
