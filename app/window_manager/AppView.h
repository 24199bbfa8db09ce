#pragma once
// The root view: the fixed tree of top-level views, the back buffer and the per-frame
// render. Registered as "App", after all its children.

#include "app/window_manager/BaseView.h"
#include "app/window_manager/ButtonBarView.h"
#include "app/window_manager/ContactView.h"
#include "app/window_manager/GasSeparatorView.h"
#include "app/window_manager/HeaderBarView.h"
#include "app/window_manager/HelpView.h"
#include "app/window_manager/ParametersPanelView.h"
#include "app/window_manager/SavePresetView.h"
#include "app/window_manager/WarningView.h"

#include <array>

class CAppView : public CBaseView {
public:
    static constexpr int kWarningCount = 12;
    // The warnings' view names, in the order of the root tag's warning keys.
    static const std::array<const char*, kWarningCount> kWarningNames;

    void Init(IMainWindow* window, const std::string& name);
    void Configure(TagHandle tag);
    // Draws a whole frame into the window's back buffer and shows it.
    void Render();
    // Draws a whole frame: the background copied as it is, then the children, later ones on
    // top, the dialogs last.
    void Draw(ICanvas& canvas) const;
    void Shutdown() override;

    // A dialog opens: interaction off, the parameters panel's native controls hidden.
    void SuspendInteraction();
    // The dialog closed: interaction on, the native controls shown again.
    void ResumeInteraction();
    bool IsInteractive() const { return interactive_; }
    CParametersPanelView& ParametersPanel() { return parametersPanel_; }

    const char* Kind() const override { return "app"; }
    void DescribeState(ViewState& state) const override;

private:
    bool interactive_ = true;
    CButtonBarView buttonBar_;
    CGasSeparatorView gasSeparator_;
    CHeaderBarView headerBar_;
    CParametersPanelView parametersPanel_;
    std::array<CWarningView, kWarningCount> warnings_;
    CContactView contact_;
    CHelpView help_;
    CSavePresetView savePreset_;
};
