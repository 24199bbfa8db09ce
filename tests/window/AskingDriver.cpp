// The headless driver with one more menu, "Ask", whose items ask a sample of each kind of
// dialog through the installed shell and print what came back ("returned: ..."). The driver
// script tests use it to try the driver's answers, printing and pictures of dialogs on their
// own, whatever the program's controllers ask.

#include "app/Application.h"
#include "app/ScriptDriver.h"
#include "app/model/NumberFormat.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtMainWindow.h"
#include "app/platform/qt/QtPlatform.h"
#include "app/services/GlobalService.h"

#include <QMenu>
#include <QMenuBar>

#include <fstream>
#include <iostream>

namespace {
IShell& Shell() {
    return *Platform().shell;
}

void Returned(const std::string& what) {
    std::cout << "returned: " << what << std::endl;
}

template <typename T> void Returned(const std::optional<T>& answer) {
    Returned(answer ? std::to_string(*answer) : "none");
}

void AskChoice() {
    Returned(Shell().AskChoice("Unsaved Changes",
                               "The case \"Well 7\" has changes that are not saved.\nSave them "
                               "before closing it?",
                               {"&Save", "Discard", "Cancel"}));
}

void AskText() {
    const auto name = Shell().AskText("Rename Preset", "The preset's new name:", "My Sep 2");
    Returned(name ? "\"" + *name + "\"" : "none");
}

// The liquid must be denser than the gas; the preview gives the difference.
std::string DensityPreview(const std::vector<std::string>& texts, bool& acceptable) {
    const std::optional<double> liquid = ReadNumber(texts.at(0));
    const std::optional<double> gas = ReadNumber(texts.at(1));
    acceptable = liquid && gas && *liquid > *gas;
    if (!acceptable) {
        return "The liquid must be denser than the gas";
    }
    return "Density difference: " + FormatNumber(*liquid - *gas) + " lb/ft3";
}

void AskForm() {
    FormRequest form;
    form.title = "Fluid Properties";
    form.intro = "The densities of the well's fluids at the pump intake.\n"
                 "Typical values:\n"
                 "Fluid\tDensity (lb/ft3)\n"
                 "Water\t62.4\n"
                 "Light oil\t51.5\n"
                 "Gas at 500 psi\t1.9";
    form.fields = {{"Liquid density", "lb/ft3", "55", false},
                   {"Gas density", "lb/ft3", "2", false},
                   {"Note", "", "", true}};
    form.note = "Measured values are better than typical ones.";
    form.preview = DensityPreview;
    const auto texts = Shell().AskForm(form);
    std::string joined;
    for (const std::string& text : texts ? *texts : std::vector<std::string>{}) {
        joined += (joined.empty() ? "" : " | ") + text;
    }
    Returned(texts ? joined : "none");
}

void AskTable() {
    TableRequest table;
    table.title = "Separator Finder";
    table.intro = "Separators that fit the casing, by capacity.";
    table.headers = {"Separator", "OD (in)", "ID (in)", "Capacity (bbl/day)"};
    table.rows = {{"2-3/8 Collar Size", "3.063", "2.5", "242"},
                  {"2-7/8 Collar Size", "3.75", "3.125", "467"},
                  {"Poor Boy", "2.375", "1.995", "96"}};
    table.apartHeading = "Too wide for this casing:";
    table.apart = {{"3-1/2 Collar Size", "4.5", "3.958", "\u2014"}};
    table.pickLabel = "Use";
    Returned(Shell().ChooseRow(table));
}

void AskOpenFile() {
    const auto path = Shell().ChooseOpenFile("Open Case", ".", "Cases (*.gscase.yml)");
    Returned(path ? path->string() : "none");
}

void AddAskMenu() {
    auto* window = dynamic_cast<CQtMainWindow*>(Platform().mainWindow);
    QMenu* menu = window->Frame()->menuBar()->addMenu("Ask");
    menu->addAction("Ask Choice", &AskChoice);
    menu->addAction("Ask Text", &AskText);
    menu->addAction("Ask Form", &AskForm);
    menu->addAction("Ask Table", &AskTable);
    menu->addAction("Ask Open File", &AskOpenFile);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: asking-driver SCRIPT" << std::endl;
        return CScriptDriver::kScriptErrorStatus;
    }
    std::ifstream script(argv[1]);
    CQtPlatform platform(argc, argv, CQtPlatform::Display::Offscreen);
    platform.Install(true);
    CDriverShell shell(std::cout);
    ScopedOverride<IShell> useShell(Platform().shell, &shell);
    CApplication application;
    if (!application.Startup()) {
        return 1;
    }
    AddAskMenu();
    CScriptDriver driver(application, *Platform().automation, std::cerr);
    return driver.Run(script, argv[1]);
}
