#include "app/tags/ContactDialog.h"

#include "app/tags/Tags.h"

void TContactDialog::Load(const YAML::Node& node) {
    x = ReadInt(node, "X");
    y = ReadInt(node, "Y");
    backgroundImage = ReadRefAs<TImage>(node, "Background Image", "TImage");
    closeButton = ReadRefAs<TButton>(node, "Close Button", "TButton");
    emailButton = ReadRefAs<TButton>(node, "Email Button", "TButton");
    websiteButton = ReadRefAs<TButton>(node, "Website Button", "TButton");
}

void TContactDialog::Place(int parentX, int parentY) {
    TPlaceable::Place(parentX, parentY);
    for (const TagHandle button : {closeButton, emailButton, websiteButton}) {
        PlaceChild(button, absX, absY);
    }
}
