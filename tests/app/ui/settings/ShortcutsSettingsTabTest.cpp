#include <QLabel>
#include <QPushButton>

#include "app/ui/settings/ShortcutRecorder.h"
#include "app/ui/settings/ShortcutsSettingsTab.h"
#include "tests/app/ui/settings/SettingsTestSupport.h"

namespace solvara::testing {
namespace {

using Action = KeyboardShortcutManager::Action;
using Shortcut = KeyboardShortcutManager::Shortcut;
constexpr std::uint64_t controlOption = KeyboardShortcutManager::controlKey | KeyboardShortcutManager::optionKey;

class ShortcutsSettingsTabTest : public SettingsFixture {
protected:
    ShortcutsSettingsTabTest() {
        auto created = std::make_unique<KeyboardShortcutManager>(fake.userDefaults, fake.globalShortcuts, fake.runLoop);
        created->loadShortcuts();
        created->start();
        manager = created.get();
        state->setShortcutManager(std::move(created));
    }

    QPushButton* field(const ShortcutsSettingsTab& tab, Action action) {
        const QString name = QString::fromUtf8(KeyboardShortcutManager::rawValue(action).data());
        for (QPushButton* button : tab.findChildren<QPushButton*>("shortcutField")) {
            if (button->property("action").toString() == name) return button;
        }
        ADD_FAILURE() << name.toStdString();
        return nullptr;
    }
    QPushButton* clearButton(const ShortcutsSettingsTab& tab, Action action) {
        const QString name = QString::fromUtf8(KeyboardShortcutManager::rawValue(action).data());
        for (QPushButton* button : tab.findChildren<QPushButton*>("clearShortcut")) {
            if (button->property("action").toString() == name) return button;
        }
        return nullptr;
    }

    KeyboardShortcutManager* manager = nullptr;
};

TEST_F(ShortcutsSettingsTabTest, RecordingIgnoresPlainAndModifierKeysAndStoresTheTablesKeyCode) {
    auto tab = shown<ShortcutsSettingsTab>();
    QPushButton* cycle = field(*tab, Action::cycleMode);
    EXPECT_EQ(cycle->text(), "Ctrl+Alt+M");
    QTest::mouseClick(cycle, Qt::LeftButton);
    EXPECT_EQ(cycle->text(), "Press keys...");
    EXPECT_FALSE(manager->isStarted()) << "the desktop grabs are released while recording";

    QTest::keyClick(cycle, Qt::Key_A);                             // a letter alone
    QTest::keyClick(cycle, Qt::Key_Control, Qt::ControlModifier);  // a modifier alone
    QTest::mouseClick(cycle, Qt::LeftButton);                      // the recording field itself
    EXPECT_EQ(tab->recorder().recordingAction(), Action::cycleMode);

    QTest::keyClick(cycle, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(manager->shortcuts().at(Action::cycleMode), (Shortcut{40, controlOption}));
    EXPECT_FALSE(tab->recorder().recordingAction());
    EXPECT_TRUE(manager->isStarted());
    EXPECT_EQ(cycle->text(), "Ctrl+Alt+K");
    EXPECT_TRUE(fake.userDefaults.contains(KeyboardShortcutManager::storageKey));
}

TEST_F(ShortcutsSettingsTabTest, EscapeCancelsWhateverModifiersAreHeld) {
    auto tab = shown<ShortcutsSettingsTab>();
    QPushButton* reset = field(*tab, Action::emergencyReset);
    QTest::mouseClick(reset, Qt::LeftButton);
    QTest::keyClick(reset, Qt::Key_Escape, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(tab->recorder().recordingAction());
    EXPECT_EQ(manager->shortcuts().at(Action::emergencyReset), (Shortcut{53, controlOption}));
    EXPECT_EQ(reset->text(), "Ctrl+Alt+Esc");
}

TEST_F(ShortcutsSettingsTabTest, ShiftOnlyCombinationsAreMarkedAsNotGrabbed) {
    auto tab = shown<ShortcutsSettingsTab>();
    QPushButton* trigger = field(*tab, Action::triggerBreak);
    QTest::mouseClick(trigger, Qt::LeftButton);
    QTest::keyClick(trigger, Qt::Key_F5, Qt::ShiftModifier);
    settle();
    EXPECT_EQ(trigger->text(), "Shift+F5");
    const auto notes = tab->findChildren<QLabel*>("shortcutNote");
    const auto visible =
        std::count_if(notes.begin(), notes.end(), [&](QLabel* note) { return note->isVisibleTo(tab.get()); });
    EXPECT_EQ(visible, 1);

    QTest::mouseClick(trigger, Qt::LeftButton);
    QTest::keyClick(trigger, Qt::Key_A, Qt::ShiftModifier);  // a character key: the manager keeps none
    settle();
    EXPECT_EQ(manager->shortcuts().count(Action::triggerBreak), 0u);
    EXPECT_EQ(trigger->text(), "Not set");
}

TEST_F(ShortcutsSettingsTabTest, AKeyTheTableCannotStoreIsRefusedWithAReasonAndRecordingGoesOn) {
    auto tab = shown<ShortcutsSettingsTab>();
    QPushButton* toggle = field(*tab, Action::toggleOnOff);
    const Shortcut before = manager->shortcuts().at(Action::toggleOnOff);
    const auto shownNotes = [&tab] {
        QStringList texts;
        for (QLabel* note : tab->findChildren<QLabel*>("shortcutNote")) {
            if (note->isVisibleTo(tab.get())) texts << note->text();
        }
        return texts;
    };
    QTest::mouseClick(toggle, Qt::LeftButton);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString keys;
    } cases[] = {
        {Qt::Key_Adiaeresis, Qt::ControlModifier | Qt::AltModifier, QString::fromUtf8("Ctrl+Alt+Ä")},
        {Qt::Key_F13, Qt::NoModifier, "F13"},
        {Qt::Key_Pause, Qt::ControlModifier, "Ctrl+Pause"},
    };
    for (const auto& c : cases) {
        QTest::keyClick(toggle, c.key, c.modifiers);
        settle();
        EXPECT_EQ(tab->recorder().recordingAction(), Action::toggleOnOff) << c.keys.toStdString();
        EXPECT_EQ(toggle->text(), "Press keys...");
        EXPECT_EQ(shownNotes(), QStringList{c.keys + " cannot be recorded: this key is not supported"});
        EXPECT_EQ(manager->shortcuts().at(Action::toggleOnOff), before);
    }
    QTest::keyClick(toggle, Qt::Key_K, Qt::ControlModifier | Qt::AltModifier);
    settle();
    EXPECT_EQ(manager->shortcuts().at(Action::toggleOnOff), (Shortcut{40, controlOption}));
    EXPECT_TRUE(shownNotes().isEmpty()) << "the reason goes with the recording";
}

TEST_F(ShortcutsSettingsTabTest, ClearAndRestoreDefaults) {
    auto tab = shown<ShortcutsSettingsTab>();
    QTest::mouseClick(clearButton(*tab, Action::toggleOnOff), Qt::LeftButton);
    EXPECT_EQ(manager->shortcuts().count(Action::toggleOnOff), 0u);
    EXPECT_EQ(field(*tab, Action::toggleOnOff)->text(), "Not set");

    QTest::mouseClick(field(*tab, Action::kelvinUp100), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(*tab, "restoreShortcuts"), Qt::LeftButton);
    EXPECT_EQ(manager->shortcuts(), KeyboardShortcutManager::defaultShortcuts());
    EXPECT_EQ(field(*tab, Action::toggleOnOff)->text(), "Ctrl+Alt+E");
    EXPECT_EQ(tab->recorder().recordingAction(), Action::kelvinUp100) << "restoring does not stop a recording";
}

TEST_F(ShortcutsSettingsTabTest, LeavingTheTabEndsTheRecordingAndGivesTheGrabsBack) {
    auto tab = shown<ShortcutsSettingsTab>();
    QTest::mouseClick(field(*tab, Action::cycleMode), Qt::LeftButton);
    tab.reset();
    EXPECT_TRUE(manager->isStarted());
    auto again = shown<ShortcutsSettingsTab>();
    EXPECT_EQ(field(*again, Action::cycleMode)->text(), "Ctrl+Alt+M");
}

TEST(ShortcutRecorderKeys, QtKeysMapToTheTablesKeyCodes) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::optional<std::uint16_t> code;
    };
    const Case cases[] = {
        {Qt::Key_A, {}, 0},
        {Qt::Key_E, {}, 14},
        {Qt::Key_M, {}, 46},
        {Qt::Key_Exclam, {}, 18},
        {Qt::Key_5, {}, 23},
        {Qt::Key_Comma, {}, 43},
        {Qt::Key_Less, {}, 43},
        {Qt::Key_Escape, {}, 53},
        {Qt::Key_Up, {}, 126},
        {Qt::Key_F1, {}, 122},
        {Qt::Key_F5, {}, 96},
        {Qt::Key_5, Qt::KeypadModifier, 87},
        {Qt::Key_Enter, Qt::KeypadModifier, 76},
        {Qt::Key_VolumeUp, {}, std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortcutRecorder::keyCode(c.key, c.modifiers), c.code) << c.key;
    EXPECT_EQ(ShortcutRecorder::modifierBits(Qt::ControlModifier | Qt::AltModifier | Qt::KeypadModifier),
              controlOption);
    EXPECT_EQ(ShortcutRecorder::modifierBits(Qt::MetaModifier | Qt::ShiftModifier),
              KeyboardShortcutManager::commandKey | KeyboardShortcutManager::shiftKey);
}

}  // namespace
}  // namespace solvara::testing
