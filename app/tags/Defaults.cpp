#include "app/tags/Defaults.h"

#include "app/tags/TagReader.h"

void TDefaults::Load(const YAML::Node& node) {
    casingSize = ReadDouble(node, "Casing Size");
    presetName = ReadString(node, "Preset Name");
    separatorOd = ReadDouble(node, "Separator OD");
    separatorId = ReadDouble(node, "Separator ID");
    dipTubeOd = ReadDouble(node, "Dip Tube OD");
    dipTubeId = ReadDouble(node, "Dip Tube ID");
    dipTubeLength = ReadDouble(node, "Dip Tube Length");
    gasBubbleRiseVelocity = ReadDouble(node, "Gas Bubble Rise Velocity");
    productionRate = ReadDouble(node, "Production Rate");
    spm = ReadDouble(node, "SPM");
}
