// The headless driver end to end: the real program, offscreen, run on the scripts in
// scripts/, each in a fresh folder that serves as HOME, the temporary folder and the
// working directory.

#include <gtest/gtest.h>

#include "app/tags/ViewNames.h"
#include "tests/TableNames.h"
#include "tests/app/CommaLocale.h"
#include <yaml-cpp/yaml.h>

#include <QImage>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {
std::string ReadFile(const fs::path& path);

struct DriverRun {
    int status = -1;
    std::string out;
    std::string err;
    fs::path folder;

    DriverRun() = default;
    DriverRun(const DriverRun&) = delete;
    DriverRun& operator=(const DriverRun&) = delete;
    ~DriverRun() {
        if (!folder.empty() && !::testing::Test::HasFailure()) {
            fs::remove_all(folder); // kept for a look when something failed
        }
    }

    YAML::Node Dump(const std::string& file) const {
        return YAML::LoadFile((folder / file).string());
    }
    // The day's log file, in the user's state folder.
    std::string Log(const fs::path& state = ".local/state") const {
        std::string log;
        for (const auto& entry :
             fs::directory_iterator(folder / state / "Quillmore/Gas Separator/logs")) {
            if (entry.path().filename().string().rfind("log_", 0) == 0) {
                log += ReadFile(entry.path());
            }
        }
        return log;
    }
    bool Printed(const std::string& line) const {
        return ("\n" + out).find("\n" + line + "\n") != std::string::npos;
    }
};

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// `environment` is put before the command, e.g. "NAME='value' ". A run that already has a
// folder runs the next script in the same one, as the same user starting the program again.
// A fresh folder for the run, to be prepared before the script runs in it.
fs::path MakeHome(DriverRun& run, const std::string& name) {
    run.folder =
        fs::temp_directory_path() / ("gs-driver-test-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(run.folder);
    fs::create_directories(run.folder / "tmp");
    return run.folder;
}

// `driver`: the program that runs the script (the test driver with the "Ask" menu, for one).
void RunScript(const std::string& script, DriverRun& run, const std::string& environment = "",
               const char* driver = GS_DRIVER) {
    if (run.folder.empty()) {
        MakeHome(run, fs::path(script).stem().string());
    }
    const std::string folder = run.folder.string();
    const std::string command = "cd '" + folder + "' && HOME='" + folder +
                                "' XDG_CONFIG_HOME= XDG_DOCUMENTS_DIR= XDG_STATE_HOME= TMPDIR='" +
                                folder + "/tmp' " + environment + "'" + driver +
                                "' '" GS_SOURCE_DIR "/tests/window/scripts/" + script +
                                "' >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadFile(run.folder / "out.txt");
    run.err = ReadFile(run.folder / "err.txt");
}

std::string View(const YAML::Node& dump, const std::string& view, const std::string& key) {
    return dump["views"][view][key].as<std::string>();
}

TEST(DriverScriptTest, ThePumpStartsAndStopsFromTheBarAndExitEndsTheScript) {
    DriverRun run;
    RunScript("pump.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const YAML::Node running = run.Dump("pump-running.yml");
    EXPECT_TRUE(running["parameters"]["pump_running"].as<bool>());
    EXPECT_GT(running["state"]["elapsed_time"].as<double>(), 0.4);
    EXPECT_EQ(View(running, ViewName::kPumpButtonGo, "active"), "false");
    EXPECT_EQ(View(running, ViewName::kPumpButtonStop, "active"), "true");
    EXPECT_EQ(View(running, ViewName::kPumpButtonGo, "kind"), "button");
    EXPECT_EQ(View(running, ViewName::kButtonBar, "kind"), "button_bar");
    EXPECT_EQ(View(running, ViewName::kApp, "kind"), "app");
    EXPECT_EQ(View(running, ViewName::kHelpDialog, "kind"), "dialog");
    EXPECT_EQ(View(running, names::RangeWarning(ParameterId::SPM), "kind"), "warning");
    EXPECT_TRUE(running["parameters"]["casing_size"].IsScalar());
    EXPECT_TRUE(running["preset_name"].IsScalar());
    const YAML::Node stopped = run.Dump("pump-stopped.yml");
    EXPECT_FALSE(stopped["parameters"]["pump_running"].as<bool>());
    EXPECT_EQ(View(stopped, ViewName::kPumpButtonGo, "active"), "true");
    EXPECT_TRUE(fs::exists(run.folder / "refused-exit.yml")); // Cancel kept the program
    EXPECT_FALSE(fs::exists(run.folder / "after-exit.yml"));  // lines after "&Exit" are ignored
    // Every click left its Debug line in the day's log file.
    const std::string log = run.Log();
    EXPECT_NE(log.find(" | Debug | CButtonView | ButtonView.cpp:"), std::string::npos) << log;
    EXPECT_NE(log.find(" | Button [views/trapezoid_menu/pumpbutton_go.btn.yml]: OnMouseClick\n"),
              std::string::npos)
        << log;
}

TEST(DriverScriptTest, DialogsLinksAndTheDocumentOpenWithoutAPerson) {
    DriverRun run;
    RunScript("dialogs.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const YAML::Node contact = run.Dump("contact-open.yml");
    EXPECT_EQ(View(contact, ViewName::kContactDialog, "open"), "true");
    EXPECT_EQ(View(contact, ViewName::kButtonBar, "enabled"), "false");
    EXPECT_EQ(View(contact, ViewName::kHelpButton, "active"), "false");
    const YAML::Node savePreset = run.Dump("save-preset-open.yml");
    EXPECT_EQ(View(savePreset, ViewName::kSavePresetDialog, "open"), "true");
    EXPECT_EQ(View(savePreset, ViewName::kContactDialog, "open"), "false");
    const YAML::Node closed = run.Dump("closed.yml");
    for (const char* dialog :
         {ViewName::kContactDialog, ViewName::kHelpDialog, ViewName::kSavePresetDialog}) {
        EXPECT_EQ(View(closed, dialog, "open"), "false") << dialog;
    }
    EXPECT_EQ(View(closed, ViewName::kButtonBar, "enabled"), "true");
    EXPECT_TRUE(run.Printed("open: https://www.quillmore.example")) << run.out;
    EXPECT_TRUE(run.Printed("open: mailto:info@quillmore.example")) << run.out;
    EXPECT_TRUE(run.Printed("open: mailto:support@quillmore.example")) << run.out;
    const fs::path document = run.folder / "Documents" / "Quillmore" / "Gas Separator" /
                              "GasSeparatorSimulatorGuide.docx";
    EXPECT_TRUE(run.Printed("open: file://" + document.string())) << run.out;
    EXPECT_TRUE(fs::exists(document));
    EXPECT_TRUE(fs::exists(run.folder / "help.png"));
    // Ending without "&Exit" closes the window, so shutdown writes the defaults file.
    EXPECT_TRUE(fs::exists(run.folder / ".config" / "Quillmore" / "Gas Separator" /
                           "gasseparator.defaults.yml"));
}

TEST(DriverScriptTest, HoverPressAndADragOffTheButton) {
    DriverRun run;
    RunScript("mouse.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const YAML::Node shown = run.Dump("dimensions-shown.yml");
    EXPECT_EQ(View(shown, ViewName::kDimensionButtonHide, "active"), "true");
    EXPECT_EQ(View(shown, ViewName::kCasingDimLine, "visible"), "true");
    EXPECT_EQ(View(shown, ViewName::kCasingDimLine, "fading"), "false");
    EXPECT_EQ(View(shown, ViewName::kCasingDimLine, "kind"), "dimension_line");
    EXPECT_EQ(View(run.Dump("hover.yml"), ViewName::kHelpButton, "hover"), "true");
    EXPECT_EQ(View(run.Dump("hover.yml"), ViewName::kHelpButton, "pressed"), "false");
    EXPECT_EQ(View(run.Dump("pressed.yml"), ViewName::kHelpButton, "pressed"), "true");
    // Dragged off, the pressed button keeps the mouse; released off it, nothing opens.
    EXPECT_EQ(View(run.Dump("dragged.yml"), ViewName::kHelpButton, "hover"), "true");
    const YAML::Node released = run.Dump("released.yml");
    EXPECT_EQ(View(released, ViewName::kHelpButton, "pressed"), "false");
    EXPECT_EQ(View(released, ViewName::kHelpDialog, "open"), "false");
    // Ctrl+R reloads the tags and leaves the pairs as they were.
    const YAML::Node reloaded = run.Dump("reloaded.yml");
    EXPECT_EQ(View(reloaded, ViewName::kDimensionButtonHide, "active"), "true");
    EXPECT_EQ(View(reloaded, ViewName::kDimensionButtonShow, "active"), "false");
    EXPECT_EQ(View(reloaded, ViewName::kPumpButtonStop, "active"), "false");
    const std::string log = run.Log();
    const auto begin = log.find("| Debug | CWindowManager | WindowManager.cpp:");
    ASSERT_NE(begin, std::string::npos) << log;
    EXPECT_NE(log.find("Refreshing tags - Begin\n", begin), std::string::npos);
    EXPECT_NE(log.find("Refreshing tags - End\n", begin), std::string::npos);
}

TEST(DriverScriptTest, FlashedDimensionLinesFadeOutAtStartUp) {
    DriverRun run;
    RunScript("flash.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(View(run.Dump("flash-early.yml"), ViewName::kDipTubeIDDimLine, "alpha"), "255");
    const int fading =
        std::stoi(View(run.Dump("flash-fading.yml"), ViewName::kDipTubeIDDimLine, "alpha"));
    EXPECT_GT(fading, 0);
    EXPECT_LT(fading, 255);
    const YAML::Node over = run.Dump("flash-over.yml");
    EXPECT_EQ(View(over, ViewName::kDipTubeIDDimLine, "visible"), "false");
    EXPECT_EQ(View(over, ViewName::kDipTubeIDDimLine, "alpha"), "0");
}

TEST(DriverScriptTest, ATagTreeThatDoesNotLoadIsReportedAndEndsTheProgram) {
    const fs::path empty =
        fs::temp_directory_path() / ("gs-empty-tags-" + std::to_string(::getpid()));
    fs::create_directories(empty);
    DriverRun run;
    RunScript("pump.txt", run, "GAS_SEPARATOR_TAG_DIR='" + empty.string() + "' ");
    fs::remove_all(empty);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("message-box: Tag Error | The program cannot start: \"" +
                           (empty / "app.app.yml").string() + "\""),
              std::string::npos)
        << run.out;
    EXPECT_FALSE(fs::exists(run.folder / "pump-running.yml"));
}

TEST(DriverScriptTest, APictureThatCannotBeReadAtStartIsNamedWithItsChain) {
    const fs::path tags = fs::temp_directory_path() / ("gs-no-title-" + std::to_string(::getpid()));
    fs::remove_all(tags);
    fs::copy(GS_SOURCE_DIR "/data", tags, fs::copy_options::recursive);
    fs::remove(tags / "views/header_bar/images/title.png");
    DriverRun run;
    RunScript("start.txt", run, "GAS_SEPARATOR_TAG_DIR='" + tags.string() + "' ");
    fs::remove_all(tags);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("message-box: Tag Error | The program cannot start: \"" + tags.string() +
                           "/views/header_bar/images/title.png\": cannot read the picture: No "
                           "such file or directory  Referred to by:   app.app.yml   "
                           "views/header.headerbar.yml\n"),
              std::string::npos)
        << run.out << run.err;
}

// The gas reach and the above-capacity notice as a user sees them, then Copy Design and Export
// Report by their keys and the menu: a cancelled dialog, a report, a report that cannot be written.
TEST(DriverScriptTest, GasReachAboveCapacityCopyDesignAndExportReport) {
    DriverRun run;
    RunScript("design-export.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const YAML::Node reach = run.Dump("reach.yml");
    EXPECT_EQ(View(reach, ViewName::kGasReach, "text"), "Gas reach 20.3 of 42 in, 48 %");
    EXPECT_EQ(View(reach, ViewName::kAboveCapacityNotice, "visible"), "false");
    const YAML::Node above = run.Dump("above.yml"); // at once: no cycle has completed yet
    EXPECT_EQ(View(above, ViewName::kGasReach, "text"), "Gas reach \u2014 of 42 in");
    EXPECT_EQ(View(above, ViewName::kAboveCapacityNotice, "visible"), "true");
    EXPECT_EQ(View(above, ViewName::kAboveCapacityNotice, "text"),
              "Above capacity: gas reaches the dip tube inlet in about 1 min 10 s");
    const YAML::Node tooWide = run.Dump("too-wide.yml"); // a separator wider than the casing
    EXPECT_EQ(View(tooWide, ViewName::kAboveCapacityNotice, "visible"), "false");
    EXPECT_EQ(View(tooWide, ViewName::kGasReach, "text"), "Gas reach \u2014");

    const std::string design = ReadFile(run.folder / "design.tsv");
    // The verdict first, then the inputs.
    EXPECT_EQ(design.rfind("Name\tValue\tUnit\nVerdict\tWorks: 91 % of capacity, gas reaches 42 "
                           "% of the dip tube\t\nVerdict cause\tnone\t\n",
                           0),
              0u)
        << design;
    EXPECT_NE(design.find("\nSeparator preset\t2-3/8 Collar Size Gas Separator\t\nCasing\t4.5\" "
                          "9.5 lbs/ft (ID 4.09\")\t\nCasing size\t4.09\tin\n"),
              std::string::npos)
        << design;
    EXPECT_NE(design.find("\nProduction rate\t250\tbbl/day\nPump speed\t8\tSPM\nRate "
                          "source\ttyped\t\nPlunger diameter\t1.5\tin\n"),
              std::string::npos)
        << design;
    EXPECT_NE(design.find("\nSurface tension\t0.025\tN/m\nMaximum capacity\t275\tbbl/day\n"),
              std::string::npos)
        << design;

    EXPECT_TRUE(run.Printed("file-dialog: Export Report")) << run.out;
    EXPECT_EQ(ReadFile(run.folder / "report.pdf").rfind("%PDF-", 0), 0u); // ".pdf" was added
    EXPECT_FALSE(fs::exists(run.folder / "report"));
    // A file that cannot be written is offered again (the script has no second name for it).
    EXPECT_NE(run.out.find("choice: Report Not Written | The report could not be written to "
                           "\"no-such-folder/report.pdf\": No such file or directory."),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("[Export As...] [Cancel] | answered Export As...\nfile-dialog: Export "
                           "Report"),
              std::string::npos)
        << run.out;
}

// On a screen scaled by 2 the screenshots hold twice the pixels, the pictures are the @2x ones
// (not the others doubled), and the panel's still picture under a dialog sits where the
// panel is instead of covering the window at double size.
TEST(DriverScriptTest, AScaledScreenGetsSharpPicturesAndDialogsInPlace) {
    DriverRun plain;
    RunScript("scaled-dialog.txt", plain);
    ASSERT_EQ(plain.status, 0) << plain.err;
    DriverRun scaled;
    MakeHome(scaled, "scaled-dialog-2");
    RunScript("scaled-dialog.txt", scaled, "QT_SCALE_FACTOR=2 ");
    ASSERT_EQ(scaled.status, 0) << scaled.err;
    const QImage small(QString::fromStdString((plain.folder / "before.png").string()));
    const QImage before(QString::fromStdString((scaled.folder / "before.png").string()));
    const QImage during(QString::fromStdString((scaled.folder / "dialog.png").string()));
    ASSERT_EQ(small.size(), QSize(1300, 720));
    ASSERT_EQ(before.size(), QSize(2600, 1440));
    ASSERT_EQ(during.size(), before.size());

    int sharper = 0; // header pixels that differ from the scale-1 pixel they would double
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 1100; ++x) {
            sharper += before.pixel(x, y) != small.pixel(x / 2, y / 2);
        }
    }
    EXPECT_GT(sharper, 5000);
    // The panel's captions left of the dialog and the flow panel below it are unchanged.
    for (const QRect logical : {QRect(5, 60, 160, 640), QRect(720, 600, 250, 80)}) {
        const QRect area(logical.topLeft() * 2, logical.size() * 2);
        EXPECT_TRUE(before.copy(area) == during.copy(area)) << logical.x() << ", " << logical.y();
    }
    // A message box is pictured at its logical size in the middle, the panel left of it as it was.
    const QImage about(QString::fromStdString((scaled.folder / "about.png").string()));
    ASSERT_EQ(about.size(), before.size());
    const QRect panel(QPoint(5, 60) * 2, QSize(160, 640) * 2);
    EXPECT_TRUE(before.copy(panel) == about.copy(panel));
    EXPECT_EQ(about.pixel(600 * 2, 600 * 2), before.pixel(600 * 2, 600 * 2)); // below the box
}

TEST(DriverScriptTest, ScriptErrorsNameTheLineAndExitWithStatus2) {
    const std::array<std::pair<const char*, const char*>, 5> cases = {{
        {"unknown-command.txt", "unknown-command.txt:5: unknown command \"frobnicate\""},
        {"missing-control.txt", "missing-control.txt:2: no text box or list named \"No Such Box\""},
        {"missing-view.txt", "missing-view.txt:2: no button view named \"Nothing Here\""},
        {"bad-number.txt", "bad-number.txt:1: run needs a number of seconds"},
        {"bad-resize.txt", "bad-resize.txt:1: resize needs a size from 325 x 180"},
    }};
    for (const auto& [script, message] : cases) {
        DriverRun run;
        RunScript(script, run);
        EXPECT_EQ(run.status, 2) << script;
        EXPECT_NE(run.err.find(message), std::string::npos) << script << ": " << run.err;
    }
}
} // namespace

std::string Parameter(const YAML::Node& dump, const std::string& key) {
    return dump["parameters"][key].as<std::string>();
}

TEST(DriverScriptTest, AResizedWindowShowsTheSceneScaledAndTakesPointsInDesignPixels) {
    DriverRun run;
    RunScript("resized.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(View(run.Dump("half-hover.yml"), ViewName::kHelpButton, "hover"), "true");
    EXPECT_EQ(Parameter(run.Dump("half-typed.yml"), "spm"), "12");
    EXPECT_EQ(Parameter(run.Dump("wide-typed.yml"), "spm"), "9");
    const QImage wide(QString::fromStdString((run.folder / "wide.png").string()));
    ASSERT_EQ(wide.size(), QSize(1600, 700));
    // The scene is 700 high and as wide as its aspect makes it, centred between two bars of
    // the background colour.
    const int sceneWidth = 700 * 1300 / 720;
    const int bar = (1600 - sceneWidth) / 2;
    EXPECT_EQ(wide.pixel(bar / 2, 350), wide.pixel(bar / 2, 10));
    EXPECT_EQ(wide.pixel(1600 - bar / 2, 350), wide.pixel(bar / 2, 350));
    EXPECT_NE(wide.pixel(bar + 200, 350), wide.pixel(bar / 2, 350)); // the parameters panel
}

TEST(UserStoryTest, ADesignIsSavedAndComesBackTheNextDay) {
    DriverRun run;
    RunScript("story-first-day.txt", run);
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_EQ(View(run.Dump("first-start.yml"), ViewName::kSeparatorPreset, "selected"),
              "(User Defined)");

    const YAML::Node picked = run.Dump("preset-picked.yml");
    EXPECT_EQ(Parameter(picked, "casing_size"), "4.892");
    EXPECT_EQ(Parameter(picked, "separator_od"), "3.75");
    EXPECT_EQ(Parameter(picked, "dip_tube_length"), "56");
    EXPECT_EQ(View(picked, names::Field(ParameterId::DipTubeID), "text"), "1.049");
    EXPECT_EQ(picked["preset_name"].as<std::string>(), "2-7/8 Collar Size Gas Separator");

    const YAML::Node typed = run.Dump("typed.yml");
    EXPECT_EQ(Parameter(typed, "spm"), "12");
    EXPECT_EQ(Parameter(typed, "dip_tube_length"), "60");
    EXPECT_EQ(View(typed, names::Field(ParameterId::DipTubeLength), "text"),
              "60"); // tidied when the field was left
    EXPECT_EQ(View(typed, ViewName::kSeparatorPreset, "selected"), "(User Defined)");
    EXPECT_EQ(View(typed, ViewName::kRecommendedDipTubeLength, "text"), "18.5 in");

    const YAML::Node saved = run.Dump("saved.yml");
    EXPECT_EQ(View(saved, ViewName::kSeparatorPreset, "selected"), "My Sep 2");
    EXPECT_EQ(View(saved, ViewName::kSavePresetDialog, "open"), "false");
    const fs::path presets = run.folder / "Documents" / "Quillmore" / "Gas Separator";
    EXPECT_EQ(ReadFile(presets / "MySep2.seppreset.yml").rfind("Display Name: My Sep 2\n", 0), 0u);

    const YAML::Node pinned = run.Dump("pinned.yml");
    EXPECT_EQ(Parameter(pinned, "pump_running"), "true");
    EXPECT_EQ(View(pinned, ViewName::kDipTubeIDDimLine, "visible"),
              "true"); // pinned: focus loss keeps it
    EXPECT_EQ(View(pinned, ViewName::kDipTubeLengthDimLine, "text"), "60\"");

    const YAML::Node reloaded = run.Dump("reloaded.yml");
    EXPECT_EQ(Parameter(reloaded, "casing_size"), "4.892");
    EXPECT_EQ(Parameter(reloaded, "spm"), "12");
    EXPECT_EQ(View(reloaded, ViewName::kSeparatorPreset, "selected"), "My Sep 2");
    EXPECT_EQ(View(reloaded, ViewName::kCasingSize, "selected"), "5.5\" 17 lbs/ft (ID 4.892\")");
    EXPECT_EQ(View(reloaded, ViewName::kDipTubeLengthDimLine, "text"),
              "60\""); // not the sample value
    EXPECT_EQ(View(reloaded, ViewName::kSeparatorODDimLine, "text"), "3.75\"");

    RunScript("story-next-day.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const YAML::Node next = run.Dump("next-start.yml");
    EXPECT_EQ(Parameter(next, "spm"), "12");
    EXPECT_EQ(Parameter(next, "dip_tube_length"), "60");
    EXPECT_EQ(Parameter(next, "pump_running"), "false");
    EXPECT_EQ(next["preset_name"].as<std::string>(), "My Sep 2");
    EXPECT_EQ(View(next, ViewName::kSeparatorPreset, "selected"), "My Sep 2");
    EXPECT_EQ(View(next, names::Field(ParameterId::SPM), "text"), "12");

    const YAML::Node reset = run.Dump("reset.yml");
    EXPECT_EQ(Parameter(reset, "spm"), "8");
    EXPECT_EQ(Parameter(reset, "casing_size"), "4.09");
    EXPECT_EQ(View(reset, ViewName::kSeparatorPreset, "selected"), "(User Defined)");
    EXPECT_EQ(View(reset, names::Field(ParameterId::SPM), "text"), "8");
}

TEST(UserStoryTest, ACaseDroppedOnTheWindowOpensAfterTheQuestion) {
    DriverRun run;
    RunScript("dropped-case.txt", run);
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    const std::string asked = "choice: Unsaved Changes | The case \"dropped\" has changes that are "
                              "not saved. Save them before going on? | [Save] [Discard] [Cancel]";
    EXPECT_TRUE(run.Printed(asked)) << run.out; // closed: the 11 typed stays
    EXPECT_EQ(Parameter(run.Dump("kept.yml"), "spm"), "11");
    EXPECT_TRUE(run.Printed(asked + " | answered Discard")) << run.out;
    EXPECT_EQ(Parameter(run.Dump("opened.yml"), "spm"), "8");
    EXPECT_NE(run.out.find("The case \"" + (run.folder / "missing.gscase").string() +
                           "\" cannot be opened"),
              std::string::npos)
        << run.out;
}

TEST(UserStoryTest, BadInputIsMarkedAndNeverReachesTheModel) {
    DriverRun run;
    RunScript("story-bad-input.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const YAML::Node marked = run.Dump("marked.yml");
    EXPECT_EQ(View(marked, names::Field(ParameterId::SPM), "valid"), "false");
    EXPECT_EQ(View(marked, names::RangeWarning(ParameterId::SPM), "visible"), "true");
    EXPECT_EQ(Parameter(marked, "spm"), "8");
    EXPECT_EQ(View(marked, names::Field(ParameterId::SeparatorID), "valid"), "false");
    EXPECT_EQ(View(marked, names::Field(ParameterId::SeparatorOD), "valid"), "false");
    EXPECT_EQ(View(marked, names::ConsistencyWarning(ParameterId::SeparatorID), "visible"), "true");
    EXPECT_EQ(Parameter(marked, "separator_id"), "3"); // inconsistent, but passed on
    EXPECT_EQ(View(marked, names::Field(ParameterId::DipTubeLength), "valid"), "false");
    EXPECT_EQ(View(marked, names::Field(ParameterId::DipTubeLength), "text"),
              "11.999"); // invalid text is left alone
    EXPECT_EQ(Parameter(marked, "dip_tube_length"), "42");
    const YAML::Node corrected = run.Dump("corrected.yml");
    EXPECT_EQ(View(corrected, names::Field(ParameterId::DipTubeLength), "valid"), "true");
    EXPECT_EQ(View(corrected, names::RangeWarning(ParameterId::DipTubeLength), "visible"), "false");
}

// Typed, shown, saved and read back: in a decimal-comma locale every number, picture and file
// is exactly what it is in the C locale.
TEST(UserStoryTest, NumbersAreTheSameInADecimalCommaLocale) {
    if (CommaLocalePath().empty()) {
        GTEST_SKIP() << kNoCommaLocale;
    }
    const std::string comma =
        std::string("LOCPATH='") + CommaLocalePath() + "' LC_ALL=" + kCommaLocale;
    std::map<std::string, std::string> files[2];
    for (const std::string& locale : {std::string("LC_ALL=C"), comma}) {
        DriverRun run; // a user of each locale, from the first start
        const bool isComma = locale == comma;
        for (const char* script : {"story-any-locale-first.txt", "story-any-locale-next.txt"}) {
            RunScript(script, run, locale + (isComma ? " LANG=de_DE.UTF-8 " : " "));
            ASSERT_EQ(run.status, 0) << run.err;
        }
        for (const char* file : {"typed.yml", "typed.png", "restarted.yml", "repicked.yml",
                                 ".config/Quillmore/Gas Separator/gasseparator.defaults.yml",
                                 "Documents/Quillmore/Gas Separator/Comma25.seppreset.yml"}) {
            files[isComma][file] = ReadFile(run.folder / file);
        }
    }
    for (const auto& [file, text] : files[0]) {
        EXPECT_EQ(files[1][file], text) << file;
    }
    const YAML::Node typed = YAML::Load(files[1]["typed.yml"]);
    const YAML::Node restarted = YAML::Load(files[1]["restarted.yml"]);
    for (const char* key : {"gas_bubble_rise_velocity", "spm", "production_rate"}) {
        EXPECT_EQ(Parameter(restarted, key), Parameter(typed, key)) << key;
    }
    EXPECT_EQ(Parameter(typed, "gas_bubble_rise_velocity"), "5.5");
    EXPECT_EQ(View(typed, ViewName::kRecommendedDipTubeLength, "text"), "21.421 in");
    EXPECT_EQ(
        View(YAML::Load(files[1]["repicked.yml"]), names::Field(ParameterId::SeparatorID), "text"),
        "3.125");
}

TEST(HostileFilesTest, AnUnusableDefaultsFileIsReportedOnceAndTheShippedValuesAreUsed) {
    DriverRun run;
    const fs::path settings = MakeHome(run, "bad-defaults") / ".config/Quillmore/Gas Separator";
    fs::create_directories(settings);
    std::ofstream(settings / "gasseparator.defaults.yml") << "Casing Size: [unclosed\n";
    RunScript("start.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string file = (settings / "gasseparator.defaults.yml").string();
    const auto told = run.out.find("message-box: Quillmore Gas Separator Simulator Error | The "
                                   "defaults file \"" +
                                   file + "\" cannot be used (not valid YAML");
    EXPECT_NE(told, std::string::npos) << run.out;
    EXPECT_NE(run.out.find("It was set aside as \"" + file +
                               ".bad\", and the shipped defaults "
                               "are used.\n",
                           told),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Parameter(run.Dump("started.yml"), "casing_size"), "4.09");
    EXPECT_EQ(ReadFile(file + ".bad"), "Casing Size: [unclosed\n");
    RunScript("start.txt", run); // told once: the next start finds a good file
    EXPECT_EQ(run.out.find("message-box:"), std::string::npos) << run.out;
}

TEST(HostileFilesTest, LogsGoToTheUsersStateFolderAndOtherProgramsLogsAreLeftAlone) {
    DriverRun run;
    const fs::path home = MakeHome(run, "log-folder");
    std::ofstream(home / "tmp/log_01-02-2020.txt") << "another program's log";
    RunScript("start.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(home / "tmp/log_01-02-2020.txt"), "another program's log");
    EXPECT_NE(run.Log().find("| Info | App | Application.cpp:"), std::string::npos);
    RunScript("start.txt", run, "XDG_STATE_HOME='" + (home / "state").string() + "' ");
    EXPECT_NE(run.Log("state").find("| Info | App | Application.cpp:"), std::string::npos);
}

// Standard output is a pipe whose reader is gone before the program writes to it.
TEST(HostileFilesTest, AClosedStandardOutputNeitherEndsTheProgramNorLosesTheValues) {
    DriverRun run;
    const fs::path home = MakeHome(run, "closed-output");
    int output[2];
    ASSERT_EQ(::pipe(output), 0);
    ::close(output[0]);
    const std::string script = GS_SOURCE_DIR "/tests/window/scripts/closed-output.txt";
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        std::signal(SIGPIPE, SIG_DFL); // the program has to protect itself
        ::setenv("HOME", home.c_str(), 1);
        ::setenv("TMPDIR", (home / "tmp").c_str(), 1);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DOCUMENTS_DIR", "XDG_STATE_HOME"}) {
            ::unsetenv(name);
        }
        if (::chdir(home.c_str()) == 0) {
            ::execl(GS_DRIVER, GS_DRIVER, script.c_str(), static_cast<char*>(nullptr));
        }
        ::_exit(127);
    }
    ::close(output[1]);
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_NE(ReadFile(home / ".config/Quillmore/Gas Separator/gasseparator.defaults.yml")
                  .find("\nSPM: 12\n"),
              std::string::npos);
}

// Export Report leaves alone what it may not replace, says why, and logs "Report written" only
// for a report that was written.
TEST(HostileFilesTest, ExportReportNeverReplacesAReadOnlyFileAFifoOrAFolder) {
    DriverRun run;
    const fs::path home = MakeHome(run, "report-targets");
    std::ofstream(home / "kept.pdf") << "my report";
    fs::permissions(home / "kept.pdf", fs::perms::owner_read | fs::perms::group_read);
    ASSERT_EQ(::mkfifo((home / "fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", home / "fifo-link.pdf");
    fs::create_directory(home / "folder.pdf");
    RunScript("report-targets.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFile(home / "kept.pdf"), "my report");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(home / "fifo")));
    EXPECT_TRUE(fs::is_directory(home / "folder.pdf"));
    for (const std::string why :
         {"\"kept.pdf\": it is read-only.",
          "\"fifo-link.pdf\": it is a link to \"fifo\", which is not a regular file (a device, "
          "a FIFO, a folder).",
          "\"folder.pdf\": it is a folder."}) {
        EXPECT_NE(run.out.find("The report could not be written to " + why), std::string::npos)
            << why << "\n"
            << run.out;
    }
    EXPECT_EQ(ReadFile(home / "written.pdf").rfind("%PDF-", 0), 0u);
    const std::string log = run.Log();
    EXPECT_NE(log.find("Report written to written.pdf"), std::string::npos) << log;
    EXPECT_EQ(log.find("Report written"), log.find("Report written to written.pdf")) << log;
    EXPECT_EQ(log.find("Report written"), log.rfind("Report written")) << log;
}

TEST(DriverScriptTest, WheelKeyboardShortcutsAndStackedDialogs) {
    DriverRun run;
    RunScript("keyboard-mouse.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string shipped =
        View(run.Dump("before-wheel.yml"), ViewName::kCasingSize, "selected");
    EXPECT_EQ(View(run.Dump("wheel-unfocused.yml"), ViewName::kCasingSize, "selected"), shipped);
    EXPECT_NE(View(run.Dump("wheel-focused.yml"), ViewName::kCasingSize, "selected"), shipped);
    const YAML::Node reloaded = run.Dump("reloaded.yml");
    EXPECT_EQ(View(reloaded, ViewName::kCasingSize, "list_open"), "false");
    EXPECT_EQ(View(reloaded, ViewName::kRecommendedDipTubeLength, "text").find("recommended"),
              std::string::npos);
    EXPECT_TRUE(run.Dump("pump-started.yml")["parameters"]["pump_running"].as<bool>());
    EXPECT_EQ(View(run.Dump("dimensions-shown.yml"), ViewName::kDimensionButtonHide, "active"),
              "true");
    const YAML::Node stacked = run.Dump("stacked.yml");
    EXPECT_EQ(View(stacked, ViewName::kHelpDialog, "covered"), "true");
    EXPECT_EQ(View(stacked, ViewName::kContactDialog, "covered"), "false");
    const YAML::Node contactClosed = run.Dump("contact-closed.yml");
    EXPECT_EQ(View(contactClosed, ViewName::kContactDialog, "open"), "false");
    EXPECT_EQ(View(contactClosed, ViewName::kHelpDialog, "covered"), "false");
    // The typed name reads back as typed: every text is a YAML string.
    const YAML::Node naming = run.Dump("naming.yml");
    EXPECT_EQ(View(naming, ViewName::kSavePresetName, "focused"), "true");
    EXPECT_EQ(View(naming, ViewName::kSavePresetName, "text"), "1.3700");
    EXPECT_NE(ReadFile(run.folder / "naming.yml").find("text: \"1.3700\""), std::string::npos);
    EXPECT_EQ(View(naming, names::Field(ParameterId::SPM), "tooltip"),
              "Pump speed in strokes per minute: above 0, at most 30");
    EXPECT_EQ(View(naming, ViewName::kPumpButtonStop, "tooltip"), "Stop the pump (F5)");
    EXPECT_EQ(run.Dump("saved.yml")["preset_name"].as<std::string>(), "1.3700");
    EXPECT_EQ(View(run.Dump("cancelled.yml"), ViewName::kSavePresetDialog, "open"), "false");
    const YAML::Node about = run.Dump("about.yml")["message_boxes"];
    ASSERT_EQ(about.size(), 1u);
    EXPECT_EQ(about[0]["title"].as<std::string>(), "About Gas Separator Simulator");
    EXPECT_EQ(run.Dump("answered.yml")["message_boxes"].size(), 0u);
    EXPECT_NE(run.out.find("cannot open: file://"), std::string::npos) << run.out;
    const YAML::Node noHandler = run.Dump("no-handler.yml")["message_boxes"];
    ASSERT_EQ(noHandler.size(), 1u);
    EXPECT_NE(noHandler[0]["text"].as<std::string>().find("GasSeparatorSimulatorGuide.docx"),
              std::string::npos);
    const YAML::Node clicked = run.Dump("clicked-open.yml");
    EXPECT_EQ(View(clicked, ViewName::kSavePresetName, "focused"), "true");
    EXPECT_EQ(View(clicked, ViewName::kSavePresetName, "text"), "Clicked");
}

TEST(DriverScriptTest, CtrlZUndoesTheBoxsTypingThenTheDesignFromAnyBox) {
    DriverRun run;
    RunScript("undo-keys.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string spm = names::Field(ParameterId::SPM);
    const auto shown = [&](const std::string& dump) {
        const YAML::Node state = run.Dump(dump);
        return View(state, spm, "text") + " " + Parameter(state, "spm");
    };
    EXPECT_EQ(shown("box-undone.yml"), "8 8");
    EXPECT_EQ(shown("design-undone.yml"), "8 8"); // the focus is in the next box, untouched
    EXPECT_EQ(shown("design-redone.yml"), "12 12");
    EXPECT_EQ(shown("redone-again.yml"), "12 12");
    const YAML::Node naming = run.Dump("name-undone.yml");
    EXPECT_EQ(View(naming, ViewName::kSavePresetName, "text"), "");
    EXPECT_EQ(View(naming, spm, "text"), "12");
}

namespace {
// Runs a script on the test driver whose "Ask" menu asks a sample of each kind of dialog.
void RunAskingScript(const std::string& script, DriverRun& run,
                     const std::string& environment = "") {
    RunScript(script, run, environment, ASKING_DRIVER);
}

// Whether the lines were printed in this order (others may come between them).
::testing::AssertionResult PrintedInOrder(const DriverRun& run,
                                          const std::vector<std::string>& lines) {
    const std::string out = "\n" + run.out;
    size_t from = 0;
    for (const std::string& line : lines) {
        from = out.find("\n" + line + "\n", from);
        if (from == std::string::npos) {
            return ::testing::AssertionFailure() << "not printed in order: " << line << "\n"
                                                 << run.out;
        }
        from += line.size() + 1;
    }
    return ::testing::AssertionSuccess();
}

QImage Picture(const DriverRun& run, const std::string& file) {
    return QImage(QString::fromStdString((run.folder / file).string()));
}

// The smallest rectangle that holds every pixel in which the pictures differ.
QRect Difference(const QImage& a, const QImage& b) {
    QRect found;
    for (int y = 0; y < std::min(a.height(), b.height()); ++y) {
        for (int x = 0; x < std::min(a.width(), b.width()); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                found |= QRect(x, y, 1, 1);
            }
        }
    }
    return found;
}
} // namespace

TEST(DriverDialogsTest, EachAnswerWaitsForTheNextDialogOfItsKindAndAnswersItOnce) {
    DriverRun run;
    RunAskingScript("ask-answers.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string choice = "choice: Unsaved Changes | The case \"Well 7\" has changes that are "
                               "not saved. Save them before closing it? | [Save] [Discard] "
                               "[Cancel]";
    EXPECT_TRUE(PrintedInOrder(
        run, {// The text's answer and the save dialog's answer wait while a question comes.
              choice, "returned: none",
              // Answered by the button's text, after the question still showing was closed.
              choice + " | answered Discard", "returned: 1",
              "text: Rename Preset | The preset's new name: | answered \"Renamed\"",
              "returned: \"Renamed\"",
              // answer-file is for save dialogs.
              "open-dialog: Open Case", "returned: none",
              // Answers given in any order find their own kinds.
              "form: Fluid Properties | answered", "returned: 60 | 0.5 | ",
              "table: Separator Finder | 3 rows | answered row 2", "returned: 1",
              "open-dialog: Open Case | answered case.gscase.yml", "returned: case.gscase.yml",
              // By the button's number; the mnemonic's "&" is not part of its text.
              choice + " | answered Cancel", "returned: 2",
              // Every answer is used once.
              "text: Rename Preset | The preset's new name:", "returned: none",
              choice + " | answered Save", "returned: 0"}));
    const YAML::Node showing = run.Dump("choice-showing.yml")["dialogs"];
    ASSERT_EQ(showing.size(), 1u);
    EXPECT_EQ(showing[0]["kind"].as<std::string>(), "choice");
    EXPECT_EQ(showing[0]["title"].as<std::string>(), "Unsaved Changes");
    EXPECT_EQ(showing[0]["buttons"][2].as<std::string>(), "Cancel");
    const YAML::Node answered = run.Dump("answered.yml");
    ASSERT_EQ(answered["dialogs"].size(), 1u); // only the text asked without an answer
    EXPECT_EQ(answered["dialogs"][0]["kind"].as<std::string>(), "text");
    EXPECT_EQ(answered["dialogs"][0]["text"].as<std::string>(), "My Sep 2");
    EXPECT_EQ(answered["message_boxes"].size(), 0u);
}

TEST(DriverDialogsTest, UnansweredDialogsAreCancelledAndShowingUntilTheNextInput) {
    DriverRun run;
    RunAskingScript("ask-unanswered.txt", run);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(PrintedInOrder(
        run, {"form: Fluid Properties", "returned: none", "table: Separator Finder | 3 rows",
              "returned: none", "text: Rename Preset | The preset's new name:", "returned: none"}));
    // The form shows the preview of its first texts.
    const YAML::Node form = run.Dump("form-showing.yml")["dialogs"];
    ASSERT_EQ(form.size(), 1u);
    EXPECT_EQ(form[0]["kind"].as<std::string>(), "form");
    EXPECT_EQ(form[0]["fields"][0]["text"].as<std::string>(), "55");
    EXPECT_EQ(form[0]["fields"][0]["unit"].as<std::string>(), "lb/ft3");
    EXPECT_EQ(form[0]["preview"].as<std::string>(), "Density difference: 53 lb/ft3");
    EXPECT_TRUE(form[0]["acceptable"].as<bool>());
    EXPECT_EQ(run.Dump("form-gone.yml")["dialogs"].size(), 0u);
    // An answer the preview does not accept cannot press OK: the form is cancelled.
    EXPECT_TRUE(PrintedInOrder(
        run, {"form refused: Fluid Properties | The liquid must be denser than the gas",
              "returned: none"}));
    EXPECT_EQ(run.out.find("form: Fluid Properties | answered"), std::string::npos) << run.out;
    EXPECT_EQ(run.Dump("refused.yml")["dialogs"].size(), 0u);

    // Each dialog is pictured in the middle of the window, and only while it shows.
    const QImage before = Picture(run, "before.png");
    EXPECT_TRUE(Picture(run, "form-gone.png") == before);
    for (const char* shot : {"form.png", "table.png", "choice.png", "text.png"}) {
        const QRect dialog = Difference(before, Picture(run, shot));
        ASSERT_FALSE(dialog.isEmpty()) << shot;
        EXPECT_NEAR(dialog.center().x(), before.width() / 2, 2) << shot;
        EXPECT_NEAR(dialog.center().y(), before.height() / 2, 2) << shot;
        EXPECT_GT(dialog.width(), 200) << shot;
    }
}

// On a screen scaled by 2 a dialog is pictured at its logical size, with twice the pixels, drawn
// at that resolution rather than enlarged.
TEST(DriverDialogsTest, ScaledScreensPictureDialogsAtTheirLogicalSizeAndSharp) {
    DriverRun plain;
    RunAskingScript("ask-unanswered.txt", plain);
    ASSERT_EQ(plain.status, 0) << plain.err;
    DriverRun scaled;
    MakeHome(scaled, "ask-unanswered-2");
    RunAskingScript("ask-unanswered.txt", scaled, "QT_SCALE_FACTOR=2 ");
    ASSERT_EQ(scaled.status, 0) << scaled.err;
    for (const char* shot : {"form.png", "table.png"}) {
        const QImage small = Picture(plain, shot);
        const QImage large = Picture(scaled, shot);
        ASSERT_EQ(large.size(), small.size() * 2) << shot;
        const QRect logical = Difference(Picture(plain, "before.png"), small);
        const QRect doubled = Difference(Picture(scaled, "before.png"), large);
        // The fonts' hinting differs between the scales by a few per cent.
        EXPECT_NEAR(doubled.width(), logical.width() * 2, logical.width() / 10) << shot;
        EXPECT_NEAR(doubled.height(), logical.height() * 2, logical.height() / 10) << shot;
        int sharper = 0; // pixels that differ from the scale-1 pixel they would double
        for (int y = doubled.top(); y <= doubled.bottom(); ++y) {
            for (int x = doubled.left(); x <= doubled.right(); ++x) {
                sharper += large.pixel(x, y) != small.pixel(x / 2, y / 2);
            }
        }
        EXPECT_GT(sharper, doubled.width() * doubled.height() / 50) << shot;
    }
}

TEST(DriverDialogsTest, AnAnswerThatDoesNotFitItsDialogIsAScriptError) {
    const std::array<std::pair<const char*, const char*>, 3> cases = {{
        {"ask-bad-choice.txt",
         "ask-bad-choice.txt:2: answer-choice \"Maybe\" names no button of \"Unsaved Changes\""},
        {"ask-bad-form.txt",
         "ask-bad-form.txt:2: answer-form gives 2 texts for the 3 fields of \"Fluid Properties\""},
        {"ask-bad-row.txt", "ask-bad-row.txt:2: answer-row 4 is no row of \"Separator Finder\""},
    }};
    for (const auto& [script, message] : cases) {
        DriverRun run;
        RunAskingScript(script, run);
        EXPECT_EQ(run.status, 2) << script;
        EXPECT_NE(run.err.find(message), std::string::npos) << script << ": " << run.err;
        EXPECT_TRUE(run.Printed("returned: none")) << script << ": " << run.out;
        EXPECT_FALSE(fs::exists(run.folder / "after.yml")) << script;
    }
    DriverRun zero; // the program's own driver knows the answers
    RunScript("ask-row-zero.txt", zero);
    EXPECT_EQ(zero.status, 2);
    EXPECT_NE(zero.err.find("ask-row-zero.txt:1: answer-row needs a row number from 1, not \"0\""),
              std::string::npos)
        << zero.err;
}
