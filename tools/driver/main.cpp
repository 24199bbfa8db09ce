// gas-separator-driver SCRIPT: runs the program headless from a script of user input (see
// ScriptDriver.h). Exits 0, 1 when the program cannot start, or 2 after a script error.

#include "app/Application.h"
#include "app/GlobalService.h"
#include "app/ScriptDriver.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtPlatform.h"

#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gas-separator-driver SCRIPT" << std::endl;
        return CScriptDriver::kScriptErrorStatus;
    }
    std::ifstream script(argv[1]);
    if (!script) {
        std::cerr << argv[1] << ": cannot read the script" << std::endl;
        return CScriptDriver::kScriptErrorStatus;
    }
    CQtPlatform platform(argc, argv, CQtPlatform::Display::Offscreen);
    platform.Install(true);
    CDriverShell shell(std::cout);
    ScopedOverride<IShell> useShell(Platform().shell, &shell);
    CApplication application;
    if (!application.Startup()) {
        return 1;
    }
    CScriptDriver driver(application, *Platform().automation, std::cerr);
    return driver.Run(script, argv[1]);
}
