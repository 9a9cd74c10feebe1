
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "app/ui/kit/BuildInfo.h"
#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/settings/GeneralSettingsTab.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"
#include "tests/platform/linux/QtTestApplication.h"

namespace solvara::testing {
namespace {

class GeneralSettingsTabTest : public SettingsFixture {
protected:
    std::unique_ptr<GeneralSettingsTab> tab() { return shown<GeneralSettingsTab>(ui.services()); }
    FakeUiServices ui;
};

TEST_F(GeneralSettingsTabTest, ShowsTheVersionAndTheBedtimeRowOnlyWithItsSwitch) {
    auto view = tab();
    EXPECT_EQ(child<QLabel>(*view, "versionLine")->text(),
              "Version " + BuildInfo::version() + " (" + BuildInfo::buildNumber() + ")");
    EXPECT_EQ(child<QLabel>(*view, "effectiveColorTemperature")->text(),
              QString::fromStdString(std::to_string(state->effectiveKelvin()) + "K"));
    auto* bedtime = child<QLabel>(*view, "bedtimeCountdown");
    EXPECT_EQ(bedtime->isVisibleTo(view.get()), state->sleepCountdownText().has_value());

    clickBox(child<QCheckBox>(*view, "sleepAlarm"));
    settle();
    EXPECT_FALSE(state->sleepAlarmEnabled());
    EXPECT_FALSE(bedtime->isVisibleTo(view.get()));

    state->setIsEnabled(false);
    settle();
    EXPECT_FALSE(child<QCheckBox>(*view, "isEnabled")->isChecked());
    EXPECT_EQ(child<QLabel>(*view, "effectiveColorTemperature")->text(), "6500K");
}

TEST_F(GeneralSettingsTabTest, TheModePickerOffersEveryModeAndWritesIt) {
    auto view = tab();
    auto* mode = child<QComboBox>(*view, "currentMode");
    EXPECT_EQ(mode->count(), 11);
    EXPECT_EQ(mode->itemText(10), "Disabled");
    mode->setFocus();
    QTest::keyClick(mode, Qt::Key_Down);
    EXPECT_EQ(state->currentMode(), DisplayMode::movie);
    EXPECT_TRUE(state->movieModeRevertTimer().isValid());
}

TEST_F(GeneralSettingsTabTest, ResetAsksFirstAndCancelChangesNothing) {
    state->setNightKelvin(2500);
    auto view = tab();
    auto* reset = child<QPushButton>(*view, "resetToDefaults");
    ui.messageBoxes.answerNext("Cancel");
    QTest::mouseClick(reset, Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.messageBoxes.asked.size(), 1u);
    EXPECT_EQ(ui.messageBoxes.asked[0].title, "Reset to Defaults");
    EXPECT_EQ(ui.messageBoxes.asked[0].buttons, QStringList({"Cancel", "Reset"}));
    settle();
    EXPECT_EQ(state->nightKelvin(), 2500);

    ui.messageBoxes.answerNext("Reset");
    QTest::mouseClick(reset, Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(state->nightKelvin(), 1800);
    EXPECT_TRUE(ui.messageBoxes.mismatches.empty());
}

TEST_F(GeneralSettingsTabTest, ExportAndImportGoThroughTheFileDialogsAndReportWhatHappened) {
    auto view = tab();
    // The state writes and reads through the fake platform's files.
    const std::string file = "/home/user/settings.json";
    auto& files = fake.files.contents;

    state->setNightKelvin(2700);
    ui.fileDialogs.answerNext(QString::fromStdString(file));
    QTest::mouseClick(child<QPushButton>(*view, "exportSettings"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY(files.count(file) == 1);
    EXPECT_EQ(ui.fileDialogs.asked.back().request.suggestedName, "Solvara-Settings.json");
    settle();
    EXPECT_TRUE(ui.messageBoxes.asked.empty()) << "a clean export says nothing";

    state->setNightKelvin(1800);
    ui.fileDialogs.answerNext(QString::fromStdString(file));
    QTest::mouseClick(child<QPushButton>(*view, "importSettings"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(state->nightKelvin(), 2700);
    settle();
    EXPECT_TRUE(ui.messageBoxes.asked.empty()) << "a clean import says nothing";

    files[file] = R"({"nightKelvin": "warm", "dayKelvin": 5000})";
    ui.fileDialogs.answerNext(QString::fromStdString(file));
    QTest::mouseClick(child<QPushButton>(*view, "importSettings"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.messageBoxes.asked.size(), 1u);
    EXPECT_EQ(state->dayKelvin(), 5000);
    EXPECT_TRUE(ui.messageBoxes.asked[0].informativeText.contains("nightKelvin"));

    files[file] = "not json";
    ui.fileDialogs.answerNext(QString::fromStdString(file));
    QTest::mouseClick(child<QPushButton>(*view, "importSettings"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.messageBoxes.asked.size(), 2u);
    EXPECT_EQ(ui.messageBoxes.asked[1].kind, MessageBoxes::Kind::warning);

    files[file] = R"({"sv_dayKelvin": 3000})";
    ui.fileDialogs.answerNext(QString::fromStdString(file));
    QTest::mouseClick(child<QPushButton>(*view, "importSettings"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.messageBoxes.asked.size(), 3u);
    EXPECT_EQ(ui.messageBoxes.asked[2].kind, MessageBoxes::Kind::warning);
    EXPECT_TRUE(ui.messageBoxes.asked[2].informativeText.contains("no setting in this file"));
    EXPECT_EQ(state->dayKelvin(), 5000);

    // Settings it names, none of them usable: nothing imported, and the box says so and why.
    files[file] = R"({"isEnabled": "x", "dayKelvin": 100})";
    ui.fileDialogs.answerNext(QString::fromStdString(file));
    QTest::mouseClick(child<QPushButton>(*view, "importSettings"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.messageBoxes.asked.size(), 4u);
    EXPECT_EQ(ui.messageBoxes.asked[3].kind, MessageBoxes::Kind::warning);
    EXPECT_EQ(ui.messageBoxes.asked[3].text, "The settings file was not imported; nothing was changed.");
    EXPECT_TRUE(ui.messageBoxes.asked[3].informativeText.contains("none of its settings could be used"));
    EXPECT_TRUE(ui.messageBoxes.asked[3].informativeText.endsWith("dayKelvin, isEnabled"));
    EXPECT_EQ(state->dayKelvin(), 5000);

    fake.files.failingPaths.insert("/missing/x.json");
    ui.fileDialogs.answerNext(QString("/missing/x.json"));
    QTest::mouseClick(child<QPushButton>(*view, "exportSettings"), Qt::LeftButton);
    SOLVARA_EXPECT_EVENTUALLY_EQ(ui.messageBoxes.asked.size(), 5u);
    EXPECT_EQ(ui.messageBoxes.asked[4].text, "The settings could not be exported.");
    EXPECT_FALSE(ui.messageBoxes.asked[4].informativeText.isEmpty());
}

}  // namespace
}  // namespace solvara::testing
