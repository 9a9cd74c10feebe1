#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "app/ui/health/HealthChartPlan.h"
#include "app/ui/health/HealthExports.h"
#include "app/ui/health/HealthFigures.h"
#include "core/foundation/Calendar.h"
#include "tests/support/ScopedClock.h"

namespace solvara {
namespace {

using Snapshot = HealthHistory::DailySnapshot;
using Report = HealthHistory::WeeklyReport;
using healthfigures::HealthColor;
namespace fs = std::filesystem;

const Date noon = Date::fromUnixTime(1772712000.0);  // 2026-03-05 12:00 UTC (the tests run in UTC)

std::string daysAgo(int days) {
    return HealthHistory::dateString(*Calendar::addingDays(-days, noon));
}

Snapshot snapshot(std::string date, double screen, double debt, double compliance, std::int64_t done,
                  std::int64_t skipped, std::optional<std::int64_t> score, std::optional<std::int64_t> rating) {
    return Snapshot{std::move(date), screen, debt, compliance, done, skipped, score, rating};
}

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (const std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

struct TempDir {
    fs::path path;
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "solvara-health-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TempDir() { fs::remove_all(path); }
};

TEST(HealthExports, CsvRowsPrintLikeCAtTheirRoundingTraps) {
    EXPECT_EQ(std::string(healthexports::csvHeader),
              "Date,Screen Time (hrs),Light Debt Peak,Break Compliance,Breaks Completed,Breaks Skipped,"
              "Circadian Score,Sleep Quality\n");
    const struct {
        Snapshot in;
        const char* row;
    } cases[] = {
        {snapshot("2026-03-05", 2.346, 12.34, 0.8, 3, 1, std::nullopt, 4), "2026-03-05,2.35,12.3,0.80,3,1,,4\n"},
        // Binary 2.345 lies above the half, 2.675 below; 0.125 and 12.25 are exact halves that C
        // rounds to even. A decimal or half-up rounding prints each of these differently.
        {snapshot("2026-03-06", 2.345, 12.25, 0.125, 0, 0, 100, std::nullopt), "2026-03-06,2.35,12.2,0.12,0,0,100,\n"},
        {snapshot("2026-03-07", 2.675, 12.35, 0.015, 0, 0, std::nullopt, std::nullopt),
         "2026-03-07,2.67,12.3,0.01,0,0,,\n"},
        {snapshot("2026-03-08", 1234567.891, 99.95, 1.0, -2, 9000000000, 0, 5),
         "2026-03-08,1234567.89,100.0,1.00,-2,9000000000,0,5\n"},
        {snapshot("2026-03-09", -0.004, 0.05, 0.005, 1, 0, 7, 1), "2026-03-09,-0.00,0.1,0.01,1,0,7,1\n"},
        // Not finite: empty fields, never "nan" or "inf".
        {snapshot("2026-03-10", std::nan(""), HUGE_VAL, -HUGE_VAL, 1, 1, 1, 1), "2026-03-10,,,,1,1,1,1\n"},
        // A date that could break the row is quoted; valid dates never are.
        {snapshot("2026-03-11,\"x\"\n", 1, 1, 1, 1, 1, 1, 1), "\"2026-03-11,\"\"x\"\"\n\",1.00,1.0,1.00,1,1,1,1\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(healthexports::csvRow(c.in), c.row) << c.row;
}

TEST(HealthExports, CsvFileHoldsTheLastYearOldestFirst) {
    testing::ScopedClock clock(noon);
    HealthHistory history;
    EXPECT_EQ(healthexports::healthDataFile(history), healthexports::csvHeader);

    history.recordDay(daysAgo(1), 1.0, 2.0, 0.5, 1, 1, 80, 3);
    history.recordDay(daysAgo(366), 1.0, 2.0, 0.5, 1, 1, 80, 3);  // older than a year: left out
    history.recordDay(daysAgo(365), 4.0, 2.0, 0.5, 1, 1, std::nullopt, std::nullopt);
    history.recordDay(daysAgo(3), 3.0, 2.0, 0.5, 1, 1, 60, std::nullopt);
    EXPECT_EQ(healthexports::healthDataFile(history),
              std::string(healthexports::csvHeader) + daysAgo(365) + ",4.00,2.0,0.50,1,1,,\n" + daysAgo(3) +
                  ",3.00,2.0,0.50,1,1,60,\n" + daysAgo(1) + ",1.00,2.0,0.50,1,1,80,3\n");
}

Report fullWeek() {
    Report r;
    r.daysTracked = 7;
    r.totalScreenTimeHours = 40.25;
    r.avgScreenTimeHours = 40.25 / 7;
    r.avgLightDebt = 30.0;
    r.avgBreakCompliance = 0.999;
    r.totalBreaksCompleted = 5;
    r.totalBreaksSkipped = 3;
    r.avgCircadianScore = 79.9;
    r.avgSleepQuality = 3.75;
    r.bestDay = snapshot("2026-03-01", 0, 0, 0, 0, 0, 88, std::nullopt);
    r.worstDay = snapshot("2026-03-02", 0, 0, 0, 0, 0, std::nullopt, std::nullopt);
    return r;
}

TEST(HealthExports, WeeklyReportTextByteForByte) {
    const std::string head =
        "Solvara Weekly Report\n==============================\n\nDays Tracked: 7\nTotal Screen Time: 40.2 hours\n"
        "Average Screen Time: 5.8 hours/day\nAverage Light Debt: High\nBreak Compliance: 99%\n"
        "Breaks Completed: 5\nBreaks Skipped: 3\n";
    Report r = fullWeek();
    EXPECT_EQ(healthexports::weeklyReportText(r),
              head + "Average Circadian Score: 79/100\nAverage Sleep Quality: 3.8/5\n");
    r.avgCircadianScore.reset();
    EXPECT_EQ(healthexports::weeklyReportText(r), head + "Average Sleep Quality: 3.8/5\n");
    r.avgSleepQuality.reset();
    EXPECT_EQ(healthexports::weeklyReportText(r), head);
    r.avgCircadianScore = 80.0;
    EXPECT_EQ(healthexports::weeklyReportText(r), head + "Average Circadian Score: 80/100\n");
}

// Python's csv module reads every row back as eight fields, the quoted date included, and the
// report reads back as plain lines.
TEST(HealthExports, FilesReadBackWithPythonsCsvModuleAndAsText) {
    TempDir dir;
    const std::string csv = healthexports::healthDataCsv({
        snapshot("2026-03-05", 2.346, 12.34, 0.8, 3, 1, std::nullopt, 4),
        snapshot("2026-03-06,\"x\"\n", 1, 1, 1, 1, 1, 1, std::nullopt),
    });
    std::ofstream(dir.path / "h.csv", std::ios::binary) << csv;
    std::ofstream(dir.path / "r.txt", std::ios::binary) << healthexports::weeklyReportText(fullWeek());
    const std::string script =
        "import csv,sys\n"
        "rows=list(csv.reader(open(sys.argv[1],newline='',encoding='utf-8')))\n"
        "print(len(rows),[len(r) for r in rows],rows[1],repr(rows[2][0]))\n"
        "t=open(sys.argv[2],encoding='utf-8',newline='').read()\n"
        "print('\\r' in t,t.endswith('\\n'),t.split('\\n')[1]=='='*30,t.split('\\n')[-2])\n";
    std::ofstream(dir.path / "read.py") << script;
    EXPECT_EQ(run("python3 " + (dir.path / "read.py").string() + " " + (dir.path / "h.csv").string() + " " +
                  (dir.path / "r.txt").string()),
              "3 [8, 8, 8] ['2026-03-05', '2.35', '12.3', '0.80', '3', '1', '', '4'] '2026-03-06,\"x\"\\n'\n"
              "False True True Average Sleep Quality: 3.8/5\n");
}

// Under a German locale the C library writes "2,35"; the exports must not change. The locale is
// built into a temporary folder, so the test needs no installed locale.
TEST(HealthExports, GermanLocaleWritesTheSameBytes) {
    TempDir dir;
    ASSERT_EQ(std::system(
                  ("localedef -i de_DE -f UTF-8 " + (dir.path / "de_DE.UTF-8").string() + " >/dev/null 2>&1").c_str()),
              0);
    const std::vector<Snapshot> rows{snapshot("2026-03-05", 2.346, 12.34, 0.8, 3, 1, 1234, 4),
                                     snapshot("2026-03-06", 1234567.891, 0.05, 0.125, 2026, 0, std::nullopt, 5)};
    const std::string csvC = healthexports::healthDataCsv(rows);
    const std::string reportC = healthexports::weeklyReportText(fullWeek());

    const char* previousPath = std::getenv("LOCPATH");
    const std::string saved = previousPath != nullptr ? previousPath : "";
    setenv("LOCPATH", dir.path.c_str(), 1);
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");  // the locale really is in force
    const std::string csvDe = healthexports::healthDataCsv(rows);
    const std::string reportDe = healthexports::weeklyReportText(fullWeek());
    std::setlocale(LC_ALL, previous.c_str());
    if (previousPath != nullptr)
        setenv("LOCPATH", saved.c_str(), 1);
    else
        unsetenv("LOCPATH");

    EXPECT_EQ(csvDe, csvC);
    EXPECT_EQ(reportDe, reportC);
    EXPECT_NE(csvC.find("1234567.89,0.1,0.12,2026,0,,5\n"), std::string::npos);
}

TEST(HealthFigures, CircadianHealthRows) {
    const struct {
        double hours;
        const char* text;
    } screen[] = {{0.0, "0s"},       {30.0 / 3600, "30s"},   {59.9 / 3600, "59s"}, {60.0 / 3600, "1m"},
                  {0.25, "15m"},     {3599.0 / 3600, "59m"}, {1.0, "1.0 hrs"},     {2.0, "2.0 hrs"},
                  {2.25, "2.2 hrs"}, {std::nan(""), "0s"}};
    for (const auto& c : screen) EXPECT_EQ(healthfigures::screenTimeText(c.hours), c.text) << c.hours;
    EXPECT_EQ(healthfigures::lightDebtText(12.345), "12.3 points");
    EXPECT_EQ(healthfigures::scoreText(72), "72/100");
}

TEST(HealthFigures, DebtWordsAndScoreColoursAtTheirEdges) {
    const std::pair<double, const char*> words[] = {
        {9.99, "Low"},   {10, "Medium"},   {29.99, "Medium"}, {30, "High"},
        {49.99, "High"}, {50, "Critical"}, {-1, "Low"},       {std::nan(""), "Critical"}};
    for (const auto& [points, word] : words) EXPECT_EQ(healthfigures::debtLabel(points), word) << points;
    const std::pair<std::int64_t, HealthColor> colours[] = {
        {100, HealthColor::green}, {101, HealthColor::red},   {90, HealthColor::green},  {89, HealthColor::blue},
        {75, HealthColor::blue},   {74, HealthColor::yellow}, {60, HealthColor::yellow}, {59, HealthColor::orange},
        {40, HealthColor::orange}, {39, HealthColor::red},    {-5, HealthColor::red}};
    for (const auto& [score, colour] : colours) EXPECT_EQ(healthfigures::scoreColor(score), colour) << score;
}

TEST(HealthFigures, StatCardsAndDayRows) {
    using healthfigures::StatCard;
    Report r = fullWeek();
    EXPECT_EQ(healthfigures::weeklyStatCards(r),
              (std::vector<StatCard>{
                  {"Days Tracked", "7", "calendar", HealthColor::blue},
                  {"Avg Score", "79", "gauge.with.dots.needle.33percent", HealthColor::blue},
                  {"Screen Time", "40.2h", "desktopcomputer", HealthColor::purple},
                  {"Avg Debt", "High", "moon.haze", HealthColor::orange},
                  {"Compliance", "99%", "eye", HealthColor::green},
                  {"Breaks", "5/8", "checkmark.circle", HealthColor::teal},
              }));
    r.avgCircadianScore.reset();
    r.avgLightDebt = 9.99;
    r.avgBreakCompliance = 0.4999;
    const auto cards = healthfigures::weeklyStatCards(r);
    ASSERT_EQ(cards.size(), 5u);
    EXPECT_EQ(cards[1].title, "Screen Time");
    EXPECT_EQ(cards[2].color, HealthColor::green);
    EXPECT_EQ(cards[3].value, "49%");

    EXPECT_EQ(healthfigures::bestDayRow(fullWeek()), (healthfigures::DayRow{"Best day: 2026-03-01", "Score 88"}));
    EXPECT_FALSE(healthfigures::worstDayRow(fullWeek()));  // the unscored day is the worst
    EXPECT_EQ(healthfigures::averageSleepText(3.75), "3.8 / 5");
}

TEST(HealthFigures, WeeklyInsightsAtEachThreshold) {
    auto week = [](double screen, double debt, double compliance, std::optional<double> score) {
        Report r;
        r.avgScreenTimeHours = screen;
        r.avgLightDebt = debt;
        r.avgBreakCompliance = compliance;
        r.avgCircadianScore = score;
        std::string symbols;
        for (const auto& line : healthfigures::weeklyInsights(r)) symbols += line.symbol + " ";
        return symbols;
    };
    EXPECT_EQ(week(10.0, 30.0, 0.5, 79.9), "");
    EXPECT_EQ(week(10.05, 30.01, 0.4999, 80.0), "exclamationmark.triangle moon.haze eye.slash checkmark.seal ");
    EXPECT_EQ(week(1, 10.0, 0.8, std::nullopt), "star ");
    EXPECT_EQ(week(1, 10.01, 0.8, std::nullopt), "");
    EXPECT_EQ(week(1, 10.0, 0.7999, std::nullopt), "");
    EXPECT_EQ(week(std::nan(""), std::nan(""), std::nan(""), std::nan("")), "");

    Report r;
    r.avgScreenTimeHours = 10.05;
    r.avgLightDebt = 20;
    r.avgBreakCompliance = 0.4999;
    const auto lines = healthfigures::weeklyInsights(r);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "High screen time averaging 10.1h/day. Consider more breaks.");
    EXPECT_EQ(lines[1].text, "Low break compliance at 49%. The 20-20-20 rule reduces eye strain significantly.");
}

TEST(HealthFigures, SleepRatingAndCorrelationFigures) {
    const std::tuple<std::int64_t, int, const char*> ratings[] = {
        {-3, 0, ""}, {0, 0, ""}, {1, 1, "Poor"}, {3, 3, "Okay"}, {5, 5, "Great"}, {6, 5, ""}, {1000, 5, ""}};
    for (const auto& [rating, stars, label] : ratings) {
        EXPECT_EQ(healthfigures::ratedStars(rating), stars) << rating;
        EXPECT_EQ(healthfigures::ratingLabel(rating), label) << rating;
    }
    const char* warning =
        "Your sleep quality tends to be lower on high light debt days. Try reducing screen brightness after sunset.";
    const char* praise =
        "Your sleep quality is strong. Your light habits appear well-aligned with your circadian rhythm.";
    EXPECT_EQ(healthfigures::sevenDaySleepInsight(3.0, 30.0), "7-day avg sleep quality: 3.0/5");
    EXPECT_EQ(healthfigures::sevenDaySleepInsight(3.0, 30.5), warning);
    EXPECT_EQ(healthfigures::sevenDaySleepInsight(4.0, 45.0), praise);
    EXPECT_EQ(healthfigures::sevenDaySleepInsight(3.5, 50.0), "7-day avg sleep quality: 3.5/5");
    EXPECT_EQ(healthfigures::sevenDaySleepInsight(3.7, 1.0), "7-day avg sleep quality: 3.7/5");
    EXPECT_FALSE(healthfigures::sevenDaySleepInsight(std::nullopt, 1.0));
    EXPECT_FALSE(healthfigures::sevenDaySleepInsight(4.0, std::nullopt));

    EXPECT_EQ(healthfigures::averageStars(3.99), 3);
    EXPECT_EQ(healthfigures::averageStars(4.0), 4);
    EXPECT_EQ(healthfigures::averageStars(std::nan("")), 0);
    EXPECT_EQ(healthfigures::averageRatingText(3.99), "4.0 avg");
    EXPECT_EQ(healthfigures::scoreComparisonText(82.7, 70.2),
              "Circadian score on good sleep nights: 82 vs poor sleep: 70");
    EXPECT_FALSE(healthfigures::scoreComparisonText(82.7, std::nullopt));
    using Strength = SleepCorrelation::CorrelationStrength;
    EXPECT_EQ(healthfigures::strengthColor(Strength::strong), HealthColor::red);
    EXPECT_EQ(healthfigures::strengthColor(Strength::weak), HealthColor::blue);
    EXPECT_EQ(healthfigures::strengthColor(Strength::insufficient), HealthColor::secondary);
}

std::vector<Snapshot> days(int count, bool scored = true) {
    std::vector<Snapshot> list;
    for (int i = count; i >= 1; --i) {
        list.push_back(snapshot(daysAgo(i), i * 0.5, i * 1.5, 0.5, 1, 1,
                                scored ? std::optional<std::int64_t>(i) : std::nullopt, std::nullopt));
    }
    return list;
}

TEST(HealthChartPlan, CardsCategoriesAndLabelsPerRange) {
    EXPECT_TRUE(HealthChartPlan({}).empty());
    const struct {
        int stored;
        std::size_t labels;
        std::vector<std::size_t> slots;
    } cases[] = {
        {3, 3, {0, 1, 2}},
        {7, 7, {0, 1, 2, 3, 4, 5, 6}},
        {8, 7, {0, 1, 2, 4, 5, 6, 7}},
        {30, 7, {0, 5, 10, 15, 19, 24, 29}},
        {40, 7, {0, 7, 13, 20, 26, 33, 39}},
        {90, 7, {0, 15, 30, 45, 59, 74, 89}},
    };
    for (const auto& c : cases) {
        const HealthChartPlan plan(days(c.stored));
        EXPECT_EQ(plan.desiredXLabels(), c.labels) << c.stored;
        ASSERT_EQ(plan.cards().size(), 4u) << c.stored;  // no day rated: no sleep card
        for (const auto& card : plan.cards()) {
            EXPECT_EQ(card.categories.size(), static_cast<std::size_t>(c.stored)) << card.title;
            EXPECT_EQ(card.labelledSlots, c.slots) << card.title << " " << c.stored;
        }
        EXPECT_EQ(plan.cards().front().categories.front(), daysAgo(c.stored));
    }

    // Only the middle day has a score, only the last a rating: those charts plot one slot, yet
    // the x axis asks for three labels everywhere.
    auto three = days(3, false);
    three[1].circadianScore = 70;
    three[2].sleepQualityRating = 5;
    three[0].breakComplianceRatio = 0.5;
    const HealthChartPlan plan(three);
    std::vector<std::string> titles;
    for (const auto& card : plan.cards()) titles.push_back(card.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"Circadian Score", "Screen Time", "Light Debt", "Break Compliance",
                                                "Sleep Quality"}));
    EXPECT_EQ(plan.desiredXLabels(), 3u);
    EXPECT_EQ(plan.cards()[0].categories, std::vector<std::string>{daysAgo(2)});
    EXPECT_EQ(plan.cards()[0].yTicks, (std::vector<double>{0, 25, 50, 75, 100}));
    EXPECT_EQ(plan.cards()[3].values[0], 50.0);  // compliance as a percentage
    EXPECT_EQ(plan.cards()[4].values, std::vector<double>{5.0});
    EXPECT_EQ(plan.cards()[4].yMax, 5.0);
    EXPECT_EQ(plan.cards()[4].yTicks, (std::vector<double>{1, 2, 3, 4, 5}));
    EXPECT_EQ(plan.cards()[4].height, 100);
}

TEST(HealthChartPlan, AutomaticScalesEndOnRoundMarks) {
    const struct {
        std::vector<double> values;
        double top;
        std::size_t marks;
    } cases[] = {
        {{0.0, 0.0}, 1.0, 3}, {{7.3}, 8.0, 5}, {{13.2, 2.0}, 15.0, 4},
        {{45.0}, 60.0, 4},    {{0.4}, 0.4, 5}, {{std::nan(""), 3.0}, 3.0, 4},
    };
    for (const auto& c : cases) {
        HealthChartPlan::Card card;
        HealthChartPlan::automaticScale(c.values, card);
        EXPECT_DOUBLE_EQ(card.yMax, c.top) << c.values.back();
        EXPECT_EQ(card.yTicks.size(), c.marks) << c.values.back();
        EXPECT_EQ(card.yMin, 0.0);
    }
}

// Every y label of every card reads back as exactly its mark, and no two labels of a card are
// alike (the axis keys its marks by label and drops a repeated one), at any scale.
TEST(HealthChartPlan, EveryYLabelReadsBackAsItsMark) {
    auto readBack = [](const std::string& text) {
        double value = std::nan("");
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        return ec == std::errc() && end == text.data() + text.size() ? value : std::nan("");
    };
    std::vector<std::vector<Snapshot>> plans;
    for (const double largest :
         {0.0, 1e-9, 3e-7, 0.001, 0.04, 0.1, 0.3, 0.7, 1.0, 2.5, 7.3, 24.0, 33.3, 1234.5, 98765.0, 1e9, 3.7e15}) {
        // A new user's first days: nothing, a little, then the day's most.
        std::vector<Snapshot> list;
        for (const double share : {0.0, 0.35, 0.8, 1.0}) {
            list.push_back(snapshot(daysAgo(4 - static_cast<int>(list.size())), largest * share, largest * share / 3,
                                    share, 1, 0, 50, 3));
        }
        plans.push_back(std::move(list));
    }
    for (const auto& list : plans) {
        const HealthChartPlan plan(list);
        for (const auto& card : plan.cards()) {
            const std::string where = card.title + " up to " + std::to_string(list.back().screenTimeHours);
            ASSERT_EQ(card.yLabels.size(), card.yTicks.size()) << where;
            std::set<std::string> distinct(card.yLabels.begin(), card.yLabels.end());
            EXPECT_EQ(distinct.size(), card.yLabels.size()) << where;
            for (std::size_t i = 0; i < card.yTicks.size(); ++i) {
                EXPECT_EQ(readBack(card.yLabels[i]), card.yTicks[i]) << where << ": " << card.yLabels[i];
            }
        }
    }

    const struct {
        double screenHours;
        std::vector<std::string> labels;
    } shown[] = {
        {0.1, {"0.000", "0.025", "0.050", "0.075", "0.100"}},  // six minutes on the first day
        {0.0, {"0.0", "0.5", "1.0"}},
        {0.4, {"0.0", "0.1", "0.2", "0.3", "0.4"}},
        {7.3, {"0", "2", "4", "6", "8"}},
        {10.0, {"0.0", "2.5", "5.0", "7.5", "10.0"}},
    };
    for (const auto& c : shown) {
        const HealthChartPlan plan({snapshot(daysAgo(1), c.screenHours, 0, 0.5, 1, 0, 80, std::nullopt)});
        ASSERT_EQ(plan.cards().size(), 4u);
        EXPECT_EQ(plan.cards()[1].yLabels, c.labels) << c.screenHours;
        EXPECT_EQ(plan.cards()[0].yLabels, (std::vector<std::string>{"0", "25", "50", "75", "100"}));
    }
}

// What a screen reader hears of a chart's latest value: as precise as its axis, at least a tenth.
TEST(HealthChartPlan, TheLatestValueIsReadAsPreciselyAsTheAxisShowsIt) {
    const struct {
        double screenHours;  // the one day's, and so the value read
        std::string read;
    } rows[] = {
        {0.04, "0.04"},  // on a 0.00-0.04 axis; below a tenth it was "0.0"
        {0.1, "0.100"}, {0.4, "0.4"}, {7.3, "7.3"}, {7.0, "7"}, {0.0, "0"},
    };
    for (const auto& row : rows) {
        const HealthChartPlan plan({snapshot(daysAgo(1), row.screenHours, 0, 0.5, 1, 0, 80, std::nullopt)});
        const HealthChartPlan::Card& card = plan.cards()[1];
        EXPECT_EQ(HealthChartPlan::readOut(card, card.values.back()), row.read) << row.screenHours;
    }
}

TEST(HealthChartPlan, SmoothCurvePassesThroughTheDaysWithoutOvershooting) {
    EXPECT_TRUE(HealthChartPlan::smoothCurve({}, 0, 100).empty());
    EXPECT_EQ(HealthChartPlan::smoothCurve({42}, 0, 100), (std::vector<std::pair<double, double>>{{0, 42}}));
    const std::vector<double> days{10, 80, 80, 20, 100, 100, 0};
    const auto curve = HealthChartPlan::smoothCurve(days, 0, 100, 8);
    ASSERT_EQ(curve.size(), (days.size() - 1) * 8 + 1);
    for (std::size_t i = 0; i < days.size(); ++i) {
        EXPECT_NEAR(curve[i * 8].first, static_cast<double>(i), 1e-9);
        EXPECT_NEAR(curve[i * 8].second, days[i], 1e-9);
    }
    for (std::size_t i = 1; i < curve.size(); ++i) {
        EXPECT_GT(curve[i].first, curve[i - 1].first);  // never loops back
        EXPECT_GT(curve[i].second, -10.0);
        EXPECT_LT(curve[i].second, 110.0);
    }
}

}  // namespace
}  // namespace solvara
