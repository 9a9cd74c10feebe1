#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "app/ui/kit/fake/FakeUiServices.h"
#include "app/ui/settings/MainWindow.h"
#include "app/ui/settings/ProfileEditorSheet.h"
#include "app/ui/settings/ProfilesSettingsTab.h"
#include "app/ui/settings/SettingsView.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"

namespace solvara::testing {
namespace {

class ProfilesSettingsTabTest : public SettingsFixture {
protected:
    static QWidget* row(const ProfilesSettingsTab& tab, const QString& name) {
        for (QWidget* candidate : tab.findChildren<QWidget*>("profileRow")) {
            if (candidate->isVisible() && candidate->property("profileName").toString() == name) return candidate;
        }
        return nullptr;
    }
    std::size_t profileCount() const { return state->profileManager().activityProfiles().size(); }
};

TEST_F(ProfilesSettingsTabTest, BuiltInRowsHaveNoDeleteButtonAndShowThreeIdentifiers) {
    state->profileManager().addProfile(
        ActivityProfile("Mine", {"a", "b", "c", "d", "e", "f"}, ActivityProfile::Behavior::cinema, false));
    auto tab = shown<ProfilesSettingsTab>();
    QWidget* builtIn = row(*tab, "Color Accurate");
    ASSERT_NE(builtIn, nullptr);
    EXPECT_EQ(builtIn->findChild<QPushButton*>("deleteProfile"), nullptr);
    EXPECT_NE(builtIn->findChild<QLabel*>("builtInBadge"), nullptr);
    QWidget* mine = row(*tab, "Mine");
    ASSERT_NE(mine, nullptr);
    EXPECT_EQ(mine->findChild<QLabel*>("profileRowIdentifiers")->text(), "a, b, c");
    EXPECT_EQ(mine->findChild<QLabel*>("behaviorBadge")->text(), "Cinema");
    const auto top = [&tab](QWidget* widget) { return widget->mapTo(tab.get(), QPoint()).y(); };
    EXPECT_LT(top(mine), top(child<QPushButton>(*tab, "addProfile"))) << "the rows come before the Add Profile button";

    QTest::mouseClick(mine->findChild<QPushButton*>("deleteProfile"), Qt::LeftButton);
    EXPECT_EQ(profileCount(), 3u);
    EXPECT_FALSE(fake.userDefaults.contains("sv_customProfiles"));
    settle();
    EXPECT_EQ(row(*tab, "Mine"), nullptr);
}

TEST_F(ProfilesSettingsTabTest, ALongProfileFitsTheWindowWithItsBadgeAndButtonsInSight) {
    const QString name = "My very long profile name for the colour work I do every single evening";
    const std::vector<std::string> ids{"com.example.averyveryverylongapplicationidentifier.one",
                                       "com.example.averyveryverylongapplicationidentifier.two",
                                       "com.example.averyveryverylongapplicationidentifier.three"};
    state->profileManager().addProfile(
        ActivityProfile(name.toStdString(), ids, ActivityProfile::Behavior::colorAccurate, false));
    state->setHasCompletedOnboarding(true);
    FakeUiServices ui;
    MainWindow window(*state, ui.services());
    window.present();
    window.showTab(SettingsTab::profiles);
    settle();
    QScrollArea* scroll = nullptr;
    for (QWidget* up = window.settingsView()->tabView(); up != nullptr && scroll == nullptr; up = up->parentWidget())
        scroll = qobject_cast<QScrollArea*>(up);
    ASSERT_NE(scroll, nullptr);
    const QWidget* viewport = scroll->viewport();
    auto* tab = static_cast<ProfilesSettingsTab*>(window.settingsView()->tabView());
    ASSERT_EQ(tab->objectName(), "ProfilesSettingsTab");
    QWidget* mine = row(*tab, name);
    ASSERT_NE(mine, nullptr);
    const QRect seen = viewport->rect();
    const auto inSight = [viewport, seen](const QWidget* widget) {
        return widget->isVisible() && seen.contains(QRect(widget->mapTo(viewport, QPoint()), widget->size()));
    };
    EXPECT_TRUE(inSight(mine)) << "row " << mine->width() << " px in a viewport of " << seen.width();
    EXPECT_FALSE(scroll->horizontalScrollBar()->isVisible());
    for (const char* part : {"behaviorBadge", "editProfile", "deleteProfile"}) {
        EXPECT_TRUE(inSight(mine->findChild<QWidget*>(part))) << part;
    }
    const QString line = QString::fromStdString(ids[0] + ", " + ids[1] + ", " + ids[2]);
    for (const auto& [part, full] : {std::pair{"profileRowName", name}, std::pair{"profileRowIdentifiers", line}}) {
        auto* label = mine->findChild<QLabel*>(part);
        ASSERT_NE(label, nullptr) << part;
        EXPECT_LT(label->width(), label->fontMetrics().horizontalAdvance(full)) << part << " is cut short";
        EXPECT_EQ(label->toolTip(), full) << part;
        EXPECT_EQ(label->accessibleName(), full) << part;
    }
}

TEST_F(ProfilesSettingsTabTest, AddingNeedsANameAndAnIdentifierAndTrimsTheIdentifier) {
    auto tab = shown<ProfilesSettingsTab>();
    QTest::mouseClick(child<QPushButton>(*tab, "addProfile"), Qt::LeftButton);
    ProfileEditorSheet* sheet = tab->sheet();
    ASSERT_NE(sheet, nullptr);
    auto* confirm = child<QPushButton>(*sheet, "profileConfirm");
    auto* add = child<QPushButton>(*sheet, "addIdentifier");
    EXPECT_EQ(confirm->text(), "Add");
    QTest::keyClicks(child<QLineEdit>(*sheet, "profileName"), "Writing");
    EXPECT_FALSE(confirm->isEnabled()) << "no identifier yet";
    auto* input = child<QLineEdit>(*sheet, "identifierInput");
    QTest::keyClicks(input, "   ");
    EXPECT_FALSE(add->isEnabled());
    input->clear();
    QTest::keyClicks(input, "  com.example.app  ");
    QTest::mouseClick(add, Qt::LeftButton);
    EXPECT_EQ(sheet->profile().bundleIdentifiers, std::vector<std::string>{"com.example.app"});
    EXPECT_TRUE(input->text().isEmpty());
    EXPECT_TRUE(confirm->isEnabled());
    QTest::keyClicks(input, "left.behind");
    QTest::mouseClick(confirm, Qt::LeftButton);
    settle();

    ASSERT_EQ(profileCount(), 4u);
    const ActivityProfile& added = state->profileManager().activityProfiles().back();
    EXPECT_EQ(added.name, "Writing");
    EXPECT_EQ(added.bundleIdentifiers, std::vector<std::string>{"com.example.app"});
    EXPECT_FALSE(added.isBuiltIn);
    EXPECT_TRUE(fake.userDefaults.contains("sv_customProfiles"));
    EXPECT_NE(row(*tab, "Writing"), nullptr);
}

TEST_F(ProfilesSettingsTabTest, CancelKeepsTheListAndAnEditedBuiltInStaysBuiltIn) {
    auto tab = shown<ProfilesSettingsTab>();
    QTest::mouseClick(child<QPushButton>(*tab, "addProfile"), Qt::LeftButton);
    QTest::keyClick(tab->sheet(), Qt::Key_Escape);
    settle();
    EXPECT_EQ(tab->sheet(), nullptr);
    EXPECT_EQ(profileCount(), 3u);

    QTest::mouseClick(row(*tab, "Cinema")->findChild<QPushButton*>("editProfile"), Qt::LeftButton);
    ProfileEditorSheet* sheet = tab->sheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(child<QPushButton>(*sheet, "profileConfirm")->text(), "Save");
    expectControlsNamed(*sheet, "profile editor");
    auto* name = child<QLineEdit>(*sheet, "profileName");
    name->selectAll();
    QTest::keyClicks(name, "Movies");
    QTest::mouseClick(sheet->findChildren<QPushButton*>("removeIdentifier").front(), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*sheet, "profileConfirm"), Qt::LeftButton);
    settle();
    const ActivityProfile& edited = state->profileManager().activityProfiles()[1];
    EXPECT_EQ(edited.name, "Movies");
    EXPECT_TRUE(edited.isBuiltIn);
    EXPECT_EQ(edited.bundleIdentifiers.size(), ActivityProfile::defaults()[1].bundleIdentifiers.size() - 1);
    QWidget* movies = row(*tab, "Movies");
    ASSERT_NE(movies, nullptr);
    EXPECT_EQ(movies->findChild<QPushButton*>("deleteProfile"), nullptr);
}

}  // namespace
}  // namespace solvara::testing
