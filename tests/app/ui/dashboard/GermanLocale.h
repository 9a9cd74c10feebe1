#pragma once

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

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
            namespace fs = std::filesystem;
            // Test processes run side by side: each compiles into a folder of its own and
            // renames it into place, so no process ever reads a half-written locale.
            const fs::path shared = fs::temp_directory_path() / "solvara-test-locales";
            if (!fs::exists(shared / "de_DE.UTF-8")) {
                std::string pattern = (fs::temp_directory_path() / "solvara-test-locales.XXXXXX").string();
                if (mkdtemp(pattern.data()) == nullptr) return false;
                const fs::path own = pattern;
                const std::string command =
                    "localedef -i de_DE -f UTF-8 '" + (own / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
                [[maybe_unused]] const int status = std::system(command.c_str());
                std::error_code ignored;
                if (fs::exists(own / "de_DE.UTF-8")) fs::rename(own, shared, ignored);  // fails if another won
                fs::remove_all(own, ignored);
            }
            if (!fs::exists(shared / "de_DE.UTF-8")) return false;
            setenv("LOCPATH", shared.c_str(), 1);
            return true;
        }();
        return compiled;
    }

    std::string previous_;
};

}  // namespace solvara::testing
