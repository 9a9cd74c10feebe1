#pragma once

#include <cstdint>
#include <optional>

namespace solvara {

// The system's accessibility colour filter (a screen-wide tint set in the accessibility
// preferences). Read in process; writing happens in a separate interpreter run (see
// AccessibilityColorFilter), so this interface only reads. Linux has no such filter: its
// implementation reports the framework missing, and save and restore then do nothing.
class ColorFilterPreferences {
public:
    // What load() found.
    enum class LoadResult {
        loaded,
        frameworkMissing,  // the preferences library is not there
        symbolsMissing,    // it is there but lacks one of the readers
    };

    virtual ~ColorFilterPreferences() = default;

    // Opens the preferences library once; later calls answer the first result. Logs nothing
    // (the caller words the messages).
    virtual LoadResult load() = 0;

    // The readers, meaningful only after load() answered `loaded`; before that (or when the
    // preferences cannot be read) they answer false, 0 and 0.0.
    virtual bool categoryEnabled(std::int32_t category) = 0;
    virtual std::int32_t type(std::int32_t category) = 0;
    virtual double singleColorHue() = 0;
    virtual double singleColorIntensity() = 0;
};

}  // namespace solvara
