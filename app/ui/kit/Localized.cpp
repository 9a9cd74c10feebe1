#include "app/ui/kit/Localized.h"

#include <QCoreApplication>

namespace solvara {

QString localized(const char* english) {
    return QCoreApplication::translate("Solvara", english);
}

}  // namespace solvara
