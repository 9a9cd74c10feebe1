// The state's hot paths: the 10-second update (engine state, display, accounting and a full
// persist to the in-memory store) and a persist to the real settings file.
// Goals: an update under 200 µs of the state's own work, also at the end of a day (8640
// samples); a persist that changes nothing writes nothing; a persist with one change (file
// write included) under 2 ms early in the day; while only the samples keep changing, the file is
// written at most once a minute (file_writes_per_tick at most 1/6); a year of history with a day
// of samples (file_kib) far below the store's 8 MiB bound.

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "app/state/AppState.h"
#include "core/foundation/Calendar.h"
#include "platform/fake/FakePlatform.h"
#include "platform/fake/FakeRunLoop.h"
#include "platform/filestore/FileUserDefaults.h"

namespace {

using namespace solvara;

const Date evening = *Calendar::date(2026, 1, 15, 22, 0);

// As the program gives them to its store: the values every update changes, which may wait a minute.
const FileUserDefaults::KeySet sampleKeys{"sv_exposureRecords", "sv_lightDebtPoints", "sv_lightDebtPeakToday"};

// A year of history and a few profiles of the user's own, as a long-time user has them.
void fillHistory(AppState& state) {
    const Date start = *Calendar::date(2025, 1, 15, 12);
    for (int day = 0; day < 365; ++day) {
        const auto date = HealthHistory::dateString(*Calendar::addingDays(day, start));
        state.healthHistory().recordDay(date, 3.0 + day * 0.01, 12.5 + day * 0.3, 0.8, day % 9, day % 4, 70, 4);
    }
    for (int i = 0; i < 5; ++i) {
        state.profileManager().addProfile(ActivityProfile("Profile " + std::to_string(i),
                                                          {"org.example.app" + std::to_string(i)},
                                                          ActivityProfile::Behavior::coding, false));
    }
}

// The state on the fakes, with its settings in the fake store or in a real file (written by
// flush() only, or also by the store's own background writes on the fake run loop).
struct Fixture {
    enum class Store { fake, file, fileWithRunLoop };

    explicit Fixture(Store kind = Store::fake, const std::string& path = {}) : fake(evening) {
        fake.displayTransfer.displays = {11, 22};
        fake.displayTransfer.keepHistory = false;
        fake.screens.screenList = {ScreenInfo{11, "Built-in", {0, 0, 1920, 1080}},
                                   ScreenInfo{22, "Side", {1920, 0, 1280, 800}}};
        if (kind != Store::fake) {
            fileStore = std::make_unique<FileUserDefaults>(
                path, kind == Store::fileWithRunLoop ? &fake.runLoop : nullptr, sampleKeys);
        }
        const Platform p = fake.platform();
        const Platform withStore{.runLoop = p.runLoop,
                                 .displayTransfer = p.displayTransfer,
                                 .screens = p.screens,
                                 .processes = p.processes,
                                 .files = p.files,
                                 .nightLight = p.nightLight,
                                 .colorFilter = p.colorFilter,
                                 .userDefaults = fileStore ? *fileStore : p.userDefaults,
                                 .log = p.log,
                                 .workspace = p.workspace,
                                 .globalShortcuts = p.globalShortcuts,
                                 .location = p.location,
                                 .notifications = p.notifications,
                                 .audio = p.audio,
                                 .ambientLight = p.ambientLight,
                                 .loginItem = p.loginItem};
        state = std::make_unique<AppState>(withStore);
    }

    FakePlatform fake;
    std::unique_ptr<FileUserDefaults> fileStore;
    std::unique_ptr<AppState> state;
};

// One update of the running program: `records` samples already logged today (a full day of
// ten-second ticks is 8640).
void BM_UpdateTick(benchmark::State& bench) {
    Fixture f;
    AppState& s = *f.state;
    fillHistory(s);
    s.setCoordinate(Coordinate{40.7128, -74.006});
    const auto logDay = [&] {
        s.exposureTracker().clear();  // keep the day's sample count constant
        for (std::int64_t i = 0; i < bench.range(0); ++i) s.exposureTracker().log(2700, 5.0, 10, true);
        s.persistSettings();  // what the previous tick left behind
    };
    logDay();
    for (auto _ : bench) {
        s.updateCircadianState();
        f.fake.runLoop.runPending();
        bench.PauseTiming();
        logDay();
        // A moment later, so that each tick's sample, and the document stored, is a new one.
        f.fake.runLoop.advance(0.001);
        bench.ResumeTiming();
    }
    bench.counters["store_sets"] = static_cast<double>(f.fake.userDefaults.setCount);
}
BENCHMARK(BM_UpdateTick)->Arg(0)->Arg(360)->Arg(8640)->Unit(benchmark::kMicrosecond);

// The core's share of an update late in the day: one more sample, and the document of the
// day's samples that every persist stores whole.
void BM_CoreExposureEncode(benchmark::State& bench) {
    FakeRunLoop loop(evening);
    ExposureTracker tracker;
    for (std::int64_t i = 0; i < bench.range(0); ++i) tracker.log(2700, 5.0, 10, true);
    benchmark::DoNotOptimize(tracker.encodeTodayRecords());
    for (auto _ : bench) {
        tracker.log(2700, 5.0, 10, true);
        auto text = tracker.encodeTodayRecords();
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_CoreExposureEncode)->Arg(360)->Arg(8640)->Unit(benchmark::kMicrosecond);

std::string benchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "solvara-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return pattern;
}

// persistSettings() and the store's flush against the real settings file, early in the day and
// with a day of samples: with nothing changed, and with one setting changed (the write, fsync
// included, on the calling thread).
void BM_PersistToFile(benchmark::State& bench) {
    const bool changeOne = bench.range(0) != 0;
    const std::string dir = benchDirectory();
    {
        Fixture f(Fixture::Store::file, dir + "/user-defaults.json");
        FileUserDefaults& store = *f.fileStore;
        AppState& s = *f.state;
        fillHistory(s);
        for (std::int64_t i = 0; i < bench.range(1); ++i) s.exposureTracker().log(2700, 5.0, 10, true);
        s.persistSettings();
        store.flush();
        const int writesBefore = store.writeCount();
        bool flag = false;
        for (auto _ : bench) {
            if (changeOne) {
                flag = !flag;
                s.setSpotlightEnabled(flag);  // its handler persists every key
            } else {
                s.persistSettings();
            }
            store.flush();
        }
        bench.counters["file_writes_per_persist"] =
            static_cast<double>(store.writeCount() - writesBefore) / static_cast<double>(bench.iterations());
        // A year of history with a full day of samples: the size the store's bound must clear.
        bench.counters["file_kib"] =
            static_cast<double>(std::filesystem::file_size(dir + "/user-defaults.json")) / 1024;
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PersistToFile)
    ->ArgsProduct({{0, 1}, {0, 8640}})
    ->ArgNames({"changed", "samples"})
    ->Unit(benchmark::kMicrosecond);

// The running program's way at the end of a day: every 10 seconds a tick's sample and a
// persist, and the store's automatic writes handed to the background worker. Only the main
// thread's share is timed; the worker's writes (fsync included) run between the timed rounds.
void BM_PersistToFileInBackground(benchmark::State& bench) {
    const std::string dir = benchDirectory();
    {
        Fixture f(Fixture::Store::fileWithRunLoop, dir + "/user-defaults.json");
        FakeRunLoop& loop = f.fake.runLoop;
        loop.runsBackgroundInline = false;
        FileUserDefaults& store = *f.fileStore;
        AppState& s = *f.state;
        fillHistory(s);
        for (std::int64_t i = 0; i < bench.range(0); ++i) s.exposureTracker().log(2700, 5.0, 10, true);
        s.persistSettings();
        store.flush();
        const int writesBefore = store.writeCount();
        for (auto _ : bench) {
            s.exposureTracker().log(2700, 5.0, 10, true);
            s.persistSettings();
            loop.advance(10.0);  // automatic writes fall due and go to the worker
            bench.PauseTiming();
            loop.runBackgroundWork();
            bench.ResumeTiming();
        }
        bench.counters["file_writes_per_tick"] =
            static_cast<double>(store.writeCount() - writesBefore) / static_cast<double>(bench.iterations());
    }
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PersistToFileInBackground)->Arg(8640)->ArgName("samples")->Unit(benchmark::kMicrosecond);

}  // namespace
