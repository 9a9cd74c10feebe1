#include <gtest/gtest.h>

#include "DisplayTestSupport.h"

namespace solvara::testing {
namespace {

using Kind = FakeDisplayTransfer::Write::Kind;

TEST_F(DisplayTest, GammaTablesWriteOneRampToEveryDisplayInListOrderAndStartOneWatchdog) {
    fake.displayTransfer.displays = {5, 3, 9};
    manager();  // construction changes no display
    EXPECT_EQ(fake.displayTransfer.writeCount + fake.displayTransfer.restoreCount, 0u);
    EXPECT_FALSE(manager().isGammaWatchdogRunning());

    manager().applyColorTemperature(3400, ScreenEffect::none, GammaAPI::byTable);
    manager().applyColorTemperature(3300, ScreenEffect::none, GammaAPI::byTable);
    ASSERT_EQ(fake.displayTransfer.writes.size(), 6u);
    EXPECT_EQ(fake.displayTransfer.batchCount, 2u);  // one exchange with the server per application
    const DisplayId order[] = {5, 3, 9, 5, 3, 9};
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(fake.displayTransfer.writes[i].batched);
        EXPECT_EQ(fake.displayTransfer.writes[i].display, order[i]);
        EXPECT_EQ(fake.displayTransfer.writes[i].kind, Kind::table);
        EXPECT_EQ(fake.displayTransfer.writes[i].curve, ramp(i < 3 ? 3400 : 3300));
    }
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);
    EXPECT_TRUE(fake.screens.windows.empty());
    EXPECT_TRUE(fake.processes.launched.empty());
}

TEST_F(DisplayTest, ByFormulaReproducesTheTableFallingRampsIncluded) {
    const std::pair<std::int64_t, ScreenEffect> cases[] = {
        {6500, ScreenEffect::invert}, {2400, ScreenEffect::none}, {3000, ScreenEffect::grayscale}};
    for (const auto& [kelvin, effect] : cases) {
        fake.displayTransfer.writes.clear();
        manager().applyColorTemperature(kelvin, effect, GammaAPI::byFormula);
        ASSERT_EQ(fake.displayTransfer.writes.size(), 2u);
        EXPECT_EQ(fake.displayTransfer.writes[0].kind, Kind::formula);
        expectNear(fake.displayTransfer.writes[0].curve, ramp(kelvin, 1.0, effect));
    }
}

TEST_F(DisplayTest, WatchdogRewritesEveryTwoSecondsFollowsNewValuesAndKeepsASingleTimer) {
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    manager().startGammaWatchdog();
    EXPECT_EQ(fake.runLoop.repeatingCount(), 1u);

    fake.displayTransfer.restoreOriginalGamma();  // someone else resets the tables
    fake.displayTransfer.writes.clear();
    fake.runLoop.advance(1.9);
    EXPECT_TRUE(fake.displayTransfer.writes.empty());
    const std::size_t batches = fake.displayTransfer.batchCount;
    fake.runLoop.advance(0.1);
    ASSERT_EQ(fake.displayTransfer.writes.size(), 2u);
    EXPECT_EQ(fake.displayTransfer.batchCount, batches + 1);  // one round trip per firing
    EXPECT_TRUE(fake.displayTransfer.writes[0].batched && fake.displayTransfer.writes[1].batched);
    EXPECT_EQ(fake.displayTransfer.current(11), ramp(3000));
    EXPECT_EQ(fake.displayTransfer.current(22), ramp(3000));

    manager().applyColorTemperature(2000, ScreenEffect::invert, GammaAPI::byFormula);
    fake.displayTransfer.writes.clear();
    fake.runLoop.advance(2.0);
    ASSERT_EQ(fake.displayTransfer.writes.size(), 2u);
    EXPECT_EQ(fake.displayTransfer.writes[0].kind, Kind::formula);
    expectNear(fake.displayTransfer.current(11), ramp(2000, 1.0, ScreenEffect::invert));

    // A display that appears meanwhile gets the current global values, by the current method.
    fake.displayTransfer.displays.push_back(33);
    fake.runLoop.advance(2.0);
    ASSERT_EQ(fake.displayTransfer.writesTo(33).size(), 1u);
    EXPECT_EQ(fake.displayTransfer.writesTo(33)[0].kind, Kind::formula);
    expectNear(fake.displayTransfer.current(33), ramp(2000, 1.0, ScreenEffect::invert));
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
        {3000, ScreenEffect::none, false},     {2700, ScreenEffect::none, false},
        {2699, ScreenEffect::none, true},      {5000, ScreenEffect::invert, true},
        {2000, ScreenEffect::grayscale, true}, {6500, ScreenEffect::grayscale, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kelvin);
        manager().resetToDefault();
        fake.displayTransfer.writes.clear();
        manager().applyColorTemperature(c.kelvin, c.effect, GammaAPI::byNightShift);
        EXPECT_EQ(fake.files.contents.at(controlPath), std::to_string(c.kelvin));
        EXPECT_FALSE(manager().isGammaWatchdogRunning());
        ASSERT_EQ(fake.displayTransfer.writes.size(), c.writesTable ? 2u : 0u);
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
    // A helper that failed to start, then starts: the night light alone carries the colour and
    // our fallback tables go.
    fake.processes.launchError = "Permission denied";
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_NE(fake.displayTransfer.current(22), identity());
    fake.processes.launchError.clear();
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byNightShift);
    EXPECT_EQ(fake.displayTransfer.current(22), identity());
    EXPECT_FALSE(manager().isGammaWatchdogRunning());
    destroyManager();  // each case below brings its own platform

    struct Setup {
        const char* name;
        void (*prepare)(FakePlatform&);
        const char* logged;
    } setups[] = {
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
        EXPECT_EQ(f.displayTransfer.current(22), ramp(2500));
        EXPECT_EQ(f.processes.runningCount(), 0u);
        EXPECT_FALSE(f.files.exists(controlPath));
        EXPECT_TRUE(*s.logged == '\0' || f.log.contains(s.logged));
        // Later ticks rewrite the tables without putting the system's back in between.
        const auto restores = f.displayTransfer.restoreCount;
        m.applyColorTemperature(2480, ScreenEffect::none, GammaAPI::byNightShift);
        EXPECT_EQ(f.displayTransfer.restoreCount, restores);
        EXPECT_EQ(f.displayTransfer.current(22), ramp(2480));
    }
}

TEST_F(DisplayTest, OverlayWithAnEffectRestoresThenWritesTheEffectThenTints) {
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    fake.events.clear();
    manager().applyColorTemperature(3000, ScreenEffect::grayscale, GammaAPI::byOverlay);

    const auto& e = fake.events;
    const auto tint = e.indexOf("window+ 1000");
    ASSERT_LT(tint, e.events.size());
    EXPECT_LT(e.indexOf("restoreOriginalGamma"), e.indexOf("table 11"));
    EXPECT_LT(e.indexOf("table 11"), e.indexOf("table 22"));
    EXPECT_LT(e.indexOf("table 22"), tint);
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
        ASSERT_EQ(fake.displayTransfer.writes.size(), 4u);
        const Kind kind = method == GammaAPI::byFormula ? Kind::formula : Kind::table;
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

    manager().applyPerDisplayTemperatures(4000, records, ScreenEffect::invert, GammaAPI::byTable);
    EXPECT_EQ(fake.displayTransfer.current(3), ramp(2400, 0.5, ScreenEffect::invert));
}

TEST_F(DisplayTest, WatchdogReassertsPerDisplayRampsNotTheStaleGlobalValue) {
    manager().applyColorTemperature(5000, ScreenEffect::none, GammaAPI::byTable);
    PerDisplaySettingsMap records;
    records[22] = PerDisplaySettings{22, "Side", true, 2000, std::nullopt};
    manager().applyPerDisplayTemperatures(3000, records, ScreenEffect::none, GammaAPI::byTable);
    fake.displayTransfer.restoreOriginalGamma();
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

    manager().applyRampToDisplay(22, GammaRampGenerator::GammaRamp{}, GammaAPI::byTable);
    EXPECT_EQ(fake.displayTransfer.current(22), identity());
    manager().startGammaWatchdog();  // nor written back by the watchdog
    fake.runLoop.advance(2.0);
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
}

TEST_F(DisplayTest, DetectDisplaysNamesDisplaysAfterTheirScreensUpToSixteen) {
    fake.displayTransfer.displays = {11, 77};
    auto found = manager().detectDisplays();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0], (PerDisplaySettings{11, "Built-in", true, std::nullopt, std::nullopt}));
    EXPECT_EQ(found[1], (PerDisplaySettings{77, "Display 2", true, std::nullopt, std::nullopt}));

    for (DisplayId i = 0; i < 20; ++i) fake.displayTransfer.displays.push_back(100 + i);
    EXPECT_EQ(manager().detectDisplays().size(), 16u);
    EXPECT_EQ(manager().detectDisplays().back().displayName, "Display 16");

    // No display: nothing found, nothing written.
    fake.displayTransfer.displays.clear();
    EXPECT_TRUE(manager().detectDisplays().empty());
    manager().applyColorTemperature(3000, ScreenEffect::none, GammaAPI::byTable);
    manager().applyPerDisplayTemperatures(3000, {}, ScreenEffect::none, GammaAPI::byTable);
    fake.runLoop.advance(4);
    EXPECT_EQ(fake.displayTransfer.writeCount, 0u);
}

}  // namespace
}  // namespace solvara::testing
