// The real permission stand-in on an X server: run once with a window manager ("wm") and once on
// a bare server ("bare").

#include <cstdio>
#include <cstdlib>
#include <string_view>

#include <gtest/gtest.h>
#include <QGuiApplication>

#include "app/ui/kit/QtPermissions.h"

namespace solvara::testing {
namespace {

bool withWindowManager = false;

TEST(PermissionsX11Test, TheShellsNeedsAreGrantedExactlyWhenAWindowManagerNamesTheActiveWindow) {
    QtPermissions permissions;
    EXPECT_EQ(permissions.accessibilityGranted(), withWindowManager);
    permissions.requestAccessibility();
    EXPECT_EQ(permissions.accessibilityGranted(), withWindowManager);
}

}  // namespace
}  // namespace solvara::testing

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc < 2 || (std::string_view(argv[1]) != "wm" && std::string_view(argv[1]) != "bare")) {
        std::fprintf(stderr, "usage: x11_permissions_tests wm|bare\n");
        return 2;
    }
    solvara::testing::withWindowManager = std::string_view(argv[1]) == "wm";
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "x11_permissions_tests: SKIPPED: no X server at DISPLAY\n");
        const char* required = std::getenv("SOLVARA_REQUIRE_X11");
        return required && std::string_view(required) == "1" ? 1 : 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
