// The shipped frame, panel, dialog and widget tags hold the positions, sizes, pictures and
// event names the interface is laid out with.
#include "tests/data/TagTreeSupport.h"

#include "app/model/ParameterRules.h"

#include <map>
#include <set>

using namespace tagtree;

namespace {

// Every box of the two panels, with the panel tag that lists it.
std::vector<std::pair<std::string, std::string>> PanelBoxes() {
    std::vector<std::pair<std::string, std::string>> boxes;
    for (const char* panel : {"views/parameters.parampanel.yml", "views/flow.parampanel.yml"}) {
        for (const auto& path : RefList(Tag(panel)["Fields"])) {
            boxes.emplace_back(path, panel);
        }
    }
    return boxes;
}

struct ButtonRow {
    const char* key;
    const char* file; // without .btn.yml / .mouse.yml
    int x, y, width, height;
    const char* event;
    const char* base;
    const char* hover;
    const char* pressed;
};

// Checks a button tag, its mouse region at (0, 0) and its three pictures.
void ExpectButton(const std::string& buttonPath, const ButtonRow& row) {
    SCOPED_TRACE(buttonPath);
    const auto button = Tag(buttonPath);
    EXPECT_EQ(button["X"].as<int>(), row.x);
    EXPECT_EQ(button["Y"].as<int>(), row.y);
    EXPECT_EQ(RefPath(button["Base Image"]), row.base);
    EXPECT_EQ(RefPath(button["Hover Image"]), row.hover);
    EXPECT_EQ(RefPath(button["Pressed Image"]), row.pressed);
    const auto regionPath = RefPath(button["Mouse Region"]);
    EXPECT_EQ(regionPath, std::string(row.file) + ".mouse.yml");
    const auto region = Tag(regionPath);
    EXPECT_EQ(region["X"].as<int>(), 0);
    EXPECT_EQ(region["Y"].as<int>(), 0);
    EXPECT_EQ(region["Width"].as<int>(), row.width);
    EXPECT_EQ(region["Height"].as<int>(), row.height);
    EXPECT_EQ(region["Click Event"].as<std::string>(), row.event);
}

#define TM "views/trapezoid_menu/"
#define TMI TM "images/button_"
const ButtonRow kBarButtons[] = {
    {"Pump Button Go", TM "pumpbutton_go", 60, -50, 212, 67, "Pump Start", TMI "run-base.png",
     TMI "run-hover.png", TMI "run-pressed.png"},
    {"Pump Button Stop", TM "pumpbutton_stop", 60, -50, 212, 67, "Pump Stop", TMI "pause-base.png",
     TMI "pause-hover.png", TMI "pause-pressed.png"},
    {"Dimensions Button Show", TM "dimensionsbutton_show", 74, 30, 183, 34, "Show Dimensions",
     TMI "showDimensions-base.png", TMI "showDimensions-hover.png",
     TMI "showDimensions-pressed.png"},
    {"Dimensions Button Hide", TM "dimensionsbutton_hide", 74, 30, 183, 34, "Hide Dimensions",
     TMI "hideDimensions-base.png", TMI "hideDimensions-hover.png",
     TMI "hideDimensions-pressed.png"},
    {"Save Preset Button", TM "savepresetbutton", 74, 71, 183, 34, "Open Save Preset Dialog",
     TMI "savepreset-base.png", TMI "savepreset-hover.png", TMI "savepreset-pressed.png"},
    {"Info Button", TM "infobutton", 74, 112, 183, 34, "Open Info Document", TMI "info-base.png",
     TMI "info-hover.png", TMI "info-pressed.png"},
    {"Help Button", TM "helpbutton", 74, 153, 183, 34, "Open Help Dialog", TMI "help-base.png",
     TMI "help-hover.png", TMI "help-pressed.png"},
};

// Dialog buttons: their pictures live in the dialog's images folder; close, e-mail and website
// buttons show the base picture while pressed.
#define CD "views/contact_dialog/"
#define HD "views/help_dialog/"
#define SD "views/savepreset_dialog/"
#define PP "views/parameters_panel/"
#define PPI PP "images/"
const ButtonRow kContactButtons[] = {
    {"Close Button", CD "closebutton", 610, 75, 14, 14, "Close Contact Dialog",
     CD "images/close-base.png", CD "images/close-hover.png", CD "images/close-base.png"},
    {"Email Button", CD "emailbutton", 241, 182, 206, 21, "Launch Quillmore Email",
     CD "images/email-base.png", CD "images/email-hover.png", CD "images/email-base.png"},
    {"Website Button", CD "websitebutton", 225, 212, 244, 21, "Launch Quillmore Website",
     CD "images/website-base.png", CD "images/website-hover.png", CD "images/website-base.png"},
};
const ButtonRow kHelpButtons[] = {
    {"Close Button", HD "closebutton", 610, 75, 14, 14, "Close Help Dialog",
     HD "images/close-base.png", HD "images/close-hover.png", HD "images/close-base.png"},
    {"Email Button", HD "emailbutton", 241, 248, 206, 21, "Launch Help Email",
     HD "images/email-base.png", HD "images/email-hover.png", HD "images/email-base.png"},
};
const ButtonRow kSavePresetButtons[] = {
    {"Close Button", SD "closebutton", 610, 75, 14, 14, "Close Save Preset Dialog",
     SD "images/close-base.png", SD "images/close-hover.png", SD "images/close-base.png"},
    {"Save Button", SD "savebutton", 487, 305, 107, 29, "Save Preset", SD "images/save-base.png",
     SD "images/save-hover.png", SD "images/save-pressed.png"},
    {"Cancel Button", SD "cancelbutton", 370, 305, 107, 29, "Close Save Preset Dialog",
     SD "images/cancel-base.png", SD "images/cancel-hover.png", SD "images/cancel-pressed.png"},
};

template <size_t N> void ExpectButtons(const YAML::Node& owner, const ButtonRow (&rows)[N]) {
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        const auto path = RefPath(owner[row.key]);
        EXPECT_EQ(path, std::string(row.file) + ".btn.yml");
        ExpectButton(path, row);
    }
}

} // namespace

TEST(DataViews, AppRootNamesEveryTopLevelTag) {
    const auto app = Tag("app.app.yml");
    EXPECT_EQ(RefPath(app["Background Image"]), "app_background.png");
    EXPECT_EQ(RefPath(app["Icon"]), "icons/GasSeparatorIcon_1.ico");
    EXPECT_EQ(RefList(app["Fonts"]),
              (std::vector<std::string>{"fonts/Exo-Bold.ttf", "fonts/Exo-Regular.ttf",
                                        "fonts/Exo-Italic.ttf"}));
    EXPECT_EQ(RefPath(app["Button Bar"]), "views/button_bar.btnb.yml");
    EXPECT_EQ(RefPath(app["Gas Separator"]), "views/gas_separator.gs.yml");
    EXPECT_EQ(RefPath(app["Header Bar"]), "views/header.headerbar.yml");
    EXPECT_EQ(RefPath(app["Parameters Panel"]), "views/parameters.parampanel.yml");
    EXPECT_EQ(RefPath(app["Contact Dialog"]), "views/contactus.contactdialog.yml");
    EXPECT_EQ(RefPath(app["Help Dialog"]), "views/help.helpdialog.yml");
    EXPECT_EQ(RefPath(app["Save Preset Dialog"]), "views/savepreset.savepresetdialog.yml");
}

TEST(DataViews, HeaderBarAndParametersPanelPositions) {
    const auto header = Tag("views/header.headerbar.yml");
    EXPECT_EQ(header["X"].as<int>(), -2);
    EXPECT_EQ(header["Y"].as<int>(), -2);
    EXPECT_EQ(header["Title Image X"].as<int>(), 10);
    EXPECT_EQ(header["Title Image Y"].as<int>(), 12);
    EXPECT_EQ(RefPath(header["Background Image"]), "views/header_bar/images/header_bar.png");
    EXPECT_EQ(RefPath(header["Title Image"]), "views/header_bar/images/title.png");

    const auto panel = Tag("views/parameters.parampanel.yml");
    EXPECT_EQ(panel["X"].as<int>(), -2);
    EXPECT_EQ(panel["Y"].as<int>(), 51);
    EXPECT_EQ(RefPath(panel["Background Image"]),
              "views/parameters_panel/images/parameters_panel_background.png");
    EXPECT_EQ(RefPath(panel["Separator Presets"]),
              "views/parameters_panel/separatorpresets.cmb.yml");
    EXPECT_EQ(RefPath(panel["Casing Size"]), "views/parameters_panel/casingsize.cmb.yml");
    // Every input the table types into a box has exactly one box in the panel's list, by name,
    // and every box of the list has a caption left of it.
    std::multiset<std::string> boxes;
    for (const auto& [file, panelOf] : PanelBoxes()) {
        const auto box = Tag(file);
        boxes.insert(box["Name"].as<std::string>());
        EXPECT_LT(box["Caption X"].as<int>(), 0) << file;
    }
    for (const ParameterEntry& parameter : Parameters()) {
        if (parameter.IsTyped()) {
            EXPECT_EQ(boxes.count(parameter.field), 1u) << parameter.name;
        }
    }
    EXPECT_EQ(boxes.count("Max Capacity"), 1u);
}

TEST(DataViews, ButtonBarButtonsAndMouseRegions) {
    const auto bar = Tag("views/button_bar.btnb.yml");
    EXPECT_EQ(bar["X"].as<int>(), 705);
    EXPECT_EQ(bar["Y"].as<int>(), 100);
    EXPECT_EQ(RefPath(bar["Background Image"]),
              "views/trapezoid_menu/images/trapezoid_bg-placeholder.png");
    ExpectButtons(bar, kBarButtons);
}

TEST(DataViews, DialogsButtonsAndMouseRegions) {
    const std::tuple<const char*, const char*> dialogs[] = {
        {"views/contactus.contactdialog.yml", CD "images/about_us-base.png"},
        {"views/help.helpdialog.yml", HD "images/help-base.png"},
        {"views/savepreset.savepresetdialog.yml", SD "images/savepreset-base.png"}};
    for (const auto& [file, background] : dialogs) {
        SCOPED_TRACE(file);
        const auto dialog = Tag(file);
        EXPECT_EQ(dialog["X"].as<int>(), 305); // in the middle of the 1300 pixels
        EXPECT_EQ(dialog["Y"].as<int>(), 120);
        EXPECT_EQ(RefPath(dialog["Background Image"]), background);
    }
    ExpectButtons(Tag("views/contactus.contactdialog.yml"), kContactButtons);
    ExpectButtons(Tag("views/help.helpdialog.yml"), kHelpButtons);
    const auto save = Tag("views/savepreset.savepresetdialog.yml");
    ExpectButtons(save, kSavePresetButtons);
    EXPECT_EQ(RefPath(save["Preset Name"]), SD "presetname.text.yml");
}

// Every box of the two panels raises the change event the table names for it (the capacity, a
// result, is read-only with white text), has a picture of its own size, and lies on its panel.
TEST(DataViews, TextBoxes) {
    for (const auto& [file, panelFile] : PanelBoxes()) {
        SCOPED_TRACE(file);
        const auto box = Tag(file);
        const std::string name = box["Name"].as<std::string>();
        const auto picture = PictureSize(RefPath(box["Background Image"]));
        EXPECT_EQ(picture, std::pair(box["Width"].as<int>(), box["Height"].as<int>()));
        EXPECT_EQ(box["Height"].as<int>(), 29);
        EXPECT_EQ(box["Font Name"].as<std::string>(), "Exo");
        EXPECT_EQ(box["Font Size"].as<int>(), 20);
        EXPECT_FALSE(box["Default Text"]);
        const auto panel = Tag(panelFile);
        const auto card = PictureSize(RefPath(panel["Background Image"]));
        EXPECT_GE(box["X"].as<int>() + box["Caption X"].as<int>(), 0);
        EXPECT_LE(box["X"].as<int>() + box["Width"].as<int>(), card.first);
        EXPECT_LE(box["Y"].as<int>() + box["Height"].as<int>(), card.second);
        if (const ParameterEntry* parameter = ParameterWithField(name)) {
            EXPECT_EQ(box["Text Changed Event"].as<std::string>(), parameter->changedEvent);
            EXPECT_FALSE(box["Read Only"]);
        } else {
            EXPECT_EQ(name, "Max Capacity");
            EXPECT_FALSE(box["Text Changed Event"]);
            EXPECT_TRUE(box["Read Only"].as<bool>());
            for (const char* c : {"Text Color R", "Text Color G", "Text Color B"})
                EXPECT_EQ(box[c].as<int>(), 255) << c;
        }
    }
    const auto name = Tag(SD "presetname.text.yml");
    EXPECT_EQ(name["Text Changed Event"].as<std::string>(), "Save Preset Name Changed");
    EXPECT_EQ(PictureSize(RefPath(name["Background Image"])),
              std::pair(name["Width"].as<int>(), name["Height"].as<int>()));
}

TEST(DataViews, ComboBoxes) {
    const auto presets = Tag(PP "separatorpresets.cmb.yml");
    const auto casing = Tag(PP "casingsize.cmb.yml");
    for (const auto& box : {presets, casing}) {
        EXPECT_EQ(box["Font Name"].as<std::string>(), "Exo");
        EXPECT_EQ(box["Font Size"].as<int>(), 20);
        EXPECT_EQ(RefPath(box["Dropdown Background Image"]),
                  PP "images/test_combobox_dropdown_background.png");
        EXPECT_EQ(RefPath(box["Selection Background Image"]),
                  PP "images/test_combobox_dropdown_selected.png");
    }
    EXPECT_EQ(presets["X"].as<int>(), 61);
    EXPECT_EQ(presets["Y"].as<int>(), 120);
    EXPECT_EQ(presets["Width"].as<int>(), 356);
    EXPECT_EQ(presets["Height"].as<int>(), 22);
    EXPECT_EQ(RefPath(presets["Background Image"]), PP "images/combobox_bg.png");
    EXPECT_EQ(presets["Selected Item Changed Event"].as<std::string>(), "Separator Preset Changed");
    EXPECT_EQ(presets["Default Text"].as<std::string>(), "(User Defined)");
    EXPECT_EQ(presets["Items"].size(), 11u);

    EXPECT_EQ(casing["X"].as<int>(), 144);
    EXPECT_EQ(casing["Y"].as<int>(), 32);
    EXPECT_EQ(casing["Width"].as<int>(), 273);
    EXPECT_EQ(casing["Height"].as<int>(), 23);
    EXPECT_EQ(RefPath(casing["Background Image"]), PP "images/combobox_bg_small.png");
    EXPECT_EQ(casing["Selected Item Changed Event"].as<std::string>(), "Casing Size Changed");
    EXPECT_FALSE(casing["Default Text"]);
    EXPECT_EQ(casing["Items"].size(), 90u);
}

TEST(DataViews, RecommendedDipTubeLengthLabel) {
    const auto label = Tag(PP "recommendeddiptubelength.lbl.yml");
    EXPECT_EQ(label["X"].as<int>(), 325);
    EXPECT_EQ(label["Y"].as<int>(), 418);
    EXPECT_EQ(label["Default Text"].as<std::string>(), "recommended Dip Tube Length is");
    EXPECT_EQ(label["Unit"].as<std::string>(), "");
    EXPECT_EQ(label["Fill Color"].as<std::vector<int>>(), (std::vector<int>{84, 218, 26}));
    EXPECT_EQ(label["Fill Alpha"].as<int>(), 255);
    EXPECT_EQ(label["Stroke Color"].as<std::vector<int>>(), (std::vector<int>{84, 218, 26}));
    EXPECT_EQ(label["Stroke Alpha"].as<int>(), 175);
    EXPECT_DOUBLE_EQ(label["Stroke Width"].as<double>(), 1.0);
    EXPECT_EQ(label["Font Name"].as<std::string>(), "Exo Italic");
    EXPECT_EQ(label["Font Size"].as<int>(), 17);
    EXPECT_EQ(label["Horizontal Alignment"].as<std::string>(), "Left");
}

// Every warning the rules show is listed once in the root tag, by name, and points at the
// middle of the box it explains: the card's pointer is at half its height.
TEST(DataViews, WarningsAreListedByNameAndPointAtTheirFields) {
    const auto app = Tag("app.app.yml");
    std::map<std::string, YAML::Node> warnings;
    for (const auto& path : RefList(app["Warnings"])) {
        const auto warning = Tag(path);
        EXPECT_TRUE(warnings.emplace(warning["Name"].as<std::string>(), warning).second) << path;
    }
    EXPECT_EQ(warnings.count("Max Capacity Warning View"), 1u);
    // Each box by name, with its top and bottom in the window.
    std::map<std::string, std::pair<int, int>> boxes;
    for (const auto& [file, panelFile] : PanelBoxes()) {
        const auto box = Tag(file);
        const int top = Tag(panelFile)["Y"].as<int>() + box["Y"].as<int>();
        boxes[box["Name"].as<std::string>()] = {top, top + box["Height"].as<int>()};
    }
    for (const Rule& rule : Rules()) {
        if (!*rule.Warning()) {
            continue; // the casing size, picked from its list, cannot break a rule by typing
        }
        SCOPED_TRACE(rule.Warning());
        ASSERT_EQ(warnings.count(rule.Warning()), 1u);
        const auto& warning = warnings[rule.Warning()];
        const auto picture = RefPath(warning["Background Image"]);
        const int middle = warning["Y"].as<int>() + PictureSize(picture).second / 2;
        // A consistency warning brackets its two fields; a range warning points at its own.
        const auto& first = boxes[rule.parameter->field];
        const auto& last = rule.IsRange() ? first : boxes[rule.Other()->field];
        const int top = std::min(first.first, last.first);
        const int bottom = std::max(first.second, last.second);
        EXPECT_NEAR(middle, (top + bottom) / 2.0, 1.0);
    }
}
