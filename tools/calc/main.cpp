#include "tools/calc/DesignCalculator.h"

#include "app/Version.h"
#include "app/files/EmbeddedStore.h"

#include <iostream>

int main(int argc, char** argv) {
    if (const auto status = AnswerVersionOrHelp(argc, argv, "gas-separator-calc",
                                                DesignCalculatorUsage().c_str(), std::cout)) {
        return *status;
    }
    const ResourceBytes shipped = FindResource("gasseparator.defaults.yml", ResourceKind::RawData);
    const std::string defaults(reinterpret_cast<const char*>(shipped.data), shipped.size);
    return RunDesignCalculator(std::vector<std::string>(argv + 1, argv + argc), defaults, std::cout,
                               std::cerr);
}
