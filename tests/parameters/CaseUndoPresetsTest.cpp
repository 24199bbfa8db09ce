// Cases, undo and the user's presets in the running program: what is saved and opened, each
// step undone and redone, and presets renamed, deleted and replaced.

#include "app/Application.h"
#include "app/controllers/AppController.h"
#include "app/controllers/CaseController.h"
#include "app/model/NumberFormat.h"
#include "app/model/ParameterTable.h"
#include "app/platform/UserFolders.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/tags/ViewNames.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/TextEditView.h"
#include "app/window_manager/WindowManager.h"
#include "tests/window/WindowTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {
constexpr const char* kCollar278 = "2-7/8 Collar Size Gas Separator";
constexpr const char* kWideCasing = "5.5\" 17 lbs/ft (ID 4.892\")";

// Answers every dialog from queues, as a user would, and keeps what was asked.
class CAnsweringShell : public CRecordingShell {
public:
    std::optional<fs::path> ChooseSaveFile(const std::string& title, const fs::path& suggested,
                                           const std::string&) override {
        this->suggested.push_back(suggested);
        return Next(title, saveAnswers);
    }
    std::optional<fs::path> ChooseOpenFile(const std::string& title, const fs::path&,
                                           const std::string&) override {
        return Next(title, openAnswers);
    }
    std::optional<int> AskChoice(const std::string& title, const std::string& text,
                                 const std::vector<std::string>& buttons) override {
        std::string asked = title + " | " + text + " |";
        for (const std::string& button : buttons) {
            asked += " [" + button + "]";
        }
        const std::optional<std::string> answer = Next(asked, choiceAnswers);
        for (size_t i = 0; answer && i < buttons.size(); ++i) {
            if (buttons[i] == *answer) {
                return static_cast<int>(i);
            }
        }
        return std::nullopt;
    }
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string&) override {
        return Next(title + " | " + prompt, textAnswers);
    }
    std::optional<std::vector<std::string>> AskForm(const FormRequest& form) override {
        forms.push_back(form);
        return Next(form.title, formAnswers);
    }
    std::optional<int> ChooseRow(const TableRequest& table) override {
        tables.push_back(table);
        return Next(table.title, rowAnswers);
    }

    template <class T> std::optional<T> Next(const std::string& asked, std::deque<T>& answers) {
        this->asked.push_back(asked);
        if (answers.empty()) {
            return std::nullopt;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<fs::path> saveAnswers, openAnswers;
    std::vector<fs::path> suggested; // what each file dialog offered first
    std::deque<std::string> choiceAnswers, textAnswers;
    std::deque<std::vector<std::string>> formAnswers;
    std::deque<int> rowAnswers;
    std::vector<std::string> asked;
    std::vector<FormRequest> forms;
    std::vector<TableRequest> tables;
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CaseUndoPresetsTest : public ::testing::Test {
protected:
    void SetUp() override { StartProgram(shell); }

    CCaseController& Cases() { return TheApplication().AppController()->Cases(); }
    CPresetsController& Presets() { return TheApplication().AppController()->Presets(); }
    const WellParameters& Model() { return TheModel().GetParameters(); }
    CTextEditView& Field(ParameterId id) {
        return *gWindowManager->FindViewAs<CTextEditView>(ParameterOf(id).field);
    }
    CComboBoxView& List(const std::string& name) {
        return *gWindowManager->FindViewAs<CComboBoxView>(name);
    }
    // Each text as a keystroke of one edit, then the field is left.
    void Type(ParameterId id, std::initializer_list<const char*> keystrokes) {
        for (const char* text : keystrokes) {
            Field(id).SetText(text);
            RaiseEvent(ParameterOf(id).changedEvent);
        }
        RaiseEvent(LoseFocusEvent(ParameterOf(id).field));
    }
    void Pick(const std::string& list, const std::string& row, const char* event) {
        List(list).SelectByText(row);
        RaiseEvent(event);
    }
    fs::path Documents() { return DocumentsFolder(); }
    // Raises `event` answering its file dialog with `name` in a folder that cannot be made (a
    // file stands in its place), the offer that follows with `choice`, and the second file
    // dialog with `second`.
    void WriteWhereNoFolderCanBe(const char* event, const std::string& name,
                                 const std::string& choice, const fs::path& second) {
        std::ofstream(Documents() / "not-a-folder") << "x";
        shell.saveAnswers.push_back(Documents() / "not-a-folder" / name);
        shell.choiceAnswers.push_back(choice);
        shell.saveAnswers.push_back(second);
        RaiseEvent(event);
    }

    CAnsweringShell shell;
};

// What one step left: the pump speed, the dip tube length, the casing and the preset.
struct Design {
    double spm, dipTube, casing;
    std::string preset;
};

Design Now() {
    const WellParameters& p = TheModel().GetParameters();
    return {p.GetSPM(), p.GetDipTubeLength(), p.GetCasingSize(), TheModel().GetPresetName()};
}

void ExpectDesign(const Design& expected, const std::string& step) {
    const Design now = Now();
    EXPECT_EQ(now.spm, expected.spm) << step;
    EXPECT_EQ(now.dipTube, expected.dipTube) << step;
    EXPECT_EQ(now.casing, expected.casing) << step;
    EXPECT_EQ(now.preset, expected.preset) << step;
}
} // namespace

TEST_F(CaseUndoPresetsTest, UndoAndRedoTakeEveryStepBackAndForthOneByOne) {
    // A case to open as the last step: the shipped design at 5 SPM.
    const fs::path file = Documents() / "slow.gscase";
    Type(ParameterId::SPM, {"5"});
    shell.saveAnswers.push_back(file);
    ASSERT_TRUE(Cases().SaveCaseAs());
    shell.choiceAnswers.push_back("Discard");
    RaiseEvent(EventName::kNewCase);

    std::vector<Design> steps = {Now()};
    std::vector<std::string> names = {"start"};
    const auto step = [&](const std::string& name) {
        steps.push_back(Now());
        names.push_back(name);
        ASSERT_TRUE(Cases().CanUndo()) << name;
    };
    Type(ParameterId::SPM, {"1", "12"}); // one edit of two keystrokes: one step
    step("SPM 12");
    Type(ParameterId::SPM, {"9"});
    step("SPM 9");
    Type(ParameterId::DipTubeLength, {"5", "56"}); // 5 is out of range on the way, never used
    step("dip tube 56");
    Type(ParameterId::SPM, {"45"}); // out of range: refused, no step
    Pick(ViewName::kSeparatorPreset, kCollar278, EventName::kSeparatorPresetChanged);
    step("preset");
    Pick(ViewName::kCasingSize, kWideCasing, ParameterOf(ParameterId::CasingSize).changedEvent);
    step("casing");
    RaiseEvent(EventName::kResetToDefaults);
    step("reset");
    shell.openAnswers.push_back(file);
    RaiseEvent(EventName::kOpenCase);
    step("case opened");
    EXPECT_EQ(Now().spm, 5);
    EXPECT_EQ(Cases().CaseName(), "slow");

    for (size_t i = steps.size() - 1; i > 0; --i) {
        RaiseEvent(EventName::kUndo);
        ExpectDesign(steps[i - 1], "undoing " + names[i]);
        EXPECT_EQ(Field(ParameterId::SPM).GetText(), FormatNumber(steps[i - 1].spm));
    }
    // Before them: New Case, a step too, and the 5 SPM typed before it.
    RaiseEvent(EventName::kUndo);
    EXPECT_EQ(Now().spm, 5);
    RaiseEvent(EventName::kUndo);
    EXPECT_EQ(Now().spm, 8);
    RaiseEvent(EventName::kUndo); // nothing more: nothing changes
    EXPECT_EQ(Now().spm, 8);
    RaiseEvent(EventName::kRedo);
    RaiseEvent(EventName::kRedo);
    ExpectDesign(steps[0], "redoing New Case");
    for (size_t i = 1; i < steps.size(); ++i) {
        RaiseEvent(EventName::kRedo);
        ExpectDesign(steps[i], "redoing " + names[i]);
    }
    EXPECT_FALSE(Cases().CanRedo());
    // Undone back to an edit, then a new value: the steps after it are gone.
    RaiseEvent(EventName::kUndo);
    Type(ParameterId::SPM, {"7"});
    EXPECT_FALSE(Cases().CanRedo());
    RaiseEvent(EventName::kUndo);
    ExpectDesign(steps[steps.size() - 2], "undoing the new value");
}

TEST_F(CaseUndoPresetsTest, ACaseSavedAndOpenedAgainHasEveryValueAndParticular) {
    EXPECT_EQ(Cases().Title(), std::string("Untitled - ") + CWindowManager::kTitle);
    shell.formAnswers.push_back({"Well 7", "North", "A. Engineer", "Gassy.\nPump at 8 SPM."});
    RaiseEvent(EventName::kEditCaseDetails);
    ASSERT_EQ(shell.forms.size(), 1u);
    EXPECT_TRUE(shell.forms[0].fields[3].multiline);
    Type(ParameterId::DipTubeLength, {"61.125"});
    Pick(ViewName::kCasingSize, kWideCasing, ParameterOf(ParameterId::CasingSize).changedEvent);
    RaiseEvent(EventName::kMetricUnitsChosen);
    EXPECT_TRUE(Cases().IsModified());
    EXPECT_EQ(Cases().Title(), std::string("Untitled* - ") + CWindowManager::kTitle);
    const CaseDesign saved = TheModel().GetDesign();
    RaiseEvent(EventName::kExportReport); // unsaved: its report is named after the well
    EXPECT_EQ(shell.suggested.back(), Documents() / "Well 7.pdf");

    // Save with no file yet asks for one; the name gets its extension.
    shell.saveAnswers.push_back(Documents() / "well-7");
    RaiseEvent(EventName::kSaveCase);
    const fs::path file = Documents() / "well-7.gscase";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_FALSE(Cases().IsModified());
    EXPECT_EQ(Cases().Title(), std::string("well-7 - ") + CWindowManager::kTitle);
    EXPECT_EQ(Cases().RecentCases().front(), file);
    // Saved, its report is offered beside it under its name.
    RaiseEvent(EventName::kExportReport); // the dialog closed
    EXPECT_EQ(shell.suggested.back(), Documents() / "well-7.pdf");

    // New asks first; Cancel (and closing the question) keep everything.
    Type(ParameterId::SPM, {"11"});
    RaiseEvent(EventName::kNewCase); // no answer: the question was closed
    shell.choiceAnswers.push_back("Cancel");
    RaiseEvent(EventName::kNewCase);
    EXPECT_EQ(Model().GetSPM(), 11);
    EXPECT_EQ(shell.asked.back(),
              "Unsaved Changes | The case \"well-7\" has changes that are not saved. Save them "
              "before going on? | [Save] [Discard] [Cancel]");
    shell.choiceAnswers.push_back("Discard");
    RaiseEvent(EventName::kNewCase);
    EXPECT_EQ(Model().GetSPM(), 8);
    EXPECT_EQ(TheModel().GetCaseDetails(), CaseDetails{});
    EXPECT_EQ(Cases().CaseName(), "Untitled");
    RaiseEvent(EventName::kExportReport);
    EXPECT_EQ(shell.suggested.back(), Documents() / "Gas Separator Report.pdf");

    shell.openAnswers.push_back(file);
    RaiseEvent(EventName::kOpenCase);
    EXPECT_TRUE(TheModel().GetDesign().SameAs(saved));
    EXPECT_EQ(TheModel().GetUnitSystem(), UnitSystem::Metric);
    EXPECT_EQ(TheModel().GetCaseDetails().notes, "Gassy.\nPump at 8 SPM.");
    EXPECT_EQ(Field(ParameterId::DipTubeLength).GetText(), "1.553"); // 61.125 in, in metric
    EXPECT_EQ(List(ViewName::kCasingSize).GetSelectedText(), kWideCasing);
    EXPECT_FALSE(Cases().IsModified());

    // The closing question: Save writes the changes and lets the program end.
    Type(ParameterId::SPM, {"13"});
    shell.choiceAnswers.push_back("Save");
    EXPECT_TRUE(gWindowManager->OnCloseRequested());
    EXPECT_NE(ReadFile(file).find("\nSPM: 13\n"), std::string::npos) << ReadFile(file);
    EXPECT_TRUE(gWindowManager->OnCloseRequested()); // nothing unsaved: no question
}

// A box whose text the design does not use would vanish from the case unasked: saving asks
// first, Cancel (also under the closing question's Save) writes nothing and keeps the window.
TEST_F(CaseUndoPresetsTest, SavingWithATextNotInUseAsksFirst) {
    Type(ParameterId::DipTubeLength, {"50"});
    Type(ParameterId::SPM, {"7,5"});
    shell.choiceAnswers.push_back("Cancel");
    RaiseEvent(EventName::kSaveCaseAs);
    EXPECT_EQ(shell.asked.back(),
              "Texts Not in Use | Pump speed \"7,5\" is not used (not understood): the figures "
              "are for 8 SPM.\n\nThe case keeps the values in use. Save it with them, or cancel "
              "and correct the box? | [Save] [Cancel]");
    EXPECT_TRUE(shell.suggested.empty()); // no file dialog
    shell.choiceAnswers.insert(shell.choiceAnswers.end(), {"Save", "Cancel"});
    EXPECT_FALSE(gWindowManager->OnCloseRequested());
    EXPECT_TRUE(shell.suggested.empty());

    const fs::path file = Documents() / "kept.gscase";
    shell.choiceAnswers.push_back("Save");
    shell.saveAnswers.push_back(file);
    RaiseEvent(EventName::kSaveCaseAs);
    EXPECT_NE(ReadFile(file).find("\nSPM: 8\n"), std::string::npos) << ReadFile(file);
    EXPECT_FALSE(Cases().IsModified());

    // A preset asks of the separator's boxes alone.
    std::string failure;
    Type(ParameterId::SeparatorOD, {"3,5"});
    EXPECT_EQ(Presets().SavePreset("Wide", failure), CPresetsController::SaveResult::Cancelled);
    EXPECT_EQ(shell.asked.back().find("Texts Not in Use | Separator OD \"3,5\""), 0u);
    EXPECT_EQ(shell.asked.back().find("Pump speed"), std::string::npos);
    EXPECT_NE(shell.asked.back().find("The preset keeps"), std::string::npos);
}

// Switching units changes no value: the preset named stays, even one not in the list (a
// colleague's), and the first Undo after it undoes the last change of the design.
TEST_F(CaseUndoPresetsTest, SwitchingUnitsKeepsThePresetAndIsNoStepToUndo) {
    const fs::path file = Documents() / "colleague.gscase";
    shell.saveAnswers.push_back(file);
    RaiseEvent(EventName::kSaveCase);
    std::string text = ReadFile(file);
    const size_t line = text.find("Preset Name:");
    ASSERT_NE(line, std::string::npos);
    text.replace(line, text.find('\n', line) - line, "Preset Name: \"Colleague's Separator\"");
    std::ofstream(file) << text;
    shell.openAnswers.push_back(file);
    RaiseEvent(EventName::kOpenCase);
    ASSERT_EQ(TheModel().GetPresetName(), "Colleague's Separator");

    Type(ParameterId::SPM, {"9"});
    RaiseEvent(EventName::kMetricUnitsChosen);
    EXPECT_EQ(TheModel().GetPresetName(), "Colleague's Separator");
    RaiseEvent(EventName::kUndo);
    EXPECT_EQ(Model().GetSPM(), 8);
    EXPECT_EQ(TheModel().GetUnitSystem(), UnitSystem::Metric);
    EXPECT_EQ(TheModel().GetPresetName(), "Colleague's Separator");
    RaiseEvent(EventName::kOilfieldUnitsChosen);
    EXPECT_FALSE(Cases().IsModified()); // as opened again
}

// Another window saved the case since it was opened here: Save asks before it replaces that.
TEST_F(CaseUndoPresetsTest, ASaveDoesNotReplaceWhatAnotherWindowSavedUnasked) {
    const fs::path shared = Documents() / "shared.gscase";
    shell.saveAnswers.push_back(shared);
    RaiseEvent(EventName::kSaveCase);
    std::string theirs = ReadFile(shared);
    theirs.replace(theirs.find("\nSPM: 8\n"), 8, "\nSPM: 12\n");
    std::ofstream(shared) << theirs;

    Type(ParameterId::DipTubeLength, {"50"});
    shell.choiceAnswers.push_back("Cancel");
    RaiseEvent(EventName::kSaveCase);
    EXPECT_NE(shell.asked.back().find("[Replace] [Save As...] [Cancel]"), std::string::npos);
    EXPECT_EQ(ReadFile(shared), theirs);
    EXPECT_TRUE(Cases().IsModified());

    // Save As... keeps theirs and makes this design another case.
    const fs::path mine = Documents() / "mine.gscase";
    shell.choiceAnswers.push_back("Save As...");
    shell.saveAnswers.push_back(mine);
    RaiseEvent(EventName::kSaveCase);
    EXPECT_EQ(ReadFile(shared), theirs);
    EXPECT_NE(ReadFile(mine).find("\nDip Tube Length: 50\n"), std::string::npos);
    EXPECT_EQ(TheModel().GetCaseFile(), mine);
    EXPECT_FALSE(Cases().IsModified());

    // Saved or opened here, the file holds what this window knows: no question.
    const size_t asked = shell.asked.size();
    Type(ParameterId::DipTubeLength, {"51"});
    RaiseEvent(EventName::kSaveCase);
    shell.openAnswers.push_back(shared);
    RaiseEvent(EventName::kOpenCase);
    EXPECT_EQ(Model().GetSPM(), 12);
    Type(ParameterId::SPM, {"9"});
    RaiseEvent(EventName::kSaveCase);
    EXPECT_EQ(shell.asked.size(), asked + 1); // only the open's file dialog
    EXPECT_NE(ReadFile(shared).find("\nSPM: 9\n"), std::string::npos);

    // Replace writes over the other window's changes, as asked.
    std::ofstream(shared) << theirs;
    Type(ParameterId::SPM, {"10"});
    shell.choiceAnswers.push_back("Replace");
    RaiseEvent(EventName::kSaveCase);
    EXPECT_NE(ReadFile(shared).find("\nSPM: 10\n"), std::string::npos);

    // The other window's recent cases are kept beside this one's.
    const fs::path theirCase = Documents() / "theirs.gscase";
    std::ofstream(SettingsFolder() / "recent-cases.yml")
        << "Recent Cases:\n  - \"" << theirCase.string() << "\"\n";
    Type(ParameterId::SPM, {"11"});
    RaiseEvent(EventName::kSaveCase);
    EXPECT_EQ(Cases().RecentCases(), (std::vector<fs::path>{shared, theirCase, mine}));
}

// A case that cannot be written where it is (here a file stands in its folder's place; a
// read-only share or a full disk alike) offers Save As, as the user would do next; a refused
// offer keeps the design, also when it was to make way for another.
TEST_F(CaseUndoPresetsTest, ACaseThatCannotBeWrittenOffersAnotherName) {
    const fs::path elsewhere = Documents() / "well.gscase";
    WriteWhereNoFolderCanBe(EventName::kSaveCase, "well.gscase", "Save As...", elsewhere);
    ASSERT_GE(shell.asked.size(), 2u);
    const std::string offer = shell.asked[shell.asked.size() - 2]; // before the second name
    EXPECT_TRUE(offer.starts_with("Case Not Saved | The case could not be saved to")) << offer;
    EXPECT_TRUE(offer.ends_with(": Not a directory.\n\nSave it under another name or in another "
                                "folder? | [Save As...] [Cancel]"))
        << offer;
    EXPECT_EQ(TheModel().GetCaseFile(), elsewhere);
    EXPECT_FALSE(Cases().IsModified());

    fs::remove(elsewhere);
    fs::create_directory(elsewhere); // now no file can be written there
    Type(ParameterId::SPM, {"9"});
    shell.choiceAnswers.push_back("Save");
    shell.choiceAnswers.push_back("Cancel");
    RaiseEvent(EventName::kNewCase); // Save, then no other name: the design stays
    EXPECT_TRUE(shell.asked.back().starts_with("Case Not Saved")) << shell.asked.back();
    EXPECT_TRUE(Cases().IsModified());
    EXPECT_EQ(Model().GetSPM(), 9);
    EXPECT_EQ(TheModel().GetCaseFile(), elsewhere);
}

// A report beside a case on a read-only share, or in a folder that is gone, is offered again
// under its name in the documents folder.
TEST_F(CaseUndoPresetsTest, AReportThatCannotBeWrittenOffersAnotherFile) {
    const fs::path elsewhere = Documents() / "well 2.pdf";
    WriteWhereNoFolderCanBe(EventName::kExportReport, "well", "Export As...", elsewhere);
    ASSERT_GE(shell.asked.size(), 2u);
    const std::string offer = shell.asked[shell.asked.size() - 2]; // before the second file
    EXPECT_TRUE(offer.starts_with("Report Not Written | The report could not be written to"))
        << offer;
    EXPECT_TRUE(offer.ends_with(": Not a directory.\n\nExport it under another name or in "
                                "another folder? | [Export As...] [Cancel]"))
        << offer;
    EXPECT_EQ(shell.suggested.back(), Documents() / "well.pdf");
    EXPECT_TRUE(ReadFile(elsewhere).starts_with("%PDF-"));
}

// A case named on the command line that cannot be opened is said once the window is drawn
// whole (the second frame: the first is drawn before the panel's results), not over an empty one.
TEST_F(CaseUndoPresetsTest, ACaseThatCannotBeOpenedAtStartIsSaidOverTheDrawnWindow) {
    const std::string problem = Cases().OpenCaseAtStart(Documents() / "missing.gscase");
    EXPECT_NE(problem.find("cannot be opened"), std::string::npos) << problem;
    TheApplication().AppController()->TellOnceDrawn(problem);
    RunPass();
    EXPECT_TRUE(shell.messages.empty());
    RunPass();
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_NE(shell.messages[0].find(problem), std::string::npos);
    RunPass();
    TheApplication().AppController()->TellOnceDrawn("later");
    EXPECT_EQ(shell.messages.size(), 2u); // at once

    // One that opens begins the history: nothing to undo back to the last session's values.
    const fs::path file = Documents() / "at-start.gscase";
    shell.saveAnswers.push_back(file);
    Type(ParameterId::SPM, {"9"});
    ASSERT_TRUE(Cases().SaveCaseAs());
    Type(ParameterId::SPM, {"7"});
    EXPECT_EQ(Cases().OpenCaseAtStart(file), "");
    EXPECT_EQ(Model().GetSPM(), 9);
    EXPECT_FALSE(Cases().CanUndo());
    EXPECT_FALSE(Cases().IsModified());
}

TEST_F(CaseUndoPresetsTest, ABrokenCaseOpensNothingAndSaysWhichLineAndKey) {
    const fs::path file = Documents() / "broken.gscase";
    shell.saveAnswers.push_back(file);
    ASSERT_TRUE(Cases().SaveCaseAs());
    std::string text = ReadFile(file);
    text.replace(text.find("SPM: 8"), 6, "SPM: 1e308");
    std::ofstream(file) << text;
    Type(ParameterId::SPM, {"9"});
    shell.choiceAnswers.push_back("Discard");
    shell.openAnswers.push_back(file);
    RaiseEvent(EventName::kOpenCase);
    EXPECT_EQ(Model().GetSPM(), 9);
    ASSERT_FALSE(shell.messages.empty());
    EXPECT_NE(shell.messages.back().find("cannot be opened: bad value for \"SPM\" (line 16): "
                                         "1e+308 is out of its range"),
              std::string::npos)
        << shell.messages.back();
    EXPECT_NE(shell.messages.back().find("Nothing was changed."), std::string::npos);

    // A recent case that has gone is taken off the list, with a message; a case another window
    // put on the list meanwhile stays.
    fs::remove(file);
    ASSERT_EQ(Cases().RecentCases().size(), 1u);
    const fs::path gone = Cases().RecentCases().front();
    const fs::path theirs = Documents() / "theirs.gscase";
    std::ofstream(SettingsFolder() / "recent-cases.yml")
        << "Recent Cases:\n  - \"" << theirs.string() << "\"\n  - \"" << gone.string() << "\"\n";
    gWindowManager->OnCommand(CWindowManager::kCommandRecentCase);
    EXPECT_EQ(Cases().RecentCases(), std::vector<fs::path>{theirs});
    EXPECT_NE(shell.messages.back().find("is no longer there"), std::string::npos);
}

TEST_F(CaseUndoPresetsTest, PresetsAreRenamedDeletedReplacedOrKeptBoth) {
    std::string failure;
    RaiseEvent(EventName::kRenamePreset); // none of the user's own yet
    EXPECT_NE(shell.messages.back().find("shipped presets cannot be changed"), std::string::npos);
    using Result = CPresetsController::SaveResult;
    ASSERT_EQ(Presets().SavePreset("Mine", failure), Result::Saved) << failure;
    Type(ParameterId::DipTubeLength, {"50"});

    // The same name again: Cancel saves nothing; Keep Both saves "Mine (2)"; Replace rewrites.
    shell.choiceAnswers.push_back("Cancel");
    EXPECT_EQ(Presets().SavePreset("Mine", failure), Result::Cancelled);
    EXPECT_EQ(TheModel().GetUserPresets().size(), 1u);
    EXPECT_NE(shell.asked.back().find("[Replace] [Keep Both] [Cancel]"), std::string::npos);
    shell.choiceAnswers.push_back("Cancel"); // a pasted tab is the blank it is saved as
    ASSERT_EQ(Presets().SavePreset("My Sep", failure), Result::Saved) << failure;
    EXPECT_EQ(Presets().SavePreset("My\tSep\t", failure), Result::Cancelled);
    ASSERT_EQ(TheModel().GetUserPresets().size(), 2u);
    ASSERT_TRUE(TheModel().DeleteUserPreset(1, failure)) << failure;
    shell.choiceAnswers.push_back("Keep Both");
    EXPECT_EQ(Presets().SavePreset("Mine", failure), Result::Saved);
    ASSERT_EQ(TheModel().GetUserPresets().size(), 2u);
    EXPECT_EQ(TheModel().GetUserPresets()[1].displayName, "Mine (2)");
    Type(ParameterId::DipTubeLength, {"60"});
    shell.choiceAnswers.push_back("Replace");
    EXPECT_EQ(Presets().SavePreset("Mine", failure), Result::Saved);
    ASSERT_EQ(TheModel().GetUserPresets().size(), 2u);
    EXPECT_EQ(TheModel().GetUserPresets()[0].dimensions.GetDipTubeLength(), 60);
    EXPECT_EQ(TheModel().GetUserPresets()[1].dimensions.GetDipTubeLength(), 50);
    EXPECT_EQ(TheModel().GetPresetName(), "Mine");
    // A shipped name cannot be replaced.
    shell.choiceAnswers.push_back("Keep Both");
    EXPECT_EQ(Presets().SavePreset(kCollar278, failure), Result::Saved);
    EXPECT_NE(shell.asked.back().find("[Keep Both] [Cancel]"), std::string::npos);
    EXPECT_EQ(shell.asked.back().find("[Replace]"), std::string::npos);
    EXPECT_EQ(TheModel().GetUserPresets().back().displayName, std::string(kCollar278) + " (2)");

    // Renamed, the preset in use among them: the shipped presets are listed apart, not to be
    // picked.
    const auto indexOf = [](const std::string& name) {
        const auto& user = TheModel().GetUserPresets();
        for (size_t i = 0; i < user.size(); ++i) {
            if (user[i].displayName == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    };
    const std::string inUse = std::string(kCollar278) + " (2)";
    EXPECT_EQ(TheModel().GetPresetName(), inUse);
    shell.rowAnswers.push_back(indexOf(inUse));
    shell.textAnswers.push_back("Ours");
    RaiseEvent(EventName::kRenamePreset);
    ASSERT_FALSE(shell.tables.empty());
    EXPECT_EQ(shell.tables.back().rows.size(), 3u);
    EXPECT_FALSE(shell.tables.back().apart.empty());
    TheModel().LoadUserPresets(); // from the files again
    EXPECT_EQ(indexOf(inUse), -1);
    EXPECT_NE(indexOf("Ours"), -1);
    EXPECT_EQ(TheModel().GetPresetName(), "Ours");
    shell.rowAnswers.push_back(indexOf("Ours"));
    shell.textAnswers.push_back("Mine (2)"); // taken: nothing renamed
    RaiseEvent(EventName::kRenamePreset);
    EXPECT_NE(shell.messages.back().find("exists already"), std::string::npos);
    EXPECT_NE(indexOf("Ours"), -1);
    // In metric units the list reads in them, as everything else shown does (60 in is 1.524 m).
    TheModel().SetUnitSystem(UnitSystem::Metric);
    RaiseEvent(EventName::kRenamePreset); // and closed without a pick
    EXPECT_EQ(shell.tables.back().rows[indexOf("Mine")][3], "1.524 m");
    EXPECT_NE(shell.tables.back().apart.front()[1].find(" mm"), std::string::npos);
    TheModel().SetUnitSystem(UnitSystem::Oilfield);

    // Deleted after the question; Cancel keeps it.
    shell.rowAnswers.push_back(indexOf("Ours"));
    shell.choiceAnswers.push_back("Cancel");
    RaiseEvent(EventName::kDeletePreset);
    EXPECT_EQ(TheModel().GetUserPresets().size(), 3u);
    shell.rowAnswers.push_back(indexOf("Ours"));
    shell.choiceAnswers.push_back("Delete");
    RaiseEvent(EventName::kDeletePreset);
    TheModel().LoadUserPresets();
    EXPECT_EQ(TheModel().GetUserPresets().size(), 2u);
    EXPECT_EQ(indexOf("Ours"), -1);
    EXPECT_EQ(TheModel().GetPresetName(), ""); // the design keeps its values, as typed ones
}

// The recent cases' menu texts: numbered, a folder named only where two files share a name, and
// an "&" in a name shown as itself rather than underlining the next letter.
TEST(RecentCaseTextTest, NamesAreNumberedTellTwinsApartAndKeepTheirAmpersands) {
    const std::vector<fs::path> recent = {"/cases/North/well-7.gscase", "/cases/R&D/a.gscase",
                                          "/cases/South/well-7.gscase"};
    EXPECT_EQ(RecentCaseText(0, recent), "&1 well-7.gscase (North)");
    EXPECT_EQ(RecentCaseText(1, recent), "&2 a.gscase");
    EXPECT_EQ(RecentCaseText(2, recent), "&3 well-7.gscase (South)");
    EXPECT_EQ(RecentCaseText(0, {"/cases/Smith & Sons.gscase"}), "&1 Smith && Sons.gscase");
    // A line break in a name would break the menu's line (and the title bar's).
    EXPECT_EQ(RecentCaseText(0, {"/cases/well\n7\t.gscase"}), "&1 well?7?.gscase");
    // A long name is cut in the middle, between whole characters, so the menu fits a laptop.
    const std::string elided = RecentCaseText(0, {"/cases/" + std::string(70, 'a') + "ü.gscase"});
    EXPECT_EQ(elided, "&1 " + std::string(29, 'a') + "\u2026" + std::string(22, 'a') + "ü.gscase");
}
