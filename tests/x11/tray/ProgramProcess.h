#pragma once

// The solvara program (or a desktop tool) as a child of a tray test, and the waiting that goes
// with it.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace solvara::testing {

// How long a wait may take before the test calls it a fault: as patienceMs of the Qt tests, so
// that only a condition that never comes reaches it, however busy the machine.
inline constexpr std::chrono::milliseconds patience{30000};

// Polls `done` until it holds or `limit` passes (a bound against hanging, not a timing
// assertion); answers `done()`.
inline bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = patience) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// A child process with its output in `log`; killed when the handle goes.
class Child {
public:
    Child(const std::vector<std::string>& command, const std::filesystem::path& log,
          const std::function<void()>& setup = {}) {
        pid_ = fork();
        if (pid_ == 0) {
            if (setup) setup();
            const int fd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 1);
            dup2(fd, 2);
            std::vector<char*> argv;
            for (const auto& part : command) argv.push_back(const_cast<char*>(part.c_str()));
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            if (!waitFor([&] { return waitpid(pid_, &status, WNOHANG) == pid_; })) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
    }
    bool running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

private:
    pid_t pid_ = -1;
};

// A home of its own for runs of the program: a new folder under /tmp named after `name`, with a
// settings folder holding `settingsJson` and a private runtime folder; empty when none could be
// made.
inline std::filesystem::path makeProgramHome(const std::string& name, const std::string& settingsJson) {
    std::string pattern = "/tmp/solvara-" + name + ".XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) return {};
    const std::filesystem::path home = pattern;
    std::filesystem::create_directories(home / "config/solvara");
    std::filesystem::create_directories(home / "runtime");
    std::filesystem::permissions(home / "runtime", std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    std::ofstream(home / "config/solvara/user-defaults.json") << settingsJson;
    return home;
}

// Points a child about to start the program at `home` (in the child, before exec).
inline void useProgramHome(const std::filesystem::path& home) {
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    setenv("XDG_STATE_HOME", (home / "state").c_str(), 1);
    setenv("XDG_DATA_HOME", (home / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (home / "runtime").c_str(), 1);
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace solvara::testing
