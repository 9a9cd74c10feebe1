#pragma once

#include <QString>

namespace solvara {

// Where the program's own plugins are: beside the executable (the build tree), else where the
// install puts them (lib/solvara, reached from the executable's folder, so any prefix works).
// The path of the first that exists, or empty.
QString findPluginFile(const QString& fileName);

}  // namespace solvara
