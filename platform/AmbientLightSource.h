#pragma once

#include <optional>

namespace solvara {

// The machine's ambient-light sensor. Main thread only.
class AmbientLightSource {
public:
    virtual ~AmbientLightSource() = default;

    // Opens the sensor. True when one answers; after a success, true again without opening a
    // second time. False when the machine has none or it cannot be opened (logged once).
    virtual bool open() = 0;

    // The light level now, in lux (0 or more). Empty when not open or the reading failed.
    virtual std::optional<double> readLux() = 0;
};

}  // namespace solvara
