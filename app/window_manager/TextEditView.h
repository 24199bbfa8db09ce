#pragma once
// A one-line text box: a native edit control placed and styled from its tag. Typing or
// setting its text raises the tag's "Text Changed Event"; gaining and losing the keyboard
// focus raise "<name> Focus" and "<name> Lose Focus". A read-only box raises nothing and
// never takes the focus.

#include "app/platform/Canvas.h"
#include "app/window_manager/BaseView.h"

#include <cstdint>
#include <memory>
#include <string>

class INativeTextEdit;
class TTextEdit;

class CTextEditView : public CBaseView {
public:
    CTextEditView();
    ~CTextEditView() override;

    // Creates the native control (hidden until configured) and registers the view.
    void Init(IMainWindow* window, const std::string& name, int identifier);
    // Places, styles and shows the control. Only the first call puts the tag's default
    // text in; later calls keep whatever the box holds.
    void Configure(TagHandle tag) override;

    // Replaces the text; the change is reported as typing would be.
    void SetText(const std::string& text);
    std::string GetText() const;
    // An invalid box draws its text in the tag's error colour.
    void SetValid(bool valid);
    bool IsValid() const { return valid_; }
    bool IsReadOnly() const { return readOnly_; }
    // Until the next Configure, which takes the tag's setting again.
    void SetReadOnly(bool readOnly);
    int Identifier() const { return identifier_; }

    // The caption the owner draws beside the box: the quantity and, below it, its detail and
    // unit ("Outside diameter", "separator OD, in").
    void SetCaption(const std::string& caption, const std::string& detail) {
        caption_ = caption;
        captionDetail_ = detail;
    }
    const std::string& Caption() const { return caption_; }
    const std::string& CaptionDetail() const { return captionDetail_; }

    // Also shown by the native control.
    void SetTooltip(const std::string& text) override;
    void Show();
    void Hide();
    bool IsVisible() const;
    // Gives the box the keyboard focus.
    void Focus();
    bool HasFocus() const;
    void Invalidate();
    // Destroys the native control, then unregisters the view.
    void Shutdown() override;

    const char* Kind() const override { return "text_edit"; }
    void DescribeState(ViewState& state) const override;

    // The native control, for the owner's Tab order; null before Init and after Shutdown.
    INativeTextEdit* Control() const { return control_.get(); }

private:
    // Font, place, size and margins from the tag.
    void ApplyStyle(const TTextEdit& edit);
    void OnChanged() const;
    void OnFocus(const char* suffix) const;
    void ApplyTextColour();

    std::unique_ptr<INativeTextEdit> control_;
    int identifier_ = 0;
    bool textSet_ = false;
    bool readOnly_ = false;
    bool valid_ = true;
    // The last font a tag gave; a tag without one leaves the control's font as it was.
    std::string fontName_;
    int fontSize_ = 0;
    std::string caption_;
    std::string captionDetail_;
};

// A tag colour's components packed as 0xFFRRGGBB; only the low eight bits of each count.
std::uint32_t PackColour(int r, int g, int b);
// The pixels of an image tag; empty when the handle is no image or the image is empty.
ImageRef TagImageRef(TagHandle image);
