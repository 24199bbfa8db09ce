#include "app/window_manager/ContactView.h"

#include "app/services/ContactDetails.h"
#include "app/tags/ContactDialog.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"

void CContactView::Init(IMainWindow* window, const std::string& name) {
    InitDialog(
        window, name,
        {{ViewName::kContactDialogCloseButton, kCloseTooltip},
         {ViewName::kContactDialogEmailButton,
          std::string("Write to ") + ContactDetails::kGeneralEmail},
         {ViewName::kContactDialogWebsiteButton, std::string("Open ") + ContactDetails::kWebsite}});
}

void CContactView::Configure(TagHandle tag) {
    const TContactDialog* dialog = GetTagAs<TContactDialog>(tag);
    ConfigureDialog(tag, dialog ? std::vector<TagHandle>{dialog->closeButton, dialog->emailButton,
                                                         dialog->websiteButton}
                                : std::vector<TagHandle>{});
}

TagHandle CContactView::BackgroundImage() const {
    const TContactDialog* dialog = GetTagAs<TContactDialog>(tag_);
    return dialog ? dialog->backgroundImage : 0;
}
