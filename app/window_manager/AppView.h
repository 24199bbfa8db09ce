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
#include <vector>

class TApp;

class CAppView : public CBaseView {
public:
    static constexpr int kWarningCount = 12;
    // The warnings' view names, in the order of the root tag's warning keys.
    static const std::array<const char*, kWarningCount> kWarningNames;

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
    CParametersPanelView& ParametersPanel() { return parametersPanel_; }
    // The open dialog drawn on top, or null.
    CDialogView* TopDialog() const;

    const char* Kind() const override { return "app"; }
    void DescribeState(ViewState& state) const override;

private:
    // A child view, the root tag's key it is configured from, and its place in the drawing
    // order (later ones on top).
    struct Child {
        CBaseView* view;
        const char* name;
        TagHandle TApp::*tag;
        int drawRank;
    };

    bool interactive_ = true;
    CButtonBarView buttonBar_;
    CGasSeparatorView gasSeparator_;
    CHeaderBarView headerBar_;
    CParametersPanelView parametersPanel_;
    std::array<CWarningView, kWarningCount> warnings_;
    CContactView contact_;
    CHelpView help_;
    CSavePresetView savePreset_;
    CNoticeView aboveCapacity_;
    // Every child in the order they are initialised, configured and shut down; the same
    // children but the dialogs in drawing order; and the dialogs.
    std::vector<Child> children_;
    std::vector<const CBaseView*> drawOrder_;
    std::array<CDialogView*, 3> dialogs_;
};
