// The solvara program started as a process against the test's X server, looked at from a
// second X client the way another program on the desktop would.

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
// After gtest: Xlib's macros (None, Bool...) clash with its names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "tests/x11/PingRoundTrip.h"
#include "tests/x11/SecondClient.h"

namespace solvara::testing {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// How long a wait may take before the test calls it a fault: generous, so that only a condition
// that never comes reaches it, however busy the machine.
constexpr std::chrono::seconds patience(30);

// Polls `done` every 20 ms until it holds or `limit` passes (a bound against hanging, not a
// timing assertion); answers `done()`.
bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = patience) {
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

    // Starts a process of the program (on another X display when one is given); answers its id.
    pid_t start(const std::string& display = {}) {
        const std::string log = (home_ / ("solvara-" + std::to_string(launches_++) + ".log")).string();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", home_.c_str(), 1);
            setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
            setenv("XDG_STATE_HOME", (home_ / "state").c_str(), 1);
            setenv("XDG_DATA_HOME", (home_ / "data").c_str(), 1);
            setenv("XDG_RUNTIME_DIR", (home_ / "runtime").c_str(), 1);
            if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
            for (const std::string& name : unsetInChild) unsetenv(name.c_str());
            for (const auto& [name, value] : setInChild) setenv(name.c_str(), value.c_str(), 1);
            const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 1);
            dup2(fd, 2);
            execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid_ <= 0) pid_ = pid;
        return pid;
    }

    bool running() const { return pid_ > 0 && waitpid(pid_, &status_, WNOHANG) == 0; }

    // Whether a file whose name holds `name` is mapped into the program.
    bool maps(const std::string& name) const {
        std::ifstream maps("/proc/" + std::to_string(pid_) + "/maps");
        std::string line;
        while (std::getline(maps, line)) {
            if (line.find(name) != std::string::npos) return true;
        }
        return false;
    }

    // Sends `signal` and waits for the exit; answers the exit status.
    std::optional<int> stop(int signal = SIGTERM) {
        kill(pid_, signal);
        return waitExit(pid_);
    }

    static std::optional<int> waitExit(pid_t pid, std::chrono::milliseconds limit = patience) {
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

    std::vector<std::string> unsetInChild;  // environment variables the launches go without
    std::map<std::string, std::string> setInChild;
    std::string executable = SOLVARA_PROGRAM;

private:
    fs::path home_;
    pid_t pid_ = -1;
    int launches_ = 0;
    mutable int status_ = 0;
};

std::string fileText(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// An X server of one test's own, started by with-xorg.sh, that the test can end.
class OwnXServer {
public:
    explicit OwnXServer(const fs::path& dir) {
        const std::string started = (dir / "own-server").string();
        script_ = fork();
        if (script_ == 0) {
            // The command's pid is the sleep's after exec: ending it makes the script end its server.
            const std::string command = "echo \"$DISPLAY $$\" > " + started + ".new && mv " + started + ".new " +
                                        started + " && exec sleep 600";
            const int log = open((started + ".log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(log, 1);
            dup2(log, 2);
            execl(SOLVARA_WITH_XORG, SOLVARA_WITH_XORG, "--", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        // The script ends early (77) when no second server can be started.
        bool scriptEnded = false;
        waitFor(
            [&] {
                scriptEnded = scriptEnded || waitpid(script_, nullptr, WNOHANG) == script_;
                return scriptEnded || fs::exists(started);
            },
            2 * patience);  // a whole server and its second output
        if (scriptEnded) script_ = -1;
        if (scriptEnded || !fs::exists(started)) return;
        std::istringstream(fileText(started)) >> display_ >> command_;
    }
    ~OwnXServer() { end(); }

    const std::string& display() const { return display_; }

    // Ends the server and waits until it is gone.
    void end() {
        if (script_ <= 0) return;
        kill(command_ > 0 ? command_ : script_, SIGTERM);
        waitpid(script_, nullptr, 0);
        script_ = -1;
    }

    // A client of this server, for the duration of `use`.
    template <class Use>
    auto withClient(Use use) {
        const std::string outer = std::getenv("DISPLAY") != nullptr ? std::getenv("DISPLAY") : "";
        setenv("DISPLAY", display_.c_str(), 1);
        SecondClient client;
        setenv("DISPLAY", outer.c_str(), 1);
        return use(client);
    }

private:
    pid_t script_ = -1;
    pid_t command_ = -1;
    std::string display_;
};

// A process of user `nobody` listening on a Unix socket that is then moved to `path`, as
// another local user could leave one where a program looks for its own.
class ForeignListener {
public:
    explicit ForeignListener(const fs::path& path) : path_(path) {
        char pattern[] = "/tmp/solvara-foreign.XXXXXX";
        if (mkdtemp(pattern) == nullptr) return;
        dir_ = pattern;
        if (chown(dir_.c_str(), nobody, nobody) != 0) return;
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            if (setgid(nobody) != 0 || setuid(nobody) != 0) _exit(1);
            const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            const std::string bound = (dir_ / "s").string();
            bound.copy(address.sun_path, sizeof address.sun_path - 1);
            if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(fd, 16) != 0) _exit(1);
            [[maybe_unused]] const ssize_t n = write(ready[1], "x", 1);
            for (;;) pause();
        }
        close(ready[1]);
        char byte = 0;
        listening_ = read(ready[0], &byte, 1) == 1 && rename((dir_ / "s").c_str(), path_.c_str()) == 0;
        close(ready[0]);
    }
    ~ForeignListener() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::error_code ignored;
        fs::remove(path_, ignored);
        fs::remove_all(dir_, ignored);
    }

    bool listening() const { return listening_; }

    static constexpr uid_t nobody = 65534;

private:
    fs::path path_;
    fs::path dir_;
    pid_t pid_ = -1;
    bool listening_ = false;
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

// How soon the outputs change is printed for the record; how fast a start must be is measured
// by bench/startup.sh, not judged by a test.
TEST_F(ProgramTest, SetsEveryOutputAtTheStartAndPutsTheTablesBackOnTerm) {
    const auto started = Clock::now();
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << "not every output changed\n" << solvara.log();
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
        ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
        EXPECT_EQ(solvara.stop(signal), 0) << signal;
        EXPECT_TRUE(everyOutputOriginal()) << signal;
    }
}

TEST_F(ProgramTest, ASecondLaunchAsksTheFirstAndExits) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();

    const pid_t second = solvara.start();
    EXPECT_EQ(Program::waitExit(second), 0);
    EXPECT_TRUE(waitFor([&] {
        return solvara.log().find("Another launch asked for the main window") != std::string::npos;
    })) << solvara.log();
    EXPECT_TRUE(solvara.running());
    EXPECT_TRUE(everyOutputChanged());  // the second launch touched no display
    EXPECT_EQ(solvara.stop(), 0);
}

TEST_F(ProgramTest, AListenerOfAnotherUserHoldsNoLaunchBack) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to listen as another user";
    struct Case {
        const char* where;
        bool runtimeDirectory;
        fs::path squatted;
    };
    // Without a runtime directory a launch once listened in the temporary directory, under a name
    // made of the user id alone. That directory is the launches' own TMPDIR here: a fixed name
    // in the machine's /tmp would be shared with every other run of these tests.
    const fs::path temporary = home / "tmp";
    const std::vector<Case> cases{
        {"the temporary directory, no runtime directory", false,
         temporary / ("solvara-" + std::to_string(geteuid()) + ".instance")},
        {"our private directory", true, home / "runtime/solvara/instance"},
    };
    fs::create_directories(temporary);
    for (const Case& c : cases) {
        program = std::make_unique<Program>(home, storedSettings);
        program->setInChild = {{"TMPDIR", temporary.string()}};
        if (!c.runtimeDirectory) program->unsetInChild = {"XDG_RUNTIME_DIR"};
        if (c.runtimeDirectory) {
            fs::create_directories(c.squatted.parent_path());
            fs::permissions(c.squatted.parent_path(), fs::perms::owner_all, fs::perm_options::replace);
        }
        ForeignListener squatter(c.squatted);
        ASSERT_TRUE(squatter.listening()) << c.where;
        Program& solvara = *program;
        solvara.start();
        ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << c.where << "\n" << solvara.log();
        EXPECT_TRUE(solvara.running()) << c.where;
        // And it is the one instance: a later launch hands over to it.
        EXPECT_EQ(Program::waitExit(solvara.start()), 0) << c.where;
        EXPECT_EQ(solvara.stop(), 0) << c.where;
        EXPECT_TRUE(everyOutputOriginal()) << c.where;
    }
}

TEST_F(ProgramTest, ThreeSimultaneousLaunchesLeaveOneInstance) {
    program = std::make_unique<Program>(home, storedSettings);
    std::vector<pid_t> launches;
    for (int i = 0; i < 3; ++i) launches.push_back(program->start());
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << program->log();
    std::map<pid_t, int> exits;
    waitFor([&] {
        for (pid_t pid : launches) {
            int status = 0;
            if (exits.count(pid) == 0 && waitpid(pid, &status, WNOHANG) == pid) exits[pid] = status;
        }
        return exits.size() >= 2;
    });
    std::vector<pid_t> running;
    for (pid_t pid : launches) {
        if (exits.count(pid) == 0)
            running.push_back(pid);
        else
            EXPECT_TRUE(WIFEXITED(exits[pid]) && WEXITSTATUS(exits[pid]) == 0) << "a launch that hands over exits 0";
    }
    ASSERT_EQ(running.size(), 1u);
    kill(running.front(), SIGTERM);
    EXPECT_EQ(Program::waitExit(running.front()), 0);
    EXPECT_TRUE(everyOutputOriginal());
}

TEST_F(ProgramTest, WithoutADisplayOneLineSaysWhyAndTheExitIsOne) {
    program = std::make_unique<Program>(home, storedSettings);
    program->unsetInChild = {"DISPLAY"};
    EXPECT_EQ(Program::waitExit(program->start()), 1);
    EXPECT_EQ(program->log(), "[Main] Solvara needs an X11 session: DISPLAY is not set\n");
}

TEST_F(ProgramTest, InAWaylandSessionOneLineSaysTheTablesDoNotReachTheScreens) {
    program = std::make_unique<Program>(home, storedSettings);
    program->setInChild = {{"WAYLAND_DISPLAY", "wayland-solvara-test"}, {"XDG_SESSION_TYPE", "wayland"}};
    program->unsetInChild = {"QT_QPA_PLATFORM"};
    program->start();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << program->log();
    const std::string line =
        "[Main] Wayland session: the gamma tables Solvara sets through XWayland do not reach the screens\n";
    const std::string log = program->log();
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_EQ(log.find(line), log.rfind(line)) << "said once";
    EXPECT_EQ(program->stop(), 0);
}

TEST_F(ProgramTest, AGrabbedShortcutChangesTheKelvin) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
    const std::string output = outputs.front();
    const auto before = x.gamma(output);
    ASSERT_TRUE(before);
    // The displays change while the settings are restored, before start-up grabs the shortcuts;
    // the main window comes after the grabs.
    ASSERT_TRUE(waitFor([&] { return mainWindow() != 0; })) << solvara.log();

    // Kelvin -500 (Control-Option-Shift-Down): a warmer screen has less blue at the top.
    ASSERT_EQ(std::system("xdotool key ctrl+alt+shift+Down"), 0);
    ASSERT_TRUE(waitFor([&] { return x.gamma(output) != before; })) << solvara.log();
    const auto after = x.gamma(output);
    EXPECT_LT(after->blue.back(), before->blue.back());
    EXPECT_EQ(solvara.stop(), 0);
}

TEST_F(ProgramTest, BreakWindowsCoverEveryScreenAndGoWithTheProgram) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
    ASSERT_TRUE(waitFor([&] { return mainWindow() != 0; })) << solvara.log();
    const int before = mappedWindowsOfOurs();  // the main window

    // Trigger Break (Control-Option-B): a window per screen at the next break tick.
    ASSERT_EQ(std::system("xdotool key ctrl+alt+b"), 0);
    EXPECT_TRUE(waitFor([&] { return mappedWindowsOfOurs() == before + static_cast<int>(outputs.size()); }))
        << mappedWindowsOfOurs() << "\n"
        << solvara.log();

    EXPECT_EQ(solvara.stop(), 0);
    EXPECT_EQ(mappedWindowsOfOurs(), 0);
    EXPECT_TRUE(everyOutputOriginal());
}

TEST_F(ProgramTest, TheMainWindowHidesOnCloseAndASecondLaunchBringsItBack) {
    Program& solvara = launch();
    // wmctrl closes a window of the window manager's list, which may come a little after the map.
    ASSERT_TRUE(waitFor([&] { return mainWindow() != 0 && std::system("wmctrl -l | grep -q ' Solvara$'") == 0; }))
        << solvara.log();

    ASSERT_EQ(std::system("wmctrl -c Solvara"), 0);
    ASSERT_TRUE(waitFor([&] { return mainWindow() == 0; })) << solvara.log();

    // The first launch answers the second, so closing the window did not end it.
    const pid_t second = solvara.start();
    EXPECT_EQ(Program::waitExit(second), 0);
    EXPECT_TRUE(solvara.running()) << "closing the window does not end the program";
    EXPECT_TRUE(waitFor([&] { return mainWindow() != 0; })) << solvara.log();
    EXPECT_EQ(solvara.stop(), 0);
}

TEST_F(ProgramTest, CtrlQInTheMainWindowEndsTheProgramWithTheTablesPutBack) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
    Window window = 0;
    ASSERT_TRUE(waitFor([&] { return (window = mainWindow()) != 0; })) << solvara.log();
    const std::string id = std::to_string(window);
    // The focus in the sidebar, then the keys through XTEST, as a user presses them.
    ASSERT_EQ(
        std::system(("xdotool windowactivate --sync " + id + " mousemove --window " + id + " 60 60 click 1").c_str()),
        0);
    ASSERT_EQ(std::system("xdotool key ctrl+q"), 0);

    EXPECT_EQ(Program::waitExit(solvara.pid()), 0) << solvara.log();
    EXPECT_TRUE(everyOutputOriginal());
    EXPECT_EQ(mappedWindowsOfOurs(), 0);
    EXPECT_EQ(solvara.log().find("[Main] Signal"), std::string::npos) << solvara.log();
}

TEST_F(ProgramTest, TheSettingsTabsCanBeWalkedWithTheKeyboard) {
    Program& solvara = launch();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
    Window window = 0;
    ASSERT_TRUE(waitFor([&] { return (window = mainWindow()) != 0; })) << solvara.log();
    // The charts plugin (and Qt Charts with it) comes in with the Health tab, from beside the
    // program in the build tree.
    EXPECT_FALSE(solvara.maps("libQt6Charts"));
    const std::string id = std::to_string(window);
    // A click in the sidebar (on its first rows) gives it the focus; each arrow opens the next tab.
    ASSERT_EQ(
        std::system(("xdotool windowactivate --sync " + id + " mousemove --window " + id + " 60 60 click 1").c_str()),
        0);
    for (const char* key : {"Down", "Up"}) {
        for (int step = 0; step < 12; ++step) {
            ASSERT_EQ(std::system((std::string("xdotool key --window ") + id + " " + key).c_str()), 0);
            // The tab is open once the program has taken the key. Watched a moment longer, as it
            // lays itself out, paints and starts its own work: a tab that crashes on any of that
            // ends the program. Sent back to back, the keys would close most tabs before they ran.
            ASSERT_TRUE(programCaughtUp(x.display(), window)) << key << " " << step << "\n" << solvara.log();
            std::this_thread::sleep_for(std::chrono::milliseconds(120));
            ASSERT_TRUE(solvara.running()) << key << " " << step << "\n" << solvara.log();
        }
    }
    EXPECT_NE(mainWindow(), 0u);
    EXPECT_TRUE(solvara.maps("solvara-charts.so"));
    EXPECT_EQ(solvara.log().find("[Charts]"), std::string::npos) << solvara.log();
    EXPECT_FALSE(solvara.maps("libQt6Multimedia")) << "nothing played";
    EXPECT_EQ(solvara.stop(), 0);
}

TEST_F(ProgramTest, ASettingsFileNestedTooDeepAFifoOrAnotherUsersIsKeptAsideAndTheStartGoesOn) {
    const fs::path settings = home / "config/solvara/user-defaults.json";
    const std::string deep = R"({"sv_isEnabled": )" + std::string(60000, '[') + std::string(60000, ']') + "}";
    struct Case {
        const char* name;
        std::string text;
        std::function<void()> plant;
        const char* why;
    };
    const std::vector<Case> cases{
        {"nested 60,000 deep", deep, [] {}, "(not JSON, or nested too deep)"},
        {"a FIFO", deep,
         [&] {
             fs::remove(settings);
             ASSERT_EQ(mkfifo(settings.c_str(), 0600), 0);
         },
         "(a FIFO)"},
        // Written into the folder while it was open to others, before the user closed it.
        {"another user's", storedSettings, [&] { ASSERT_EQ(chown(settings.c_str(), 65534, 65534), 0); },
         "(it belongs to another user)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.text == storedSettings && geteuid() != 0) continue;  // needs root to give the file away
        fs::remove_all(home / "config");
        program = std::make_unique<Program>(home, c.text);
        c.plant();
        Program& solvara = *program;
        solvara.start();
        ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
        EXPECT_NE(solvara.log().find(c.why + std::string("; kept it as ") + settings.string() + ".corrupt-"),
                  std::string::npos)
            << solvara.log();
        EXPECT_EQ(solvara.stop(), 0);
        EXPECT_TRUE(everyOutputOriginal());
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(settings)));  // the defaults, saved at the end
    }
}

// What a command prints on its standard output.
std::string commandOutput(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return {};
    std::string out;
    char buffer[4096];
    for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    pclose(pipe);
    return out;
}

// A folder as made under umask 002 (0775), of the group given.
void groupWritable(const fs::path& folder, gid_t group) {
    ASSERT_EQ(chown(folder.c_str(), static_cast<uid_t>(-1), group), 0);
    fs::permissions(folder,
                    fs::perms::owner_all | fs::perms::group_all | fs::perms::others_read | fs::perms::others_exec);
}

TEST_F(ProgramTest, ASettingsDirectoryOfAnotherUserOrOpenToOthersIsLeftAloneAndTheUserIsTold) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the directory to another user";
    const fs::path settingsDir = home / "config/solvara";
    const fs::path settings = settingsDir / "user-defaults.json";
    struct Case {
        const char* name;
        std::function<void()> plant;
        std::string why;
    };
    const std::vector<Case> cases{
        {"made by another user", [&] { ASSERT_EQ(chown(settingsDir.c_str(), 65534, 65534), 0); },
         "it belongs to another user"},
        {"made with mkdir -m 777", [&] { fs::permissions(settingsDir, fs::perms::all); }, "it is open to other users"},
        {"made 0775 of group nogroup", [&] { groupWritable(settingsDir, 65534); },
         "it is open to the group nogroup, which has other members"},
        // Root's group has no one else in it: the folder is the user's, read and saved.
        {"made 0775 of group root", [&] { groupWritable(settingsDir, 0); }, ""},
        {"a link to another user's",
         [&] {
             fs::rename(settingsDir, home / "theirs");
             fs::create_directory_symlink(home / "theirs", settingsDir);
             ASSERT_EQ(chown((home / "theirs").c_str(), 65534, 65534), 0);
         },
         "it is a symbolic link to " + (home / "theirs").string() + ", which belongs to another user"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(home / "config");
        fs::remove_all(home / "theirs");
        program = std::make_unique<Program>(home, storedSettings);
        c.plant();
        ASSERT_EQ(std::system("dunstctl close-all"), 0);
        Program& solvara = *program;
        solvara.start();
        // Not the stored Reading mode at 3800 K but the defaults: still every output is set.
        ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
        if (c.why.empty()) {
            EXPECT_EQ(solvara.log().find("[UserDefaults]"), std::string::npos) << solvara.log();
            EXPECT_EQ(solvara.stop(), 0);
            const std::string saved = fileText(settings);
            EXPECT_NE(saved, storedSettings);
            EXPECT_NE(saved.find(R"("sv_currentMode": "Reading")"), std::string::npos) << saved;
            continue;
        }
        const std::string line =
            "[UserDefaults] Not using the settings directory " + settingsDir.string() + ": " + c.why;
        EXPECT_NE(solvara.log().find(line), std::string::npos) << solvara.log();
        EXPECT_EQ(solvara.log().find(line), solvara.log().rfind(line)) << "said once";
        EXPECT_TRUE(waitFor([] { return std::atoi(commandOutput("dunstctl count displayed").c_str()) > 0; }))
            << solvara.log();
        ASSERT_EQ(std::system("dunstctl close-all"), 0);
        // The history comes back as JSON with the path's slashes as they are.
        const std::string shown = commandOutput("dunstctl history");
        EXPECT_NE(shown.find("Settings Not Saved"), std::string::npos) << shown;
        EXPECT_NE(shown.find(settingsDir.string() + ": " + c.why), std::string::npos) << shown;
        EXPECT_EQ(solvara.stop(), 0);
        EXPECT_EQ(fileText(settings), storedSettings);
        EXPECT_EQ(std::distance(fs::directory_iterator(settingsDir), fs::directory_iterator()), 1)
            << "nothing else written there";
    }
}

TEST_F(ProgramTest, ASettingsFolderLinkedInFromTheUsersDotfilesIsReadAndSaved) {
    program = std::make_unique<Program>(home, storedSettings);
    const fs::path kept = home / "dotfiles/solvara";
    fs::create_directories(kept.parent_path());
    fs::rename(home / "config/solvara", kept);
    fs::create_directory_symlink(kept, home / "config/solvara");
    Program& solvara = *program;
    solvara.start();
    ASSERT_TRUE(waitFor([&] { return everyOutputChanged(); })) << solvara.log();
    EXPECT_EQ(solvara.log().find("[UserDefaults]"), std::string::npos) << solvara.log();
    EXPECT_EQ(solvara.stop(), 0);
    // Saved at the end, through the link, with the stored mode read at the start.
    const std::string saved = fileText(kept / "user-defaults.json");
    EXPECT_NE(saved, storedSettings);
    EXPECT_NE(saved.find(R"("sv_currentMode": "Reading")"), std::string::npos) << saved;
    EXPECT_TRUE(fs::is_symlink(home / "config/solvara"));
}

// A plugin runs as the user: it is loaded only when no one but the user and root could have put
// it there or changed it. Per case, the program is copied with its sound plugin beside it into a
// folder of the build tree (all of whose parents are root's), which the case gives to another
// user or opens. The soundscape asks for the plugin at the first update tick, ten seconds in:
// the cases run at once, each with a home of its own.
TEST_F(ProgramTest, ASoundPluginAnotherUserCouldHavePlantedIsNotLoaded) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the folder to another user";
    std::string pattern = std::string(SOLVARA_TEST_SCRATCH) + "/planted-XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const auto folder = [&](int index) { return fs::path(pattern) / std::to_string(index); };
    struct Case {
        const char* name;
        std::function<void(const fs::path& bin)> plant;
        std::string why;  // after the path of the case's plugin; empty: loaded
    };
    const std::vector<Case> cases{
        {"root's, closed to others", [](const fs::path&) {}, ""},
        {"a folder of another user", [](const fs::path& bin) { ASSERT_EQ(chown(bin.c_str(), 65534, 65534), 0); },
         "{bin} belongs to another user"},
        {"a folder others may write to", [](const fs::path& bin) { fs::permissions(bin, fs::perms::all); },
         "others may write to {bin}"},
        // As made under umask 002: the group decides.
        {"a 0775 folder of group root", [](const fs::path& bin) { groupWritable(bin, 0); }, ""},
        {"a 0775 folder of group nogroup", [](const fs::path& bin) { groupWritable(bin, 65534); },
         "the group nogroup, which has other members, may write to {bin}"},
    };
    constexpr std::chrono::seconds firstUpdateTick(10);
    std::vector<std::unique_ptr<Program>> programs;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const fs::path bin = folder(static_cast<int>(i)) / "bin";
        fs::create_directories(bin);
        fs::copy_file(SOLVARA_PROGRAM, bin / "solvara");
        fs::copy_file(SOLVARA_AUDIO_PLUGIN, bin / "solvara-audio.so");
        cases[i].plant(bin);
        programs.push_back(std::make_unique<Program>(home / std::to_string(i), R"({
  "sv_isEnabled": true,
  "sv_hasCompletedOnboarding": true,
  "sv_locationSource": "Manual",
  "sv_selectedCity": "Berlin",
  "sv_ft_soundscapes": true
})"));
        programs.back()->executable = (bin / "solvara").string();
        programs.back()->start();
    }
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        Program& solvara = *programs[i];
        const fs::path bin = folder(static_cast<int>(i)) / "bin";
        if (cases[i].why.empty()) {
            EXPECT_TRUE(waitFor([&] { return solvara.maps("solvara-audio.so"); }, firstUpdateTick + patience))
                << solvara.log();
        } else {
            std::string why = cases[i].why;
            why.replace(why.find("{bin}"), 5, bin.string());
            const std::string line =
                "[Audio] Not loading " + (bin / "solvara-audio.so").string() + ": " + why + "; sounds are not played";
            EXPECT_TRUE(
                waitFor([&] { return solvara.log().find(line) != std::string::npos; }, firstUpdateTick + patience))
                << solvara.log();
            EXPECT_FALSE(solvara.maps("solvara-audio.so"));
            EXPECT_FALSE(solvara.maps("libQt6Multimedia"));
        }
    }
    for (auto& solvara : programs) EXPECT_EQ(solvara->stop(), 0);
    fs::remove_all(pattern);
}

#ifdef SOLVARA_TSAN_SUPPRESSIONS
// The streams the program plays on the sound server at the moment.
int soundStreams() {
    const std::string list = commandOutput("pactl list short sink-inputs 2>/dev/null");
    return static_cast<int>(std::count(list.begin(), list.end(), '\n'));
}

// The reports in ThreadSanitizer's logs (log_path=<prefix>, one file per process) that are in
// our code: a race whose accessing frame (the first outside the sanitizer's own interceptors)
// lies in the program or one of its plugins (the sound output is one), or any other report with
// such a frame on top of one of its stacks. Every report, ours or not, is added to `all`.
std::vector<std::string> sanitizerReportsInOurCode(const fs::path& dir, const std::string& prefix, std::string& all) {
    const std::regex access(R"((read|write) of size \d+ at)", std::regex::icase);
    const std::regex ourModule(R"(\(solvara(-[\w-]+\.so)?\+0x)");
    std::vector<std::string> ours;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().filename().string().rfind(prefix + ".", 0) != 0) continue;
        std::istringstream text(fileText(entry.path()));
        std::string report;
        bool race = false;
        bool inOurCode = false;
        bool stackCounts = false;  // the frames below the current header decide
        bool stackDecided = true;
        for (std::string line; std::getline(text, line);) {
            if (line.find("WARNING: ThreadSanitizer:") != std::string::npos) {
                report.clear();
                race = line.find("data race") != std::string::npos;
                inOurCode = false;
            }
            report += line + "\n";
            const bool frame = line.find("    #") == 0;
            if (!frame) {
                stackCounts = !race || std::regex_search(line, access);
                stackDecided = false;
            } else if (stackCounts && !stackDecided && line.find("(libtsan") == std::string::npos) {
                stackDecided = true;
                inOurCode = inOurCode || std::regex_search(line, ourModule);
            }
            if (line.rfind("SUMMARY: ThreadSanitizer", 0) == 0) {
                all += report;
                if (inOurCode) ours.push_back(report);
            }
        }
    }
    return ours;
}
#endif

// The sound buffers are filled on the main thread and read on the sound server's thread: a
// soundscape and two alerts in the real program, under ThreadSanitizer with the suppressions of
// the test runs, must show no race in our code.
TEST_F(ProgramTest, UnderThreadSanitizerASoundscapeAndTwoAlertsRaceNowhereInOurCode) {
#ifndef SOLVARA_TSAN_SUPPRESSIONS
    GTEST_SKIP() << "needs the program built with ThreadSanitizer (SOLVARA_SANITIZE=thread)";
#else
    if (std::getenv("SOLVARA_TEST_SINK") == nullptr) GTEST_SKIP() << "no test sink (run through with-session.sh)";
    program = std::make_unique<Program>(home, R"({
  "sv_isEnabled": true,
  "sv_hasCompletedOnboarding": true,
  "sv_locationSource": "Manual",
  "sv_selectedCity": "Berlin",
  "sv_breaksEnabled": true,
  "sv_ft_soundscapes": true,
  "sv_soundscapeVolume": 0.5
})");
    // Reports are counted here, not by the exit status.
    program->setInChild = {{"TSAN_OPTIONS", std::string("suppressions=") + SOLVARA_TSAN_SUPPRESSIONS +
                                                ":log_path=" + (home / "tsan").string() +
                                                ":exitcode=0:second_deadlock_stack=1:die_after_fork=0"}};
    Program& solvara = *program;
    const int streamsBefore = soundStreams();
    solvara.start();
    // The soundscape is made in the background, then loops on the null sink. Everything runs
    // many times slower under the sanitizer.
    ASSERT_TRUE(waitFor([&] { return soundStreams() > streamsBefore; }, std::chrono::seconds(120))) << solvara.log();
    ASSERT_TRUE(waitFor([&] { return mainWindow() != 0; }, std::chrono::seconds(60))) << solvara.log();
    const int windowsBefore = mappedWindowsOfOurs();

    // The two alerts: a break's start and end sounds (Trigger Break, Control-Option-B; the
    // break lasts 20 seconds).
    ASSERT_EQ(std::system("xdotool key ctrl+alt+b"), 0);
    ASSERT_TRUE(waitFor([&] { return mappedWindowsOfOurs() > windowsBefore; }, std::chrono::seconds(60)))
        << solvara.log();
    ASSERT_TRUE(waitFor([&] { return mappedWindowsOfOurs() == windowsBefore; }, std::chrono::seconds(120)))
        << solvara.log();
    // The end sound was started in the tick that took the windows down (a failed start is logged
    // there and then), and plays on as the program quits: the shutdown meets a sound in flight.
    EXPECT_TRUE(solvara.running()) << solvara.log();
    EXPECT_EQ(solvara.log().find("[Audio]"), std::string::npos) << "every sound started\n" << solvara.log();

    kill(solvara.pid(), SIGTERM);
    EXPECT_EQ(Program::waitExit(solvara.pid(), std::chrono::seconds(120)), 0) << solvara.log();
    std::string all;
    const auto ours = sanitizerReportsInOurCode(home, "tsan", all);
    if (!all.empty()) std::cout << "[ program ] ThreadSanitizer's reports, ours or not:\n" << all;
    EXPECT_TRUE(ours.empty()) << ours.size() << " reports in our code; the first:\n" << ours.front();
#endif
}

TEST_F(ProgramTest, AChangeSurvivesTheXServersEnd) {
    OwnXServer server(home);
    ASSERT_FALSE(server.display().empty());
    const auto tables = [&] {
        return server.withClient([](SecondClient& client) { return client.gamma(client.enabledOutputs().front()); });
    };
    const auto before = tables();
    program = std::make_unique<Program>(home, storedSettings);
    Program& solvara = *program;
    solvara.start(server.display());
    const fs::path settings = home / "config/solvara/user-defaults.json";
    // The program has set the tables and written the file once (every key in it), so a store
    // that spaces its writes would hold the next change back.
    ASSERT_TRUE(waitFor([&] { return fileText(settings).find("sv_customModeKelvin") != std::string::npos; }))
        << solvara.log();
    ASSERT_TRUE(waitFor([&] { return tables() != before; }));
    const auto reading = tables();
    // The main window comes after start-up has grabbed the shortcuts.
    const std::string findWindow =
        "DISPLAY=" + server.display() + " xdotool search --onlyvisible --name '^Solvara$' >/dev/null 2>&1";
    ASSERT_TRUE(waitFor([&] { return std::system(findWindow.c_str()) == 0; })) << solvara.log();

    // Toggle On/Off (Control-Option-E) puts the tables back: seen there, the change is made, and
    // the server ends at once.
    ASSERT_EQ(std::system(("DISPLAY=" + server.display() + " xdotool key ctrl+alt+e").c_str()), 0);
    ASSERT_TRUE(waitFor([&] { return tables() != reading; })) << solvara.log();
    server.end();

    ASSERT_TRUE(Program::waitExit(solvara.pid())) << solvara.log();
    EXPECT_NE(fileText(settings).find(R"("sv_isEnabled": false)"), std::string::npos) << fileText(settings);
}

}  // namespace
}  // namespace solvara::testing
