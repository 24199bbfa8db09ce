#pragma once
// The root view: the fixed tree of top-level views, the back buffer and the per-frame
// render. Registered as "App", after all its children.

#include "app/window_manager/BaseView.h"
#include "app/window_manager/ButtonBarView.h"
#include "app/window_manager/ContactView.h"
#include "app/window_manager/GasSeparatorView.h"
#include "app/window_manager/HeaderBarView.h"
#include "app/window_manager/HelpView.h"
#include "app/window_manager/NoticeView.h"
#include "app/window_manager/ParametersPanelView.h"
#include "app/window_manager/SavePresetView.h"
#include "app/window_manager/WarningView.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TApp;

class CAppView : public CBaseView {
public:
    static constexpr int kFirstFlowFieldIdentifier = 120;

    CAppView();

    void Init(IMainWindow* window, const std::string& name) override;
    void Configure(TagHandle tag) override;
    // Draws a frame into the window's back buffer and shows what changed; while the window is
    // not showing (minimised or hidden) nothing is drawn.
    void Render();
    // Draws a whole frame: the background copied as it is, then the children, later ones on
    // top, the dialogs last in the order they were opened.
    void Draw(ICanvas& canvas) const override;
    void Shutdown() override;

    // A dialog opens: interaction off, the parameters panel's native controls hidden.
    void SuspendInteraction();
    // The dialog closed: interaction on, the native controls shown again.
    void ResumeInteraction();
    bool IsInteractive() const { return interactive_; }
    // The values behind the panels changed while their controls are hidden under a dialog: the
    // next frame pictures the panels again (without the dialogs) before drawing.
    void PanelsChanged() { panelsStale_ = !interactive_; }
    CParametersPanelView& ParametersPanel() { return parametersPanel_; }
    CFieldPanelView& FlowPanel() { return flowPanel_; }
    // The text box of that name in either panel, or null.
    CTextEditView* Field(const std::string& name) const;
    // The list, button or label of that name in either panel, or null.
    CComboBoxView* List(const std::string& name) const;
    CButtonView* PanelButton(const std::string& name) const;
    CLabelView* Label(const std::string& name) const;
    // The open dialog drawn on top, or null.
    CDialogView* TopDialog() const;
    // The warning the root tag lists under this name, or null. The warnings are rebuilt when a
    // tag refresh changes the list, so holders look them up again after "Tags Reloaded".
    CWarningView* Warning(const std::string& name) const;
    const std::vector<std::unique_ptr<CWarningView>>& Warnings() const { return warnings_; }
    CButtonBarView& ButtonBar() { return buttonBar_; }
    CGasSeparatorView& GasSeparator() { return gasSeparator_; }
    CNoticeView& AboveCapacityNotice() { return aboveCapacity_; }
    CDialogView* Dialog(const std::string& name) const;
    CSavePresetView& SavePresetDialog() { return savePreset_; }

    const char* Kind() const override { return "app"; }
    void DescribeState(ViewState& state) const override;

private:
    // Everything but the dialogs.
    void DrawScene(ICanvas& canvas) const;
    void RepicturePanels(ICanvas& canvas);
    // A child view, its name and the root tag's member it is configured from.
    struct Child {
        CBaseView* view;
        const char* name;
        TagHandle TApp::*tag;
    };

    // Makes the warnings the root tag lists (anew when their names changed) and configures them.
    void ConfigureWarnings(const TApp& app);
    // Tab walks the parameters panel from top to bottom, then the flow panel.
    void ChainTabOrder();
    // Moves the cards that show down, in the order of their places, until none covers another.
    void LayOutWarnings();
    bool IsDialog(const CBaseView* view) const;

    bool interactive_ = true;
    bool panelsStale_ = false;
    CButtonBarView buttonBar_;
    CGasSeparatorView gasSeparator_;
    CHeaderBarView headerBar_;
    CParametersPanelView parametersPanel_;
    CFieldPanelView flowPanel_{kFirstFlowFieldIdentifier};
    std::vector<std::unique_ptr<CWarningView>> warnings_; // in drawing order
    CContactView contact_;
    CHelpView help_;
    CSavePresetView savePreset_;
    CNoticeView aboveCapacity_;
    // Every child but the warnings in the order they are initialised, configured, shut down
    // and drawn (the warnings after them, then the dialogs in the order they were opened).
    std::vector<Child> children_;
    std::array<CDialogView*, 3> dialogs_;
};
