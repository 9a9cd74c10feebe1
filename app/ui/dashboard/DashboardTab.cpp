#include "app/ui/dashboard/DashboardTab.h"

namespace solvara {

DashboardTab::DashboardTab(AppState&, UiServices&, QWidget* parent) : QWidget(parent) {
    setObjectName("DashboardTab");
}

}  // namespace solvara
