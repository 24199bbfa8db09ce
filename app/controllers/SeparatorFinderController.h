#pragma once
// Which separator fits: the casing's drift diameter under the casing list, and the table of
// every separator preset (shipped and the user's) judged in the design's casing at its flow,
// best first, those that do not fit apart; the row picked is applied as the preset list's pick.

#include "app/model/SeparatorFinder.h"

#include <vector>

class CAppView;
class CGasSeparatorModel;
class TSeparatorPreset;
struct TableRequest;

class CSeparatorFinderController {
public:
    CSeparatorFinderController(const CGasSeparatorModel& model, CAppView& app)
        : model_(model), app_(app) {}

    // Shows the drift diameter, then subscribes.
    void Initialise();
    void ShowDrift();
    // Shows the table and applies the row picked.
    void FindSeparator();

    // The preset list's rows in order, and the table made of them.
    std::vector<const TSeparatorPreset*> PresetRows() const;
    TableRequest FinderTable(const std::vector<SeparatorChoice>& ranked) const;

private:
    const CGasSeparatorModel& model_;
    CAppView& app_;
};
