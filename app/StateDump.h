#pragma once
// The program's state as YAML, for the headless driver: the parameters, the preset name,
// the simulation state and every registered view's kind and state.

#include <string>

std::string DumpProgramState();
