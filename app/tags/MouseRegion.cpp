#include "app/tags/MouseRegion.h"

#include "app/tags/TagReader.h"

void TMouseRegion::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    width = ReadInt(node, "Width");
    height = ReadInt(node, "Height");
    clickEvent = ReadString(node, "Click Event");
}
