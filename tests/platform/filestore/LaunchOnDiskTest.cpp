// A launch of the state on the real settings file and state directory, in a child process whose
// peak memory the kernel reports.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/state/AppState.h"
#include "core/foundation/Calendar.h"
#include "platform/fake/FakePlatform.h"
#include "platform/filestore/FileUserDefaults.h"
#include "platform/posix/PosixFiles.h"

namespace solvara {
namespace {

namespace fs = std::filesystem;

long peakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The fakes, with the given files and store in place of theirs.
Platform onDisk(FakePlatform& fake, Files& files, UserDefaults& store) {
    const Platform p = fake.platform();
    return Platform{.runLoop = p.runLoop,
                    .displayTransfer = p.displayTransfer,
                    .screens = p.screens,
                    .processes = p.processes,
                    .files = files,
                    .nightLight = p.nightLight,
                    .colorFilter = p.colorFilter,
                    .userDefaults = store,
                    .log = p.log,
                    .workspace = p.workspace,
                    .globalShortcuts = p.globalShortcuts,
                    .location = p.location,
                    .notifications = p.notifications,
                    .audio = p.audio,
                    .ambientLight = p.ambientLight,
                    .loginItem = p.loginItem};
}

// Builds the state as the program does at launch; answers the growth of the peak memory (kB).
long launch(const fs::path& home) {
    const long before = peakKilobytes();
    FakePlatform fake(*Calendar::date(2026, 1, 15, 12));
    PosixFiles files;
    FileUserDefaults store((home / "user-defaults.json").string());
    AppState state(onDisk(fake, files, store));
    return peakKilobytes() - before;
}

TEST(LaunchOnDisk, KeepingADocumentAsideBesideASameSecondCopyTakesLittleMemory) {
    std::string pattern = (fs::temp_directory_path() / "solvara-launch-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    const fs::path home = pattern;
    fs::create_directories(home / "state/solvara");
    fs::permissions(home / "state/solvara", fs::perms::owner_all, fs::perm_options::replace);
    // An object where the history's list belongs, and a copy already kept in the same second.
    std::ofstream(home / "user-defaults.json") << R"({"sv_isEnabled": true, "sv_healthHistory": {"json": {"a": 1}}})";
    const fs::path earlier = home / "state/solvara/recovered-sv_healthHistory-20260115-120000.json";
    std::ofstream(earlier) << "earlier";
    fs::permissions(earlier, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);

    int pipe[2];
    ASSERT_EQ(::pipe(pipe), 0);
    const pid_t child = fork();
    if (child == 0) {
        ::setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
        const long grown = launch(home);
        _exit(::write(pipe[1], &grown, sizeof grown) == sizeof grown ? 0 : 1);
    }
    long grown = -1;
    EXPECT_EQ(::read(pipe[0], &grown, sizeof grown), static_cast<ssize_t>(sizeof grown));
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipe[0]);
    ::close(pipe[1]);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_GE(grown, 0);
    EXPECT_LT(grown, 32 * 1024) << "kB";

    std::ifstream kept(home / "state/solvara/recovered-sv_healthHistory-20260115-120000-2.json");
    EXPECT_TRUE(kept.good());
    std::ifstream first(earlier);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(first), {}), "earlier");
    fs::remove_all(home);
}

// The samples main.cpp names are all that changes at an update: an evening hour of them (with
// light debt growing) writes the file once a minute.
TEST(LaunchOnDisk, AnHourOfUpdatesWritesTheFileOnceAMinute) {
    std::string pattern = (fs::temp_directory_path() / "solvara-day-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    {
        FakePlatform fake(*Calendar::date(2026, 1, 15, 22));
        fake.displayTransfer.displays = {11};
        FileUserDefaults store(pattern + "/user-defaults.json", &fake.runLoop,
                               {"sv_exposureRecords", "sv_lightDebtPoints", "sv_lightDebtPeakToday"});
        AppState state(onDisk(fake, fake.files, store));
        state.setCoordinate(Coordinate{52.52, 13.405});
        for (int tick = 0; tick < 360; ++tick) {
            state.updateCircadianState();
            fake.runLoop.advance(10.0);
        }
        EXPECT_LE(store.writeCount(), 61);
    }
    fs::remove_all(pattern);
}

}  // namespace
}  // namespace solvara
