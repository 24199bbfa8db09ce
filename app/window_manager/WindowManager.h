#pragma once
// The window manager: the main window and its menu, the message pump, the registry of named
// views, the mouse router, the tag refresh command and the root view.
//
// Error policy of the view layer: views and the window manager never throw. A view that is
// looked up and not found is logged at Warning and skipped; a tag refresh that fails is shown
// to the user and the running tree is kept; a platform failure that cannot be survived (no
// memory for the back buffer) goes through ReportFatalError.

#include "app/platform/Window.h"
#include "app/services/GlobalService.h"
#include "app/services/StepTimes.h"
#include "app/tags/Tag.h"

#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class CAppView;
class CBaseView;
class TagError;

// A hit rectangle of a view: the rectangle is read from the region tag at every hit test.
struct MouseRegion {
    TagHandle tag = 0;
    std::string name; // the owning view's name
    bool pressed = false;
};

class CWindowManager : public IWindowListener {
public:
    static constexpr int kCommandExit = 1025;
    static constexpr int kCommandRefreshTags = 1026;
    static constexpr int kCommandContact = 1027;
    static constexpr int kCommandResetToDefaults = 1028;
    // The button bar's shortcuts (CButtonBarView::Shortcuts) and the Help menu.
    static constexpr int kCommandPumpButton = 1040;
    static constexpr int kCommandDimensionsButton = 1041;
    static constexpr int kCommandSavePresetButton = 1042;
    static constexpr int kCommandInfoButton = 1043;
    static constexpr int kCommandHelpButton = 1044;
    static constexpr int kCommandAbout = 1045;
    static constexpr int kCommandCopyDesign = 1050;
    static constexpr int kCommandExportReport = 1051;
    static constexpr int kCommandFindSeparator = 1052;
    static constexpr int kCommandRiseVelocityFromFluid = 1053;
    // Cases, undo and the user's presets.
    static constexpr int kCommandNewCase = 1060;
    static constexpr int kCommandOpenCase = 1061;
    static constexpr int kCommandSaveCase = 1062;
    static constexpr int kCommandSaveCaseAs = 1063;
    static constexpr int kCommandCaseDetails = 1064;
    static constexpr int kCommandRecentCases = 1065; // the submenu
    static constexpr int kCommandUndo = 1066;
    static constexpr int kCommandRedo = 1067;
    static constexpr int kCommandRenamePreset = 1068;
    static constexpr int kCommandDeletePreset = 1069;
    // The recent cases' items: the first, the first + 1, ...
    static constexpr int kCommandRecentCase = 1070;
    static constexpr int kRecentCases = 8;
    static constexpr int kCommandOilfieldUnits = 1080;
    static constexpr int kCommandMetricUnits = 1081;
    // The scene's size when the root tag has no background picture to take it from.
    static constexpr int kClientWidth = 1300;
    static constexpr int kClientHeight = 720;
    static constexpr const char* kTitle = "((quillmore)) Gas Separator Simulator";
    static constexpr const char* kRootTag = "app.app.yml";

    CWindowManager();
    ~CWindowManager() override;

    // Loads the root tag, opens the main window (Platform().mainWindow) and builds the view
    // tree. A root tag that does not load throws TagError before any window opens.
    void Init();
    // How long the last Init's steps took: the tags with their pictures, the window, the views.
    const CStepTimes& InitSteps() const { return initSteps_; }
    // One main-loop pass: pump the messages, update every view, render.
    void Update(double seconds);
    // Draws the scene again as it is, no time passing (the window changed size).
    void Redraw();
    // Shuts the view tree down.
    void Shutdown();
    bool IsRunning() const { return running_; }
    // True while a tag refresh reconfigures the views.
    bool IsRefreshingTags() const { return refreshingTags_; }

    void RegisterView(CBaseView* view, const std::string& name);
    // Removes every entry with exactly this name.
    void UnregisterView(const std::string& name);
    // The first view registered under exactly this name, or nullptr. A miss is logged at
    // Warning, once per name.
    CBaseView* FindView(const std::string& name) const;
    // FindView as class T; a view of another class counts as a miss.
    template <class T> T* FindViewAs(const std::string& name) const {
        CBaseView* view = FindView(name);
        T* typed = dynamic_cast<T*>(view);
        if (view && !typed) {
            WarnMissingView(name, "is not of the class asked for");
        }
        return typed;
    }
    const std::vector<std::pair<std::string, CBaseView*>>& Views() const { return views_; }

    void AddMouseRegion(const std::string& name, TagHandle tag);
    // Removes every region with this name; a removed hover region stays the hover until the
    // next hover update sends it leave.
    void RemoveMouseRegions(const std::string& name);
    // The last region containing the point, or nullptr.
    const MouseRegion* HitTest(int x, int y) const;
    const MouseRegion* Hover() const { return hover_.get(); }

    IMainWindow* GetWindowHandle() const { return window_; }
    CAppView& RootView() { return *root_; }
    TagHandle RootTag() const { return rootTag_; }

    // The title bar, greyed menu items and the recent cases' submenu (their texts; an item
    // raises EventName::RecentCase(index)).
    void SetTitle(const std::string& title);
    void SetCommandEnabled(int command, bool enabled);
    void SetRecentCases(const std::vector<std::string>& texts);
    // While "Quit Requested" is being answered: keeps the program running.
    void RefuseQuit() { quitRefused_ = true; }
    // The recent case chosen last (its index), for the "Open Recent Case" handler.
    int ChosenRecentCase() const { return chosenRecentCase_; }
    // The file dropped on the window last, for the "Open Dropped Case" handler.
    const std::string& DroppedCase() const { return droppedCase_; }

    // The command handlers.
    void RefreshTags();
    void ResetToDefaults();
    void OpenContact();

    // Window input and commands (the window procedure).
    void OnMouseMove(int x, int y) override;
    void OnLeftButtonDown(int x, int y) override;
    void OnLeftButtonUp(int x, int y) override;
    void OnCommand(int id) override;
    void OnDestroy() override;
    // Asks the subscribers of "Quit Requested" (unsaved changes); false when one refused.
    bool OnCloseRequested() override;
    void OnDialogKey(DialogKey key) override;
    // The first file dropped is opened as a case; a file manager may hand several.
    void OnFilesDropped(const std::vector<std::string>& paths) override;
    // The hovered button's tooltip, else that of a view drawn there (while no dialog is open).
    std::string TooltipAt(int x, int y) const override;
    // The window as it is created: its title, size, menus and the keys of its commands.
    WindowDescription DescribeWindow() const;

private:
    using RegionPtr = std::shared_ptr<MouseRegion>;

    RegionPtr HitRegion(int x, int y) const;
    void UpdateHover(int x, int y);
    CBaseView* ViewOf(const RegionPtr& region) const;
    void ReportRefreshFailure(const TagError& error);
    void WarnMissingView(const std::string& name, const char* why) const;

    bool running_ = false;
    bool quitPosted_ = false;
    bool refreshingTags_ = false;
    bool quitRefused_ = false;
    int chosenRecentCase_ = -1;
    std::string droppedCase_;
    IMainWindow* window_ = nullptr;
    TagHandle rootTag_ = 0;
    std::unique_ptr<CAppView> root_;
    std::vector<std::pair<std::string, CBaseView*>> views_;
    std::vector<RegionPtr> regions_;
    RegionPtr hover_; // shared, so a removed region outlives its removal while it is hovered
    mutable std::set<std::string> missingViewsWarned_;
    CStepTimes initSteps_;
};

// The process-wide window manager, published by its owner.
extern CWindowManager* gWindowManager;

// The view registered under `name` as class T, through the process-wide window manager; a
// missing window manager is reported as a wiring error.
template <class T> T* FindViewOf(const std::string& name) {
    if (gWindowManager == nullptr) {
        ReportMissingService("window manager", ("finding the view \"" + name + "\"").c_str());
        return nullptr;
    }
    return gWindowManager->FindViewAs<T>(name);
}
