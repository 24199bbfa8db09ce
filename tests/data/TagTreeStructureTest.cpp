// Structural checks over the whole shipped tag tree: line ends, references, the keys every tag
// class accepts and the value types they hold.
#include "tests/data/TagTreeSupport.h"

#include "app/model/ParameterTable.h"

#include <algorithm>
#include <deque>
#include <map>
#include <set>

using namespace tagtree;

namespace {

enum class Kind { Int, Double, Bool, String, Colour, Edge, Ref, RefList };

struct KeyRule {
    std::string name;
    Kind kind;
    bool required;
    std::set<std::string> targets; // allowed type extensions of ref targets
};

using Schema = std::vector<KeyRule>;

KeyRule Req(const std::string& name, Kind kind, std::set<std::string> targets = {}) {
    return {name, kind, true, std::move(targets)};
}
KeyRule Opt(const std::string& name, Kind kind, std::set<std::string> targets = {}) {
    return {name, kind, false, std::move(targets)};
}

void Append(Schema& schema, const Schema& more) {
    schema.insert(schema.end(), more.begin(), more.end());
}

Schema Position() {
    return {Req("X", Kind::Int), Req("Y", Kind::Int)};
}
Schema Rect() {
    return {Req("X", Kind::Int), Req("Y", Kind::Int), Req("Width", Kind::Int),
            Req("Height", Kind::Int)};
}
KeyRule Image(const std::string& name, bool required = true) {
    return {name, Kind::Ref, required, {"png"}};
}

Schema AppSchema() {
    Schema s{Image("Background Image"),
             Req("Icon", Kind::Ref, {"ico"}),
             Opt("Fonts", Kind::RefList, {"ttf"}),
             Req("Button Bar", Kind::Ref, {"btnb"}),
             Req("Gas Separator", Kind::Ref, {"gs"}),
             Req("Header Bar", Kind::Ref, {"headerbar"}),
             Req("Parameters Panel", Kind::Ref, {"parampanel"}),
             Opt("Flow Panel", Kind::Ref, {"parampanel"})};
    Append(s, {Req("Warnings", Kind::RefList, {"warning"}),
               Req("Contact Dialog", Kind::Ref, {"contactdialog"}),
               Req("Help Dialog", Kind::Ref, {"helpdialog"}),
               Req("Save Preset Dialog", Kind::Ref, {"savepresetdialog"}),
               Opt("Above Capacity Notice", Kind::Ref, {"notice"})});
    return s;
}

Schema ParticleRegionSchema() {
    return {Req("X", Kind::Int),
            Req("Y", Kind::Int),
            Req("Height", Kind::Int),
            Req("Width", Kind::Int),
            Opt("Particle Creation Bounds X", Kind::Int),
            Opt("Particle Creation Bounds Y", Kind::Int),
            Opt("Particle Creation Bounds Height", Kind::Int),
            Opt("Particle Creation Bounds Width", Kind::Int),
            Opt("Minimum Height", Kind::Int),
            Opt("Particles", Kind::RefList, {"particle"}),
            Opt("Bottom Curve Radius", Kind::Int)};
}

Schema GasSeparatorSchema() {
    Schema s{Req("X", Kind::Int),
             Req("Y", Kind::Int),
             Req("Gas Separator X", Kind::Int),
             Req("Gas Separator Y", Kind::Int),
             Image("Background Image"),
             Image("Gas Separator Image"),
             Req("Plunger", Kind::Ref, {"plng"}),
             Req("Valve", Kind::Ref, {"valve"}),
             Req("Valve Base", Kind::Ref, {"valvebase"})};
    for (const char* r :
         {"Casing", "Perf Left", "Perf Left Top", "Perf Left Top Fluid", "Perf Left Bottom",
          "Perf Right", "Perf Right Top", "Perf Right Top Fluid", "Perf Right Bottom",
          "Dip Tube Left", "Dip Tube Left Fluid", "Dip Tube Center Fluid",
          "Dip Tube Center Bottom Fluid", "Dip Tube Top Fluid", "Dip Tube Right",
          "Dip Tube Right Fluid"})
        s.push_back(Req(std::string(r) + " Particle Region", Kind::Ref, {"particleregion"}));
    s.push_back(Req("Dip Tube Center Particle Region", Kind::Ref, {"diptubeparticleregion"}));
    s.push_back(Req("Dip Tube Flow Indicator", Kind::Ref, {"flowindicator"}));
    for (const char* d : {"Casing", "Separator OD", "Separator ID", "Dip Tube OD", "Dip Tube ID",
                          "Dip Tube Length"})
        s.push_back(Req(std::string(d) + " Dimension Line", Kind::Ref, {"dim"}));
    Append(s, {Req("Dimension Line Lifespan", Kind::Double),
               Req("Dimension Line Begin Fade", Kind::Double)});
    return s;
}

Schema ParticleSchema() {
    Schema s{Image("Image")};
    for (const char* d : {"Lifespan", "Wiggle X", "Wiggle X Period", "Fade in Time",
                          "Minimum Bounce Y Lifespan", "Maximum Bounce Y Lifespan"})
        s.push_back(Opt(d, Kind::Double));
    for (const char* i :
         {"Alpha Minimum", "Alpha Maximum", "Particles Per Second", "Max Number of Particles",
          "Velocity Y Minimum", "Velocity Y Maximum", "Velocity X Minimum", "Velocity X Maximum",
          "Minimum Width", "Minimum Height"})
        s.push_back(Opt(i, Kind::Int));
    Append(s, {Opt("Edge Behavior X", Kind::Edge), Opt("Edge Behavior Y", Kind::Edge)});
    return s;
}

Schema TextEditSchema() {
    Schema s = Rect();
    Append(s, {Opt("Left Margin", Kind::Int), Opt("Top Margin", Kind::Int),
               Opt("Default Text", Kind::String), Opt("Text Changed Event", Kind::String),
               Image("Background Image", false), Opt("Font Name", Kind::String),
               Opt("Font Size", Kind::Int), Opt("Read Only", Kind::Bool), Opt("Name", Kind::String),
               Opt("Caption X", Kind::Int)});
    for (const char* c : {"Text Color R", "Text Color G", "Text Color B", "Error Text Color R",
                          "Error Text Color G", "Error Text Color B"})
        s.push_back(Opt(c, Kind::Int));
    return s;
}

Schema ComboBoxSchema() {
    Schema s = Rect();
    Append(s,
           {Opt("Selected Item Changed Event", Kind::String), Image("Background Image", false),
            Image("Dropdown Background Image", false), Image("Selection Background Image", false),
            Opt("Font Name", Kind::String), Opt("Font Size", Kind::Int),
            Opt("Items", Kind::RefList, {"csgpreset", "seppreset", "choice"}),
            Opt("Default Text", Kind::String), Opt("Name", Kind::String)});
    return s;
}

Schema LabelSchema() {
    Schema s = Position();
    Append(s, {Opt("Default Text", Kind::String), Opt("Unit", Kind::String),
               Opt("Fill Color", Kind::Colour), Opt("Fill Alpha", Kind::Int),
               Opt("Alert Fill Color", Kind::Colour), Opt("Stroke Color", Kind::Colour),
               Opt("Stroke Alpha", Kind::Int), Opt("Stroke Width", Kind::Double),
               Opt("Font Name", Kind::String), Opt("Font Size", Kind::Int),
               Opt("Horizontal Alignment", Kind::String), Opt("Name", Kind::String)});
    return s;
}

Schema WithPosition(Schema more) {
    Schema s = Position();
    Append(s, more);
    return s;
}

Schema Buttons(std::initializer_list<const char*> names) {
    Schema s;
    for (const char* n : names)
        s.push_back(Req(n, Kind::Ref, {"btn"}));
    return s;
}

const std::map<std::string, Schema>& Schemas() {
    static const std::map<std::string, Schema> schemas = [] {
        std::map<std::string, Schema> m;
        m["app"] = AppSchema();
        m["headerbar"] = WithPosition({Image("Background Image"), Req("Title Image X", Kind::Int),
                                       Req("Title Image Y", Kind::Int), Image("Title Image")});
        Schema bar{Image("Background Image")};
        Append(bar, Buttons({"Pump Button Go", "Pump Button Stop", "Dimensions Button Show",
                             "Dimensions Button Hide", "Help Button", "Save Preset Button",
                             "Info Button"}));
        m["btnb"] = WithPosition(bar);
        m["btn"] =
            WithPosition({Image("Base Image"), Image("Hover Image"), Image("Pressed Image"),
                          Req("Mouse Region", Kind::Ref, {"mouse"}), Opt("Name", Kind::String)});
        m["mouse"] = Rect();
        m["mouse"].push_back(Req("Click Event", Kind::String));
        // The parameters panel has every key; the flow panel only the boxes and captions.
        Schema panel{Image("Background Image"),
                     Opt("Separator Presets", Kind::Ref, {"cmb"}),
                     Opt("Casing Size", Kind::Ref, {"cmb"}),
                     Req("Fields", Kind::RefList, {"text"}),
                     Opt("Caption Style", Kind::Ref, {"notice"}),
                     Opt("Detail Style", Kind::Ref, {"notice"}),
                     Opt("Gas Limit", Kind::Ref, {"lbl"}),
                     Opt("Verdict", Kind::Ref, {"notice"}),
                     Opt("Lists", Kind::RefList, {"cmb"}),
                     Opt("Buttons", Kind::RefList, {"btn"}),
                     Opt("Labels", Kind::RefList, {"lbl"})};
        panel.push_back(Opt("Recommended Dip Tube Length", Kind::Ref, {"lbl"}));
        panel.push_back(Opt("Gas Reach", Kind::Ref, {"gasreach"}));
        m["parampanel"] = WithPosition(panel);
        m["cmb"] = ComboBoxSchema();
        m["csgpreset"] = {Req("Casing Size", Kind::Double), Req("Display Name", Kind::String)};
        m["choice"] = {Req("Display Name", Kind::String), Req("Value", Kind::Double)};
        m["seppreset"] = {Req("Display Name", Kind::String)};
        for (const char* d :
             {"Separator OD", "Separator ID", "Dip Tube OD", "Dip Tube ID", "Dip Tube Length"})
            m["seppreset"].push_back(Req(d, Kind::Double));
        // The shipped defaults: the preset name and every input of the table.
        m["defaults"] = {Req("Preset Name", Kind::String)};
        for (const ParameterEntry& parameter : Parameters()) {
            const Kind kind = parameter.quantity == Quantity::Switch ? Kind::Bool : Kind::Double;
            m["defaults"].push_back(parameter.optionalInFiles ? Opt(parameter.storedKey, kind)
                                                              : Req(parameter.storedKey, kind));
        }
        m["text"] = TextEditSchema();
        m["lbl"] = LabelSchema();
        m["notice"] = LabelSchema();
        Append(m["notice"], {Opt("Wrap Width", Kind::Int), Opt("Line Height", Kind::Int),
                             Opt("Shrink To Fit", Kind::Bool)});
        m["gasreach"] = WithPosition(
            {Req("Label", Kind::Ref, {"lbl"}), Req("Bar X", Kind::Int), Req("Bar Y", Kind::Int),
             Req("Bar Width", Kind::Int), Req("Bar Height", Kind::Int),
             Opt("Bar Color", Kind::Colour), Opt("Border Color", Kind::Colour),
             Opt("Fill Color", Kind::Colour), Opt("Inlet Color", Kind::Colour)});
        m["warning"] = WithPosition(
            {Req("Name", Kind::String), Image("Background Image"), Req("Lifespan", Kind::Double),
             Opt("Title", Kind::String), Opt("Title Style", Kind::Ref, {"notice"}),
             Opt("Text", Kind::String), Opt("Text Style", Kind::Ref, {"notice"})});
        Schema contact{Image("Background Image")};
        Append(contact, Buttons({"Close Button", "Email Button", "Website Button"}));
        m["contactdialog"] = WithPosition(contact);
        Schema help{Image("Background Image")};
        Append(help, Buttons({"Close Button", "Email Button"}));
        m["helpdialog"] = WithPosition(help);
        Schema save{Image("Background Image")};
        Append(save, Buttons({"Close Button", "Save Button", "Cancel Button"}));
        save.push_back(Req("Preset Name", Kind::Ref, {"text"}));
        m["savepresetdialog"] = WithPosition(save);
        m["gs"] = GasSeparatorSchema();
        m["plng"] = {Req("X", Kind::Int),
                     Req("Upper Stroke Y", Kind::Int),
                     Req("Lower Stroke Y", Kind::Int),
                     Req("Width", Kind::Int),
                     Req("Height", Kind::Int),
                     Req("Valve", Kind::Ref, {"valve"}),
                     Image("Background Image")};
        m["valve"] = {Req("X", Kind::Int), Req("Upper Stroke Y", Kind::Int),
                      Req("Lower Stroke Y", Kind::Int), Req("Transition Time", Kind::Double),
                      Image("Background Image")};
        m["valvebase"] = WithPosition({Image("Background Image")});
        m["dim"] = WithPosition({Image("Image"), Req("Label", Kind::Ref, {"lbl"})});
        m["particleregion"] = ParticleRegionSchema();
        m["flowindicator"] = ParticleRegionSchema();
        m["diptubeparticleregion"] = ParticleRegionSchema();
        for (const char* d : {"Dip Tube X", "Dip Tube Y", "Dip Tube Height", "Dip Tube Width"})
            m["diptubeparticleregion"].push_back(Req(d, Kind::Int));
        m["particle"] = ParticleSchema();
        return m;
    }();
    return schemas;
}

// Checks one value against its key's rule; returns a description of the fault or "".
std::string CheckValue(const KeyRule& keyRule, const YAML::Node& value) {
    try {
        switch (keyRule.kind) {
        case Kind::Int:
            value.as<int>();
            break;
        case Kind::Double:
            value.as<double>();
            break;
        case Kind::Bool:
            value.as<bool>();
            break;
        case Kind::String:
            if (!value.IsScalar())
                return "not a scalar";
            break;
        case Kind::Colour:
            if (!value.IsSequence() || value.size() != 3)
                return "not an [R, G, B] sequence";
            for (const auto& c : value) {
                const int v = c.as<int>();
                if (v < 0 || v > 255)
                    return "colour component out of 0..255";
            }
            break;
        case Kind::Edge: {
            // Any other word silently means Bounce in the program, so a typo here would go
            // unnoticed on screen.
            const auto word = value.as<std::string>();
            if (word != "Bounce" && word != "Flow" && word != "Death")
                return "unknown edge behaviour " + word;
            break;
        }
        case Kind::Ref:
            if (!keyRule.targets.count(TypeOf(RefPath(value))))
                return "ref to wrong type: " + RefPath(value);
            break;
        case Kind::RefList:
            if (!value.IsSequence())
                return "not a sequence";
            for (const auto& item : value)
                if (!keyRule.targets.count(TypeOf(RefPath(item))))
                    return "ref to wrong type: " + RefPath(item);
            break;
        }
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

// References from one parsed tag file, in the order they are written.
std::vector<std::string> RefsIn(const YAML::Node& tag) {
    std::vector<std::string> refs;
    auto collect = [&refs](const YAML::Node& n) {
        if (n.IsScalar() && IsRefText(n.Scalar()))
            refs.push_back(RefPath(n));
    };
    for (const auto& kv : tag) {
        collect(kv.second);
        if (kv.second.IsSequence())
            for (const auto& item : kv.second)
                collect(item);
    }
    return refs;
}

struct Walk {
    std::vector<std::string> yamlTags; // reached tag files, in first-reached order
    std::set<std::string> media;       // reached media files
    std::vector<std::string> missing;  // unresolved tag-file refs, "from -> to"
};

// Follows every ref from the root tag, breadth first, the way the loader reaches files.
Walk WalkFromRoot() {
    Walk walk;
    std::set<std::string> seen{"app.app.yml"};
    std::deque<std::string> queue{"app.app.yml"};
    while (!queue.empty()) {
        const auto path = queue.front();
        queue.pop_front();
        walk.yamlTags.push_back(path);
        for (const auto& target : RefsIn(Tag(path))) {
            if (IsMedia(target)) {
                walk.media.insert(target);
            } else if (!std::filesystem::exists(DataDir() / target)) {
                walk.missing.push_back(path + " -> " + target);
            } else if (seen.insert(target).second) {
                queue.push_back(target);
            }
        }
    }
    return walk;
}

const Walk& TheWalk() {
    static const Walk walk = WalkFromRoot();
    return walk;
}

} // namespace

TEST(DataTree, EveryTagFileHasCrLfLineEnds) {
    const auto files = AllYamlFiles();
    ASSERT_GT(files.size(), 200u);
    for (const auto& rel : files) {
        const auto bytes = ReadBytes(DataDir() / rel);
        ASSERT_FALSE(bytes.empty()) << rel;
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n") << rel << " does not end in CR LF";
        for (size_t i = 0; i < bytes.size(); ++i) {
            const bool bareLf = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
            const bool bareCr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
            if (bareLf || bareCr) {
                ADD_FAILURE() << rel << ": line end without CR LF at byte " << i;
                break;
            }
        }
        EXPECT_EQ(bytes.find('\t'), std::string::npos) << rel << " contains a tab";
    }
}

TEST(DataTree, EveryTagFileRefResolves) {
    const auto& walk = TheWalk();
    EXPECT_TRUE(walk.missing.empty()) << "first unresolved ref: " << walk.missing.front();
    // The shipped tree: 255 tag files below the root, using 91 pictures, 3 fonts and an icon.
    EXPECT_EQ(walk.yamlTags.size(), 255u);
    std::map<std::string, int> mediaByType;
    for (const auto& m : walk.media)
        ++mediaByType[TypeOf(m)];
    EXPECT_EQ(mediaByType, (std::map<std::string, int>{{"ico", 1}, {"png", 91}, {"ttf", 3}}));
}

TEST(DataTree, EveryMediaRefResolves) {
    // The pictures, fonts and icon are produced by a generator; a media kind with no file at all
    // under data/ has not been generated in this checkout and is skipped, any other kind must
    // be complete.
    std::set<std::string> presentKinds;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(DataDir()))
        if (entry.is_regular_file())
            presentKinds.insert(entry.path().extension().string());
    std::set<std::string> skipped;
    for (const auto& media : TheWalk().media) {
        const auto ext = std::filesystem::path(media).extension().string();
        if (!presentKinds.count(ext)) {
            skipped.insert(ext);
            continue;
        }
        EXPECT_TRUE(std::filesystem::is_regular_file(DataDir() / media)) << "missing " << media;
    }
    if (!skipped.empty()) {
        std::string kinds;
        for (const auto& k : skipped)
            kinds += k + " ";
        GTEST_SKIP() << "media not generated yet: " << kinds;
    }
}

TEST(DataTree, EveryTagFileOnDiskIsReachableOrKnownSpare) {
    std::set<std::string> reached(TheWalk().yamlTags.begin(), TheWalk().yamlTags.end());
    const std::set<std::string> notReached{
        "gasseparator.defaults.yml", // raw data, copied out by the program
        "views/well_model/diptube_center_bubble_02.particle.yml",
        "views/well_model/diptube_center_bubble_03.particle.yml",
        "views/well_model/fluid_speck_04.particle.yml",
        "views/well_model/fluid_speck_06.particle.yml"};
    for (const auto& rel : AllYamlFiles()) {
        if (!reached.count(rel)) {
            EXPECT_TRUE(notReached.count(rel)) << rel << " is not reachable from app.app.yml";
        }
    }
    for (const auto& rel : notReached)
        EXPECT_TRUE(std::filesystem::exists(DataDir() / rel)) << rel;
}

TEST(DataTree, EveryTagHasOnlyItsClassKeysWithValuesOfTheirType) {
    for (const auto& rel : AllYamlFiles()) {
        const auto type = TypeOf(rel);
        const auto it = Schemas().find(type);
        ASSERT_NE(it, Schemas().end()) << rel << " has unknown type " << type;
        const auto tag = Tag(rel);
        ASSERT_TRUE(tag.IsMap()) << rel;
        for (const auto& kv : tag) {
            const auto key = kv.first.as<std::string>();
            const auto keyRule = std::find_if(it->second.begin(), it->second.end(),
                                              [&](const KeyRule& s) { return s.name == key; });
            if (keyRule == it->second.end()) {
                ADD_FAILURE() << rel << ": key \"" << key << "\" is not read by its class";
                continue;
            }
            const auto fault = CheckValue(*keyRule, kv.second);
            EXPECT_EQ(fault, "") << rel << ": key \"" << key << "\"";
        }
        for (const auto& keyRule : it->second)
            if (keyRule.required) {
                EXPECT_TRUE(tag[keyRule.name].IsDefined())
                    << rel << " lacks \"" << keyRule.name << "\"";
            }
    }
}

TEST(DataTree, TheTreeRaisesExactlyTheKnownEventVocabulary) {
    const std::set<std::string> vocabulary{"Pump Start",
                                           "Pump Stop",
                                           "Show Dimensions",
                                           "Hide Dimensions",
                                           "Open Save Preset Dialog",
                                           "Open Info Document",
                                           "Open Help Dialog",
                                           "Close Contact Dialog",
                                           "Launch Quillmore Email",
                                           "Launch Quillmore Website",
                                           "Close Help Dialog",
                                           "Launch Help Email",
                                           "Save Preset",
                                           "Close Save Preset Dialog",
                                           "Separator OD Changed",
                                           "Separator ID Changed",
                                           "Dip Tube OD Changed",
                                           "Dip Tube ID Changed",
                                           "Dip Tube Length Changed",
                                           "Gas Bubble Rise Velocity Changed",
                                           "SPM Changed",
                                           "Production Rate Changed",
                                           "Save Preset Name Changed",
                                           "Separator Preset Changed",
                                           "Casing Size Changed",
                                           "Rate Source Changed",
                                           "Plunger Diameter Changed",
                                           "Stroke Length Changed",
                                           "Pump Efficiency Changed",
                                           "Rise Velocity From Fluid",
                                           "Find Separator"};
    std::set<std::string> raised;
    for (const auto& rel : TheWalk().yamlTags) {
        const auto tag = Tag(rel);
        for (const char* key : {"Click Event", "Text Changed Event", "Selected Item Changed Event"})
            if (tag[key])
                raised.insert(tag[key].as<std::string>());
    }
    EXPECT_EQ(raised, vocabulary);
}

TEST(DataTree, PicturesMatchTheArtManifest) {
    // The picture generator draws exactly the files its manifest lists; the tree must use
    // exactly those, so that no picture is missing and none is drawn for nothing.
    const auto manifest = std::filesystem::path(GS_SOURCE_DIR) / "tools/art/manifest.txt";
    if (!std::filesystem::exists(manifest))
        GTEST_SKIP() << "no picture manifest in this checkout";
    std::set<std::string> listed;
    std::istringstream lines(ReadBytes(manifest));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string path;
        if (words >> path && path[0] != '#')
            listed.insert(path);
    }
    std::set<std::string> used;
    for (const auto& media : TheWalk().media)
        if (TypeOf(media) == "png")
            used.insert(media);
    EXPECT_EQ(used, listed);
}
