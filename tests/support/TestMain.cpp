#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Tests that depend on the zone set it themselves; the rest run in a known one.
    setenv("TZ", "UTC", 1);
    tzset();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
