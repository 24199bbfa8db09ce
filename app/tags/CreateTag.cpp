#include "app/tags/TagManager.h"

#include "app/platform/FatalError.h"
#include "app/tags/Tags.h"

#include <map>

namespace {
template <class T> Tag* Make() {
    return new T();
}

using Factory = Tag* (*)();

const std::map<std::string, Factory>& ExtensionTable() {
    static const std::map<std::string, Factory> table = {
        {"png", Make<TImage>},
        {"ttf", Make<TFont>},
        {"ico", Make<TIcon>},
        {"app", Make<TApp>},
        {"btnb", Make<TButtonBar>},
        {"btn", Make<TButton>},
        {"mouse", Make<TMouseRegion>},
        {"gs", Make<TGasSeparator>},
        {"gasreach", Make<TGasReach>},
        {"plng", Make<TPlunger>},
        {"valve", Make<TValve>},
        {"valvebase", Make<TValveBase>},
        {"text", Make<TTextEdit>},
        {"parampanel", Make<TParametersPanel>},
        {"headerbar", Make<THeaderBar>},
        {"cmb", Make<TComboBox>},
        {"dim", Make<TDimensionLine>},
        {"lbl", Make<TLabel>},
        {"notice", Make<TNotice>},
        {"seppreset", Make<TSeparatorPreset>},
        {"csgpreset", Make<TCasingSize>},
        {"choice", Make<TChoice>},
        {"particle", Make<TParticle>},
        {"particleregion", Make<TParticleRegion>},
        {"warning", Make<TWarning>},
        {"contactdialog", Make<TContactDialog>},
        {"helpdialog", Make<THelpDialog>},
        {"savepresetdialog", Make<TSavePresetDialog>},
        {"diptubeparticleregion", Make<TDipTubeParticleRegion>},
        {"flowindicator", Make<TFlowIndicator>},
    };
    return table;
}
} // namespace

Tag* CTagManager::CreateTag(const std::string& type) {
    const auto& table = ExtensionTable();
    const auto found = table.find(type);
    if (found == table.end()) {
        DebugTrace("Unrecognized tag type, '%s'. Need to update CTagManager::CreateTag.",
                   type.c_str());
        return nullptr;
    }
    return found->second();
}
