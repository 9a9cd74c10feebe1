#include "app/ui/science/Citation.h"

#include <QUrl>

namespace solvara {

std::optional<QString> Citation::url() const {
    QString text;
    if (doi) {
        text = QString::fromUtf8(doiResolver) + *doi;
    } else if (pmcID) {
        text = QString::fromUtf8(articleArchive) + *pmcID + "/";
    } else {
        return std::nullopt;
    }
    // Stored identifiers are trusted data, but a space or a bracket must not become a link
    // that opens somewhere else than the text says.
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != "https" || url.host().isEmpty()) return std::nullopt;
    return text;
}

}  // namespace solvara
