#include "app/ui/science/ScienceView.h"

namespace solvara {

ScienceView::ScienceView(AppState&, UiServices&, QWidget* parent) : QWidget(parent) {
    setObjectName("ScienceView");
}

}  // namespace solvara
