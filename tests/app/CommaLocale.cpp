#include "tests/app/CommaLocale.h"

#include <cstdlib>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

namespace {
std::string MakeLocale(const std::string& locale) {
    const char* user = std::getenv("USER");
    const fs::path cache =
        fs::temp_directory_path() / ("gs-test-locales-" + std::string(user ? user : "user") +
                                     (locale == kCommaLocale ? "" : "-" + locale));
    const fs::path made = cache / locale / "LC_NUMERIC";
    std::error_code error;
    if (!fs::exists(made, error)) {
        // Made beside the cache and renamed into place: tests running at once see all or none.
        const fs::path fresh = cache.string() + "-" + std::to_string(std::random_device()());
        fs::create_directories(fresh, error); // localedef does not make the parent folder
        const std::string source = locale.substr(0, locale.find('.'));
        const std::string target = (fresh / locale).string();
        std::system(
            ("localedef -i " + source + " -f UTF-8 '" + target + "' >/dev/null 2>&1").c_str());
        fs::rename(fresh, cache, error);
        fs::remove_all(fresh, error);
    }
    return fs::exists(made, error) ? cache.string() : std::string();
}
} // namespace

std::string CommaLocalePath() {
    static const std::string path = MakeLocale(kCommaLocale);
    return path;
}

std::string TestLocalePath(const std::string& locale) {
    return MakeLocale(locale);
}
