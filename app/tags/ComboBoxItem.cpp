#include "app/tags/ComboBoxItem.h"

#include "app/model/ParameterTable.h"
#include "app/tags/TagReader.h"

void TComboBoxItem::Load(const YAML::Node& node) {
    displayName = ReadString(node, "Display Name");
}

void TCasingSize::Load(const YAML::Node& node) {
    casingSize = ReadDouble(node, "Casing Size");
    TComboBoxItem::Load(node);
}

void TChoice::Load(const YAML::Node& node) {
    value = ReadDouble(node, "Value");
    TComboBoxItem::Load(node);
}

void TSeparatorPreset::Load(const YAML::Node& node) {
    for (const ParameterEntry& entry : Parameters()) {
        if (entry.inPresets) {
            entry.Set(preset.dimensions, ReadDouble(node, entry.storedKey));
        }
    }
    TComboBoxItem::Load(node);
    preset.displayName = displayName;
}
