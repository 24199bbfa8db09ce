#pragma once
// A text entry box.

#include "app/platform/ScreenFont.h"
#include "app/tags/Tag.h"

#include <memory>
#include <string>

class TTextEdit : public TPlaceable {
public:
    std::string name; // the view name, for boxes listed by a panel
    int width = 0;
    int height = 0;
    int leftMargin = 0;
    int topMargin = 0;
    std::string defaultText;
    std::string textChangedEvent;
    TagHandle backgroundImage = 0; // TImage, optional
    std::string fontName;
    int fontSize = 0;
    bool readOnly = false;
    int textColorR = 0;
    int textColorG = 0;
    int textColorB = 0;
    int errorTextColorR = 255;
    int errorTextColorG = 0;
    int errorTextColorB = 0;
    // Where a caption drawn at run time starts, from the box's X (negative: left of it); 0: the
    // box has no caption.
    int captionX = 0;
    std::unique_ptr<IScreenFont> screenFont; // created at placement; may be empty

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
