// The animated well: the gas separator tag, the pump parts, the dimension lines, the particle
// regions and every particle kind, compared value by value with the intended design.
#include "tests/data/TagTreeSupport.h"

#include <set>

using namespace tagtree;

namespace {

const std::string kWell = "views/well_model/";
const std::string kWellImages = kWell + "images/";

// Particle columns, in the order of the table below; "" means the key is absent so that the
// engine's default applies.
const char* const kParticleKeys[] = {"Particles Per Second",
                                     "Lifespan",
                                     "Fade in Time",
                                     "Wiggle X",
                                     "Wiggle X Period",
                                     "Velocity Y Minimum",
                                     "Velocity Y Maximum",
                                     "Velocity X Minimum",
                                     "Velocity X Maximum",
                                     "Alpha Minimum",
                                     "Alpha Maximum",
                                     "Edge Behavior X",
                                     "Edge Behavior Y",
                                     "Minimum Bounce Y Lifespan",
                                     "Maximum Bounce Y Lifespan",
                                     "Minimum Width",
                                     "Minimum Height",
                                     "Max Number of Particles"};
constexpr size_t kColumns = std::size(kParticleKeys);

struct ParticleRow {
    const char* file;
    const char* values[kColumns];
    const char* image;
};

// clang-format off
const ParticleRow kParticles[] = {
    {"casing_bubble_01", {"80", "2", "0.2", "23", "1.5", "-600", "-200", "", "", "5", "30", "Bounce", "Flow", "", "", "14", "16", ""}, "bubble_medium_01.png"},
    {"casing_bubble_02", {"30", "3", "0.3", "50", "1", "-300", "-200", "", "", "5", "30", "Bounce", "Flow", "", "", "14", "16", ""}, "bubble_large_01.png"},
    {"casing_bubble_03", {"75", "2", "0.2", "23", "1.5", "-600", "-200", "", "", "5", "30", "Bounce", "Flow", "", "", "8", "8", ""}, "bubble_01.png"},
    {"casing_bubble_05", {"130", "2", "0.2", "23", "1.5", "-600", "-400", "", "", "5", "30", "Bounce", "Flow", "", "", "14", "16", ""}, "bubble_large_02.png"},
    {"casing_bubble_06", {"50", "2", "0.2", "20", "1", "-600", "-100", "", "", "5", "30", "Bounce", "Flow", "", "", "14", "16", ""}, "bubble_large_03.png"},
    {"diptube_bubble_01", {"200", "2", "0.2", "2", "0.35", "-20", "40", "", "", "75", "100", "Bounce", "Flow", "", "", "8", "8", ""}, "bubble_01.png"},
    {"diptube_bubble_02", {"55", "2", "0.2", "1.5", "0.35", "-20", "40", "", "", "50", "100", "Bounce", "Flow", "", "", "8", "10", ""}, "bubble_02.png"},
    {"diptube_bubble_03", {"55", "2", "0.2", "1.5", "0.35", "-20", "40", "", "", "50", "100", "Bounce", "Flow", "", "", "12", "8", ""}, "bubble_03.png"},
    {"diptube_bubble_largeDouble", {"15", "15", "0.2", "2", "0.5", "-15", "0", "-32", "32", "30", "100", "Bounce", "Death", "0.25", "0.5", "10", "12", ""}, "bubble_large_03.png"},
    {"diptube_bubble_01Double", {"10", "35", "0", "1.5", "0.35", "-30", "0", "-30", "30", "75", "100", "Bounce", "Death", "0.25", "0.5", "14", "10", ""}, "bubble_smallDouble.png"},
    {"diptube_bubble_medium", {"15", "45", "0", "1.5", "0.35", "-25", "0", "-30", "30", "75", "100", "Bounce", "Death", "0.3", "0.75", "14", "10", ""}, "bubble_medium_01.png"},
    {"diptube_center_bubble_01", {"10", "60", "0", "2", "0.4", "-45", "0", "-35", "35", "50", "100", "Bounce", "Death", "0.3", "0.95", "8", "8", ""}, "bubble_01.png"},
    {"diptube_center_fluid_01", {"50", "5", "0.2", "4", "4", "-600", "0", "", "", "30", "40", "Bounce", "Flow", "", "", "4", "4", ""}, "fluid_01.png"},
    {"diptube_center_fluid_02", {"50", "2", "0.2", "2", "4", "-600", "0", "", "", "10", "40", "Bounce", "Flow", "", "", "4", "5", ""}, "fluid_02.png"},
    {"diptube_fluid_01", {"20", "5", "0.2", "4", "4", "-30", "30", "", "", "30", "40", "Bounce", "Flow", "", "", "4", "4", ""}, "fluid_01.png"},
    {"diptube_fluid_02", {"20", "2", "0.2", "2", "4", "0", "0", "", "", "10", "40", "Bounce", "Flow", "", "", "4", "5", ""}, "fluid_02.png"},
    {"diptube_flowindicator_01", {"", "", "0.05", "", "", "", "", "", "", "", "", "Flow", "Death", "", "", "", "", "1"}, "flow_triangle.png"},
    {"perf_bubble_01", {"30", "2", "0.2", "1.5", "0.35", "", "", "-100", "100", "35", "75", "Flow", "Flow", "", "", "8", "8", ""}, "bubble_01.png"},
    {"perf_bubble_02", {"15", "2", "0.2", "1.5", "0.35", "", "", "-150", "150", "35", "75", "Flow", "Flow", "", "", "8", "10", ""}, "bubble_02.png"},
    {"perf_bubble_03", {"5", "2", "0.2", "1.5", "0.35", "", "", "-200", "25", "35", "75", "Flow", "Flow", "", "", "12", "8", ""}, "bubble_03.png"},
    {"perf_top_bubble_01", {"40", "2", "0.2", "1.5", "0.35", "-300", "-100", "", "", "35", "75", "Bounce", "Flow", "", "", "8", "8", ""}, "bubble_01.png"},
    {"perf_top_bubble_02", {"10", "2", "0.2", "1.5", "0.35", "-200", "-75", "", "", "35", "75", "Bounce", "Flow", "", "", "8", "10", ""}, "bubble_02.png"},
    {"perf_top_bubble_03", {"10", "2", "0.2", "1.5", "0.35", "-100", "-10", "", "", "35", "75", "Bounce", "Flow", "", "", "12", "8", ""}, "bubble_03.png"},
    {"fluid_speck_05", {"25", "2", "0.2", "2", "2", "-100", "-50", "", "", "35", "75", "Flow", "Flow", "", "", "4", "5", ""}, "fluid_06.png"},
    {"fluid_speck_07", {"10", "2", "0.2", "2", "2", "-40", "-5", "", "", "35", "75", "Bounce", "Bounce", "", "", "4", "5", ""}, "fluid_06.png"},
};
// clang-format on

struct Rect {
    int x, y, width, height;
};
constexpr Rect kNone{-1, -1, -1, -1};

struct RegionRow {
    const char* key;
    const char* file;
    Rect rect;
    Rect spawn;        // kNone: no creation-bound keys
    int minimumHeight; // -1: key absent
    std::vector<std::string> particles;
};

// clang-format off
const RegionRow kRegions[] = {
    {"Casing Particle Region", "casing.particleregion.yml", {11, -20, 250, 808}, kNone, -1,
     {"casing_bubble_01", "casing_bubble_02", "casing_bubble_03", "casing_bubble_05", "casing_bubble_06"}},
    {"Perf Left Particle Region", "perf_left.particleregion.yml", {58, 236, 55, 59}, kNone, -1,
     {"perf_bubble_01", "perf_bubble_02", "perf_bubble_03"}},
    {"Perf Left Top Particle Region", "perf_left_top.particleregion.yml", {44, 0, 43, 280}, {0, 250, 43, 30}, -1,
     {"perf_top_bubble_01", "perf_top_bubble_02", "perf_top_bubble_03"}},
    {"Perf Left Top Fluid Particle Region", "perf_left_top_fluid.particleregion.yml", {15, 100, 60, 140}, kNone, -1,
     {"fluid_speck_07"}},
    {"Perf Left Bottom Particle Region", "perf_left_bottom.particleregion.yml", {25, 270, 63, 440}, kNone, -1,
     {"perf_top_bubble_01", "perf_top_bubble_02", "perf_top_bubble_03", "fluid_speck_05"}},
    {"Perf Right Particle Region", "perf_right.particleregion.yml", {160, 236, 60, 59}, kNone, -1,
     {"perf_bubble_01", "perf_bubble_02", "perf_bubble_03"}},
    {"Perf Right Top Particle Region", "perf_right_top.particleregion.yml", {185, 0, 43, 280}, {0, 250, 43, 30}, -1,
     {"perf_top_bubble_01", "perf_top_bubble_02", "perf_top_bubble_03"}},
    {"Perf Right Top Fluid Particle Region", "perf_right_top_fluid.particleregion.yml", {185, 100, 60, 140}, kNone, -1,
     {"fluid_speck_07"}},
    {"Perf Right Bottom Particle Region", "perf_right_bottom.particleregion.yml", {183, 270, 63, 440}, kNone, -1,
     {"perf_top_bubble_01", "perf_top_bubble_02", "perf_top_bubble_03", "fluid_speck_05"}},
    {"Dip Tube Left Particle Region", "diptube_left.particleregion.yml", {84, 238, 33, 290}, kNone, 56,
     {"diptube_bubble_01", "diptube_bubble_02", "diptube_bubble_03"}},
    {"Dip Tube Left Fluid Particle Region", "diptube_left_fluid.particleregion.yml", {89, 295, 25, 268}, kNone, -1,
     {"diptube_fluid_01", "diptube_fluid_02"}},
    {"Dip Tube Center Fluid Particle Region", "diptube_center_fluid.particleregion.yml", {123, 161, 25, 410}, kNone, -1,
     {"diptube_center_fluid_01", "diptube_center_fluid_02"}},
    {"Dip Tube Center Bottom Fluid Particle Region", "diptube_center_bottom_fluid.particleregion.yml", {90, 550, 94, 110}, kNone, -1,
     {"diptube_fluid_01", "diptube_fluid_02"}},
    {"Dip Tube Top Fluid Particle Region", "diptube_top_fluid.particleregion.yml", {95, 0, 85, 171}, kNone, -1,
     {"diptube_center_fluid_01", "diptube_center_fluid_02"}},
    {"Dip Tube Center Particle Region", "diptube_center.diptubeparticleregion.yml", {95, 0, 95, 568}, {26, 500, 33, 32}, -1,
     {"diptube_bubble_largeDouble", "diptube_bubble_01Double", "diptube_center_bubble_01", "diptube_bubble_medium"}},
    {"Dip Tube Right Particle Region", "diptube_right.particleregion.yml", {156, 238, 33, 290}, kNone, 56,
     {"diptube_bubble_01", "diptube_bubble_02", "diptube_bubble_03"}},
    {"Dip Tube Right Fluid Particle Region", "diptube_right_fluid.particleregion.yml", {159, 295, 25, 268}, kNone, -1,
     {"diptube_fluid_01", "diptube_fluid_02"}},
    {"Dip Tube Flow Indicator", "diptube_flowindicator.flowindicator.yml", {121, 160, 33, 555}, {8, 370, 15, 13}, -1,
     {"diptube_flowindicator_01"}},
};
// clang-format on

void ExpectInt(const YAML::Node& tag, const char* key, int expected) {
    ASSERT_TRUE(tag[key]) << key;
    EXPECT_EQ(tag[key].as<int>(), expected) << key;
}

} // namespace

TEST(DataWellModel, GasSeparatorPlungerAndValves) {
    const auto gs = Tag("views/gas_separator.gs.yml");
    ExpectInt(gs, "X", 986);
    ExpectInt(gs, "Y", 0);
    ExpectInt(gs, "Gas Separator X", 0);
    ExpectInt(gs, "Gas Separator Y", 0);
    EXPECT_EQ(RefPath(gs["Background Image"]), kWellImages + "wellbore_casing.png");
    EXPECT_EQ(RefPath(gs["Gas Separator Image"]), kWellImages + "wellbore_separator.png");
    EXPECT_DOUBLE_EQ(gs["Dimension Line Lifespan"].as<double>(), 2.5);
    EXPECT_DOUBLE_EQ(gs["Dimension Line Begin Fade"].as<double>(), 2.25);

    EXPECT_EQ(RefPath(gs["Plunger"]), kWell + "plunger.plng.yml");
    const auto plunger = Tag(RefPath(gs["Plunger"]));
    ExpectInt(plunger, "X", 97);
    ExpectInt(plunger, "Width", 81);
    ExpectInt(plunger, "Height", 187);
    ExpectInt(plunger, "Upper Stroke Y", -110);
    ExpectInt(plunger, "Lower Stroke Y", -35);
    EXPECT_FALSE(plunger["Y"]);
    EXPECT_EQ(RefPath(plunger["Background Image"]), kWellImages + "plunger.png");

    struct ValveRow {
        std::string path;
        int x, upper, lower;
    };
    const ValveRow valves[] = {{RefPath(plunger["Valve"]), 27, 141, 156},
                               {RefPath(gs["Valve"]), 124, 147, 157}};
    EXPECT_EQ(valves[0].path, kWell + "plunger_valve.valve.yml");
    EXPECT_EQ(valves[1].path, kWell + "ball_valve.valve.yml");
    for (const auto& row : valves) {
        SCOPED_TRACE(row.path);
        const auto valve = Tag(row.path);
        ExpectInt(valve, "X", row.x);
        ExpectInt(valve, "Upper Stroke Y", row.upper);
        ExpectInt(valve, "Lower Stroke Y", row.lower);
        EXPECT_DOUBLE_EQ(valve["Transition Time"].as<double>(), 0.75);
        EXPECT_EQ(RefPath(valve["Background Image"]), kWellImages + "ball_valve.png");
    }

    EXPECT_EQ(RefPath(gs["Valve Base"]), kWell + "ball_valve.valvebase.yml");
    const auto base = Tag(RefPath(gs["Valve Base"]));
    ExpectInt(base, "X", 93);
    ExpectInt(base, "Y", 167);
    EXPECT_EQ(RefPath(base["Background Image"]), kWellImages + "ball_valve_base.png");
}

TEST(DataWellModel, DimensionLinesAndTheirLabels) {
    struct Row {
        const char* key;
        const char* name;
        int x, y;
        const char* image;
        int labelX, labelY;
        const char* text;
    };
    const Row rows[] = {
        {"Casing Dimension Line", "casing", 11, 60, "dim_casing-width.png", 140, 68, "4.5\""},
        {"Separator OD Dimension Line", "separator_od", 50, 570, "dim_sep-OD.png", 97, 66, "3\""},
        {"Separator ID Dimension Line", "separator_id", 49, 500, "dim_sep-ID.png", 100, 65,
         "2.75\""},
        {"Dip Tube OD Dimension Line", "diptube_od", 49, 410, "dim_dip-tube-OD.png", 96, 64,
         "1.35\""},
        {"Dip Tube ID Dimension Line", "diptube_id", 48, 300, "dim_dip-tube-ID.png", 97, 64,
         "1.084\""},
        {"Dip Tube Length Dimension Line", "diptube_length", 135, 293, "dim_dip-tube-length.png",
         103, 132, "42\""},
    };
    const auto gs = Tag("views/gas_separator.gs.yml");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        EXPECT_EQ(RefPath(gs[row.key]), kWell + row.name + ".dim.yml");
        const auto dim = Tag(RefPath(gs[row.key]));
        ExpectInt(dim, "X", row.x);
        ExpectInt(dim, "Y", row.y);
        EXPECT_EQ(RefPath(dim["Image"]), kWellImages + row.image);
        const auto label = Tag(RefPath(dim["Label"]));
        ExpectInt(label, "X", row.labelX);
        ExpectInt(label, "Y", row.labelY);
        EXPECT_EQ(label["Default Text"].as<std::string>(), row.text);
        EXPECT_EQ(label["Unit"].as<std::string>(), "\"");
        EXPECT_EQ(label["Fill Color"].as<std::vector<int>>(), (std::vector<int>{156, 255, 0}));
        EXPECT_EQ(label["Stroke Color"].as<std::vector<int>>(), (std::vector<int>{53, 87, 0}));
        EXPECT_DOUBLE_EQ(label["Stroke Width"].as<double>(), 4.0);
        EXPECT_EQ(label["Font Name"].as<std::string>(), "Exo Bold");
        EXPECT_EQ(label["Font Size"].as<int>(), 55);
        const auto align = label["Horizontal Alignment"].as<std::string>("Center");
        EXPECT_TRUE(align != "Left" && align != "Right") << "dimension labels are centred";
    }
}

TEST(DataWellModel, ParticleRegionsInReadingOrder) {
    const auto gs = Tag("views/gas_separator.gs.yml");
    std::vector<std::string> regionKeysInFile;
    for (const auto& kv : gs) {
        const auto key = kv.first.as<std::string>();
        if (key.find("Particle Region") != std::string::npos || key == "Dip Tube Flow Indicator")
            regionKeysInFile.push_back(key);
    }
    ASSERT_EQ(regionKeysInFile.size(), std::size(kRegions));
    for (size_t i = 0; i < std::size(kRegions); ++i) {
        const auto& row = kRegions[i];
        SCOPED_TRACE(row.key);
        EXPECT_EQ(regionKeysInFile[i], row.key);
        EXPECT_EQ(RefPath(gs[row.key]), kWell + row.file);
        const auto region = Tag(kWell + row.file);
        ExpectInt(region, "X", row.rect.x);
        ExpectInt(region, "Y", row.rect.y);
        ExpectInt(region, "Width", row.rect.width);
        ExpectInt(region, "Height", row.rect.height);
        if (row.spawn.x < 0) {
            EXPECT_FALSE(region["Particle Creation Bounds X"]);
            EXPECT_FALSE(region["Particle Creation Bounds Height"]);
        } else {
            ExpectInt(region, "Particle Creation Bounds X", row.spawn.x);
            ExpectInt(region, "Particle Creation Bounds Y", row.spawn.y);
            ExpectInt(region, "Particle Creation Bounds Width", row.spawn.width);
            ExpectInt(region, "Particle Creation Bounds Height", row.spawn.height);
        }
        if (row.minimumHeight < 0)
            EXPECT_FALSE(region["Minimum Height"]);
        else
            ExpectInt(region, "Minimum Height", row.minimumHeight);
        EXPECT_FALSE(region["Bottom Curve Radius"]);
        std::vector<std::string> expected;
        for (const auto& p : row.particles)
            expected.push_back(kWell + p + ".particle.yml");
        EXPECT_EQ(RefList(region["Particles"]), expected);
    }
    const auto center = Tag(kWell + "diptube_center.diptubeparticleregion.yml");
    ExpectInt(center, "Dip Tube X", 26);
    ExpectInt(center, "Dip Tube Y", 0);
    ExpectInt(center, "Dip Tube Width", 33);
    ExpectInt(center, "Dip Tube Height", 555);
}

TEST(DataWellModel, EveryParticleKindValueByValue) {
    for (const auto& row : kParticles) {
        SCOPED_TRACE(row.file);
        const auto particle = Tag(kWell + row.file + ".particle.yml");
        EXPECT_EQ(RefPath(particle["Image"]), kWellImages + row.image);
        for (size_t c = 0; c < kColumns; ++c) {
            const std::string expected = row.values[c];
            const auto value = particle[kParticleKeys[c]];
            if (expected.empty()) {
                EXPECT_FALSE(value) << kParticleKeys[c] << " should be left to its default";
                continue;
            }
            ASSERT_TRUE(value) << kParticleKeys[c];
            EXPECT_EQ(value.Scalar(), expected) << kParticleKeys[c];
        }
        // Integer keys must read as integers, the others as numbers.
        for (const char* key :
             {"Particles Per Second", "Alpha Minimum", "Alpha Maximum", "Velocity Y Minimum",
              "Velocity Y Maximum", "Minimum Width", "Minimum Height"})
            if (particle[key]) {
                EXPECT_NO_THROW(particle[key].as<int>()) << key;
            }
    }
}

TEST(DataWellModel, EveryRegionParticleIsInTheTable) {
    std::set<std::string> tabled;
    for (const auto& row : kParticles)
        tabled.insert(row.file);
    std::set<std::string> used;
    for (const auto& row : kRegions)
        used.insert(row.particles.begin(), row.particles.end());
    EXPECT_EQ(used, tabled);
}
