#include "platform/linux/GammaOwnershipRecord.h"

#include <vector>

#include <X11/Xatom.h>

#include "platform/linux/XHandles.h"

namespace solvara {

void GammaOwnershipRecord::load(Display* display, Window root) {
    entries_.clear();
    dirty_ = false;
    const Atom atom = XInternAtom(display, propertyName, False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, root, atom, 0, 256, False, XA_CARDINAL, &type, &format, &count, &remaining,
                           &raw) != Success) {
        return;
    }
    x11::XFreePtr<unsigned char> data(raw);
    if (!data || type != XA_CARDINAL || format != 32) return;
    // Format-32 property data arrives as longs, whatever their width.
    const long* values = reinterpret_cast<const long*>(data.get());
    for (unsigned long i = 0; i + 1 < count; i += 2) {
        entries_[static_cast<std::uint32_t>(values[i])] = static_cast<std::uint32_t>(values[i + 1]);
    }
}

void GammaOwnershipRecord::store(Display* display, Window root) {
    if (!dirty_) return;
    dirty_ = false;
    const Atom atom = XInternAtom(display, propertyName, False);
    if (entries_.empty()) {
        XDeleteProperty(display, root, atom);
        return;
    }
    std::vector<long> values;
    values.reserve(entries_.size() * 2);
    for (const auto& [id, sum] : entries_) {
        values.push_back(static_cast<long>(id));
        values.push_back(static_cast<long>(sum));
    }
    XChangeProperty(display, root, atom, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()), static_cast<int>(values.size()));
}

bool GammaOwnershipRecord::isOurs(std::uint32_t displayId, std::uint32_t checksum) const {
    auto it = entries_.find(displayId);
    return it != entries_.end() && it->second == checksum;
}

void GammaOwnershipRecord::markWritten(std::uint32_t displayId, std::uint32_t checksum) {
    auto [it, inserted] = entries_.try_emplace(displayId, checksum);
    if (inserted || it->second != checksum) {
        it->second = checksum;
        dirty_ = true;
    }
}

void GammaOwnershipRecord::markRestored(std::uint32_t displayId) {
    if (entries_.erase(displayId) > 0) dirty_ = true;
}

std::uint32_t GammaOwnershipRecord::checksum(std::span<const std::uint16_t> red,
                                             std::span<const std::uint16_t> green,
                                             std::span<const std::uint16_t> blue) {
    std::uint32_t hash = 2166136261u;
    for (auto channel : {red, green, blue}) {
        for (std::uint16_t value : channel) {
            hash = (hash ^ (value & 0xffu)) * 16777619u;
            hash = (hash ^ (value >> 8)) * 16777619u;
        }
    }
    return hash;
}

}  // namespace solvara
