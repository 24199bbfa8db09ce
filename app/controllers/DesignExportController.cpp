#include "app/controllers/DesignExportController.h"

#include "app/Version.h"
#include "app/controllers/AppController.h"
#include "app/controllers/ParametersController.h"
#include "app/controllers/ReadoutController.h"
#include "app/files/AtomicFile.h"
#include "app/model/CaseFile.h"
#include "app/platform/Clipboard.h"
#include "app/platform/Platform.h"
#include "app/platform/ReportRenderer.h"
#include "app/platform/Shell.h"
#include "app/platform/UserFolders.h"
#include "app/platform/Window.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/AppView.h"
#include "app/window_manager/ComboBoxView.h"
#include "app/window_manager/GasSeparatorView.h"
#include "common/log_manager/Log_Manager.h"

#include <algorithm>

namespace {
// Warnings are sentences of their own on the page, as is a row named as its section (the
// verdict under "Verdict", not "Verdict" twice); a design without warnings says so.
ReportSection ReportSectionOf(const DesignSection& section) {
    ReportSection printed{section.heading, {}};
    for (const DesignRow& row : section.rows) {
        const bool sentence = row.name == kWarningRow || row.name == section.heading;
        printed.lines.push_back(sentence ? ReportLine{row.value, "", ""}
                                         : ReportLine{row.name, row.value, row.unit});
    }
    if (printed.lines.empty()) {
        printed.lines.push_back({"None", "", ""});
    }
    return printed;
}

// The sheet's sections as the report prints them, with the case's particulars that are given and
// its notes last, under a heading of their own: notes a page long would otherwise push the verdict
// and the inputs off the first page, away from the picture of the well.
std::vector<ReportSection> ReportSectionsOf(const std::vector<DesignSection>& sheet) {
    std::vector<ReportSection> sections;
    std::string notes;
    for (const DesignSection& section : sheet) {
        ReportSection& printed = sections.emplace_back(ReportSectionOf(section));
        if (section.heading != kCaseSection) {
            continue;
        }
        const auto notesRow =
            std::find_if(printed.lines.begin(), printed.lines.end(),
                         [](const ReportLine& line) { return line.name == kNotesRow; });
        if (notesRow != printed.lines.end()) {
            notes = notesRow->value;
            printed.lines.erase(notesRow);
        }
        // A particular not given is left off the page rather than printed as a blank.
        std::erase_if(printed.lines, [](const ReportLine& line) { return line.value.empty(); });
    }
    if (!notes.empty()) {
        sections.push_back({kNotesRow, {{notes, "", ""}}});
    }
    return sections;
}

void ShowError(const std::string& text) {
    if (IShell* shell = Platform().shell) {
        shell->ShowMessage(CAppController::kErrorTitle, text, MessageIcon::Exclamation);
    }
}
} // namespace

// The well read back from the window's canvas, drawn with every dimension line at full strength
// (the next frame draws the window afresh).
PixelBuffer CDesignExportController::WellPicture() const {
    CGasSeparatorView& well = app_.GasSeparator();
    const PixelRect rect = well.PictureRect();
    if (rect.IsEmpty() || !window_) {
        return {};
    }
    // The well drawn again as it is now, its lines in the order the view draws them (the dip
    // tube length's under the diameters' labels).
    ICanvas& canvas = window_->BackBuffer();
    well.DrawWithAllDimensions(canvas);
    PixelBuffer picture = canvas.ReadPixels(rect.x, rect.y, rect.width, rect.height);
    // The lines drawn for the report are not the frame's: the next frame is drawn whole, so
    // nothing of them stays on the screen.
    canvas.InvalidateAll();
    return picture;
}

// A preset name that matches no row reads as the list's "(User Defined)" there; the model's name
// without the list.
std::string CDesignExportController::ShownPresetName() const {
    const std::string shown = app_.ParametersPanel().SeparatorPreset().GetSelectedText();
    return shown.empty() ? model_.GetPresetName() : shown;
}

void CDesignExportController::Initialise() {
    SubscribeEvent(EventName::kCopyDesign, this, &CDesignExportController::CopyDesign);
    SubscribeEvent(EventName::kExportReport, this, &CDesignExportController::ExportReport);
}

std::vector<DesignSection> CDesignExportController::CurrentDesign() const {
    DesignInput design{model_.GetParameters(), ShownPresetName(), "", model_.GetState(),
                       readouts_.Verdict()};
    design.units = model_.GetUnitSystem();
    design.details = model_.GetCaseDetails();
    design.caseFile = model_.GetCaseFile().string();
    design.refused = parameters_.RefusedTexts();
    // The casing as the list names it, when a row of the list is the casing in use.
    if (app_.ParametersPanel().CasingSize().GetSelectedItem()) {
        design.casingName = app_.ParametersPanel().CasingSize().GetSelectedText();
    }
    return DescribeDesign(design);
}

void CDesignExportController::CopyDesign() {
    IClipboard* clipboard = Platform().clipboard;
    if (!clipboard) {
        LOG_WARNING("App", "No clipboard: the design was not copied");
        return;
    }
    clipboard->SetText(DesignAsTabSeparatedText(CurrentDesign(), Platform().decimalComma));
}

bool CDesignExportController::WriteReport(const std::filesystem::path& path, std::string& failure,
                                          bool* notWritten) const {
    IReportRenderer* renderer = Platform().reportRenderer;
    if (!renderer) {
        failure = "reports cannot be made on this system";
        return false;
    }
    ReportPage page;
    page.title = "Gas Separator Design Report";
    page.subtitle = std::string("Quillmore Gas Separator Simulator ") + ProgramVersion();
    page.sections = ReportSectionsOf(CurrentDesign());
    page.picture = WellPicture();
    page.pictureCaption =
        "Schematic of the well as simulated, labelled with the design's dimensions; the lengths "
        "are not to scale";
    std::string pdf;
    if (!renderer->RenderPdf(page, pdf, failure)) {
        return false;
    }
    std::error_code error;
    if (!WriteFileAtomically(path, pdf, error)) {
        failure = WriteFailureReason(path, error);
        if (notWritten) {
            *notWritten = true;
        }
        return false;
    }
    return true;
}

// A saved case's report is offered beside it under its name ("Well 7.gscase": "Well 7.pdf"), as
// documents are exported, and an unsaved one's under its well's name, so that one well's report
// does not replace another's.
std::filesystem::path CDesignExportController::SuggestedReportPath() const {
    const std::filesystem::path& caseFile = model_.GetCaseFile();
    if (!caseFile.empty()) {
        return std::filesystem::path(caseFile).replace_extension(".pdf");
    }
    const std::string well = WellFileStem(model_.GetCaseDetails().wellName, "");
    return DocumentsFolder() / (well.empty() ? std::string(kSuggestedName) : well + ".pdf");
}

void CDesignExportController::ExportReport() {
    IShell* shell = Platform().shell;
    if (!shell) {
        return;
    }
    std::filesystem::path suggested = SuggestedReportPath();
    for (;;) {
        const std::optional<std::filesystem::path> chosen =
            shell->ChooseSaveFile(kDialogTitle, suggested, "PDF files (*.pdf)");
        if (!chosen || chosen->empty()) {
            return;
        }
        std::filesystem::path path = *chosen;
        if (!path.has_extension()) {
            path += ".pdf";
        }
        std::string failure;
        bool notWritten = false;
        if (WriteReport(path, failure, &notWritten)) {
            LOG_INFO("App", "Report written to %s", path.string().c_str());
            return;
        }
        LOG_ERROR("App", "The report could not be written to %s: %s", path.string().c_str(),
                  failure.c_str());
        const std::string text =
            "The report could not be written to \"" + path.string() + "\": " + failure + ".";
        if (!notWritten) { // another file would not help
            ShowError(text);
            return;
        }
        if (shell->AskChoice(kNotWrittenTitle,
                             text + "\n\nExport it under another name or in another folder?",
                             {"Export As...", "Cancel"}) != 0) {
            return;
        }
        suggested = DocumentsFolder() / path.filename(); // the folder chosen may be the fault
    }
}
