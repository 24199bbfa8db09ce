#pragma once
// Copy Design and Export Report: the current design as tab-separated rows on the clipboard,
// or as a PDF report with the well as it is drawn, in a file the user chooses.

#include "app/model/DesignSheet.h"
#include "app/platform/ImageDecoder.h"

#include <filesystem>
#include <string>
#include <vector>

class CAppView;
class CGasSeparatorModel;
class CParametersController;
class CReadoutController;
class IMainWindow;

class CDesignExportController {
public:
    CDesignExportController(const CGasSeparatorModel& model, const CReadoutController& readouts,
                            const CParametersController& parameters, CAppView& app,
                            IMainWindow* window)
        : model_(model), readouts_(readouts), parameters_(parameters), app_(app), window_(window) {}

    void Initialise();
    // The model's design with the notice the panel shows, and the texts the panel shows but
    // does not use.
    std::vector<DesignSection> CurrentDesign() const;
    void CopyDesign();
    // Asks for a file and writes the report; when the file cannot be written, says why and
    // offers another file (a colleague's read-only share beside the case, a full disk).
    void ExportReport();
    // Writes the report to `path` (atomically); false with the reason in `failure`, and
    // `notWritten` set when the report was made but the file could not take it.
    bool WriteReport(const std::filesystem::path& path, std::string& failure,
                     bool* notWritten = nullptr) const;

    static constexpr const char* kDialogTitle = "Export Report";
    static constexpr const char* kNotWrittenTitle = "Report Not Written";
    static constexpr const char* kSuggestedName = "Gas Separator Report.pdf";
    // Where the file dialog starts: the case's folder and name, or the documents folder.
    std::filesystem::path SuggestedReportPath() const;

private:
    // The well as it is drawn now, with every dimension line at full strength.
    PixelBuffer WellPicture() const;
    // The preset as the panel's list shows it.
    std::string ShownPresetName() const;

    const CGasSeparatorModel& model_;
    const CReadoutController& readouts_;
    const CParametersController& parameters_;
    CAppView& app_;
    IMainWindow* window_;
};
