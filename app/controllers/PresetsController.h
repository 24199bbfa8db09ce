#pragma once
// The user's separator presets managed from the Tools menu: renamed and deleted (the shipped
// presets cannot be changed), and a preset saved under a name that is taken: replaced, kept
// beside the other as "NAME (2)", or not saved.

#include <string>
#include <vector>

class CAppView;
class CGasSeparatorModel;
class CParametersController;

class CPresetsController {
public:
    enum class SaveResult { Saved, Cancelled, Failed };

    CPresetsController(CGasSeparatorModel& model, CParametersController& parameters, CAppView& app);
    void Initialise();

    void RenamePreset();
    void DeletePreset();
    // Saves the separator dimensions under `name` (not blank), asking first when a preset of
    // that name exists. Failed: the reason is in `failure`.
    SaveResult SavePreset(const std::string& name, std::string& failure);

    // Whether a shipped or user preset has this name; the first free "NAME (2)", "NAME (3)"...
    bool NameTaken(const std::string& name) const;
    std::string FreeName(const std::string& name) const;

private:
    // The shipped presets' names: the list's rows that are not the user's.
    std::vector<std::string> ShippedNames() const;
    // The user preset picked from a table titled `title`, or -1.
    int PickUserPreset(const std::string& title, const std::string& pickLabel);
    void ShowPresets(const std::string& presetName);
    void Tell(const std::string& title, const std::string& text) const;

    CGasSeparatorModel& model_;
    CParametersController& parameters_;
    CAppView& app_;
};
