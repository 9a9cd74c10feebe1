#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

namespace solvara {

// `text` word-wrapped at `width` in `font`, kept to `maxLines` lines; when it runs longer, the
// last kept line ends in an ellipsis. The lines come back without their line breaks.
QStringList linesWithin(const QString& text, const QFont& font, int width, int maxLines);

}  // namespace solvara
