#include "app/files/AtomicFile.h"

#include "app/model/DefaultsFile.h"
#include "app/platform/FileSystem.h"
#include "app/platform/Platform.h"
#include "app/platform/UserFolders.h"
#include "app/services/EventNames.h"
#include "app/services/EventRegistry.h"
#include "app/services/GasSeparatorModel.h"
#include "app/services/GlobalService.h"
#include "app/tags/ViewNames.h"
#include "common/log_manager/Log_Manager.h"
#include "tests/files/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <set>

namespace fs = std::filesystem;

namespace {
// The user's folders inside a fresh temporary directory of their own.
class TempFolders : public IUserFolders {
public:
    explicit TempFolders(const std::string& name) : root_("model-files-" + name) {}
    fs::path SettingsRoot() const override { return root_ / "config"; }
    fs::path DocumentsRoot() const override { return root_ / "Documents"; }
    fs::path Settings() const { return SettingsRoot() / "Quillmore" / "Gas Separator"; }
    fs::path Documents() const { return DocumentsRoot() / "Quillmore" / "Gas Separator"; }

private:
    TestFolder root_;
};

class ModelFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        folders = std::make_unique<TempFolders>(
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        Platform().userFolders = folders.get();
        publish = std::make_unique<ScopedGlobal<EventRegistry>>(gEventRegistry, registry);
        registry.Subscribe(EventName::kWellParametersUpdated, nullptr, [this] { ++updates; });
    }
    void TearDown() override {
        Platform().userFolders = nullptr;
        publish.reset();
    }
    fs::path DefaultsPath() const { return folders->Settings() / "gasseparator.defaults.yml"; }
    std::string Read(const fs::path& path) {
        std::string text;
        std::error_code error;
        EXPECT_TRUE(ReadRegularFile(path, 1 << 20, text, error)) << path << ": " << error;
        return text;
    }

    // A broken defaults file, or the preset folder, made ready.
    void WriteDefaults(const std::string& text) {
        fs::create_directories(folders->Settings());
        ASSERT_TRUE(WriteFileAtomically(DefaultsPath(), text));
    }
    fs::path Presets() {
        fs::create_directories(folders->Documents());
        return folders->Documents();
    }
    std::vector<std::string> LoadedNames() {
        std::vector<std::string> names;
        for (const SeparatorPreset& preset : model.LoadUserPresets()) {
            names.push_back(preset.displayName);
        }
        return names;
    }

    std::unique_ptr<TempFolders> folders;
    EventRegistry registry;
    std::unique_ptr<ScopedGlobal<EventRegistry>> publish;
    CGasSeparatorModel model;
    int updates = 0;
};
} // namespace

TEST_F(ModelFilesTest, FirstStartExtractsAndReadsTheShippedDefaults) {
    model.LoadDefaults();
    ASSERT_TRUE(fs::exists(DefaultsPath()));
    EXPECT_EQ(model.GetParameters().GetCasingSize(), 4.09);
    EXPECT_EQ(model.GetParameters().GetSeparatorID(), 2.75);
    EXPECT_EQ(model.GetParameters().GetDipTubeLength(), 42);
    EXPECT_EQ(model.GetPresetName(), "2 3/8\" Collar Size Separator");
    EXPECT_FALSE(model.GetParameters().GetPumpRunning());
    EXPECT_EQ(updates, 0);
}

TEST_F(ModelFilesTest, DefaultsRoundTripAndResetAnnouncesTheShippedValues) {
    WellParameters p = model.GetParameters();
    p.SetCasingSize(6.184);
    p.SetSPM(12.5);
    model.SetParameters(p);
    model.SetPresetName("Wide: #1 \"special\"");
    model.SaveDefaults();
    EXPECT_EQ(Read(DefaultsPath()).rfind("Casing Size: 6.184\nPreset Name: \"Wide: #1", 0), 0u);

    CGasSeparatorModel restarted;
    restarted.LoadDefaults();
    EXPECT_EQ(restarted.GetParameters().GetCasingSize(), 6.184);
    EXPECT_EQ(restarted.GetParameters().GetSPM(), 12.5);
    EXPECT_DOUBLE_EQ(restarted.GetParameters().GetCrankAngularSpeed(), 12.5 / 60 * kTwoPi);
    EXPECT_EQ(restarted.GetPresetName(), "Wide: #1 \"special\"");

    updates = 0;
    restarted.ResetToDefaults();
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(restarted.GetParameters().GetCasingSize(), 4.09);
    EXPECT_EQ(restarted.GetParameters().GetSPM(), 8);
}

TEST_F(ModelFilesTest, EmptyPresetNameReadsBackEmpty) {
    model.SetPresetName("");
    model.SaveDefaults();
    EXPECT_NE(Read(DefaultsPath()).find("Preset Name: \"\"\n"), std::string::npos);
    model.LoadDefaults();
    EXPECT_EQ(model.GetPresetName(), "");
    // A file written before names were quoted holds an empty value: no preset either.
    WriteFileAtomically(DefaultsPath(), "Casing Size: 4.09\nPreset Name: \nSeparator OD: 3\n"
                                        "Separator ID: 2.75\nDip Tube OD: 1.35\n"
                                        "Dip Tube ID: 1.05\nDip Tube Length: 42\n"
                                        "Gas Bubble Rise Velocity: 6\nProduction Rate: 200\n"
                                        "SPM: 8\n");
    model.SetPresetName("x");
    model.LoadDefaults();
    EXPECT_EQ(model.GetPresetName(), "");
}

TEST_F(ModelFilesTest, BrokenDefaultsFilesAreSetAsideNotLost) {
    for (const std::string broken : {"Casing Size: [unclosed\n", "Casing Size: 4\n",
                                     "Casing Size: wide\nPreset Name: x\n"
                                     "Separator OD: 3\nSeparator ID: 2.75\n"
                                     "Dip Tube OD: 1.35\nDip Tube ID: 1.05\n"
                                     "Dip Tube Length: 42\n"
                                     "Gas Bubble Rise Velocity: 6\n"
                                     "Production Rate: 200\nSPM: 8\n"}) {
        fs::create_directories(folders->Settings());
        ASSERT_TRUE(WriteFileAtomically(DefaultsPath(), broken));
        CGasSeparatorModel fresh;
        fresh.LoadDefaults();
        EXPECT_EQ(fresh.GetParameters().GetCasingSize(), 4.09) << broken;
    }
    // Each broken file was kept under its own name.
    EXPECT_EQ(Read(DefaultsPath().string() + ".bad"), "Casing Size: [unclosed\n");
    EXPECT_EQ(Read(DefaultsPath().string() + ".bad-2"), "Casing Size: 4\n");
    EXPECT_TRUE(fs::exists(DefaultsPath().string() + ".bad-3"));
}

TEST_F(ModelFilesTest, PresetFileNamesFollowTheDisplayName) {
    WellParameters p = model.GetParameters();
    p.SetSeparatorOD(3.5);
    model.SetParameters(p);
    const SeparatorPreset* first = model.SaveUserPreset("My Sep 2   ");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->displayName, "My Sep 2");
    EXPECT_EQ(first->dimensions.GetSeparatorOD(), 3.5);
    EXPECT_EQ(Read(folders->Documents() / "MySep2.seppreset.yml")
                  .rfind("Display Name: My Sep 2\nSeparator OD: 3.5\n", 0),
              0u);
    ASSERT_NE(model.SaveUserPreset("My Sep 2"), nullptr);
    EXPECT_TRUE(fs::exists(folders->Documents() / "MySep2_1.seppreset.yml"));
    ASSERT_NE(model.SaveUserPreset("***"), nullptr);
    ASSERT_NE(model.SaveUserPreset("- [x]: #"), nullptr);
    EXPECT_TRUE(fs::exists(folders->Documents() / "userpreset.seppreset.yml"));
    EXPECT_TRUE(fs::exists(folders->Documents() / "x.seppreset.yml"));
    // Letters of every script are letters: not "userpreset_1" for a Russian name.
    ASSERT_NE(model.SaveUserPreset("Сепаратор-2 "), nullptr);
    EXPECT_TRUE(fs::exists(folders->Documents() / "Сепаратор2.seppreset.yml"));
    EXPECT_EQ(model.SaveUserPreset("   "), nullptr);
    EXPECT_EQ(model.GetUserPresets().size(), 5u);
}

// Only names ending exactly in ".seppreset.yml" are presets: not a save's temporary file, an
// editor's backup, another letter case or a name that merely contains the suffix.
TEST_F(ModelFilesTest, OnlyFilesNamedAsPresetsAreRead) {
    const std::string preset = "Display Name: N\nSeparator OD: 3\nSeparator ID: 2.5\n"
                               "Dip Tube OD: 1\nDip Tube ID: 0.8\nDip Tube Length: 40\n";
    const std::map<std::string, bool> names = {{"a.seppreset.yml", true},
                                               {"b_1.seppreset.yml", true},
                                               {"c.seppreset.yml.x1y2z3.tmp", false},
                                               {"d.seppreset.yml~", false},
                                               {"e.SEPPRESET.YML", false},
                                               {"f.seppreset.yml.bak", false},
                                               {"gseppreset.yml", false},
                                               {"h.seppreset.yaml", false},
                                               {"i.csgpreset.yml", false}};
    fs::create_directories(folders->Documents());
    for (const auto& [name, read] : names) {
        std::string text = preset;
        text.replace(text.find("N\n"), 1, name);
        WriteFileAtomically(folders->Documents() / name, text);
    }
    std::set<std::string> read;
    for (const SeparatorPreset& loaded : model.LoadUserPresets()) {
        read.insert(loaded.displayName);
    }
    for (const auto& [name, expected] : names) {
        EXPECT_EQ(read.count(name) == 1, expected) << name;
    }
}

TEST_F(ModelFilesTest, AwkwardNamesRoundTripAndBadPresetFilesAreSkipped) {
    const std::vector<std::string> names = {"2 3/8\" Collar", "a: b", "x #y", "'quoted'", "- dash",
                                            "true",           "12.5", "&amp", "Ünïcode ✓"};
    for (const std::string& name : names) {
        ASSERT_NE(model.SaveUserPreset(name), nullptr) << name;
    }
    WriteFileAtomically(folders->Documents() / "broken.seppreset.yml", "Display Name: [\n");
    WriteFileAtomically(folders->Documents() / "partial.seppreset.yml", "Display Name: P\n");
    fs::create_directories(folders->Documents() / "folder.seppreset.yml");

    std::vector<std::string> read;
    for (const SeparatorPreset& preset : model.LoadUserPresets()) {
        read.push_back(preset.displayName);
    }
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    std::sort(read.begin(), read.end());
    EXPECT_EQ(read, expected);
}

TEST_F(ModelFilesTest, PresetsApplyTheirFiveDimensionsAndNoneOnlyClearsTheName) {
    SeparatorPreset preset;
    preset.displayName = "Test";
    preset.dimensions.SetSeparatorOD(4);
    preset.dimensions.SetSeparatorID(3.5);
    preset.dimensions.SetDipTubeOD(2);
    preset.dimensions.SetDipTubeID(1.5);
    preset.dimensions.SetDipTubeLength(60);
    const double spm = model.GetParameters().GetSPM();
    model.ApplySeparatorPreset(&preset);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(model.GetPresetName(), "Test");
    EXPECT_EQ(model.GetParameters().GetSeparatorID(), 3.5);
    EXPECT_EQ(model.GetParameters().GetDipTubeLength(), 60);
    EXPECT_EQ(model.GetParameters().GetSPM(), spm);
    model.ApplySeparatorPreset(nullptr);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(model.GetPresetName(), "");
    EXPECT_EQ(model.GetParameters().GetSeparatorID(), 3.5);
}

TEST_F(ModelFilesTest, WithoutFoldersNothingIsReadOrWritten) {
    Platform().userFolders = nullptr;
    const WellParameters before = model.GetParameters();
    model.LoadDefaults();
    model.ResetToDefaults();
    model.SaveDefaults();
    EXPECT_EQ(model.GetParameters(), before);
    EXPECT_EQ(updates, 0);
    EXPECT_EQ(model.SaveUserPreset("Name"), nullptr);
    EXPECT_TRUE(model.LoadUserPresets().empty());
}

namespace {
// The Warning and Error lines logged while the object lives.
class RecordedLog : public CLogListener {
public:
    explicit RecordedLog(const fs::path& folder)
        : log_(folder.string() + "/", 7, 0, 1), publish_(gLogManager, log_) {
        log_.SetListener(this);
    }
    void OnLog(int level, const std::string& text) override {
        text_ += level >= LogManager::Warning ? text : "";
    }
    const std::string& Text() { return log_.WritePending(), text_; }

private:
    LogManager log_;
    ScopedGlobal<LogManager> publish_;
    std::string text_;
};
} // namespace

TEST_F(ModelFilesTest, DefaultsValuesOutsideTheirOwnLimitsTakeTheShippedValueAndAreNamed) {
    RecordedLog log(folders->Settings().parent_path());
    fs::create_directories(folders->Settings());
    WriteFileAtomically(DefaultsPath(), "Casing Size: 4.09\nPreset Name: Mine\nSeparator OD: 9\n"
                                        "Separator ID: 2.5\nDip Tube OD: 1.25\nDip Tube ID: 1\n"
                                        "Dip Tube Length: 5\nGas Bubble Rise Velocity: .inf\n"
                                        "Production Rate: 190\nSPM: 1e308\n");
    model.LoadDefaults();
    const WellParameters& p = model.GetParameters();
    EXPECT_EQ(p.GetSPM(), 8); // not 1e308, which ran the crank angle to 5e307
    EXPECT_EQ(p.GetDipTubeLength(), 42);
    EXPECT_EQ(p.GetGasBubbleRiseVelocity(), 6);
    // The rest is used; a separator wider than its casing is kept, to be marked in the panel.
    EXPECT_EQ(p.GetProductionRate(), 190);
    EXPECT_EQ(p.GetSeparatorOD(), 9);
    for (const char* named : {"| Warning | CGasSeparatorModel |", "\"SPM\" is 1e+308",
                              "\"Dip Tube Length\" is 5", "\"Gas Bubble Rise Velocity\" is inf"}) {
        EXPECT_NE(log.Text().find(named), std::string::npos) << named << "\n" << log.Text();
    }
}

TEST_F(ModelFilesTest, NonFiniteNumbersAreRefusedAndNeverWritten) {
    RecordedLog log(folders->Settings().parent_path());
    fs::create_directories(folders->Documents());
    WriteFileAtomically(folders->Documents() / "nan.seppreset.yml",
                        "Display Name: N\nSeparator OD: 3\nSeparator ID: .nan\nDip Tube OD: 1\n"
                        "Dip Tube ID: 0.5\nDip Tube Length: 40\n");
    // Held to the defaults file's limits: no preset applies a value no one could type.
    WriteFileAtomically(folders->Documents() / "long.seppreset.yml",
                        "Display Name: L\nSeparator OD: 3\nSeparator ID: 2.5\nDip Tube OD: 1\n"
                        "Dip Tube ID: 0.5\nDip Tube Length: 4000\n");
    WriteFileAtomically(folders->Documents() / "negative.seppreset.yml",
                        "Display Name: M\nSeparator OD: -3\nSeparator ID: 2.5\nDip Tube OD: 1\n"
                        "Dip Tube ID: 0.5\nDip Tube Length: 40\n");
    EXPECT_TRUE(model.LoadUserPresets().empty());
    EXPECT_NE(log.Text().find("nan.seppreset.yml: bad value for \"Separator ID\" (line 3): not a "
                              "finite number"),
              std::string::npos)
        << log.Text();
    EXPECT_NE(log.Text().find("long.seppreset.yml: bad value for \"Dip Tube Length\" (line 6): "
                              "4000 is out of its range (at least 12, at most 480)"),
              std::string::npos)
        << log.Text();
    EXPECT_NE(log.Text().find("negative.seppreset.yml: bad value for \"Separator OD\""),
              std::string::npos);
    // Whatever put a non-finite value into the model, no file gets it.
    model.SaveDefaults();
    const std::string saved = Read(DefaultsPath());
    WellParameters p = model.GetParameters();
    p.SetSeparatorOD(std::numeric_limits<double>::infinity());
    model.SetParameters(p);
    model.SaveDefaults();
    EXPECT_EQ(Read(DefaultsPath()), saved);
    EXPECT_EQ(model.SaveUserPreset("Broken"), nullptr);
}

namespace {
// A file of `bytes` bytes that is otherwise a good preset (the rest is a YAML comment).
std::string PaddedPreset(std::size_t bytes) {
    std::string text = "Display Name: Big\nSeparator OD: 3\nSeparator ID: 2\nDip Tube OD: 1\n"
                       "Dip Tube ID: 0.5\nDip Tube Length: 40\n#";
    text.resize(bytes, 'x');
    return text + "\n";
}
} // namespace

TEST_F(ModelFilesTest, OnlyRegularFilesUpToOneMebibyteAreRead) {
    ASSERT_TRUE(WriteFileAtomically(Presets() / "big.seppreset.yml", PaddedPreset(2 << 20)));
    ASSERT_TRUE(LoadedNames().empty()); // checked first: the cases below would hang before
    ASSERT_TRUE(MakeFifo(Presets() / "fifo.seppreset.yml"));
    // A zero device of the test's own (endless, were it read) through a link; a FIFO where no
    // device may be made.
    const fs::path zeroDevice = folders->Documents().parent_path() / "zero";
    const fs::path zero =
        MakeDevice(zeroDevice, DeviceKind::Zero) ? zeroDevice : Presets() / "fifo.seppreset.yml";
    fs::create_symlink(zero, Presets() / "zero.seppreset.yml");
    ASSERT_TRUE(WriteFileAtomically(Presets() / "fits.seppreset.yml", PaddedPreset(1000)));
    EXPECT_EQ(LoadedNames(), std::vector<std::string>{"Big"});

    for (const std::string kind : {"fifo", "zero", "big"}) {
        fs::remove(DefaultsPath());
        fs::create_directories(folders->Settings());
        if (kind == "fifo") {
            ASSERT_TRUE(MakeFifo(DefaultsPath()));
        } else if (kind == "zero") {
            fs::create_symlink(zero, DefaultsPath());
        } else {
            WriteDefaults(PaddedPreset(2 << 20));
        }
        CGasSeparatorModel fresh;
        fresh.LoadDefaults();
        EXPECT_EQ(fresh.GetParameters().GetCasingSize(), 4.09) << kind;
        EXPECT_NE(fresh.TakeDefaultsNotice().find("set aside as"), std::string::npos) << kind;
    }
}

TEST_F(ModelFilesTest, LinksThatLoopOrDangleAreSkippedAndNothingThrows) {
    fs::create_symlink("self.seppreset.yml", Presets() / "self.seppreset.yml");
    fs::create_symlink("b.seppreset.yml", Presets() / "a.seppreset.yml");
    fs::create_symlink("a.seppreset.yml", Presets() / "b.seppreset.yml");
    fs::create_directories(folders->Documents() / "closed");
    fs::create_symlink("closed/gone.yml", Presets() / "dangling.seppreset.yml");
    fs::permissions(folders->Documents() / "closed", fs::perms::none);
    ASSERT_NE(model.SaveUserPreset("Good"), nullptr);
    EXPECT_EQ(LoadedNames(), std::vector<std::string>{"Good"});
    fs::permissions(folders->Documents() / "closed", fs::perms::owner_all);

    // The set-aside name itself loops.
    WriteDefaults("Casing Size: [unclosed\n");
    fs::create_symlink("gasseparator.defaults.yml.bad", DefaultsPath().string() + ".bad");
    EXPECT_NO_THROW(model.LoadDefaults());
    EXPECT_EQ(Read(DefaultsPath().string() + ".bad-2"), "Casing Size: [unclosed\n");
    EXPECT_EQ(model.GetParameters().GetCasingSize(), 4.09);
}

// (The notice of a file that was set aside is tried end to end by the driver test.)
TEST_F(ModelFilesTest, ADefaultsFileThatCannotBeSetAsideIsKeptAndTheShippedValuesAreUsed) {
    WriteDefaults("Casing Size: 4\n");
    for (int n = 1; n <= 100; ++n) { // no free name left
        const std::string suffix = n == 1 ? ".bad" : ".bad-" + std::to_string(n);
        ASSERT_TRUE(WriteFileAtomically(DefaultsPath().string() + suffix, "taken"));
    }
    model.LoadDefaults();
    EXPECT_EQ(model.GetParameters().GetCasingSize(), 4.09); // not the built-in 7.025
    EXPECT_NE(model.TakeDefaultsNotice().find("could not be set aside"), std::string::npos);
    EXPECT_EQ(model.TakeDefaultsNotice(), ""); // told once
    model.SaveDefaults();
    EXPECT_EQ(Read(DefaultsPath()), "Casing Size: 4\n");
}

TEST_F(ModelFilesTest, PresetNamesOfAnyLengthSaveAndStayWhole) {
    const std::string name240(240, 'a');
    const SeparatorPreset* preset = model.SaveUserPreset(name240);
    ASSERT_NE(preset, nullptr); // before the endless cases below
    EXPECT_EQ(preset->displayName, name240);
    const std::string name2000 = std::string(2000, 'b') + " / .. \x01";
    for (int i = 0; i < 2; ++i) {
        preset = model.SaveUserPreset(name2000);
        ASSERT_NE(preset, nullptr);
        // Whole but on one line: a control character is a blank, trimmed at the end.
        EXPECT_EQ(preset->displayName, std::string(2000, 'b') + " / ..");
    }
    EXPECT_TRUE(fs::exists(Presets() / (std::string(100, 'b') + "_1.seppreset.yml")));
    for (const auto& entry : fs::directory_iterator(Presets())) {
        EXPECT_LE(entry.path().filename().string().size(), 120u);
    }
    EXPECT_EQ(LoadedNames().size(), 3u);
    // A name edited by hand over lines is one row of the list.
    WriteFileAtomically(Presets() / "hand.seppreset.yml",
                        "Display Name: \"Two\\nLines\\tTab\"\nSeparator OD: 3\nSeparator ID: "
                        "2.75\nDip Tube OD: 1.35\nDip Tube ID: 1.05\nDip Tube Length: 42\n");
    const std::vector<std::string> names = LoadedNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "Two Lines Tab"), names.end());
}

TEST_F(ModelFilesTest, ReplacingKeepsPermissionsAndLinksAndNeverFollowsAStrayTemporaryName) {
    WriteDefaults("Casing Size: 4\n");
    fs::permissions(DefaultsPath(), fs::perms::owner_read | fs::perms::owner_write);
    const fs::path victim = folders->Settings() / "victim.txt";
    ASSERT_TRUE(WriteFileAtomically(victim, "untouched"));
    fs::create_symlink(victim, DefaultsPath().string() + ".tmp");
    model.SaveDefaults();
    EXPECT_EQ(Read(victim), "untouched");
    EXPECT_EQ(fs::status(DefaultsPath()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(Read(DefaultsPath()).rfind("Casing Size: ", 0), 0u);

    // A defaults file that is a link stays one; the file it points to is replaced.
    const fs::path real = folders->Settings() / "real.yml";
    fs::rename(DefaultsPath(), real);
    fs::create_symlink(real, DefaultsPath());
    model.SetPresetName("Linked");
    model.SaveDefaults();
    EXPECT_TRUE(fs::is_symlink(DefaultsPath()));
    EXPECT_NE(Read(real).find("Preset Name: Linked\n"), std::string::npos);
}

TEST_F(ModelFilesTest, TheTextIsOnTheDiskBeforeTheFileTakesItsName) {
    struct RecordingFileSystem : IFileSystem {
        fs::path target;
        std::string seen; // the target's text when the new text was synced
        std::error_code SyncToDisk(std::FILE*) override {
            std::ifstream in(target);
            seen.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return {};
        }
    } recording;
    WriteDefaults("old\n");
    recording.target = DefaultsPath();
    Platform().fileSystem = &recording;
    model.SaveDefaults();
    Platform().fileSystem = nullptr;
    EXPECT_EQ(recording.seen, "old\n");
    EXPECT_NE(Read(DefaultsPath()), "old\n");
}

// Two processes save the same preset name many times at once: every save is its own whole file.
TEST_F(ModelFilesTest, TwoProcessesSavingTheSameNameNeverLoseOrMixAPreset) {
    constexpr int kSaves = 150;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (const double od : {3.25, 3.5}) {
        const pid_t child = ::fork();
        if (child == 0) {
            char go;
            ::close(start[1]);
            int failures = ::read(start[0], &go, 1) == 0 ? 0 : 1;
            CGasSeparatorModel saver;
            WellParameters p = saver.GetParameters();
            p.SetSeparatorOD(od);
            saver.SetParameters(p);
            for (int i = 0; i < kSaves; ++i) {
                failures += saver.SaveUserPreset("Same Name") == nullptr;
            }
            ::_exit(failures);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]); // both children start now
    for (const pid_t child : children) {
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    std::map<double, int> saved;
    for (const SeparatorPreset& preset : model.LoadUserPresets()) {
        EXPECT_EQ(preset.displayName, "Same Name");
        ++saved[preset.dimensions.GetSeparatorOD()];
    }
    EXPECT_EQ(saved, (std::map<double, int>{{3.25, kSaves}, {3.5, kSaves}}));
    EXPECT_EQ(std::distance(fs::directory_iterator(Presets()), fs::directory_iterator()),
              2 * kSaves); // no temporary file left either
}

// Saving at exit and Reset to Defaults replace nothing behind the defaults file that is not a
// regular file (a FIFO or a device of the test's own, behind a link), and leave a read-only
// file alone: the user's way of keeping their defaults, logged once.
TEST_F(ModelFilesTest, TheDefaultsFileIsNeverReplacedWhenReadOnlyOrNoRegularFile) {
    RecordedLog log(folders->Settings().parent_path());
    model.LoadDefaults(); // the first start writes the shipped file
    const std::string shipped = Read(DefaultsPath());
    fs::permissions(DefaultsPath(), fs::perms::owner_read);
    ASSERT_TRUE(MakeFifo(folders->Settings() / "fifo"));
    const bool device = MakeDevice(folders->Settings() / "null", DeviceKind::Null);
    const auto before = Listing(folders->Settings());
    WellParameters p = model.GetParameters();
    p.SetCasingSize(6.184);
    // Without the device (an unprivileged run) its link would dangle, and a save through a
    // dangling link makes the file it names: that target is left out then.
    for (const char* target : {"", "fifo", "null"}) {
        if (!device && std::string(target) == "null") {
            continue;
        }
        if (*target) {
            fs::remove(DefaultsPath());
            fs::create_symlink(target, DefaultsPath());
        }
        model.SetParameters(p);
        model.SaveDefaults();
        model.ResetToDefaults();
        model.SaveDefaults();
        if (!*target) {
            EXPECT_EQ(Read(DefaultsPath()), shipped);
        }
    }
    EXPECT_EQ(Listing(folders->Settings()).size(), before.size()); // no stray temporary file
    EXPECT_EQ(KindOf(folders->Settings() / "fifo"), "fifo");
    EXPECT_EQ(KindOf(folders->Settings() / "null"), device ? "device 1,3" : "nothing");
    const std::string text = log.Text(), told = " is read-only: it is kept as it is";
    EXPECT_NE(text.find(told), std::string::npos) << text;
    EXPECT_EQ(text.find(told), text.rfind(told)) << text;
    EXPECT_NE(text.find(": it is a link to \"" + (folders->Settings() / "fifo").string() +
                        "\", which is not a regular file (a device, a FIFO, a folder)"),
              std::string::npos)
        << text;
}
