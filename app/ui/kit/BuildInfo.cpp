#include "app/ui/kit/BuildInfo.h"

#include <QUrl>

namespace solvara {

namespace {

QString orDefault(const char* value, const char* fallback) {
    const QString text = QString::fromUtf8(value).trimmed();
    return text.isEmpty() ? QString::fromUtf8(fallback) : text;
}

}  // namespace

QString BuildInfo::version() {
    return orDefault(SOLVARA_VERSION, "1.0.0");
}

QString BuildInfo::buildNumber() {
    return orDefault(SOLVARA_BUILD_NUMBER, "1");
}

QString BuildInfo::makerName() {
    return QString::fromUtf8(SOLVARA_MAKER);
}

QString BuildInfo::websiteUrl() {
    return QString::fromUtf8(SOLVARA_WEBSITE_URL);
}

QString BuildInfo::helpUrl() {
    return QString::fromUtf8(SOLVARA_HELP_URL);
}

QString BuildInfo::scienceUrl() {
    return QString::fromUtf8(SOLVARA_SCIENCE_URL);
}

QString BuildInfo::shareUrl() {
    return QString::fromUtf8(SOLVARA_SHARE_URL);
}

QString BuildInfo::feedbackAddress() {
    return QString::fromUtf8(SOLVARA_FEEDBACK_ADDRESS);
}

QString BuildInfo::feedbackMailUrl(const QString& subject) {
    return "mailto:" + feedbackAddress() + "?subject=" + QString::fromLatin1(QUrl::toPercentEncoding(subject));
}

}  // namespace solvara
