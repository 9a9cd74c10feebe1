#include "app/ui/health/HealthSettingsTab.h"

namespace solvara {

HealthSettingsTab::HealthSettingsTab(AppState&, UiServices&, QWidget* parent) : QWidget(parent) {
    setObjectName("HealthSettingsTab");
}

}  // namespace solvara
