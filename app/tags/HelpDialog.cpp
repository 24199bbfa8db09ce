#include "app/tags/HelpDialog.h"

#include "app/tags/Tags.h"

void THelpDialog::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    closeButton = ReadRefAs<TButton>(node, "Close Button", "TButton");
    emailButton = ReadRefAs<TButton>(node, "Email Button", "TButton");
}

void THelpDialog::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    PlaceChild(closeButton, absX, absY);
    PlaceChild(emailButton, absX, absY);
}
