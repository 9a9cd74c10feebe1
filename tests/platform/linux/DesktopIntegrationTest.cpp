#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "platform/linux/DesktopFileIndex.h"
#include "platform/linux/IioAmbientLightSource.h"
#include "platform/linux/MacKeyCodes.h"
#include "platform/linux/XdgAutostartLoginItem.h"
#include "tests/support/LogCapture.h"

#include <X11/keysym.h>

namespace solvara {
namespace {

namespace fs = std::filesystem;

class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "solvara-test-XXXXXX").string();
        path = mkdtemp(pattern.data());
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::permissions(path, fs::perms::owner_all, ignored);
        fs::remove_all(path, ignored);
    }
    void write(const fs::path& relative, const std::string& text) const {
        fs::create_directories((path / relative).parent_path());
        std::ofstream(path / relative) << text;
    }
    fs::path path;
};

TEST(MacKeyCodesTest, KeysOfTheStoredTableMapBothWays) {
    struct Case {
        std::uint16_t keyCode;
        unsigned long keysym;
    };
    for (const Case& c : std::vector<Case>{{14, XK_e}, {46, XK_m}, {126, XK_Up}, {125, XK_Down}, {35, XK_p},
                                          {11, XK_b}, {43, XK_comma}, {53, XK_Escape}, {22, XK_6}, {23, XK_5},
                                          {122, XK_F1}, {100, XK_F8}, {83, XK_KP_1}, {49, XK_space}}) {
        EXPECT_EQ(MacKeyCodes::keysym(c.keyCode), c.keysym) << c.keyCode;
        EXPECT_EQ(MacKeyCodes::keyCode(c.keysym), c.keyCode) << c.keyCode;
    }
    EXPECT_EQ(MacKeyCodes::keyCode(XK_E), 14) << "upper case maps to the same key";
    EXPECT_EQ(MacKeyCodes::keysym(55), std::nullopt) << "the Command key itself";
    EXPECT_EQ(MacKeyCodes::keyCode(XK_Shift_L), std::nullopt);
}

TEST(DesktopFileIndexTest, WindowClassesMapToDesktopIdsInFolderOrder) {
    TemporaryFolder home;
    TemporaryFolder system;
    home.write("org.example.Editor.desktop", "[Desktop Entry]\nName=Editor\nStartupWMClass=Editor\n");
    system.write("org.example.Editor.desktop", "[Desktop Entry]\nName=Old\nStartupWMClass=Editor\n");
    system.write("kde/org.kde.viewer.desktop", "[Desktop Entry]\nStartupWMClass = Viewer\n");
    system.write("other.desktop", "[Desktop Action new]\nStartupWMClass=Other\n[Desktop Entry]\nName=Other\n");
    system.write("notes.txt", "[Desktop Entry]\nStartupWMClass=Notes\n");

    DesktopFileIndex index({home.path.string(), system.path.string(), "/no/such/folder"});
    EXPECT_EQ(index.desktopIdForWindowClass("Editor"), "org.example.Editor");
    EXPECT_EQ(index.desktopIdForWindowClass("Viewer"), "kde-org.kde.viewer");
    EXPECT_EQ(index.desktopIdForWindowClass("Other"), std::nullopt) << "only the [Desktop Entry] group counts";
    EXPECT_EQ(index.desktopIdForWindowClass("Notes"), std::nullopt);
    EXPECT_EQ(index.desktopIdForWindowClass("editor"), std::nullopt);
}

TEST(XdgAutostartLoginItemTest, TheGetterReadsTheEntryOnDisk) {
    TemporaryFolder config;
    const fs::path folder = config.path / "autostart";
    XdgAutostartLoginItem item("/opt/Solvara Beta/bin/solvara", folder);
    EXPECT_FALSE(item.isRegistered());
    EXPECT_EQ(item.setRegistered(false), std::nullopt) << "removing an absent entry succeeds";

    ASSERT_EQ(item.setRegistered(true), std::nullopt);
    EXPECT_TRUE(item.isRegistered());
    std::ifstream in(item.entryPath());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_NE(text.find("\nExec=\"/opt/Solvara Beta/bin/solvara\"\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(item.entryPath().string() + ".tmp"));

    // The desktop's own switch counts: a hidden or disabled entry does not start the program.
    config.write("autostart/solvara.desktop", "[Desktop Entry]\nType=Application\nExec=solvara\nHidden=true\n");
    EXPECT_FALSE(item.isRegistered());
    config.write("autostart/solvara.desktop", "[Desktop Entry]\nExec=solvara\nX-GNOME-Autostart-enabled=false\n");
    EXPECT_FALSE(item.isRegistered());

    ASSERT_EQ(item.setRegistered(false), std::nullopt);
    EXPECT_FALSE(item.isRegistered());

    EXPECT_EQ(XdgAutostartLoginItem::quoteExec("/usr/bin/solvara"), "/usr/bin/solvara");
    EXPECT_EQ(XdgAutostartLoginItem::quoteExec("/a b/$x\"%"), "\"/a b/\\$x\\\"%%\"");
}

// (A read-only folder would be the natural failure, but root, as in CI, writes through it.)
TEST(XdgAutostartLoginItemTest, AFailedWriteSaysWhyAndChangesNothing) {
    TemporaryFolder config;
    config.write("autostart", "not a folder");
    XdgAutostartLoginItem item("/usr/bin/solvara", config.path / "autostart");
    const std::optional<std::string> error = item.setRegistered(true);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("autostart"), std::string::npos);
    EXPECT_FALSE(item.isRegistered());
}

TEST(IioAmbientLightSourceTest, ReadsTheKernelsIlluminanceOrReportsNone) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;
        std::optional<double> lux;
    };
    const std::vector<Case> cases{
        {"processed value", {{"iio:device0/in_illuminance_input", "123.5\n"}}, 123.5},
        {"raw with scale and offset",
         {{"iio:device0/in_illuminance_raw", "200\n"}, {"iio:device0/in_illuminance_scale", "0.5\n"},
          {"iio:device0/in_illuminance_offset", "10\n"}},
         105.0},
        {"second device has the light",
         {{"iio:device0/in_accel_x_raw", "1\n"}, {"iio:device1/in_illuminance0_input", "42\n"}},
         42.0},
        {"garbage", {{"iio:device0/in_illuminance_input", "bright\n"}}, std::nullopt},
        {"no light sensor", {{"iio:device0/in_accel_x_raw", "1\n"}}, std::nullopt},
    };
    for (const Case& c : cases) {
        TemporaryFolder sysfs;
        for (const auto& [file, text] : c.files) sysfs.write(file, text);
        testing::LogCapture log;
        IioAmbientLightSource source(sysfs.path.string(), false);
        ASSERT_EQ(source.open(), c.lux.has_value()) << c.name;
        EXPECT_EQ(source.readLux(), c.lux) << c.name;
        if (!c.lux) {
            EXPECT_TRUE(log.contains("No ambient-light sensor found")) << c.name;
            source.open();
            EXPECT_EQ(log.lines.size(), 1u) << "logged once";
        }
    }

    // A sensor that stops answering keeps the source open but fails the read.
    TemporaryFolder sysfs;
    sysfs.write("iio:device0/in_illuminance_input", "80\n");
    IioAmbientLightSource source(sysfs.path.string(), false);
    ASSERT_TRUE(source.open());
    fs::remove(sysfs.path / "iio:device0/in_illuminance_input");
    EXPECT_EQ(source.readLux(), std::nullopt);
}

}  // namespace
}  // namespace solvara
