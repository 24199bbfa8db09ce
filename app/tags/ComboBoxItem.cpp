#include "app/tags/ComboBoxItem.h"

#include "app/tags/TagReader.h"

void TComboBoxItem::Load(const YAML::Node& node) {
    displayName = ReadString(node, "Display Name");
}

void TCasingSize::Load(const YAML::Node& node) {
    casingSize = ReadDouble(node, "Casing Size");
    TComboBoxItem::Load(node);
}

void TSeparatorPreset::Load(const YAML::Node& node) {
    separatorOd = ReadDouble(node, "Separator OD");
    separatorId = ReadDouble(node, "Separator ID");
    dipTubeOd = ReadDouble(node, "Dip Tube OD");
    dipTubeId = ReadDouble(node, "Dip Tube ID");
    dipTubeLength = ReadDouble(node, "Dip Tube Length");
    TComboBoxItem::Load(node);
}
