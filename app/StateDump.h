#pragma once
// The program's state as YAML, for the headless driver: the parameters, the preset name,
// the simulation state, every registered view's kind and state, and the message boxes showing.
// Every text is written as a YAML string, so "1.3700" reads back as it was written.

#include "app/platform/Shell.h"

#include <string>
#include <vector>

class CGasSeparatorModel;
class CWindowManager;

// The state of `model` (when given) and of the views registered with `windowManager` (when
// given); `messageBoxes`: the message boxes showing, listed under "message_boxes".
std::string DumpProgramState(const CGasSeparatorModel* model, const CWindowManager* windowManager,
                             const std::vector<MessageBoxContent>& messageBoxes = {});
