#include "app/window_manager/WindowManager.h"

#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/tags/App.h"
#include "app/tags/Icon.h"
#include "app/tags/Image.h"
#include "app/tags/MouseRegion.h"
#include "app/tags/PictureDecodeAhead.h"
#include "app/tags/TagManager.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/BaseView.h"
#include "common/log_manager/Log_Manager.h"

#include <algorithm>

CWindowManager* gWindowManager = nullptr;

namespace {
// The menu commands that announce an event for the controllers subscribed to it.
struct EventCommand {
    int command;
    const char* event;
};
constexpr EventCommand kEventCommands[] = {
    {CWindowManager::kCommandCopyDesign, EventName::kCopyDesign},
    {CWindowManager::kCommandExportReport, EventName::kExportReport},
    {CWindowManager::kCommandAbout, EventName::kShowAbout},
    {CWindowManager::kCommandFindSeparator, EventName::kFindSeparator},
    {CWindowManager::kCommandRiseVelocityFromFluid, EventName::kRiseVelocityFromFluid},
    {CWindowManager::kCommandOilfieldUnits, EventName::kOilfieldUnitsChosen},
    {CWindowManager::kCommandMetricUnits, EventName::kMetricUnitsChosen},
    {CWindowManager::kCommandNewCase, EventName::kNewCase},
    {CWindowManager::kCommandOpenCase, EventName::kOpenCase},
    {CWindowManager::kCommandSaveCase, EventName::kSaveCase},
    {CWindowManager::kCommandSaveCaseAs, EventName::kSaveCaseAs},
    {CWindowManager::kCommandCaseDetails, EventName::kEditCaseDetails},
    {CWindowManager::kCommandUndo, EventName::kUndo},
    {CWindowManager::kCommandRedo, EventName::kRedo},
    {CWindowManager::kCommandRenamePreset, EventName::kRenamePreset},
    {CWindowManager::kCommandDeletePreset, EventName::kDeletePreset},
};
constexpr int kUnitsGroup = 1; // the View menu's exclusive unit systems
} // namespace

CWindowManager::CWindowManager() : root_(std::make_unique<CAppView>()) {}

CWindowManager::~CWindowManager() = default;

WindowDescription CWindowManager::DescribeWindow() const {
    WindowDescription description;
    description.title = kTitle;
    // The scene is as large as the root tag's background picture.
    const TApp* root = GetTagAs<TApp>(rootTag_);
    const TImage* background = root ? GetTagAs<TImage>(root->backgroundImage) : nullptr;
    description.clientWidth = background ? background->width : kClientWidth;
    description.clientHeight = background ? background->height : kClientHeight;
    if (background && !background->bitmap.empty()) { // the middle of its left edge
        description.backgroundColour =
            background->bitmap[static_cast<size_t>(background->height / 2) * background->width];
    }
    // One item per line: text, command, shortcut.
    // Ctrl+S stays Save Preset (the button bar's key); Save Case has no key of its own.
    description.menus = {
        {"&File",
         {
             {"&New Case", kCommandNewCase, "Ctrl+N"},
             {"&Open Case...", kCommandOpenCase, "Ctrl+O"},
             {"Recent &Cases", kCommandRecentCases, "", "", true},
             {"&Save Case", kCommandSaveCase, ""},
             {"Save Case &As...", kCommandSaveCaseAs, "Ctrl+Shift+S"},
             {"Case &Details...", kCommandCaseDetails, ""},
             {"", 0, ""},
             {"&Export Report...", kCommandExportReport, "Ctrl+E"},
             {"", 0, ""},
             {"&Contact Us", kCommandContact, ""},
             {"&Reset to Defaults", kCommandResetToDefaults, ""},
             {"", 0, ""},
             {"&Exit", kCommandExit, "Ctrl+Q"},
         }},
        {"&Edit",
         {
             {"&Undo", kCommandUndo, "Ctrl+Z"},
             {"&Redo", kCommandRedo, "Ctrl+Shift+Z", "Ctrl+Y"},
             {"", 0, ""},
             {"&Copy Design", kCommandCopyDesign, "Ctrl+Shift+C"},
         }},
        {"&View",
         {
             {"Run &Pump", kCommandPumpButton, "F5", "", false, 0, true},
             {"Show &Dimensions", kCommandDimensionsButton, "Ctrl+M", "", false, 0, true},
             {"", 0, ""},
             {"&Oilfield Units", kCommandOilfieldUnits, "", "", false, kUnitsGroup},
             {"&Metric Units", kCommandMetricUnits, "", "", false, kUnitsGroup},
         }},
        {"&Tools",
         {
             {"&Find a Separator...", kCommandFindSeparator, "Ctrl+F"},
             {"Rise Velocity from &Fluid...", kCommandRiseVelocityFromFluid, ""},
             {"", 0, ""},
             {"&Save Preset...", kCommandSavePresetButton, "Ctrl+S"},
             {"&Rename Preset...", kCommandRenamePreset, ""},
             {"&Delete Preset...", kCommandDeletePreset, ""},
         }},
        {"&Help",
         {
             {"&Help", kCommandHelpButton, "F1"},
             {"Engineer's &Guide", kCommandInfoButton, "Ctrl+I"},
             {"", 0, ""},
             {"&About Gas Separator Simulator", kCommandAbout, ""},
         }}};
    // The bar's keys are its buttons' menu items; any other, and Ctrl+R, are reached by key
    // alone (a key given twice would be ambiguous, and neither would work).
    const auto inMenus = [&description](int command) {
        for (const Menu& menu : description.menus) {
            for (const MenuItem& item : menu.items) {
                if (item.command == command) {
                    return true;
                }
            }
        }
        return false;
    };
    description.accelerators = {{"Ctrl+R", kCommandRefreshTags}};
    for (const ButtonShortcut& shortcut : CButtonBarView::Shortcuts()) {
        if (description.accelerators.back().command != shortcut.command && // pairs share one
            !inMenus(shortcut.command)) {
            description.accelerators.push_back({shortcut.keys, shortcut.command});
        }
    }
    const TApp* app = GetTagAs<TApp>(rootTag_);
    if (const TIcon* icon = app ? GetTagAs<TIcon>(app->icon) : nullptr) {
        description.largeIcon = icon->largeIcon;
        description.smallIcon = icon->smallIcon;
    }
    return description;
}

void CWindowManager::Init() {
    running_ = true;
    quitPosted_ = false;
    initSteps_ = {};
    {
        // The pictures decoded and then the tag files parsed on a second core while the tags
        // load (the parse-ahead goes last: the worker stops before it).
        CTagParseAhead documents(kRootTag, TagManager() ? TagManager()->TagDirectory() : "");
        const CPictureDecodeAhead pictures(&documents);
        rootTag_ = LoadTag(kRootTag);
    }
    initSteps_.Lap("tags_and_pictures");
    window_ = Platform().mainWindow;
    if (window_) {
        window_->Open(DescribeWindow(), this);
    }
    initSteps_.Lap("window");
    root_->Init(window_, ViewName::kApp);
    root_->Configure(rootTag_);
    initSteps_.Lap("views");
}

void CWindowManager::Update(double seconds) {
    if (window_) {
        window_->PumpMessages();
    }
    if (quitPosted_) {
        running_ = false; // this pass still runs to its end
    }
    for (size_t i = 0; i < views_.size(); ++i) {
        if (CBaseView* view = views_[i].second) {
            view->Update(seconds);
        }
    }
    root_->Render();
}

void CWindowManager::Redraw() {
    if (window_) {
        window_->PumpMessages(); // the new size is laid out before the scene is drawn at it
    }
    root_->Render();
}

void CWindowManager::Shutdown() {
    root_->Shutdown();
}

void CWindowManager::RegisterView(CBaseView* view, const std::string& name) {
    views_.emplace_back(name, view);
}

void CWindowManager::UnregisterView(const std::string& name) {
    std::erase_if(views_, [&](const auto& entry) { return entry.first == name; });
}

CBaseView* CWindowManager::FindView(const std::string& name) const {
    for (const auto& [entryName, view] : views_) {
        if (entryName == name) {
            return view;
        }
    }
    WarnMissingView(name, "is not registered");
    return nullptr;
}

void CWindowManager::WarnMissingView(const std::string& name, const char* why) const {
    if (missingViewsWarned_.insert(name).second) {
        LOG_WARNING("CWindowManager", "The view \"%s\" %s; its use is skipped", name.c_str(), why);
    }
}

void CWindowManager::AddMouseRegion(const std::string& name, TagHandle tag) {
    regions_.push_back(std::make_shared<MouseRegion>(MouseRegion{tag, name, false}));
}

void CWindowManager::RemoveMouseRegions(const std::string& name) {
    std::erase_if(regions_, [&](const RegionPtr& region) { return region->name == name; });
}

namespace {
// Strict on every side: the region's edges are outside it.
bool Contains(const MouseRegion& region, int x, int y) {
    const TMouseRegion* tag = GetTagAs<TMouseRegion>(region.tag);
    return tag && tag->absX < x && x < tag->absX + tag->width && tag->absY < y &&
           y < tag->absY + tag->height;
}
} // namespace

CWindowManager::RegionPtr CWindowManager::HitRegion(int x, int y) const {
    RegionPtr hit; // the last one wins: later regions lie on top
    for (const RegionPtr& region : regions_) {
        if (Contains(*region, x, y)) {
            hit = region;
        }
    }
    return hit;
}

const MouseRegion* CWindowManager::HitTest(int x, int y) const {
    return HitRegion(x, y).get();
}

CBaseView* CWindowManager::ViewOf(const RegionPtr& region) const {
    return region ? FindView(region->name) : nullptr;
}

void CWindowManager::UpdateHover(int x, int y) {
    if (hover_ && hover_->pressed) {
        return; // the pressed region has captured the mouse
    }
    RegionPtr hit = HitRegion(x, y);
    if (hit == hover_) {
        return;
    }
    if (CBaseView* view = ViewOf(hover_)) {
        view->OnMouseLeave(hover_->tag);
    }
    if (CBaseView* view = ViewOf(hit)) {
        view->OnMouseEnter(hit->tag);
    }
    hover_ = std::move(hit);
}

void CWindowManager::OnMouseMove(int x, int y) {
    UpdateHover(x, y);
}

void CWindowManager::OnLeftButtonDown(int x, int y) {
    UpdateHover(x, y);
    if (RegionPtr region = hover_) {
        region->pressed = true;
        if (CBaseView* view = ViewOf(region)) {
            view->OnMouseButtonDown(region->tag);
        }
    }
}

// A click on the canvas takes the focus from any field (leaving it tidies its text) before
// the click is handled, so a dialog the click opens can give the focus to its own box; with a
// dialog open, its box has it back.
void CWindowManager::OnLeftButtonUp(int x, int y) {
    UpdateHover(x, y);
    if (window_) {
        window_->FocusMainWindow();
    }
    if (CDialogView* dialog = root_->TopDialog()) {
        dialog->TakeFocus();
    }
    if (RegionPtr region = hover_) { // a copy: the callbacks may change the regions
        region->pressed = false;
        if (CBaseView* view = ViewOf(region)) {
            view->OnMouseButtonUp(region->tag);
        }
        if (HitRegion(x, y) == region) {
            if (CBaseView* view = ViewOf(region)) {
                view->OnMouseClick(region->tag);
            }
        }
    }
}

void CWindowManager::OnFilesDropped(const std::vector<std::string>& paths) {
    if (!paths.empty()) {
        droppedCase_ = paths.front();
        RaiseEvent(EventName::kOpenDroppedCase);
    }
}

void CWindowManager::OnCommand(int id) {
    for (const EventCommand& command : kEventCommands) {
        if (command.command == id) {
            RaiseEvent(command.event);
            return;
        }
    }
    if (id >= kCommandRecentCase && id < kCommandRecentCase + kRecentCases) {
        chosenRecentCase_ = id - kCommandRecentCase;
        RaiseEvent(EventName::kOpenRecentCase);
        return;
    }
    switch (id) {
    case kCommandExit:
        if (!OnCloseRequested()) {
            break;
        }
        if (window_) {
            window_->Destroy(); // the destruction posts the quit
        } else {
            OnDestroy();
        }
        break;
    case kCommandRefreshTags:
        RefreshTags();
        break;
    case kCommandContact:
        OpenContact();
        break;
    case kCommandResetToDefaults:
        ResetToDefaults();
        break;
    default:
        for (size_t i = 0; i < views_.size(); ++i) {
            if (views_[i].second && views_[i].second->HandleCommand(id) != 0) {
                break;
            }
        }
        break;
    }
}

bool CWindowManager::OnCloseRequested() {
    quitRefused_ = false;
    RaiseEvent(EventName::kQuitRequested);
    return !quitRefused_;
}

void CWindowManager::SetTitle(const std::string& title) {
    if (window_) {
        window_->SetTitle(title);
    }
}

void CWindowManager::SetCommandEnabled(int command, bool enabled) {
    if (window_) {
        window_->SetCommandEnabled(command, enabled);
    }
}

void CWindowManager::SetRecentCases(const std::vector<std::string>& texts) {
    std::vector<MenuItem> items;
    for (size_t i = 0; i < texts.size() && i < kRecentCases; ++i) {
        items.push_back({texts[i], kCommandRecentCase + static_cast<int>(i), ""});
    }
    if (window_) {
        window_->SetSubmenu(kCommandRecentCases, items);
    }
}

void CWindowManager::OnDestroy() {
    quitPosted_ = true; // the next pump sees the quit
}

void CWindowManager::OnDialogKey(DialogKey key) {
    RaiseEvent(key == DialogKey::Accept ? EventName::kDialogAccept : EventName::kDialogCancel);
}

std::string CWindowManager::TooltipAt(int x, int y) const {
    if (const CBaseView* view = ViewOf(HitRegion(x, y))) {
        return view->Tooltip();
    }
    if (!root_->IsInteractive()) {
        return {}; // the panel is a still picture under a dialog
    }
    for (const auto& [name, view] : views_) {
        if (view && view->ShowsTooltipAt(x, y)) {
            return view->Tooltip();
        }
    }
    return {};
}

void CWindowManager::RefreshTags() {
    LOG_DEBUG("CWindowManager", "Refreshing tags - Begin");
    if (window_) {
        window_->BackBuffer().ForgetPictures(); // the pictures it knows are freed below
    }
    try {
        const CPictureDecodeAhead pictures;
        RefreshTag(rootTag_);
    } catch (const TagError& error) {
        ReportRefreshFailure(error);
    } catch (const std::exception& error) { // not expected from the tag system; still survived
        ReportRefreshFailure(TagError(TagManager()->TagDirectory() + kRootTag, 0, 0, error.what()));
    }
    // Reconfigured lists announce their reset selection; listeners that must not take it for
    // the user's choice ask IsRefreshingTags.
    refreshingTags_ = true;
    root_->Configure(rootTag_);
    refreshingTags_ = false;
    RaiseEvent(EventName::kTagsReloaded);
    ReleaseFreeMemory(); // the old tags' pictures, freed on the decoding thread's heap too
    LOG_DEBUG("CWindowManager", "Refreshing tags - End");
}

// A refresh that fails part-way has replaced some tags with fresh, unplaced copies. The
// tree is placed again so every view keeps drawing where it belongs, the program goes on
// with whatever did load, and the user is told which file is wrong.
void CWindowManager::ReportRefreshFailure(const TagError& error) {
    LOG_ERROR("CWindowManager", "Tag refresh failed: %s", error.what());
    if (Tag* root = GetTag(rootTag_)) {
        root->OnLoaded();
    }
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage("Tag Error",
                           "The tags could not be reloaded: " + error.Explain() +
                               "\n\nThe program goes on with the tags that did load.",
                           MessageIcon::Exclamation);
    }
}

void CWindowManager::ResetToDefaults() {
    RaiseEvent(EventName::kResetToDefaults);
}

void CWindowManager::OpenContact() {
    if (window_) {
        window_->FocusMainWindow();
    }
    RaiseEvent(EventName::kOpenContactDialog);
}
