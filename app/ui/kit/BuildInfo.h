#pragma once

#include <QString>

namespace solvara {

// What the build says about the program: its version and build number (CMake's project version
// and SOLVARA_BUILD_NUMBER) and the maker's addresses, all build-time settings with defaults
// (SOLVARA_WEBSITE_URL, SOLVARA_HELP_URL, SOLVARA_SCIENCE_URL, SOLVARA_FEEDBACK_ADDRESS,
// SOLVARA_SHARE_URL, SOLVARA_MAKER) so that a packager can point them elsewhere. An empty
// version or build number shows as "1.0.0" or "1".
struct BuildInfo {
    static QString version();
    static QString buildNumber();
    static QString makerName();
    static QString websiteUrl();
    static QString helpUrl();
    static QString scienceUrl();
    static QString shareUrl();
    static QString feedbackAddress();
    // "mailto:<feedback address>?subject=<subject, percent-encoded>".
    static QString feedbackMailUrl(const QString& subject);
};

}  // namespace solvara
