#pragma once
// Outlined text anchored at a point whose Y is the baseline.

#include "app/platform/ScreenFont.h"
#include "app/tags/Tag.h"

#include <cstdint>
#include <memory>
#include <string>

class TLabel : public TPlaceable {
public:
    std::string name; // optional; a panel's labels are found by it
    std::string defaultText;
    std::string unit; // drawn after the text
    uint32_t fillColor = 0xFFFFFFFF;
    int fillAlpha = 255;
    // The fill while the program marks the text as an alert (a failing verdict, a dip tube
    // shorter than recommended); the fill colour itself when the tag gives none.
    uint32_t alertFillColor = 0xFFFFFFFF;
    uint32_t strokeColor = 0xFFFFFFFF;
    int strokeAlpha = 255;
    double strokeWidth = 0.0;
    std::string fontName;
    int fontSize = 0;
    // "Left": text starts at X; "Right": text ends at X; any other value: centred on X.
    std::string horizontalAlignment = "Center";
    std::unique_ptr<IScreenFont> screenFont; // created at placement; may be empty

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};

// A label whose text wraps at blanks into lines no wider than the wrap width, each line the
// line height below the one before (or, shrunk to fit, stays on one line). Also the style of
// texts other views draw: captions, a warning card's title and text.
class TNotice : public TLabel {
public:
    int wrapWidth = 0; // pixels; 0 or less: one line
    int lineHeight = 0;
    // Instead of wrapping, a smaller font (down to 9 pixels) keeps the text on one line.
    bool shrinkToFit = false;

    void Load(const YAML::Node& node) override;
};
