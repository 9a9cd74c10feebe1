#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace solvara::testing {

// Puts the whole C locale of the process into German (decimal comma) for one scope. When the
// system has no de_DE.UTF-8, it is compiled once into a temporary directory with localedef.
// active() tells whether the switch took.
class ScopedGermanLocale {
public:
    ScopedGermanLocale() {
        previous_ = std::setlocale(LC_ALL, nullptr);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && compileLocale()) {
            std::setlocale(LC_ALL, "de_DE.UTF-8");
        }
    }
    ~ScopedGermanLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ScopedGermanLocale(const ScopedGermanLocale&) = delete;
    ScopedGermanLocale& operator=(const ScopedGermanLocale&) = delete;

    static bool active() { return std::string(std::localeconv()->decimal_point) == ","; }

private:
    static bool compileLocale() {
        static const bool compiled = [] {
            const std::filesystem::path dir = std::filesystem::temp_directory_path() / "solvara-test-locales";
            std::filesystem::create_directories(dir);
            const std::string command =
                "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
            if (std::system(command.c_str()) != 0 && !std::filesystem::exists(dir / "de_DE.UTF-8")) return false;
            setenv("LOCPATH", dir.c_str(), 1);
            return true;
        }();
        return compiled;
    }

    std::string previous_;
};

}  // namespace solvara::testing
