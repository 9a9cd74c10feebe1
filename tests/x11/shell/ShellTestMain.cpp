#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include <QApplication>
#include <gtest/gtest.h>

// The shell's X server tests run inside tests/x11/with-xorg.sh --wm and with-session.sh. Without
// an X server they skip as a whole (77), unless CI asks for them (SOLVARA_REQUIRE_X11=1).
int main(int argc, char** argv) {
    setenv("TZ", "UTC", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "xcb", 0);
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("DISPLAY") == nullptr) {
        std::fprintf(stderr, "x11_shell_tests: SKIPPED: no X server; run them through tests/x11/with-xorg.sh\n");
        const char* required = std::getenv("SOLVARA_REQUIRE_X11");
        return required && std::string_view(required) == "1" ? 1 : 77;
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    return RUN_ALL_TESTS();
}
