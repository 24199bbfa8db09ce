#include "tests/app/CommaLocale.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace {
// True when `name` can be made the C library's locale and writes numbers with a comma.
bool SelectsACommaLocale(const std::string& name) {
    const bool selected = std::setlocale(LC_ALL, name.c_str()) != nullptr;
    const bool comma = selected && std::string(std::localeconv()->decimal_point) == ",";
    std::setlocale(LC_ALL, "C");
    return comma;
}

fs::path CacheFolder() {
    const char* user = std::getenv("USER");
    return fs::temp_directory_path() / (std::string("gs-test-locales-") + (user ? user : "user"));
}

// Generates the locale into a fresh folder, then moves it into the cache in one rename, so
// tests that run at the same time never see half a locale.
void Generate(const CommaLocale& locale, const fs::path& cache) {
    const fs::path fresh = cache.string() + ".new-" + std::to_string(std::random_device()());
    fs::create_directories(fresh);
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (fresh / locale.name).string() + "' >/dev/null 2>&1";
    std::system(command.c_str()); // judged below by what it made
    std::error_code error;
    if (fs::exists(fresh / locale.name / "LC_NUMERIC", error)) {
        fs::rename(fresh, cache, error); // another test may have been quicker: that is fine
    }
    fs::remove_all(fresh, error);
}

CommaLocale Find() {
    CommaLocale locale;
    if (SelectsACommaLocale(locale.name)) {
        return locale;
    }
    const fs::path cache = CacheFolder();
    std::error_code error;
    if (!fs::exists(cache / locale.name / "LC_NUMERIC", error)) {
        Generate(locale, cache);
    }
    ::setenv("LOCPATH", cache.c_str(), 1);
    if (SelectsACommaLocale(locale.name)) {
        locale.locpath = cache.string();
    } else {
        locale.problem = "no decimal-comma locale: the machine has no de_DE.UTF-8 and `localedef "
                         "-i de_DE -f UTF-8` did not make one (install the Debian package "
                         "\"locales\", see scripts/install-deps.sh)";
    }
    ::unsetenv("LOCPATH");
    return locale;
}
} // namespace

const CommaLocale& FindCommaLocale() {
    static const CommaLocale locale = Find();
    return locale;
}

std::string CommaLocaleEnvironment(const CommaLocale& locale) {
    std::string environment;
    if (!locale.locpath.empty()) {
        environment = "LOCPATH='" + locale.locpath + "' ";
    }
    return environment + "LANG=" + locale.name + " LC_ALL=" + locale.name + " ";
}

ScopedCommaLocale::ScopedCommaLocale(const CommaLocale& locale) {
    if (!locale.locpath.empty()) {
        ::setenv("LOCPATH", locale.locpath.c_str(), 1);
    }
    active_ = locale.problem.empty() && std::setlocale(LC_ALL, locale.name.c_str()) != nullptr;
}

ScopedCommaLocale::~ScopedCommaLocale() {
    std::setlocale(LC_ALL, "C");
    ::unsetenv("LOCPATH");
}
