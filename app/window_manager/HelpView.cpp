#include "app/window_manager/HelpView.h"

#include "app/services/ContactDetails.h"
#include "app/tags/HelpDialog.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"

void CHelpView::Init(IMainWindow* window, const std::string& name) {
    InitDialog(window, name,
               {{ViewName::kHelpDialogCloseButton, kCloseTooltip},
                {ViewName::kHelpDialogEmailButton,
                 std::string("Write to ") + ContactDetails::kSupportEmail}});
}

void CHelpView::Configure(TagHandle tag) {
    const THelpDialog* dialog = GetTagAs<THelpDialog>(tag);
    ConfigureDialog(tag, dialog ? std::vector<TagHandle>{dialog->closeButton, dialog->emailButton}
                                : std::vector<TagHandle>{});
}

TagHandle CHelpView::BackgroundImage() const {
    const THelpDialog* dialog = GetTagAs<THelpDialog>(tag_);
    return dialog ? dialog->backgroundImage : 0;
}
