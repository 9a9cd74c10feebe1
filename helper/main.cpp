// The night-light helper: started by the program with no arguments and its output discarded;
// follows the control file until it is sent SIGTERM or the program that started it is gone.

#include <csignal>
#include <ctime>

#include <sys/prctl.h>
#include <unistd.h>

#include "helper/NightLightHelper.h"
#include "platform/linux/GnomeNightLightClient.h"
#include "platform/posix/PosixFiles.h"

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

}  // namespace

int main() {
    // Ask for SIGTERM when the parent dies, then check it has not died already: a parent gone
    // before the request was made would never send it.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (getppid() != parent || parent == 1) return 0;

    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);

    solvara::GnomeNightLightClient client;
    solvara::PosixFiles files;
    solvara::NightLightHelper helper(client, files);
    return helper.run([&] { return stopRequested == 0 && getppid() == parent; },
                      [] {
                          timespec pause{0, static_cast<long>(solvara::NightLightHelper::pollInterval * 1e9)};
                          nanosleep(&pause, nullptr);  // a signal ends the pause early
                      });
}
