#include "tools/calc/DesignCalculator.h"

#include "app/Version.h"
#include "app/files/EmbeddedStore.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/PosixFileSystem.h"

#include <iostream>

int main(int argc, char** argv) {
    IgnoreBrokenPipes(); // a closed standard output is a failure with its reason, not a silent end
    CPosixFileSystem fileSystem; // output files synced to the disk before they take their names
    Platform().fileSystem = &fileSystem;
    if (const auto status = AnswerVersionOrHelp(argc, argv, "gas-separator-calc",
                                                DesignCalculatorUsage().c_str(), std::cout)) {
        return FlushOutput(std::cout, std::cerr, *status);
    }
    const ResourceBytes shipped = FindResource("gasseparator.defaults.yml", ResourceKind::RawData);
    const std::string defaults(reinterpret_cast<const char*>(shipped.data), shipped.size);
    return RunDesignCalculator(std::vector<std::string>(argv + 1, argv + argc), defaults, std::cin,
                               std::cout, std::cerr);
}
