// gas-separator-tags [--dir DIR] [--dump]
//
// Loads app.app.yml (from DIR, or from the data compiled into this tool) exactly as the
// program does, placement included. Prints "N tags" and exits 0 when the tree loads; prints
// the error and exits 1 when it does not. --dump first lists every registered tag as
// handle, type, path, absolute X and Y ("-" for tags without a position), tab-separated.
// A usage error exits 64 (EX_USAGE). A picture that cannot be read or decoded is an error of
// the tree like any other, reported with its chain. Nothing ever waits for a person: a fatal
// platform error is printed and ends the tool with its error code.

#include "app/CommandLine.h"
#include "app/Version.h"
#include "app/platform/FatalError.h"
#include "app/platform/qt/QtMedia.h"
#include "app/services/GlobalService.h"
#include "app/tags/Tags.h"

#include <QGuiApplication>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

namespace {
const char* const kUsage = R"(Usage: gas-separator-tags [--dir DIR] [--dump]
       gas-separator-tags --help | --version

Loads the interface description (app.app.yml and every tag file it refers to) exactly as the
Gas Separator Simulator does, placement included, and prints "N tags". A broken tree prints
its first error with the file, the line and the chain of files that refer to it.

Options:
  --dir DIR    load the tree from DIR instead of the copy built into this tool
  --dump       first list every tag: handle, type, path, absolute X and Y (tab-separated)
  --help       show this text
  --version    print the version

Exit status: 0 when the tree loads, 1 when it does not (a picture that cannot be read
included), 64 for a usage error.
)";

struct Options {
    std::string directory;
    bool dump = false;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    static constexpr CommandLineOption kOptions[] = {{"--dir", true}, {"--dump", false}};
    const CommandLine line =
        ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc), kOptions, false);
    const std::string* directory = line.Last("--dir");
    if (line.problem != CommandLine::Problem::None || (directory && directory->empty())) {
        return false;
    }
    options.dump = line.Has("--dump");
    options.directory = directory ? *directory : std::string();
    return true;
}

void DumpTags(const CTagManager& manager) {
    for (TagHandle handle = 1; handle <= manager.TagCount(); ++handle) {
        const Tag* tag = manager.GetTag(handle);
        const auto* placed = dynamic_cast<const TPlaceable*>(tag);
        const std::string x = placed ? std::to_string(placed->absX) : "-";
        const std::string y = placed ? std::to_string(placed->absY) : "-";
        std::printf("%d\t%s\t%s\t%s\t%s\n", handle, tag->type.c_str(), tag->path.c_str(), x.c_str(),
                    y.c_str());
    }
}

// Loads the tree; the exit status of the tool.
int LoadTree(const Options& options) {
    std::string directory = options.directory;
    if (!directory.empty()) {
        std::error_code error;
        if (!std::filesystem::is_directory(directory, error)) {
            std::fprintf(stderr, "%s: not a directory\n", directory.c_str());
            return 1;
        }
        if (directory.back() != '/') {
            directory += '/'; // tag paths are joined to the directory as they are
        }
    }
    // The tool's own tag manager, gone before the Qt application is.
    GlobalService<CTagManager> tags(gTagManager);
    tags.Create().SetTagDirectory(directory);
    try {
        LoadTag("app.app.yml");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (options.dump) {
        DumpTags(*TagManager());
    }
    std::printf("%d tags\n", TagManager()->TagCount());
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (const auto status =
            AnswerVersionOrHelp(argc, argv, "gas-separator-tags", kUsage, std::cout)) {
        return *status;
    }
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: gas-separator-tags [--dir DIR] [--dump] (see --help)\n");
        return 64; // apart from 1 (a bad tree) and the error codes of fatal errors
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    InstallQtMediaServices();
    SetFatalErrorHandler(nullptr); // print the fatal error and exit with its code
    const int status = LoadTree(options);
    std::fflush(stdout);
    return status;
}
