// The built-in casing and separator presets, in list order, and the shipped defaults file.
#include "tests/data/TagTreeSupport.h"

#include <algorithm>
#include <cctype>
#include <map>

using namespace tagtree;

namespace {

// Nominal outer diameter / weight in lb/ft / inner diameter, in list order, spelled as they
// appear in the display names.
// clang-format off
const char* const kCasings[] = {
    "4.5/9.5/4.09",      "4.5/10.5/4.052",    "4.5/11.6/4",        "4.5/13.5/3.92",
    "4.5/15.1/3.826",    "5/11.5/4.56",       "5/13/4.494",        "5/15/4.408",
    "5/18/4.276",        "5/20.8/4.156",      "5/24.2/4",          "5.5/13/5.044",
    "5.5/14/5.012",      "5.5/15.5/4.95",     "5.5/17/4.892",      "5.5/20/4.778",
    "5.5/23/4.67",       "6/15/5.524",        "6/18/5.424",        "6/20/5.352",
    "6/23/5.24",         "6/26/5.132",        "6.625/17/6.135",    "6.625/20/6.049",
    "6.625/24/5.921",    "6.625/28/5.791",    "6.625/32/5.675",    "7/17/6.538",
    "7/20/6.456",        "7/23/6.366",        "7/26/6.276",        "7/29/6.184",
    "7/32/6.094",        "7/35/6.004",        "7/38/5.92",         "7.625/20/7.125",
    "7.625/24/7.025",    "7.625/26.4/6.969",  "7.625/29.7/6.875",  "7.625/33.7/6.765",
    "7.625/39/6.625",    "7.625/45.3/6.435",  "8.625/24/8.097",    "8.625/28/8.017",
    "8.625/32/7.921",    "8.625/36/7.825",    "8.625/40/7.725",    "8.625/44/7.625",
    "8.625/49/7.511",    "9.625/29.3/9.063",  "9.625/32.3/9.001",  "9.625/36/8.921",
    "9.625/40/8.835",    "9.625/40.35/8.755", "9.625/43.5/8.755",  "9.625/47/8.681",
    "9.625/53.5/8.535",  "9.625/58.4/8.435",  "9.625/61.1/8.375",  "9.625/71.8/8.125",
    "10.75/32.75/10.192", "10.75/40.5/10.05", "10.75/45.5/9.95",   "10.75/51/9.85",
    "10.75/55.5/9.76",   "10.75/60.7/9.66",   "10.75/65.7/9.56",   "10.75/71.1/9.45",
    "11.75/38/11.15",    "11.75/42/11.084",   "11.75/47/11",       "11.75/54/10.88",
    "11.75/60/10.772",   "13.375/48/12.715",  "13.375/54.5/12.615", "13.375/61/12.515",
    "13.375/68/12.415",  "13.375/72/12.347",  "13.375/77/12.275",  "13.375/85/12.159",
    "13.375/98/11.937",  "16/55/15.376",      "16/65/15.25",       "16/75/15.124",
    "16/84/15.01",       "16/109/14.688",     "18.625/87.5/17.755", "20/94/19.124",
    "20/106.5/19",       "20/133/18.73",
};
// clang-format on

struct SeparatorRow {
    const char* name;
    const char* od;
    const char* id;
    const char* dipTubeOd;
    const char* dipTubeId;
    const char* dipTubeLength;
};

const SeparatorRow kSeparators[] = {
    {"2-3/8 Collar Size Gas Separator", "3.125", "2.875", "1.315", "1.049", "56"},
    {"2-3/8 Heavy Wall Gas Separator", "3.25", "2.75", "1.315", "1.049", "56"},
    {"2-3/8 Poor Boy Gas Separator", "2.375", "2", "1.315", "1.049", "72"},
    {"2-3/8 Poor Boy Separator & Top Hold-down Pump", "2.375", "2", "1.76", "1.5", "180"},
    {"2-7/8 Collar Size Gas Separator", "3.75", "3.5", "1.315", "1.049", "56"},
    {"2-7/8 Heavy Wall Gas Separator", "3.75", "3.25", "1.315", "1.049", "56"},
    {"2-7/8 Poor Boy Gas Separator", "2.875", "2.5", "1.315", "1.049", "72"},
    {"3-1/2 Collar Size Gas Separator", "4.5", "4.25", "1.66", "1.38", "56"},
    {"4 Inch Collar Size Gas Separator", "5", "4.75", "1.66", "1.38", "56"},
    {"Packer Separator in 5.5 Inch Casing", "4.777", "4.776", "3.75", "1.38", "56"},
    {"Packer Separator in 7 inch Casing", "6.003", "6.002", "3.75", "1.38", "56"},
};

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t pos; (pos = text.find(sep, start)) != std::string::npos; start = pos + 1)
        parts.push_back(text.substr(start, pos - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::string Without(std::string text, bool (*drop)(char)) {
    text.erase(std::remove_if(text.begin(), text.end(), drop), text.end());
    return text;
}

bool IsDot(char c) {
    return c == '.';
}
bool IsNotAlnum(char c) {
    return !std::isalnum(static_cast<unsigned char>(c));
}

std::vector<std::string> KeysInOrder(const YAML::Node& map) {
    std::vector<std::string> keys;
    for (const auto& kv : map)
        keys.push_back(kv.first.as<std::string>());
    return keys;
}

} // namespace

TEST(DataPresets, NinetyCasingPresetsInListOrder) {
    const auto items = RefList(Tag("views/parameters_panel/casingsize.cmb.yml")["Items"]);
    ASSERT_EQ(items.size(), std::size(kCasings));
    for (size_t i = 0; i < items.size(); ++i) {
        const auto parts = Split(kCasings[i], '/');
        const auto& od = parts[0];
        const auto& weight = parts[1];
        const auto& id = parts[2];
        SCOPED_TRACE(kCasings[i]);
        EXPECT_EQ(items[i], "presets/casing_" + Without(od, IsDot) + "_" + Without(weight, IsDot) +
                                "_" + Without(id, IsDot) + ".csgpreset.yml");
        const auto preset = Tag(items[i]);
        EXPECT_EQ(KeysInOrder(preset), (std::vector<std::string>{"Display Name", "Casing Size"}));
        EXPECT_EQ(preset["Display Name"].as<std::string>(),
                  od + "\" " + weight + " lbs/ft (ID " + id + "\")");
        EXPECT_EQ(preset["Casing Size"].Scalar(), id);
        EXPECT_DOUBLE_EQ(preset["Casing Size"].as<double>(), std::stod(id));
    }
}

TEST(DataPresets, CasingPresetsSharingAnInsideDiameter) {
    // Two pairs of casings share an inside diameter; the list keeps both, in weight order.
    const auto items = RefList(Tag("views/parameters_panel/casingsize.cmb.yml")["Items"]);
    std::map<std::string, int> countById;
    for (const auto& item : items)
        ++countById[Tag(item)["Casing Size"].Scalar()];
    for (const auto& [id, count] : countById)
        EXPECT_EQ(count, (id == "4" || id == "8.755") ? 2 : 1) << id;
}

TEST(DataPresets, ElevenSeparatorPresetsInListOrder) {
    const auto items = RefList(Tag("views/parameters_panel/separatorpresets.cmb.yml")["Items"]);
    ASSERT_EQ(items.size(), std::size(kSeparators));
    const std::vector<std::string> keyOrder{"Display Name", "Separator OD", "Separator ID",
                                            "Dip Tube OD",  "Dip Tube ID",  "Dip Tube Length"};
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& row = kSeparators[i];
        SCOPED_TRACE(row.name);
        EXPECT_EQ(items[i],
                  "presets/separator_" + Without(row.name, IsNotAlnum) + ".seppreset.yml");
        const auto preset = Tag(items[i]);
        EXPECT_EQ(KeysInOrder(preset), keyOrder);
        EXPECT_EQ(preset["Display Name"].as<std::string>(), row.name);
        const std::pair<const char*, const char*> values[] = {
            {"Separator OD", row.od},
            {"Separator ID", row.id},
            {"Dip Tube OD", row.dipTubeOd},
            {"Dip Tube ID", row.dipTubeId},
            {"Dip Tube Length", row.dipTubeLength}};
        for (const auto& [key, text] : values) {
            EXPECT_EQ(preset[key].Scalar(), text) << key;
            EXPECT_DOUBLE_EQ(preset[key].as<double>(), std::stod(text)) << key;
        }
    }
}

TEST(DataPresets, PackerSeparatorsKeepTheirNarrowWall) {
    const auto packer = Tag("presets/separator_PackerSeparatorin55InchCasing.seppreset.yml");
    EXPECT_NEAR(packer["Separator OD"].as<double>() - packer["Separator ID"].as<double>(), 0.001,
                1e-9);
}

TEST(DataDefaults, ShippedValuesInFileOrderAsFormattedNumbers) {
    const auto file = DataDir() / "gasseparator.defaults.yml";
    const auto defaults = Tag("gasseparator.defaults.yml");
    const std::pair<const char*, const char*> expected[] = {
        {"Casing Size", "4.09"},     {"Preset Name", "2 3/8\" Collar Size Separator"},
        {"Separator OD", "3"},       {"Separator ID", "2.75"},
        {"Dip Tube OD", "1.35"},     {"Dip Tube ID", "1.05"},
        {"Dip Tube Length", "42"},   {"Gas Bubble Rise Velocity", "6"},
        {"Production Rate", "200"},  {"SPM", "8"},
        {"Rate From Pump", "false"}, {"Plunger Diameter", "1.5"},
        {"Stroke Length", "100"},    {"Pump Efficiency", "100"},
        {"Liquid Density", "870"},   {"Gas Density", "50"},
        {"Surface Tension", "0.025"}};
    ASSERT_EQ(defaults.size(), std::size(expected));
    size_t i = 0;
    for (const auto& kv : defaults) {
        const auto& [key, value] = expected[i++];
        EXPECT_EQ(kv.first.as<std::string>(), key);
        EXPECT_EQ(kv.second.as<std::string>(), value) << key;
    }
    for (const auto& [key, value] : expected)
        if (std::string(key) != "Preset Name" && std::string(key) != "Rate From Pump") {
            EXPECT_DOUBLE_EQ(defaults[key].as<double>(), std::stod(value)) << key;
        }

    // One line per value, nothing else: the program rewrites this file with exactly these lines.
    const auto bytes = ReadBytes(file);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::ssize(expected));
    EXPECT_EQ(bytes.find('#'), std::string::npos);
}

TEST(DataDefaults, PresetNameMatchesNoBuiltInSeparatorPreset) {
    // So after a first start the separator list shows its "(User Defined)" text.
    const auto name = Tag("gasseparator.defaults.yml")["Preset Name"].as<std::string>();
    for (const auto& row : kSeparators)
        EXPECT_NE(name, row.name);
}
