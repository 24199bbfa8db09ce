#pragma once
// A warning card shown next to a bad input: a picture, and optionally a title and a text drawn
// over it at run time in the styles of two notice tags (their X and Y are offsets from the
// card's origin). The program may replace either text (a range warning's text names the limits
// in the units shown).

#include "app/tags/Tag.h"

#include <string>

class TWarning : public TPlaceable {
public:
    std::string name;              // the view name it is known by ("SPM Range Warning View")
    TagHandle backgroundImage = 0; // TImage
    double lifespan = 0.0;         // seconds until it hides itself; 0 or less: stays
    std::string title;
    TagHandle titleStyle = 0; // TNotice; optional
    std::string text;
    TagHandle textStyle = 0; // TNotice; optional

    void Load(const YAML::Node& node) override;
    // Also places the text styles, which makes their fonts (their own X and Y stay offsets).
    void Place(int parentX, int parentY) override;
};
