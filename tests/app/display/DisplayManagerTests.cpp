#include <cmath>

#include <gtest/gtest.h>

#include "DisplayTestSupport.h"

namespace solvara::testing {
namespace {

using Kind = FakeDisplayTransfer::Write::Kind;

TEST_F(DisplayTest, ConstructionSavesTheNightLightAndChangesNoDisplay) {
    fake.nightLight.currentStrength = 0.4f;
    auto& m = manager();
    EXPECT_EQ(m.currentKelvin(), 6500);
    EXPECT_EQ(m.currentScreenEffect(), ScreenEffect::none);
    EXPECT_EQ(m.currentGammaAPI(), GammaAPI::byTable);
    ASSERT_TRUE(m.nightShiftManager().savedState());
    EXPECT_FLOAT_EQ(m.nightShiftManager().savedState()->strength, 0.4f);
    EXPECT_EQ(fake.displayTransfer.writeCount, 0u);
    EXPECT_EQ(fake.displayTransfer.restoreCount, 0u);
    EXPECT_TRUE(fake.screens.windows.empty());
    EXPECT_FALSE(m.isGammaWatchdogRunning());
}

TEST_F(DisplayTest, GammaTablesWriteOneRampToEveryDisplayInListOrderAndStartOneWatchdog) {
    fake.displayTransfer.displays = {5, 3, 9};
    manager().applyColorTemperature(3400, ScreenEffect::none, GammaAPI::byTable);
    manager().applyColorTemperature(3300, ScreenEffect::none, GammaAPI::byTable);

    ASSERT_EQ(fake.displayTransfer.writes.size(), 6u);
    const DisplayId order[] = {5, 3, 9, 5, 3, 9};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(fake.displayTransfer.writes[i].display, order[i]);
        EXPECT_EQ(fake.displayTransfer.writes[i].kind, Kind::table);
        EXPECT_EQ(fake.displayTransfer.writes[i].curve, ramp(i < 3 ? 3400 : 3300));
    }
    EXPECT_TRUE(manager().isGammaWatchdogRunning());
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);
    EXPECT_TRUE(fake.screens.windows.empty());
    EXPECT_TRUE(fake.processes.launched.empty());
}

TEST_F(DisplayTest, ByFormulaReproducesTheTableIncludingTheInvertedRamp) {
    struct Case {
        std::int64_t kelvin;
        ScreenEffect effect;
    } cases[] = {{6500, ScreenEffect::invert}, {2400, ScreenEffect::none}, {3000, ScreenEffect::grayscale}};
    for (const auto& c : cases) {
        fake.displayTransfer.writes.clear();
        manager().applyColorTemperature(c.kelvin, c.effect, GammaAPI::byFormula);
        ASSERT_EQ(fake.displayTransfer.writes.size(), 2u);
        const auto& w = fake.displayTransfer.writes[0];
        EXPECT_EQ(w.kind, Kind::formula);
        const Curve expected = ramp(c.kelvin, 1.0, c.effect);
        EXPECT_EQ(w.formula.redMin, expected.red.front());
        EXPECT_EQ(w.formula.redMax, expected.red.back());
        EXPECT_EQ(w.formula.blueGamma, 1.0f);
        expectNear(w.curve, expected);
    }
    // Inverted 6500 K: red falls from full at input 0 to nothing at input 1.
    manager().applyColorTemperature(6500, ScreenEffect::invert, GammaAPI::byFormula);
    const auto& f = fake.displayTransfer.writes.back().formula;
    EXPECT_FLOAT_EQ(f.redMin, 1.0f);
    EXPECT_FLOAT_EQ(f.redMax, 0.0f);
}

TEST_F(DisplayTest, WatchdogRewritesEveryTwoSecondsFollowsNewValuesAndKeepsASingleTimer) {
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    manager().startGammaWatchdog();
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);

    fake.displayTransfer.restoreColorSyncSettings();  // someone else resets the tables
    fake.displayTransfer.writes.clear();
    fake.runLoop.advance(1.9);
    EXPECT_TRUE(fake.displayTransfer.writes.empty());
    fake.runLoop.advance(0.1);
    ASSERT_EQ(fake.displayTransfer.writes.size(), 2u);
    EXPECT_EQ(fake.displayTransfer.current(11), ramp(3000));
    EXPECT_EQ(fake.displayTransfer.current(22), ramp(3000));

    manager().applyColorTemperature(2000, ScreenEffect::invert, GammaAPI::byFormula);
    fake.displayTransfer.writes.clear();
    fake.runLoop.advance(2.0);
    ASSERT_EQ(fake.displayTransfer.writes.size(), 2u);
    EXPECT_EQ(fake.displayTransfer.writes[0].kind, Kind::formula);
    EXPECT_EQ(fake.displayTransfer.writes[0].formula.redMin, ramp(2000, 1.0, ScreenEffect::invert).red.front());

    // A display that appears meanwhile gets the current global values.
    fake.displayTransfer.displays.push_back(33);
    fake.runLoop.advance(2.0);
    EXPECT_EQ(fake.displayTransfer.writesTo(33).size(), 1u);
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);
}

TEST_F(DisplayTest, WatchdogEndsWithTheManagerAndRestartsAfterAReset) {
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    manager().resetToDefault();
    EXPECT_FALSE(manager().isGammaWatchdogRunning());
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
    fake.displayTransfer.writes.clear();
    fake.runLoop.advance(10);
    EXPECT_TRUE(fake.displayTransfer.writes.empty());

    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    EXPECT_TRUE(manager().isGammaWatchdogRunning());
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);

    destroyManager();
    EXPECT_EQ(fake.runLoop.scheduledCount(), 0u);
    fake.runLoop.advance(10);  // nothing fires into a destroyed manager
}

TEST_F(DisplayTest, MethodSwitchesRestoreTheSystemTablesOnEachEntryIntoNightShiftOnly) {
    auto& m = manager();
    m.applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    EXPECT_EQ(fake.displayTransfer.restoreCount, 0u);

    m.applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.restoreCount, 1u);
    EXPECT_TRUE(m.didClearGammaForNightShift());
    EXPECT_FALSE(m.isGammaWatchdogRunning());
    EXPECT_TRUE(m.nightShiftManager().isHelperRunning());
    EXPECT_EQ(fake.files.contents.at(controlPath), "3000");

    m.applyColorTemperature(3100, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.restoreCount, 1u);
    EXPECT_EQ(fake.processes.launched.size(), 1u);

    m.applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    EXPECT_FALSE(m.didClearGammaForNightShift());
    EXPECT_FALSE(m.nightShiftManager().isHelperRunning());
    EXPECT_FALSE(fake.files.exists(controlPath));
    EXPECT_TRUE(m.isGammaWatchdogRunning());

    m.applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.restoreCount, 2u);
    EXPECT_EQ(fake.processes.launched.size(), 2u);
    EXPECT_EQ(fake.processes.runningCount(), 1u);
}

TEST_F(DisplayTest, NightShiftAddsATableOnlyBelow2700KOrForAnEffect) {
    struct Case {
        std::int64_t kelvin;
        ScreenEffect effect;
        bool writesTable;
    } cases[] = {
        {3000, ScreenEffect::none, false},      {2700, ScreenEffect::none, false},
        {2699, ScreenEffect::none, true},       {2500, ScreenEffect::none, true},
        {5000, ScreenEffect::invert, true},     {2000, ScreenEffect::grayscale, true},
        {6500, ScreenEffect::grayscale, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kelvin);
        manager().resetToDefault();
        fake.displayTransfer.writes.clear();
        manager().applyColorTemperature(c.kelvin, c.effect, GammaAPI::byNightShift);
        EXPECT_EQ(fake.files.contents.at(controlPath), std::to_string(c.kelvin));
        EXPECT_FALSE(manager().isGammaWatchdogRunning());
        if (!c.writesTable) {
            EXPECT_TRUE(fake.displayTransfer.writes.empty());
            continue;
        }
        ASSERT_EQ(fake.displayTransfer.writes.size(), 2u);
        for (const auto& w : fake.displayTransfer.writes) {
            EXPECT_EQ(w.kind, Kind::table);
            EXPECT_EQ(w.curve, ramp(c.kelvin, 1.0, c.effect));
        }
    }
}

TEST_F(DisplayTest, NightShiftRemovesATableThatIsNoLongerWanted) {
    auto& m = manager();
    m.applyColorTemperature(5000, ScreenEffect::invert, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.current(11), ramp(5000, 1.0, ScreenEffect::invert));
    m.applyColorTemperature(5000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.current(11), identity());  // no longer inverted

    m.applyColorTemperature(2400, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.current(22), ramp(2400));
    const auto restores = fake.displayTransfer.restoreCount;
    m.applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.current(22), identity());
    m.applyColorTemperature(3200, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.restoreCount, restores + 1);  // once, not on every tick
}

TEST_F(DisplayTest, NightShiftFallsBackToTablesWhenItCannotBeDriven) {
    struct Setup {
        const char* name;
        void (*prepare)(FakePlatform&);
        const char* logged;
    } setups[] = {
        {"no helper", [](FakePlatform& f) { f.files.resources.clear(); }, "Helper not found — Night Shift unavailable"},
        {"no client", [](FakePlatform& f) { f.nightLight.available = false; }, ""},
        {"write fails", [](FakePlatform& f) { f.files.failingPaths.insert(controlPath); },
         "Could not write the control file — using gamma tables"},
        {"no runtime dir", [](FakePlatform& f) { f.files.runtimeDir.reset(); }, "No private runtime directory"},
        {"launch fails", [](FakePlatform& f) { f.processes.launchError = "Permission denied"; },
         "Failed to start helper: Permission denied"},
    };
    for (const auto& s : setups) {
        SCOPED_TRACE(s.name);
        FakePlatform f;
        f.displayTransfer.displays = {11, 22};
        f.files.resources["ns_helper"] = helperPath;
        s.prepare(f);
        DisplayManager m(f.platform());
        m.applyColorTemperature(2500, ScreenEffect::none, GammaAPI::byNightShift);
        EXPECT_EQ(m.currentGammaAPI(), GammaAPI::byNightShift);
        EXPECT_TRUE(m.isGammaWatchdogRunning());
        ASSERT_EQ(f.displayTransfer.writesTo(22).size(), 1u);
        EXPECT_EQ(f.displayTransfer.writesTo(22)[0].kind, Kind::table);
        EXPECT_EQ(f.displayTransfer.current(22), curveOf(m.rampFor(2500, 1.0, ScreenEffect::none)));
        EXPECT_EQ(f.processes.runningCount(), 0u);
        EXPECT_FALSE(f.files.exists(controlPath));
        if (*s.logged != '\0') {
            EXPECT_TRUE(f.log.contains(s.logged));
        }
        // Later ticks rewrite the tables without putting the system's back in between.
        const auto restores = f.displayTransfer.restoreCount;
        m.applyColorTemperature(2480, ScreenEffect::none, GammaAPI::byNightShift);
        EXPECT_EQ(f.displayTransfer.restoreCount, restores);
        EXPECT_EQ(f.displayTransfer.current(22), curveOf(m.rampFor(2480, 1.0, ScreenEffect::none)));
    }
    // Once the helper starts, the night light alone carries the colour: our tables go.
    FakePlatform f;
    f.displayTransfer.displays = {11, 22};
    f.files.resources["ns_helper"] = helperPath;
    f.processes.launchError = "Permission denied";
    DisplayManager m(f.platform());
    m.applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_NE(f.displayTransfer.current(22), identity());
    f.processes.launchError.clear();
    m.applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(f.displayTransfer.current(22), identity());
    EXPECT_FALSE(m.isGammaWatchdogRunning());
}

TEST_F(DisplayTest, OverlayWithAnEffectRestoresThenWritesTheEffectThenTints) {
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    fake.events.clear();
    manager().applyColorTemperature(3000, ScreenEffect::grayscale, GammaAPI::byOverlay);

    const auto& e = fake.events;
    const auto restore = e.indexOf("restoreColorSync");
    const auto firstTable = e.indexOf("table 11");
    const auto secondTable = e.indexOf("table 22");
    const auto tint = e.indexOf("window+ 1000");
    ASSERT_LT(tint, e.events.size());
    EXPECT_LT(restore, firstTable);
    EXPECT_LT(firstTable, secondTable);
    EXPECT_LT(secondTable, tint);
    EXPECT_EQ(fake.displayTransfer.current(11), ramp(3000, 1.0, ScreenEffect::grayscale));
    EXPECT_EQ(fake.screens.visibleWindows(1000).size(), 2u);
    EXPECT_FALSE(manager().isGammaWatchdogRunning());

    // Without an effect the tables are only restored.
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byOverlay);
    EXPECT_EQ(fake.displayTransfer.current(11), identity());
    EXPECT_EQ(fake.screens.visibleWindows(1000).size(), 2u);

    // Leaving the overlay method removes the tint.
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    EXPECT_TRUE(fake.screens.visibleWindows().empty());
    EXPECT_EQ(fake.screens.closedWithoutOrderOut(), 0u);
}

TEST_F(DisplayTest, PerDisplayRecordsChooseEachDisplaysRamp) {
    fake.displayTransfer.displays = {1, 2, 3, 4};
    PerDisplaySettingsMap records;
    records[2] = PerDisplaySettings{2, "Off", false, 2000, 0.3};
    records[3] = PerDisplaySettings{3, "Warm", true, 2400, 0.5};
    records[4] = PerDisplaySettings{4, "Dim", true, std::nullopt, 0.7};
    records[99] = PerDisplaySettings{99, "Gone", true, 1900, std::nullopt};

    for (GammaAPI method : {GammaAPI::byTable, GammaAPI::byFormula}) {
        fake.displayTransfer.writes.clear();
        manager().applyPerDisplayTemperatures(4000, records, ScreenEffect::none, method);
        const Kind kind = method == GammaAPI::byFormula ? Kind::formula : Kind::table;
        ASSERT_EQ(fake.displayTransfer.writes.size(), 4u);
        EXPECT_EQ(fake.displayTransfer.writesTo(1)[0].kind, kind);
        EXPECT_EQ(fake.displayTransfer.writesTo(2)[0].kind, Kind::table);  // identity always by table
        EXPECT_EQ(fake.displayTransfer.current(2), identity());
        expectNear(fake.displayTransfer.current(1), ramp(4000));
        expectNear(fake.displayTransfer.current(3), ramp(2400, 0.5));
        expectNear(fake.displayTransfer.current(4), ramp(4000, 0.7));
    }
    // Nothing global is remembered or started.
    EXPECT_EQ(manager().currentKelvin(), 6500);
    EXPECT_FALSE(manager().isGammaWatchdogRunning());

    fake.displayTransfer.writes.clear();
    manager().applyPerDisplayTemperatures(4000, records, ScreenEffect::invert, GammaAPI::byTable);
    EXPECT_EQ(fake.displayTransfer.current(3), ramp(2400, 0.5, ScreenEffect::invert));
}

TEST_F(DisplayTest, WatchdogReassertsPerDisplayRampsNotTheStaleGlobalValue) {
    manager().applyColorTemperature(5000, ScreenEffect::none, GammaAPI::byTable);
    PerDisplaySettingsMap records;
    records[22] = PerDisplaySettings{22, "Side", true, 2000, std::nullopt};
    manager().applyPerDisplayTemperatures(3000, records, ScreenEffect::none, GammaAPI::byTable);
    fake.displayTransfer.restoreColorSyncSettings();
    fake.runLoop.advance(2.0);
    EXPECT_EQ(fake.displayTransfer.current(11), ramp(3000));
    EXPECT_EQ(fake.displayTransfer.current(22), ramp(2000));
}

TEST_F(DisplayTest, AnAllBlackTableIsNeverWritten) {
    PerDisplaySettingsMap records;
    records[11] = PerDisplaySettings{11, "Built-in", true, std::nullopt, 0.0};
    manager().applyPerDisplayTemperatures(3000, records, ScreenEffect::none, GammaAPI::byFormula);
    EXPECT_EQ(fake.displayTransfer.current(11), identity());
    EXPECT_TRUE(fake.log.contains("Refusing an all-black table for display 11"));
    expectNear(fake.displayTransfer.current(22), ramp(3000));

    GammaRampGenerator::GammaRamp black{};
    manager().applyRampToDisplay(22, black, GammaAPI::byTable);
    EXPECT_EQ(fake.displayTransfer.current(22), identity());
}

TEST_F(DisplayTest, ResetPutsEverythingBackAndKeepsEffectAndMethod) {
    auto& m = manager();
    m.applyColorTemperature(2000, ScreenEffect::invert, GammaAPI::byNightShift);
    m.colorOverlay().applyColorTemperature(3000);
    m.resetToDefault();
    EXPECT_EQ(m.currentKelvin(), 6500);
    EXPECT_EQ(m.currentScreenEffect(), ScreenEffect::invert);
    EXPECT_EQ(m.currentGammaAPI(), GammaAPI::byNightShift);
    EXPECT_FALSE(m.didClearGammaForNightShift());
    EXPECT_FALSE(m.nightShiftManager().isHelperRunning());
    EXPECT_FALSE(fake.files.exists(controlPath));
    EXPECT_TRUE(fake.screens.visibleWindows().empty());
    EXPECT_EQ(fake.displayTransfer.current(11), identity());
    // The user's night light and colour filter are the callers' to restore.
    EXPECT_TRUE(m.nightShiftManager().savedState());
    m.resetToDefault();  // repeatable
    EXPECT_EQ(m.currentKelvin(), 6500);
}

TEST_F(DisplayTest, DetectDisplaysNamesDisplaysAfterTheirScreens) {
    fake.displayTransfer.displays = {11, 77};
    auto found = manager().detectDisplays();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], (PerDisplaySettings{11, "Built-in", true, std::nullopt, std::nullopt}));
    EXPECT_EQ(found[1], (PerDisplaySettings{77, "Display 2", true, std::nullopt, std::nullopt}));

    fake.displayTransfer.displays.clear();
    EXPECT_TRUE(manager().detectDisplays().empty());

    fake.displayTransfer.displays.assign(20, 0);
    for (DisplayId i = 0; i < 20; ++i) fake.displayTransfer.displays[i] = 100 + i;
    EXPECT_EQ(manager().detectDisplays().size(), 16u);
    EXPECT_EQ(manager().detectDisplays().back().displayName, "Display 16");
}

TEST_F(DisplayTest, ZeroDisplaysWriteNothing) {
    fake.displayTransfer.displays.clear();
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    manager().applyPerDisplayTemperatures(3000, {}, ScreenEffect::none, GammaAPI::byTable);
    fake.runLoop.advance(4);
    EXPECT_EQ(fake.displayTransfer.writeCount, 0u);
}

}  // namespace
}  // namespace solvara::testing
