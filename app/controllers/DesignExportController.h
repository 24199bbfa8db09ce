#pragma once
// Copy Design and Export Report: the current design as tab-separated rows on the clipboard,
// or as a one-page PDF report with the well as it is drawn, in a file the user chooses.

#include "app/model/DesignSheet.h"

#include <filesystem>
#include <string>
#include <vector>

class CReadoutController;

class CDesignExportController {
public:
    explicit CDesignExportController(const CReadoutController& readouts) : readouts_(readouts) {}

    void Initialise();
    // The model's design with the notice the panel shows.
    std::vector<DesignSection> CurrentDesign() const;
    void CopyDesign();
    // Asks for a file, writes the report, and says why when it cannot.
    void ExportReport();
    // Writes the report to `path` (atomically); false with the reason in `failure`.
    bool WriteReport(const std::filesystem::path& path, std::string& failure) const;

    static constexpr const char* kDialogTitle = "Export Report";
    static constexpr const char* kSuggestedName = "Gas Separator Report.pdf";

private:
    const CReadoutController& readouts_;
};
