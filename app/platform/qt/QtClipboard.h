#pragma once
// The clipboard of the Qt application (the desktop's, or the process's own when offscreen).

#include "app/platform/Clipboard.h"

class CQtClipboard : public IClipboard {
public:
    void SetText(const std::string& utf8) override;
    std::string Text() const override;
};
