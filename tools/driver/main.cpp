// gas-separator-driver SCRIPT: runs the program headless from a script of user input (see
// ScriptDriver.h). Exits 0, 1 when the program cannot start, or 2 after a script error.

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/ScriptDriver.h"
#include "app/Version.h"
#include "app/platform/Platform.h"
#include "app/platform/qt/QtPlatform.h"
#include "app/services/GlobalService.h"

#include <fstream>
#include <iostream>

namespace {
const char* const kUsage = R"(Usage: gas-separator-driver SCRIPT
       gas-separator-driver --help | --version

Runs the Gas Separator Simulator headless (offscreen) from a script of user input, with fixed
1/60 s steps, for tests, demonstrations and screenshots. The window opens at the design
size. One command per line (blank lines and lines starting with # are skipped):

  run SECONDS                      let the program run
  mouse-move|mouse-down|mouse-up|click X Y
                                   mouse input at a point of the scene in design pixels,
                                   the same point at any window size
  resize W H                       resize the window's scene area to W x H logical pixels
                                   (at least a quarter of the design size); the scene
                                   scales to it, its aspect kept, and shots show it so
  wheel X Y STEPS                  turn the mouse wheel at a point: positive steps turn
                                   it away from you (up), negative towards you (down)
  click-view NAME                  click the middle of a button view
  focus NAME                       give a text box or list the keyboard focus
  type TEXT                        type into the focused control
  key KEY                          Tab, Backtab, Return, Escape, Backspace, Delete, Home, End,
                                   Ctrl+A, Ctrl+R, Up, Down, F4, Alt+Down, and the shortcuts
                                   F1, F5, Ctrl+I, Ctrl+M, Ctrl+Q, Ctrl+S, Ctrl+E, Ctrl+Shift+C,
                                   Ctrl+Z, Ctrl+Shift+Z, Ctrl+Y, Ctrl+F, Ctrl+N, Ctrl+O,
                                   Ctrl+Shift+S
  select LIST | TEXT               choose the list row with this text
  menu TEXT                        choose a menu item, such as &Exit (the script ends with
                                   the program; an exit refused in its question goes on)
  drop PATH                        drop a file on the window, as from a file manager
  handlers off|on                  whether the desktop has programs for links and files
  shot FILE.png                    save a screenshot of the window
  dump FILE.yml                    save the parameters, the simulation and every view's
                                   state as YAML
  clipboard FILE                   save the clipboard's text
  answer-file PATH                 answer the next file dialog with PATH (a dialog with no
                                   answer waiting is cancelled: "file-dialog: TITLE")
  answer-open PATH                 answer the next open dialog with PATH
  answer-choice TEXT               press the button with this text (or number, from 1) in the
                                   next question
  answer-text TEXT                 answer the next question for a line of text
  answer-form TEXT | TEXT | ...    fill the next form, one text per field in order (a text
                                   may be empty), and press OK
  answer-row N                     pick row N (from 1) in the next table

Message boxes and links are printed ("message-box: ...", "open: ...") instead of shown or
opened; with handlers off a link prints "cannot open: ..." and fails. A dialog that asks prints
one line ("choice: TITLE | TEXT | [Save] [Discard] [Cancel]", "text: TITLE | PROMPT",
"form: TITLE", "table: TITLE | N rows", "open-dialog: TITLE") and takes the answer waiting
for its kind, once, adding "| answered ..."; with none waiting it is cancelled. A form whose
answer its preview does not accept is cancelled: "form refused: TITLE | PREVIEW". An answer
that does not fit its dialog (no such button or row, another number of texts than fields) is
a script error. A message box, and a question, form or table with no answer, stays in shots and
dumps until answered: key Return or key Escape answers it, any other input answers it first.
Exit status: 0, 1 when the program cannot start, 2 after a script error.
)";
} // namespace

int main(int argc, char** argv) {
    if (const auto status =
            AnswerVersionOrHelp(argc, argv, "gas-separator-driver", kUsage, std::cout)) {
        return *status;
    }
    const CommandLine line =
        ReadCommandLine(std::vector<std::string>(argv + 1, argv + argc), {}, true);
    const std::vector<std::string> scripts = line.Positional();
    if (line.problem != CommandLine::Problem::None || scripts.size() != 1) {
        std::cerr << "usage: gas-separator-driver SCRIPT (see --help)" << std::endl;
        return CScriptDriver::kScriptErrorStatus;
    }
    const std::string& scriptName = scripts.front();
    std::ifstream script(scriptName);
    if (!script) {
        std::cerr << scriptName << ": cannot read the script" << std::endl;
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
    return driver.Run(script, scriptName);
}
