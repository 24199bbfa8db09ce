#include "app/controllers/CaseController.h"

#include "app/controllers/AppController.h"
#include "app/controllers/ParametersController.h"
#include "app/files/AtomicFile.h"
#include "app/model/DefaultsFile.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterTable.h"
#include "app/platform/Platform.h"
#include "app/platform/Shell.h"
#include "app/platform/UserFolders.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/WindowManager.h"
#include "common/log_manager/Log_Manager.h"

#include <yaml-cpp/yaml.h>

#include <algorithm>

namespace fs = std::filesystem;

namespace {
constexpr const char* kLogCategory = "CCaseController";
// The recent cases, newest first, in the user's settings folder.
constexpr const char* kRecentFileName = "recent-cases.yml";
constexpr const char* kRecentKey = "Recent Cases";
constexpr const char* kDiscardTitle = "Unsaved Changes";
constexpr const char* kChangedOnDiskTitle = "Case Changed Elsewhere";
constexpr const char* kNotSavedTitle = "Case Not Saved";
constexpr const char* kDetailsTitle = "Case Details";

std::string Reason(const std::error_code& error) {
    return error == FileError::TooLarge ? "larger than 1 MiB" : error.message();
}

std::vector<fs::path> ReadRecent() {
    const fs::path folder = SettingsFolder();
    std::string text;
    std::error_code error;
    if (folder.empty() || !ReadRegularFile(folder / kRecentFileName, 1 << 20, text, error)) {
        return {};
    }
    std::vector<fs::path> recent;
    try {
        for (const YAML::Node& entry : YAML::Load(text)[kRecentKey]) {
            if (recent.size() < CWindowManager::kRecentCases && entry.IsScalar()) {
                recent.emplace_back(entry.Scalar());
            }
        }
    } catch (const YAML::Exception& problem) {
        LOG_WARNING(kLogCategory, "The recent cases cannot be read: %s", problem.what());
    }
    return recent;
}

// A recent case's name in the menu: longer ones are cut in the middle, so that the menu stays
// beside the File menu on a laptop's screen.
constexpr size_t kMostMenuCharacters = 60;

// A menu shows "&&" as "&"; a single "&" would underline the letter after it instead.
std::string MenuEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        escaped += c == '&' ? "&&" : std::string(1, c);
    }
    return escaped;
}
// A file's name as one line of a title or a menu: a control character (a line break or a tab
// in the name) shows as "?", as `ls` shows it, instead of breaking the line.
std::string OneLineName(const fs::path& path) {
    return OneLineText(path.filename().string(), '?');
}

// `text` (UTF-8) of more than `most` characters cut in the middle, where a long well name
// repeats itself least: "Well-North-Field-Extens…Pad-7.gscase".
std::string ElidedInTheMiddle(const std::string& text, size_t most) {
    std::vector<size_t> starts; // where each character begins
    for (size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            starts.push_back(i);
        }
    }
    if (starts.size() <= most) {
        return text;
    }
    const size_t head = (most - 1) / 2;
    const size_t tail = most - 1 - head;
    return text.substr(0, starts[head]) + "\u2026" + text.substr(starts[starts.size() - tail]);
}
} // namespace

std::string RecentCaseText(size_t index, const std::vector<fs::path>& recent) {
    const fs::path& path = recent[index];
    std::string text = ElidedInTheMiddle(OneLineName(path), kMostMenuCharacters);
    const auto sameName = [&path](const fs::path& other) {
        return other != path && other.filename() == path.filename();
    };
    if (std::any_of(recent.begin(), recent.end(), sameName)) {
        text +=
            " (" + ElidedInTheMiddle(OneLineName(path.parent_path()), kMostMenuCharacters) + ")";
    }
    return "&" + std::to_string(index + 1) + " " + MenuEscaped(text);
}

CCaseController::CCaseController(CGasSeparatorModel& model, CParametersController& parameters,
                                 CWindowManager& windowManager)
    : model_(model), parameters_(parameters), windowManager_(windowManager) {}

void CCaseController::Initialise() {
    recent_ = ReadRecent();
    ShowRecent();
    Rebase();
    history_.Reset(saved_);
    using C = CCaseController;
    SubscribeEvent(EventName::kWellParametersUpdated, this, &C::OnParametersUpdated);
    SubscribeEvent(EventName::kSimulationFrameUpdated, this, &C::ShowState);
    SubscribeEvent(EventName::kNewCase, this, &C::NewCase);
    SubscribeEvent(EventName::kOpenCase, this, &C::OpenCase);
    SubscribeEvent(EventName::kOpenRecentCase, this, &C::OpenRecentCase);
    SubscribeEvent(EventName::kOpenDroppedCase, this, &C::OpenDroppedCase);
    SubscribeEvent(EventName::kSaveCase, this, [this] { SaveCase(); });
    SubscribeEvent(EventName::kSaveCaseAs, this, [this] { SaveCaseAs(); });
    SubscribeEvent(EventName::kEditCaseDetails, this, &C::EditDetails);
    SubscribeEvent(EventName::kUndo, this, &C::Undo);
    SubscribeEvent(EventName::kRedo, this, &C::Redo);
    SubscribeEvent(EventName::kQuitRequested, this, &C::OnQuitRequested);
    // Leaving a typed field ends its step.
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.IsTyped()) {
            SubscribeEvent(LoseFocusEvent(parameter.field), this, &C::EndStep);
        }
    }
    ShowState();
}

// A keystroke's change is part of the edit under way; any other change ends that edit as a
// step of its own, then is a step itself.
void CCaseController::OnParametersUpdated() {
    if (taking_) {
        return;
    }
    if (!parameters_.IsTyping()) {
        history_.Record(latest_);
        EndStep();
    }
    latest_ = model_.GetDesign();
    ShowState();
}

void CCaseController::EndStep() {
    if (!taking_) {
        latest_ = model_.GetDesign();
        history_.Record(latest_);
        ShowState();
    }
}

void CCaseController::Take(const CaseDesign& design) {
    taking_ = true;
    parameters_.TakeDesign(design);
    taking_ = false;
    latest_ = model_.GetDesign();
}

bool CCaseController::IsModified() const {
    return !model_.GetDesign().SameAs(saved_);
}

bool CCaseController::CanUndo() const {
    return history_.CanUndo() || !history_.IsCurrent(model_.GetDesign());
}

std::string CCaseController::CaseName() const {
    const fs::path& file = model_.GetCaseFile();
    return file.empty() ? "Untitled" : OneLineName(file.stem());
}

std::string CCaseController::Title() const {
    return CaseName() + (IsModified() ? "*" : "") + " - " + CWindowManager::kTitle;
}

void CCaseController::ShowState() {
    const std::string title = Title();
    if (title != shownTitle_) {
        shownTitle_ = title;
        windowManager_.SetTitle(title);
    }
    windowManager_.SetCommandEnabled(CWindowManager::kCommandUndo, CanUndo());
    windowManager_.SetCommandEnabled(CWindowManager::kCommandRedo, CanRedo());
}

void CCaseController::Rebase() {
    saved_ = model_.GetDesign();
    latest_ = saved_;
}

void CCaseController::ShowError(const std::string& text) const {
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage(CAppController::kErrorTitle, text, MessageIcon::Exclamation);
    }
}

// Save, Discard or Cancel; closing the question is Cancel. True when the design may go.
bool CCaseController::MayDiscardChanges() {
    EndStep();
    IShell* shell = Platform().shell;
    if (!IsModified() || !shell) {
        return true;
    }
    const std::optional<int> answer =
        shell->AskChoice(kDiscardTitle,
                         "The case \"" + CaseName() +
                             "\" has changes that are not saved. Save them before going on?",
                         {"Save", "Discard", "Cancel"});
    if (answer == 0) {
        return SaveCase();
    }
    return answer == 1;
}

void CCaseController::OnQuitRequested() {
    if (!MayDiscardChanges()) {
        windowManager_.RefuseQuit();
    }
}

void CCaseController::NewCase() {
    if (!MayDiscardChanges()) {
        return;
    }
    CaseDesign design = CGasSeparatorModel::ShippedDesign();
    design.units = model_.GetUnitSystem(); // the user's units stay
    Take(design);
    model_.SetCaseFile({});
    history_.Record(model_.GetDesign());
    Rebase();
    ShowState();
}

void CCaseController::OpenCase() {
    if (!MayDiscardChanges()) {
        return;
    }
    IShell* shell = Platform().shell;
    const fs::path& file = model_.GetCaseFile();
    const fs::path folder = file.empty() ? DocumentsFolder() : file.parent_path();
    const auto path = shell
                          ? shell->ChooseOpenFile("Open Case", folder,
                                                  std::string(kCaseFilter) + ";;" + kAnyFileFilter)
                          : std::nullopt;
    if (path) {
        OpenCaseFile(*path);
    }
}

// A recent case that is gone is taken off the list, and the user told why nothing opened.
void CCaseController::OpenRecentCase() {
    const int index = windowManager_.ChosenRecentCase();
    if (index < 0 || static_cast<size_t>(index) >= recent_.size()) {
        return;
    }
    const fs::path path = recent_[static_cast<size_t>(index)];
    std::error_code error;
    if (!fs::exists(path, error)) {
        MergeSavedRecent();
        std::erase(recent_, path);
        SaveRecent();
        ShowError("The case \"" + path.string() +
                  "\" is no longer there. It was taken off the recent cases.");
        return;
    }
    if (MayDiscardChanges()) {
        OpenCaseFile(path);
    }
}

void CCaseController::OpenDroppedCase() {
    const fs::path path = windowManager_.DroppedCase();
    if (!path.empty() && MayDiscardChanges()) {
        OpenCaseFile(path);
    }
}

bool CCaseController::OpenCaseFile(const fs::path& path) {
    const std::string problem = TryOpenCaseFile(path);
    if (!problem.empty()) {
        ShowError(problem);
    }
    return problem.empty();
}

std::string CCaseController::TryOpenCaseFile(const fs::path& path) {
    std::string text;
    std::error_code error;
    std::string problem;
    CaseDesign design;
    if (!ReadRegularFile(path, kMaxCaseFileBytes, text, error)) {
        problem = Reason(error);
    } else {
        try {
            design = ParseCaseText(text, CGasSeparatorModel::ShippedDesign().parameters);
        } catch (const SettingsFileError& refused) {
            problem = refused.what();
        }
    }
    if (!problem.empty()) {
        LOG_WARNING(kLogCategory, "Case %s not opened: %s", path.string().c_str(), problem.c_str());
        return "The case \"" + path.string() + "\" cannot be opened: " + problem +
               ".\n\nNothing was changed.";
    }
    EndStep();
    Take(design);
    model_.SetCaseFile(path);
    diskText_ = text;
    LOG_INFO(kLogCategory, "Case %s opened", path.string().c_str());
    history_.Record(model_.GetDesign());
    Rebase();
    RememberRecent(path);
    ShowState();
    return {};
}

std::string CCaseController::OpenCaseAtStart(const fs::path& path) {
    std::string problem = TryOpenCaseFile(path);
    if (problem.empty()) {
        history_.Reset(model_.GetDesign());
        ShowState();
    }
    return problem;
}

// Every save starts here, so the step under way ends here. Asked before any file dialog: a box
// whose text the design does not use would otherwise be lost from the case without a word.
bool CCaseController::SaveCase() {
    EndStep();
    return parameters_.MayKeepValuesInUse("case", false) && SaveToCaseFile();
}

bool CCaseController::SaveCaseAs() {
    EndStep();
    return parameters_.MayKeepValuesInUse("case", false) && SaveUnderNewName();
}

bool CCaseController::SaveToCaseFile() {
    if (model_.GetCaseFile().empty()) {
        return SaveUnderNewName();
    }
    switch (CheckChangedOnDisk()) {
    case DiskCheck::Replace:
        return WriteCase(model_.GetCaseFile());
    case DiskCheck::Keep:
        return false;
    case DiskCheck::SavedElsewhere:
        break;
    }
    return true;
}

// A file that is gone, or that cannot be read, is written as before: only a file that holds
// another text than the one read or written here was changed by someone else.
CCaseController::DiskCheck CCaseController::CheckChangedOnDisk() {
    const fs::path& file = model_.GetCaseFile();
    std::string text;
    std::error_code error;
    IShell* shell = Platform().shell;
    if (!shell || !ReadRegularFile(file, kMaxCaseFileBytes, text, error) || text == diskText_) {
        return DiskCheck::Replace;
    }
    LOG_INFO(kLogCategory, "Case %s was changed elsewhere since it was opened or saved here",
             file.string().c_str());
    const std::optional<int> answer = shell->AskChoice(
        kChangedOnDiskTitle,
        "The case file \"" + file.string() +
            "\" was changed since it was opened or saved here, by another window or program. "
            "Replace those changes with this design, or save it as another case?",
        {"Replace", "Save As...", "Cancel"});
    if (answer == 0) {
        return DiskCheck::Replace;
    }
    return answer == 1 && SaveUnderNewName() ? DiskCheck::SavedElsewhere : DiskCheck::Keep;
}

bool CCaseController::SaveUnderNewName() {
    IShell* shell = Platform().shell;
    if (!shell) {
        return false;
    }
    const fs::path& file = model_.GetCaseFile();
    const fs::path suggested =
        file.empty()
            ? DocumentsFolder() /
                  (WellFileStem(model_.GetCaseDetails().wellName, "Untitled") + kCaseExtension)
            : file;
    std::optional<fs::path> path = shell->ChooseSaveFile("Save Case", suggested, kCaseFilter);
    if (!path) {
        return false;
    }
    if (!path->has_extension()) {
        *path += kCaseExtension;
    }
    return WriteCase(*path);
}

// A case not written says why; where the place is at fault (a read-only file or folder, a full
// disk) it offers to save the case under another name, as the user would do next. True when it
// was saved there.
bool CCaseController::NotSaved(const fs::path& path, const std::string& problem, bool elsewhere) {
    LOG_ERROR(kLogCategory, "Case %s not saved: %s", path.string().c_str(), problem.c_str());
    const std::string text =
        "The case could not be saved to \"" + path.string() + "\": " + problem + ".";
    IShell* shell = Platform().shell;
    if (!elsewhere || !shell) {
        ShowError(text + "\n\nNothing else changed.");
        return false;
    }
    const std::optional<int> answer = shell->AskChoice(
        kNotSavedTitle, text + "\n\nSave it under another name or in another folder?",
        {"Save As...", "Cancel"});
    return answer == 0 && SaveUnderNewName();
}

// The file is replaced in one step; a file that cannot be written leaves everything as it was.
bool CCaseController::WriteCase(const fs::path& path) {
    std::error_code error;
    std::string text;
    try {
        text = FormatCaseText(model_.GetDesign());
    } catch (const SettingsFileError& refused) { // too large to open again: no other name helps
        return NotSaved(path, refused.what(), false);
    }
    if (!WriteFileAtomically(path, text, error)) {
        return NotSaved(path, WriteFailureReason(path, error), true);
    }
    model_.SetCaseFile(path);
    diskText_ = text;
    LOG_INFO(kLogCategory, "Case saved to %s", path.string().c_str());
    Rebase();
    RememberRecent(path);
    ShowState();
    return true;
}

void CCaseController::EditDetails() {
    IShell* shell = Platform().shell;
    if (!shell) {
        return;
    }
    const CaseDetails& details = model_.GetCaseDetails();
    FormRequest form;
    form.title = kDetailsTitle;
    form.intro = "The well this design is for. The report and Copy Design show them.";
    form.fields = {{"Well name", "", details.wellName},
                   {"Field", "", details.field},
                   {"Engineer", "", details.engineer},
                   {"Notes", "", details.notes, true}};
    const auto answer = shell->AskForm(form);
    if (!answer || answer->size() != 4) {
        return;
    }
    EndStep();
    model_.SetCaseDetails({(*answer)[0], (*answer)[1], (*answer)[2], (*answer)[3]});
    EndStep();
}

void CCaseController::Undo() {
    if (std::optional<CaseDesign> design = history_.Undo(model_.GetDesign())) {
        design->units = model_.GetUnitSystem(); // the units are a view, not a step
        Take(*design);
    }
    ShowState();
}

void CCaseController::Redo() {
    if (std::optional<CaseDesign> design = history_.Redo(model_.GetDesign())) {
        design->units = model_.GetUnitSystem(); // the units are a view, not a step
        Take(*design);
    }
    ShowState();
}

// Another window may have saved its own list since this one read it: the two are merged, the
// saved list's order first, so that neither window's cases are dropped when this one saves.
void CCaseController::MergeSavedRecent() {
    std::vector<fs::path> merged = ReadRecent();
    for (const fs::path& own : recent_) {
        if (std::find(merged.begin(), merged.end(), own) == merged.end()) {
            merged.push_back(own);
        }
    }
    recent_ = std::move(merged);
}

void CCaseController::RememberRecent(const fs::path& path) {
    MergeSavedRecent();
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) {
        absolute = path;
    }
    std::erase(recent_, absolute);
    recent_.insert(recent_.begin(), absolute);
    if (recent_.size() > CWindowManager::kRecentCases) {
        recent_.resize(CWindowManager::kRecentCases);
    }
    SaveRecent();
}

void CCaseController::ShowRecent() {
    std::vector<std::string> texts;
    for (size_t i = 0; i < recent_.size(); ++i) {
        texts.push_back(RecentCaseText(i, recent_));
    }
    windowManager_.SetRecentCases(texts);
}

void CCaseController::SaveRecent() {
    ShowRecent();
    YAML::Emitter out;
    out << YAML::BeginMap << YAML::Key << kRecentKey << YAML::Value << YAML::BeginSeq;
    for (const fs::path& path : recent_) {
        out << YAML::DoubleQuoted << path.string();
    }
    out << YAML::EndSeq << YAML::EndMap;
    const fs::path folder = SettingsFolder();
    std::error_code error;
    if (!folder.empty() &&
        !WriteFileAtomically(folder / kRecentFileName, std::string(out.c_str()) + "\n", error)) {
        LOG_WARNING(kLogCategory, "The recent cases cannot be saved: %s",
                    WriteFailureReason(folder / kRecentFileName, error).c_str());
    }
}
