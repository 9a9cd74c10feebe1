#pragma once

#include <functional>

namespace solvara {

// The desktop's tray hosts: which kinds run now, and word when that may have changed. A panel
// often starts beside the program at login, or after it, or is replaced while the program runs.
// Main thread only.
class TrayHosts {
public:
    virtual ~TrayHosts() = default;

    // A StatusNotifierItem host (KDE Plasma, lxqt-panel, xfce4-panel, waybar, GNOME's AppIndicator
    // extension): a StatusNotifierWatcher on the session bus that answers that a host is
    // registered with it. A watcher alone does not count: KDE starts it before the panel.
    virtual bool statusNotifierHost() = 0;
    // A StatusNotifierWatcher has its name on the session bus, with or without a host.
    virtual bool statusNotifierWatcher() = 0;
    // An XEmbed tray (trayer, stalonetray, icewm): the _NET_SYSTEM_TRAY_S<n> selection of the
    // default screen has an owner.
    virtual bool xembedTray() = 0;

    // From now on `changed` runs, from the event loop, whenever either answer may have changed
    // (asking again tells what did); an empty function stops the news.
    virtual void watch(std::function<void()> changed) = 0;
};

}  // namespace solvara
