#pragma once

#include <functional>

#include "core/foundation/Date.h"

namespace solvara {

// The process-wide "now". Production reads the system clock; tests and the fake run loop
// point it at a virtual clock.
class Clock {
public:
    static Date now();

    // Replaces the time source until resetForTesting(); pass a function returning virtual time.
    static void setSourceForTesting(std::function<Date()> source);
    static void setFixedForTesting(Date date);
    static void resetForTesting();
};

}  // namespace solvara
