#include "app/tags/Warning.h"

#include "app/tags/Tags.h"

void TWarning::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    lifespan = ReadDouble(node, "Lifespan");
}
