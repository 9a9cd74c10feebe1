// The solvara program started as a process against the test's X server, looked at from a
// second X client the way another program on the desktop would.

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
// After gtest: Xlib's macros (None, Bool...) clash with its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/x11/SecondClient.h"

namespace solvara::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Polls `done` every 20 ms until it holds or `limit` passes; answers `done()`.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!done()) {
        if (Clock::now() >= end) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// One run of the program with a home of its own and the stored settings given.
class Program {
public:
    Program(const fs::path& home, const std::string& settingsJson) : home_(home) {
        fs::create_directories(home / "config/solvara");
        fs::create_directories(home / "runtime");
        fs::permissions(home / "runtime", fs::perms::owner_all, fs::perm_options::replace);
        std::ofstream(home / "config/solvara/user-defaults.json") << settingsJson;
    }
    ~Program() {
        if (pid_ > 0 && running()) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    // Starts a process of the program; answers its id.
    pid_t start() {
        const std::string log = (home_ / ("solvara-" + std::to_string(launches_++) + ".log")).string();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", home_.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
            setenv("XDG_STATE_HOME", (home_ / "state").c_str(), 1);
            setenv("XDG_DATA_HOME", (home_ / "data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (home_ / "runtime").c_str(), 1);
            const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 1);
            dup2(fd, 2);
            execl(SOLVARA_PROGRAM, SOLVARA_PROGRAM, static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ <= 0) pid_ = pid;
        return pid;
    }

    bool running() const { return pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == 0; }

    // Sends `signal` and waits (up to 10 s) for the exit; answers the exit status.
    std::optional<int> stop(int signal = SIGTERM) {
        kill(pid_, signal);
        return waitExit(pid_, std::chrono::seconds(10));
    }

    static std::optional<int> waitExit(pid_t pid, std::chrono::milliseconds limit) {
        int status = 0;
        const bool exited = waitFor([&] { return waitpid(pid, &status, WNOHANG) == pid; }, limit);
        if (!exited || !WIFEXITED(status)) return std::nullopt;
        return WEXITSTATUS(status);
    }

    std::string log(int launch = 0) const {
        std::ifstream in(home_ / ("solvara-" + std::to_string(launch) + ".log"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    pid_t pid() const { return pid_; }

private:
    fs::path home_;
    pid_t pid_ = -1;
    int launches_ = 0;
    mutable int status_ = 0;
};

// Every run: in Berlin by the stored city, the "Reading" mode (3800 K at any hour, so the tables
// always differ from the identity), breaks on.
constexpr const char* storedSettings = R"({
  "sv_isEnabled": true,
  "sv_hasCompletedOnboarding": true,
  "sv_locationSource": "Manual",
  "sv_selectedCity": "Berlin",
  "sv_currentMode": "Reading",
  "sv_breaksEnabled": true
})";

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.isOpen());
        outputs = x.enabledOutputs();
        ASSERT_GE(outputs.size(), 2u);
        char pattern[] = "/tmp/solvara-program.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        home = pattern;
        // Tables of the user's own that are not the identity, so a restore to the identity
        // would be caught.
        for (const auto& output : outputs) {
            auto tables = SecondClient::identity(x.gammaSize(output));
            for (auto& value : tables.blue) value = static_cast<std::uint16_t>(value * 9 / 10);
            ASSERT_TRUE(x.setGamma(output, tables));
            original[output] = tables;
        }
    }
    void TearDown() override {
        program.reset();
        for (const auto& [output, tables] : original) x.setGamma(output, tables);
        std::error_code ignored;
        fs::remove_all(home, ignored);
    }

    Program& launch() {
        program = std::make_unique<Program>(home, storedSettings);
        program->start();
        return *program;
    }

    bool everyOutputChanged() {
        for (const auto& output : outputs) {
            if (x.gamma(output) == original[output]) return false;
        }
        return true;
    }
    bool everyOutputOriginal() {
        for (const auto& output : outputs) {
            if (x.gamma(output) != original[output]) return false;
        }
        return true;
    }
    // Mapped windows (at any depth) whose WM_CLASS names this program.
    int mappedWindowsOfOurs() { return countOurs(DefaultRootWindow(x.display())); }

    // The mapped main window (titled "Solvara"), or 0.
    Window mainWindow() {
        FILE* search = popen("xdotool search --onlyvisible --name '^Solvara$' 2>/dev/null", "r");
        if (search == nullptr) return 0;
        unsigned long id = 0;
        const int read = fscanf(search, "%lu", &id);
        pclose(search);
        return read == 1 ? static_cast<Window>(id) : 0;
    }

    SecondClient x;
    std::vector<std::string> outputs;
    std::map<std::string, SecondClient::Tables> original;
    fs::path home;
    std::unique_ptr<Program> program;

private:
    int countOurs(Window window) {
        int count = 0;
        XClassHint hint{};
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(x.display(), window, &attributes) && attributes.map_state == IsViewable &&
            XGetClassHint(x.display(), window, &hint)) {
            if (hint.res_name != nullptr && std::string(hint.res_name) == "solvara") ++count;
            if (hint.res_name != nullptr) XFree(hint.res_name);
            if (hint.res_class != nullptr) XFree(hint.res_class);
        }
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int n = 0;
        if (XQueryTree(x.display(), window, &root, &parent, &children, &n)) {
            for (unsigned int i = 0; i < n; ++i) count += countOurs(children[i]);
            if (children != nullptr) XFree(children);
        }
        return count;
    }
};

TEST_F(ProgramTest, SetsEveryOutputWithinASecondAndPutsTheTablesBackOnTerm) {
    const auto started = Clock::now();
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); }, std::chrono::seconds(1)))
        << "not every output changed within a second\n"
        << solvara.log();
    std::cout << "[ program ] every output set after "
              << std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count() << " ms\n";

    EXPECT_EQ(solvara.stop(SIGTERM), 0);
    EXPECT_TRUE(everyOutputOriginal());
    EXPECT_EQ(mappedWindowsOfOurs(), 0);
    EXPECT_NE(solvara.log().find("[Main] Signal 15: quitting"), std::string::npos) << solvara.log();
}

TEST_F(ProgramTest, HangupAndInterruptRunTheSameShutdown) {
    for (int signal : {SIGHUP, SIGINT}) {
        Program& solvara = launch();
        ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); }, std::chrono::seconds(5))) << solvara.log();
        EXPECT_EQ(solvara.stop(signal), 0) << signal;
        EXPECT_TRUE(everyOutputOriginal()) << signal;
    }
}

TEST_F(ProgramTest, ASecondLaunchAsksTheFirstAndExits) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); }, std::chrono::seconds(5))) << solvara.log();

    const pid_t second = solvara.start();
    EXPECT_EQ(Program::waitExit(second, std::chrono::seconds(10)), 0);
    EXPECT_TRUE(
        waitFor([&] { return solvara.log().find("Another launch asked for the main window") != std::string::npos; },
                std::chrono::seconds(5)))
        << solvara.log();
    EXPECT_TRUE(solvara.running());
    EXPECT_TRUE(everyOutputChanged());  // the second launch touched no display
    EXPECT_EQ(solvara.stop(), 0);
}

TEST_F(ProgramTest, AGrabbedShortcutChangesTheKelvin) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); }, std::chrono::seconds(5))) << solvara.log();
    const std::string output = outputs.front();
    const auto before = x.gamma(output);
    ASSERT_TRUE(before);

    // Kelvin -500 (Control-Option-Shift-Down): a warmer screen has less blue at the top.
    ASSERT_EQ(std::system("xdotool key ctrl+alt+shift+Down"), 0);
    ASSERT_TRUE(waitFor([&] { return x.gamma(output) != before; }, std::chrono::seconds(5))) << solvara.log();
    const auto after = x.gamma(output);
    EXPECT_LT(after->blue.back(), before->blue.back());
    EXPECT_EQ(solvara.stop(), 0);
}

TEST_F(ProgramTest, BreakWindowsCoverEveryScreenAndGoWithTheProgram) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); }, std::chrono::seconds(5))) << solvara.log();
    ASSERT_TRUE(waitFor([&] { return mainWindow() != 0; }, std::chrono::seconds(5))) << solvara.log();
    const int before = mappedWindowsOfOurs();  // the main window

    // Trigger Break (Control-Option-B): a window per screen at the next break tick.
    ASSERT_EQ(std::system("xdotool key ctrl+alt+b"), 0);
    EXPECT_TRUE(waitFor([&] { return mappedWindowsOfOurs() == before + static_cast<int>(outputs.size()); },
                        std::chrono::seconds(5)))
        << mappedWindowsOfOurs() << "\n"
        << solvara.log();

    EXPECT_EQ(solvara.stop(), 0);
    EXPECT_EQ(mappedWindowsOfOurs(), 0);
    EXPECT_TRUE(everyOutputOriginal());
}

TEST_F(ProgramTest, TheMainWindowHidesOnCloseAndASecondLaunchBringsItBack) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return mainWindow() != 0; }, std::chrono::seconds(5))) << solvara.log();

    ASSERT_EQ(std::system("wmctrl -c Solvara"), 0);
    ASSERT_TRUE(waitFor([&] { return mainWindow() == 0; }, std::chrono::seconds(5))) << solvara.log();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(solvara.running()) << "closing the window does not end the program";

    const pid_t second = solvara.start();
    EXPECT_EQ(Program::waitExit(second, std::chrono::seconds(10)), 0);
    EXPECT_TRUE(waitFor([&] { return mainWindow() != 0; }, std::chrono::seconds(5))) << solvara.log();
    EXPECT_EQ(solvara.stop(), 0);
}

TEST_F(ProgramTest, TheSettingsTabsCanBeWalkedWithTheKeyboard) {
    Program& solvara = launch();
    Window window = 0;
    ASSERT_TRUE(waitFor([&] { return (window = mainWindow()) != 0; }, std::chrono::seconds(5))) << solvara.log();
    const std::string id = std::to_string(window);
    // A click in the sidebar (on its first rows) gives it the focus; each arrow opens the next tab.
    ASSERT_EQ(
        std::system(("xdotool windowactivate --sync " + id + " mousemove --window " + id + " 60 60 click 1").c_str()),
        0);
    for (const char* key : {"Down", "Up"}) {
        for (int step = 0; step < 12; ++step) {
            ASSERT_EQ(std::system((std::string("xdotool key --window ") + id + " " + key).c_str()), 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
            ASSERT_TRUE(solvara.running()) << key << " " << step << "\n" << solvara.log();
        }
    }
    EXPECT_NE(mainWindow(), 0u);
    EXPECT_EQ(solvara.stop(), 0);
}

}  // namespace
}  // namespace solvara::testing
