#pragma once

#include <QString>

namespace solvara {

// A fixed English text of the views in the user's language: the English text is the key, and
// it is shown as it is when no translation exists. Texts that are data (enumeration raw values,
// computed texts) are shown verbatim and never pass through here.
QString localized(const char* english);

}  // namespace solvara
