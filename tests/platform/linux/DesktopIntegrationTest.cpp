#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <functional>

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

std::string fileText(const fs::path& file) {
    std::ifstream in(file);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Whoever else may write the folder could rewrite the entry's Exec line: no entry is written
// there, and the getter still reports what is on disk; the user's own entry can still be
// switched off. A link of the user's own (a dotfile manager's) is followed to a folder that
// passes the same checks.
TEST(XdgAutostartLoginItemTest, AnAutostartFolderOthersControlIsLeftAlone) {
    TemporaryFolder elsewhere;
    const fs::path theirs = elsewhere.path / "theirs";
    const fs::path dotfiles = elsewhere.path / "dotfiles";
    struct Case {
        const char* name;
        std::function<void(const fs::path& config)> plant;
        std::optional<std::string> why;  // after "Not using the autostart folder <path>: "; none = used
        bool needsRoot = false;
        fs::path entryFolder = {};  // where the entry is written when not the folder itself
    };
    const auto ofNobody = [](const fs::path& folder) {
        fs::create_directories(folder);
        ASSERT_EQ(lchown(folder.c_str(), 65534, 65534), 0);
    };
    const auto madeUnderUmask002 = [](const fs::path& config, gid_t group) {
        fs::create_directory(config / "autostart");
        ASSERT_EQ(chown((config / "autostart").c_str(), static_cast<uid_t>(-1), group), 0);
        ASSERT_EQ(chmod((config / "autostart").c_str(), 0775), 0);
    };
    const auto linkTo = [](const fs::path& target, const fs::path& config) {
        fs::create_directories(target);
        fs::create_directory_symlink(target, config / "autostart");
    };
    const std::vector<Case> cases{
        {"absent in a shared 1777 config home", [](const fs::path& config) { chmod(config.c_str(), 01777); },
         std::nullopt},
        {"made by another user", [&](const fs::path& config) { ofNobody(config / "autostart"); },
         "it belongs to another user", true},
        {"made with mkdir -m 777",
         [](const fs::path& config) {
             fs::create_directory(config / "autostart");
             chmod((config / "autostart").c_str(), 0777);
         },
         "it is open to other users"},
        {"made 0775 of group root", [&](const fs::path& config) { madeUnderUmask002(config, 0); }, std::nullopt, true},
        {"made 0775 of group nogroup", [&](const fs::path& config) { madeUnderUmask002(config, 65534); },
         "it is open to the group nogroup, which has other members", true},
        {"our own link to a folder of ours", [&](const fs::path& config) { linkTo(dotfiles, config); }, std::nullopt,
         false, dotfiles},
        {"a link to a folder of another user",
         [&](const fs::path& config) { linkTo(theirs, config), ofNobody(theirs); },
         "it is a symbolic link to " + fs::canonical(elsewhere.path).string() +
             "/theirs, which belongs to another user",
         true},
        {"a link of another user to a folder of ours",
         [&](const fs::path& config) { linkTo(dotfiles, config), ofNobody(config / "autostart"); },
         "it is a symbolic link of another user", true},
    };
    const std::string planted = "[Desktop Entry]\nType=Application\nExec=/home/other/payload\n";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && geteuid() != 0) continue;
        TemporaryFolder config;
        fs::remove_all(dotfiles);
        const fs::path folder = config.path / "autostart";
        c.plant(config.path);
        XdgAutostartLoginItem item("/usr/bin/solvara", folder);
        if (!c.why) {
            ASSERT_EQ(item.setRegistered(true), std::nullopt);
            const fs::path entryFolder = c.entryFolder.empty() ? folder : c.entryFolder;
            struct stat made {};
            ASSERT_EQ(lstat(entryFolder.c_str(), &made), 0);
            EXPECT_TRUE(S_ISDIR(made.st_mode));
            EXPECT_EQ(made.st_uid, geteuid());
            EXPECT_EQ(made.st_mode & S_IWOTH, 0u);
            EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(entryFolder / "solvara.desktop")));
            EXPECT_TRUE(item.isRegistered());
            ASSERT_EQ(item.setRegistered(false), std::nullopt);
            EXPECT_TRUE(fs::is_empty(entryFolder));
            continue;
        }
        std::ofstream(folder / "solvara.desktop") << planted;
        const std::string refused = "Not using the autostart folder " + folder.string() + ": " + *c.why;
        EXPECT_EQ(item.setRegistered(true), refused);
        EXPECT_EQ(fileText(folder / "solvara.desktop"), planted);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
        EXPECT_TRUE(item.isRegistered()) << "the entry there is reported as it is";
        EXPECT_EQ(item.setRegistered(false), std::nullopt) << "the user's own entry goes all the same";
        EXPECT_TRUE(fs::is_empty(folder));
        EXPECT_FALSE(item.isRegistered());
    }
}

// Links left by another user at the names the entry was once written through, or at the entry
// itself, lead to a file of theirs: it is neither written nor read as ours.
TEST(XdgAutostartLoginItemTest, LinksAtTheEntrysNamesAreNeverFollowed) {
    TemporaryFolder config;
    TemporaryFolder other;
    const fs::path folder = config.path / "autostart";
    fs::create_directory(folder);
    other.write("victim", "theirs");
    other.write("victim2", "theirs too");
    fs::create_symlink(other.path / "victim", folder / "solvara.desktop.tmp");
    fs::create_symlink(other.path / "victim2", folder / "solvara.desktop");

    XdgAutostartLoginItem item("/usr/bin/solvara", folder);
    ASSERT_EQ(item.setRegistered(true), std::nullopt);
    EXPECT_EQ(fileText(other.path / "victim"), "theirs");
    EXPECT_EQ(fileText(other.path / "victim2"), "theirs too");
    struct stat entry {};
    ASSERT_EQ(lstat(item.entryPath().c_str(), &entry), 0);
    EXPECT_TRUE(S_ISREG(entry.st_mode));
    EXPECT_EQ(entry.st_uid, geteuid());
    EXPECT_EQ(entry.st_mode & 07777, 0644u);
    EXPECT_NE(fileText(item.entryPath()).find("\nExec=/usr/bin/solvara\n"), std::string::npos);
    EXPECT_TRUE(fs::is_symlink(folder / "solvara.desktop.tmp"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2) << "no temporary left";

    // Switching off in a folder others may write to removes a file of the user's own, never a
    // link there nor what it leads to.
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    fs::remove(item.entryPath());
    fs::create_symlink(other.path / "victim2", item.entryPath());
    EXPECT_EQ(item.setRegistered(false),
              "Not using the autostart folder " + folder.string() + ": it is open to other users");
    EXPECT_TRUE(fs::is_symlink(item.entryPath()));
    EXPECT_EQ(fileText(other.path / "victim2"), "theirs too");
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
