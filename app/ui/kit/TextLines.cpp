#include "app/ui/kit/TextLines.h"

#include <QFontMetrics>
#include <QTextLayout>
#include <QTextOption>

namespace solvara {

QStringList linesWithin(const QString& text, const QFont& font, int width, int maxLines) {
    QStringList lines;
    if (maxLines <= 0) return lines;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines - 1) {
            // The last line takes the whole rest, cut short where it no longer fits.
            const QString rest = text.mid(line.textStart()).trimmed();
            lines.append(QFontMetrics(font).elidedText(rest, Qt::ElideRight, width));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

}  // namespace solvara
