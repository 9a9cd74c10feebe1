#include "core/profiles/ActivityProfile.h"

#include <utility>

namespace solvara {

ActivityProfile::ActivityProfile(std::string name, std::vector<std::string> bundleIdentifiers, Behavior behavior,
                                 bool isBuiltIn)
    : id(Uuid::random()),
      name(std::move(name)),
      bundleIdentifiers(std::move(bundleIdentifiers)),
      behavior(behavior),
      isBuiltIn(isBuiltIn) {}

const std::vector<ActivityProfile>& ActivityProfile::defaults() {
    // Desktop-file ids, as the workspace reports the application in front: its GTK application
    // id or KDE desktop file when the window names one, else the desktop file whose
    // StartupWMClass matches the window's class. Where a distribution's package and the
    // upstream or Flatpak build name the same program differently, both are listed.
    // clang-format off
    static const std::vector<ActivityProfile> builtIns{
        ActivityProfile("Color Accurate",
                        {"gimp", "org.gimp.GIMP", "org.inkscape.Inkscape", "org.kde.krita", "darktable",
                         "org.darktable.darktable", "rawtherapee", "com.rawtherapee.RawTherapee", "org.kde.digikam",
                         "org.kde.kdenlive", "org.shotcut.Shotcut", "blender", "org.blender.Blender",
                         "com.blackmagicdesign.resolve"},
                        Behavior::colorAccurate, true),
        ActivityProfile("Cinema",
                        {"vlc", "org.videolan.VLC", "mpv", "io.mpv.Mpv", "org.gnome.Totem",
                         "io.github.celluloid_player.Celluloid", "org.kde.haruna", "smplayer", "kodi", "tv.kodi.Kodi"},
                        Behavior::cinema, true),
        ActivityProfile("Coding",
                        {"code", "com.visualstudio.code", "codium", "com.vscodium.codium", "org.gnome.gedit",
                         "org.gnome.TextEditor", "org.kde.kate", "org.gnome.Builder", "org.kde.kdevelop", "geany",
                         "emacs", "jetbrains-idea", "jetbrains-pycharm", "org.gnome.Terminal", "org.kde.konsole"},
                        Behavior::coding, true),
    };
    // clang-format on
    return builtIns;
}

json::Json ActivityProfile::toJson() const {
    return json::Json{
        {"id", json::encodeUuid(id)},
        {"name", name},
        {"bundleIdentifiers", bundleIdentifiers},
        {"behavior", std::string(rawValue(behavior))},
        {"isBuiltIn", isBuiltIn},
    };
}

std::optional<ActivityProfile> ActivityProfile::fromJson(const json::Json& value) {
    json::ObjectReader reader(value);
    const auto id = reader.required<Uuid>("id");
    auto name = reader.required<std::string>("name");
    auto bundleIdentifiers = reader.required<std::vector<std::string>>("bundleIdentifiers");
    const auto behaviorText = reader.required<std::string>("behavior");
    const auto isBuiltIn = reader.required<bool>("isBuiltIn");
    const auto behavior = fromRawValue<Behavior>(behaviorText);
    if (!reader.ok() || !behavior) return std::nullopt;

    ActivityProfile profile(std::move(name), std::move(bundleIdentifiers), *behavior, isBuiltIn);
    profile.id = id;
    return profile;
}

}  // namespace solvara
