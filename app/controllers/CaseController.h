#pragma once
// Cases and undo: the File menu's New, Open, Save, Save As, Recent Cases and Case Details, the
// question before unsaved changes are discarded (New, Open, Exit, closing the window), the
// title bar's case name and unsaved mark, and the Edit menu's Undo and Redo.
//
// A step of the undo history is every change of the design: a value typed (one step when the
// field is left or another change comes, not one per keystroke), a preset or a casing chosen,
// Reset to Defaults, a case opened or made new, the particulars edited. Undo and Redo hand the
// model a design it held before, so every value in use passed the same rules it did then.

#include "app/model/CaseFile.h"
#include "app/model/DesignHistory.h"

#include <filesystem>
#include <string>
#include <vector>

// The menu text of the recent case at `index`: its number, then its file name ("&1
// well-7.gscase"), with its folder's name when another case on the list has the same file name
// ("&2 well-7.gscase (North)"). An "&" in the names shows as itself; a name of more than 60
// characters is cut in the middle.
std::string RecentCaseText(size_t index, const std::vector<std::filesystem::path>& recent);

class CGasSeparatorModel;
class CParametersController;
class CWindowManager;

class CCaseController {
public:
    CCaseController(CGasSeparatorModel& model, CParametersController& parameters,
                    CWindowManager& windowManager);

    // Reads the recent cases, takes the model's design as the unmodified "Untitled" one and
    // subscribes.
    void Initialise();

    // Opens the case file without asking about the design in use (the command line). False,
    // after telling the user why, when it cannot be used; then nothing changed.
    bool OpenCaseFile(const std::filesystem::path& path);
    // The same without telling: the message, or empty once the case is open.
    std::string TryOpenCaseFile(const std::filesystem::path& path);
    // The case named on the command line: the same, and the history begins with it, as with
    // the design a start without a case begins with (Undo does not go back to the values of
    // the last session, which the user never had in front of them).
    std::string OpenCaseAtStart(const std::filesystem::path& path);
    // Whether the design differs from the case as last saved or opened (or as started).
    bool IsModified() const;
    // "Untitled", or the case file's stem.
    std::string CaseName() const;
    // The title bar's text: the case name, "*" when modified, the program's name.
    std::string Title() const;
    const std::vector<std::filesystem::path>& RecentCases() const { return recent_; }
    bool CanUndo() const;
    bool CanRedo() const { return history_.CanRedo(); }

    // Event handlers.
    void NewCase();
    void OpenCase();
    void OpenRecentCase();
    // A file dropped on the window opens as Open Case would open it.
    void OpenDroppedCase();
    // Saves to the case's file, or asks for one. False when nothing was saved. Both ask first
    // when a box holds a text the design does not use.
    bool SaveCase();
    bool SaveCaseAs();
    void EditDetails();
    void Undo();
    void Redo();

private:
    void OnParametersUpdated();
    void OnQuitRequested();
    void EndStep();
    void Take(const CaseDesign& design);
    bool MayDiscardChanges();
    bool SaveToCaseFile();
    bool SaveUnderNewName();
    bool WriteCase(const std::filesystem::path& path);
    bool NotSaved(const std::filesystem::path& path, const std::string& problem, bool elsewhere);
    // Whether the case's file may be replaced: yes when it holds what was last read or written
    // here; otherwise (changed by another window or program) as the user answers, who may also
    // save the design elsewhere instead, or keep the file as it is.
    enum class DiskCheck { Replace, Keep, SavedElsewhere };
    DiskCheck CheckChangedOnDisk();
    void Rebase(); // the design in use becomes the saved one
    void MergeSavedRecent();
    void RememberRecent(const std::filesystem::path& path);
    void ShowRecent();
    void SaveRecent();
    void ShowState();
    void ShowError(const std::string& text) const;

    CGasSeparatorModel& model_;
    CParametersController& parameters_;
    CWindowManager& windowManager_;
    CDesignHistory history_;
    CaseDesign saved_;  // as saved, opened or started
    CaseDesign latest_; // as the model held it after the last change it announced
    std::vector<std::filesystem::path> recent_;
    // The case file's text as this program last read or wrote it: a save first checks that the
    // file still holds it, so that changes saved there by another window are not lost.
    std::string diskText_;
    std::string shownTitle_;
    bool taking_ = false; // while a design is handed to the model
};
