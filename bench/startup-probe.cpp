// One timed start of the solvara program, for bench/startup.sh: from the exec to the moment the
// gamma tables of every enabled CRTC differ from those they held before, read back through RandR
// by a client of the probe's own; then SIGTERM, and a check that the tables came back.
//
//   bench_startup_probe path/to/solvara
//
// Prints the milliseconds to every output set on stdout. Exits 1, saying why on stderr, when the
// program ends before that, an output stays as it was for 30 s, the program does not end cleanly
// on SIGTERM, or the tables are not put back; 2 when there is nothing to measure.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds patience(30);

struct Tables {
    std::vector<unsigned short> red, green, blue;
    bool operator==(const Tables&) const = default;
};

// The CRTCs that drive an output with a mode: the screens the program has to set.
std::vector<RRCrtc> enabledCrtcs(Display* display) {
    std::vector<RRCrtc> crtcs;
    std::unique_ptr<XRRScreenResources, decltype(&XRRFreeScreenResources)> resources(
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)), &XRRFreeScreenResources);
    if (!resources) return crtcs;
    for (int i = 0; i < resources->ncrtc; ++i) {
        std::unique_ptr<XRRCrtcInfo, decltype(&XRRFreeCrtcInfo)> info(
            XRRGetCrtcInfo(display, resources.get(), resources->crtcs[i]), &XRRFreeCrtcInfo);
        if (info && info->mode != None && info->noutput > 0) crtcs.push_back(resources->crtcs[i]);
    }
    return crtcs;
}

std::map<RRCrtc, Tables> tablesOf(Display* display, const std::vector<RRCrtc>& crtcs) {
    std::map<RRCrtc, Tables> all;
    for (const RRCrtc crtc : crtcs) {
        std::unique_ptr<XRRCrtcGamma, decltype(&XRRFreeGamma)> gamma(XRRGetCrtcGamma(display, crtc), &XRRFreeGamma);
        if (!gamma || gamma->size <= 0) continue;
        all[crtc] = {{gamma->red, gamma->red + gamma->size},
                     {gamma->green, gamma->green + gamma->size},
                     {gamma->blue, gamma->blue + gamma->size}};
    }
    return all;
}

bool everyOneChanged(const std::map<RRCrtc, Tables>& before, const std::map<RRCrtc, Tables>& now) {
    for (const auto& [crtc, tables] : before) {
        const auto it = now.find(crtc);
        if (it == now.end() || it->second == tables) return false;
    }
    return true;
}

// Waits for the child to end; answers its wait status, or none after `limit`.
std::optional<int> waitExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) != pid) {
        if (Clock::now() >= end) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s path/to/solvara\n", argv[0]);
        return 2;
    }
    std::unique_ptr<Display, decltype(&XCloseDisplay)> display(XOpenDisplay(nullptr), &XCloseDisplay);
    if (!display) {
        std::fprintf(stderr, "startup-probe: cannot open the X display\n");
        return 2;
    }
    const std::vector<RRCrtc> crtcs = enabledCrtcs(display.get());
    const std::map<RRCrtc, Tables> before = tablesOf(display.get(), crtcs);
    if (before.empty()) {
        std::fprintf(stderr, "startup-probe: no enabled output has gamma tables\n");
        return 2;
    }

    const auto started = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        // Its log goes with the probe's own complaints; stdout carries the figure alone.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execl(argv[1], argv[1], static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) {
        std::perror("startup-probe: fork");
        return 2;
    }
    // Each read is a round trip, so it sees what the server holds at that moment; a millisecond
    // between reads is finer than any start can be told apart by.
    std::optional<Clock::duration> set;
    while (!set) {
        if (everyOneChanged(before, tablesOf(display.get(), crtcs))) {
            set = Clock::now() - started;
        } else if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "startup-probe: the program ended before every output was set\n");
            return 1;
        } else if (Clock::now() - started >= patience) {
            std::fprintf(stderr, "startup-probe: not every output was set within %lld s\n",
                         static_cast<long long>(patience.count()));
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return 1;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }

    kill(pid, SIGTERM);
    const std::optional<int> status = waitExit(pid, patience);
    if (!status) {
        std::fprintf(stderr, "startup-probe: the program did not end on SIGTERM\n");
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return 1;
    }
    if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        std::fprintf(stderr, "startup-probe: the program did not end cleanly on SIGTERM (wait status %d)\n", *status);
        return 1;
    }
    if (tablesOf(display.get(), crtcs) != before) {
        std::fprintf(stderr, "startup-probe: the tables were not put back when the program ended\n");
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(std::chrono::round<std::chrono::milliseconds>(*set).count()));
    return 0;
}
