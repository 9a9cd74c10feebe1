#include <gtest/gtest.h>

#include <clocale>

#include "core/foundation/Clock.h"
#include "core/foundation/Format.h"
#include "core/foundation/Log.h"
#include "core/foundation/StringHash.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedClock.h"

namespace solvara {
namespace {

TEST(StringHash, StableWithinAKeyAndKeyed) {
    StringHash::setKeyForTesting(1, 2);
    const auto a = StringHash::hash("rain");
    EXPECT_EQ(StringHash::hash("rain"), a);
    EXPECT_NE(StringHash::hash("rainy"), a);
    EXPECT_NE(StringHash::hash(""), StringHash::hash(std::string_view("\0", 1)));
    StringHash::setKeyForTesting(3, 4);
    EXPECT_NE(StringHash::hash("rain"), a);
    StringHash::setKeyForTesting(1, 2);
    EXPECT_EQ(StringHash::hash("rain"), a);
}

TEST(StringHash, MatchesSipHash13ReferenceVector) {
    // SipHash-1-3 with key 00..0f over the empty message.
    StringHash::setKeyForTesting(0x0706050403020100ULL, 0x0f0e0d0c0b0a0908ULL);
    EXPECT_EQ(StringHash::hash(""), 0xabac0158050fc4dcULL);
}

TEST(Format, IgnoresTheLocaleAndRoundsLikeC) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may be missing; the result must not care
    EXPECT_EQ(format::fixed(2.345, 2), "2.35");
    EXPECT_EQ(format::fixed(12.5, 0), "12");
    EXPECT_EQ(format::fixed(-0.04, 1), "-0.0");
    EXPECT_EQ(format::fixed(1800, 6), "1800.000000");
    EXPECT_EQ(format::integer(-9223372036854775807LL - 1), "-9223372036854775808");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Log, WritesBracketedComponentLines) {
    testing::LogCapture capture;
    Log::write("NightShiftManager", "Helper stopped");
    ASSERT_EQ(capture.lines.size(), 1u);
    EXPECT_EQ(capture.lines[0], "[NightShiftManager] Helper stopped");
}

TEST(Clock, TestsCanPointItAtVirtualTime) {
    {
        testing::ScopedClock clock(Date(1000));
        EXPECT_EQ(Clock::now(), Date(1000));
        clock.advance(10);
        EXPECT_EQ(Clock::now(), Date(1010));
    }
    EXPECT_GT(Clock::now().secondsSinceReferenceDate, 7.0e8);  // real time again, after 2023
}

}  // namespace
}  // namespace solvara
