#pragma once

namespace solvara {

// Declared for a drawn cursor, which the program does not show: no instance is ever created,
// and the stored settings that name it have no effect.
class SoftwareCursor {};

}  // namespace solvara
