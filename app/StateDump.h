#pragma once
// The program's state as YAML, for the headless driver: the parameters, the preset name,
// the simulation state, every registered view's kind and state, and the dialogs showing.
// Every text is written as a YAML string, so "1.3700" reads back as it was written.

#include "app/platform/ShownDialog.h"

#include <string>
#include <vector>

class CGasSeparatorModel;
class CWindowManager;

// The state of `model` (when given) and of the views registered with `windowManager` (when
// given); `dialogs`: the dialogs showing, the message boxes listed under "message_boxes", the
// others (questions, lines of text, forms, tables) under "dialogs" with their `kind`.
std::string DumpProgramState(const CGasSeparatorModel* model, const CWindowManager* windowManager,
                             const std::vector<ShownDialog>& dialogs = {});
