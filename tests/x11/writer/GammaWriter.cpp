// Writes one colour temperature to every display through X11DisplayTransfer and leaves as told:
//   x11_gamma_writer <kelvin> exit   returns from main (the transfer restores on destruction)
//   x11_gamma_writer <kelvin> kill   dies by SIGKILL with its tables still on
// The X server tests use it to see what a finished or crashed run leaves behind.
#include <array>
#include <csignal>
#include <cstdlib>
#include <string_view>

#include <unistd.h>

#include "core/color/GammaRampGenerator.h"
#include "platform/linux/X11DisplayTransfer.h"

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const long kelvin = std::strtol(argv[1], nullptr, 10);
    const std::string_view how = argv[2];

    solvara::X11DisplayTransfer transfer;
    if (!transfer.isConnected()) return 3;
    const auto ramp = solvara::GammaRampGenerator{}.generateRamp(kelvin, 1.0);
    std::array<solvara::DisplayId, solvara::DisplayTransfer::maxDisplays> ids{};
    const std::size_t count = transfer.activeDisplays(ids);
    for (std::size_t i = 0; i < count; ++i) {
        if (!transfer.setTransferByTable(ids[i], ramp.red, ramp.green, ramp.blue)) return 4;
    }
    if (how == "kill") raise(SIGKILL);
    return 0;
}
