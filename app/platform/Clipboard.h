#pragma once
// The desktop's clipboard, for plain text.

#include <string>

class IClipboard {
public:
    virtual ~IClipboard() = default;
    // Replaces the clipboard's contents with `utf8` as plain text.
    virtual void SetText(const std::string& utf8) = 0;
    // The clipboard's plain text; empty when it holds none.
    virtual std::string Text() const = 0;
};
