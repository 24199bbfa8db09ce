#pragma once
// A panel of inputs: its picture, the text boxes its tag lists (each with a caption drawn beside
// it), its named lists, buttons and labels, and their Tab order. While a dialog is open the
// native controls are hidden, the buttons deaf, and the panel shows a still picture of itself
// instead. The parameters panel adds its preset lists and read-outs.

#include "app/platform/Canvas.h"
#include "app/window_manager/BaseView.h"
#include "app/window_manager/ButtonView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/LabelView.h"
#include "app/window_manager/TextEditView.h"

#include <memory>
#include <string>
#include <vector>

class INativeControl;

// A native control's place in the Tab order: its top, then its left edge, in window
// coordinates.
struct TabStop {
    int y;
    int x;
    INativeControl* control;
};

class CFieldPanelView : public CBaseView {
public:
    // `firstIdentifier`: the native identifier of the first box; the others follow in order.
    explicit CFieldPanelView(int firstIdentifier) : firstIdentifier_(firstIdentifier) {}

    void Init(IMainWindow* window, const std::string& name) override;
    // Makes the boxes the tag lists (anew when their names changed) and configures them.
    void Configure(TagHandle tag) override;
    // The still picture when there is one; otherwise the background and the captions (the
    // native controls paint themselves), then what a derived panel draws over them.
    void Draw(ICanvas& canvas) const override;
    // Takes a picture of the panel as it is on screen, typed text included, then hides the
    // controls. While they are already hidden the picture taken first is kept.
    void HideControls();
    // Drops the picture and shows the controls again.
    void ShowControls();
    bool HasSnapshot() const { return !snapshot_.pixels.empty(); }
    const PixelBuffer& Snapshot() const { return snapshot_; }
    // Shuts the controls down, then unregisters the panel.
    void Shutdown() override;

    // The boxes in the tag's order; rebuilt when a tag refresh changes the list, so holders
    // look them up again after "Tags Reloaded".
    const std::vector<std::unique_ptr<CTextEditView>>& Fields() const { return fields_; }
    // The box of that name, or null.
    CTextEditView* Field(const std::string& name) const;
    // The list, button or label of that name the tag lists, or null; rebuilt like the boxes.
    CComboBoxView* List(const std::string& name) const;
    CButtonView* Button(const std::string& name) const;
    CLabelView* Label(const std::string& name) const;
    // The panel's controls in their Tab order, from top to bottom.
    virtual std::vector<TabStop> TabStops() const;

    const char* Kind() const override { return "panel"; }
    void DescribeState(ViewState& state) const override;

protected:
    // What a derived panel draws over the background and the captions.
    virtual void DrawOver(ICanvas&) const {}
    // A derived panel's own native controls: made to repaint before a snapshot, hidden and
    // shown with the boxes.
    virtual void InvalidateControls() {}
    virtual void SetControlsVisible(bool) {}
    static void AddStop(std::vector<TabStop>& stops, TagHandle tag, INativeControl* control);

private:
    void TakeSnapshot();
    template <class View, class TagClass>
    void ConfigureNamed(std::vector<std::unique_ptr<View>>& views,
                        const std::vector<TagHandle>& tags, int firstIdentifier);
    void ShutdownMembers();
    void DrawCaption(ICanvas& canvas, const CTextEditView& field) const;

    int firstIdentifier_;
    PixelBuffer snapshot_;
    int snapshotX_ = 0;
    int snapshotY_ = 0;
    bool controlsHidden_ = false;
    std::vector<std::unique_ptr<CTextEditView>> fields_;
    std::vector<std::unique_ptr<CComboBoxView>> lists_;
    std::vector<std::unique_ptr<CButtonView>> buttons_;
    std::vector<std::unique_ptr<CLabelView>> labels_;
};
