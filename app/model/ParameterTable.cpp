#include "app/model/ParameterTable.h"

#include "app/model/NumberFormat.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace {
constexpr double kNoLimit = std::numeric_limits<double>::infinity();
constexpr Limits kAboveZero{0, false, kNoLimit, false, false};
constexpr Limits kDiameter{0, false, kNoLimit, false, true};

using W = WellParameters;
using Q = Quantity;
using P = ParameterId;

// clang-format off
const ParameterEntry kParameters[] = {
    {.id = P::CasingSize, .storedKey = "Casing Size",
     .name = "casing size", .fullName = "Casing inside diameter", .caption = "Casing size",
     .quantity = Q::Diameter, .limits = kAboveZero,
     .field = "Casing Size", .fromList = true, .changedEvent = "Casing Size Changed",
     .dimensionLine = "Casing Dim Line",
     .column = "casing_size", .dumpKey = "casing_size",
     .get = &W::GetCasingSize, .set = &W::SetCasingSize},
    {.id = P::SeparatorOD, .storedKey = "Separator OD", .inPresets = true,
     .name = "separator OD", .fullName = "Separator outside diameter",
     .caption = "Outside diameter", .captionDetail = "separator OD",
     .quantity = Q::Diameter, .limits = kDiameter,
     .field = "Separator OD", .changedEvent = "Separator OD Changed",
     .rangeWarning = "Separator OD Range Warning View",
     .dimensionLine = "Separator OD Dim Line",
     .column = "separator_od", .dumpKey = "separator_od",
     .get = &W::GetSeparatorOD, .set = &W::SetSeparatorOD},
    {.id = P::SeparatorID, .storedKey = "Separator ID", .inPresets = true,
     .name = "separator ID", .fullName = "Separator inside diameter",
     .caption = "Inside diameter", .captionDetail = "separator ID",
     .quantity = Q::Diameter, .limits = kDiameter,
     .field = "Separator ID", .changedEvent = "Separator ID Changed",
     .rangeWarning = "Separator ID Range Warning View",
     .dimensionLine = "Separator ID Dim Line",
     .column = "separator_id", .dumpKey = "separator_id",
     .get = &W::GetSeparatorID, .set = &W::SetSeparatorID},
    {.id = P::DipTubeOD, .storedKey = "Dip Tube OD", .inPresets = true,
     .name = "dip tube OD", .fullName = "Dip tube outside diameter",
     .caption = "Outside diameter", .captionDetail = "dip tube OD",
     .quantity = Q::Diameter, .limits = kDiameter,
     .field = "Dip Tube OD", .changedEvent = "Dip Tube OD Changed",
     .rangeWarning = "Dip Tube OD Range Warning View",
     .dimensionLine = "Dip Tube OD Dim Line",
     .column = "dip_tube_od", .dumpKey = "dip_tube_od",
     .get = &W::GetDipTubeOD, .set = &W::SetDipTubeOD},
    {.id = P::DipTubeID, .storedKey = "Dip Tube ID", .inPresets = true,
     .name = "dip tube ID", .fullName = "Dip tube inside diameter",
     .caption = "Inside diameter", .captionDetail = "dip tube ID",
     .quantity = Q::Diameter, .limits = kDiameter,
     .field = "Dip Tube ID", .changedEvent = "Dip Tube ID Changed",
     .rangeWarning = "Dip Tube ID Range Warning View",
     .dimensionLine = "Dip Tube ID Dim Line",
     .column = "dip_tube_id", .dumpKey = "dip_tube_id",
     .get = &W::GetDipTubeID, .set = &W::SetDipTubeID},
    {.id = P::DipTubeLength, .storedKey = "Dip Tube Length", .inPresets = true,
     .name = "dip tube length", .fullName = "Dip tube length",
     .caption = "Length", .captionDetail = "dip tube length",
     .quantity = Q::Length, .limits = {12, true, 480, true, false},
     .field = "Dip Tube Length", .changedEvent = "Dip Tube Length Changed",
     .rangeWarning = "Dip Tube Length Warning View",
     .dimensionLine = "Dip Tube Length Dim Line",
     .column = "dip_tube_length", .dumpKey = "dip_tube_length",
     .get = &W::GetDipTubeLength, .set = &W::SetDipTubeLength},
    {.id = P::RiseVelocity, .storedKey = "Gas Bubble Rise Velocity",
     .name = "gas bubble rise velocity", .fullName = "Gas bubble rise velocity",
     .caption = "Gas bubble rise velocity",
     .quantity = Q::Velocity, .limits = {0, false, 12, true, false},
     .field = "Gas Bubble Rise Velocity", .changedEvent = "Gas Bubble Rise Velocity Changed",
     .rangeWarning = "Gas Bubble Velocity Range Warning View",
     .column = "rise_velocity", .dumpKey = "gas_bubble_rise_velocity",
     .get = &W::GetGasBubbleRiseVelocity, .set = &W::SetGasBubbleRiseVelocity},
    {.id = P::ProductionRate, .storedKey = "Production Rate",
     .name = "production rate", .fullName = "Production rate", .caption = "Production rate",
     .quantity = Q::Rate, .limits = kAboveZero,
     .field = "Production Rate", .changedEvent = "Production Rate Changed",
     .rangeWarning = "Production Rate Range Warning View",
     .column = "production_rate", .dumpKey = "production_rate",
     .get = &W::GetProductionRate, .set = &W::SetProductionRate,
     .computedWhen = &W::GetRateFromPump, .computedDetail = "from the pump"},
    {.id = P::SPM, .storedKey = "SPM",
     .name = "pump speed", .fullName = "Pump speed",
     .caption = "Pump speed", .captionDetail = "strokes per minute",
     .quantity = Q::PumpSpeed, .limits = {0, false, 30, true, false},
     .field = "SPM", .changedEvent = "SPM Changed", .rangeWarning = "SPM Range Warning View",
     .column = "spm", .dumpKey = "spm",
     .get = &W::GetSPM, .set = &W::SetSPM},
    // The pump: where the rate comes from (typed, or the pump's displacement times its
    // efficiency), then the pump itself.
    {.id = P::RateFromPump, .storedKey = "Rate From Pump", .optionalInFiles = true,
     .name = "rate source", .fullName = "Production rate from the pump", .caption = "Rate",
     .quantity = Q::Switch, .limits = {0, true, 1, true, false},
     .field = "Rate Source", .fromList = true, .changedEvent = "Rate Source Changed",
     .dumpKey = "rate_from_pump",
     .get = &W::GetRateFromPumpSwitch, .set = &W::SetRateFromPumpSwitch,
     .offText = "typed", .onText = "from the pump"},
    {.id = P::PlungerDiameter, .storedKey = "Plunger Diameter", .optionalInFiles = true,
     .name = "plunger diameter", .fullName = "Pump plunger diameter",
     .caption = "Plunger diameter",
     .quantity = Q::Diameter, .limits = {0.5, true, 6, true, false},
     .field = "Plunger Diameter", .changedEvent = "Plunger Diameter Changed",
     .rangeWarning = "Plunger Diameter Range Warning View",
     .column = "plunger_diameter", .dumpKey = "plunger_diameter",
     .get = &W::GetPlungerDiameter, .set = &W::SetPlungerDiameter},
    {.id = P::StrokeLength, .storedKey = "Stroke Length", .optionalInFiles = true,
     .name = "stroke length", .fullName = "Pump stroke length", .caption = "Stroke length",
     .captionDetail = "at the pump",
     .quantity = Q::Stroke, .limits = {6, true, 400, true, false},
     .field = "Stroke Length", .changedEvent = "Stroke Length Changed",
     .rangeWarning = "Stroke Length Range Warning View",
     .column = "stroke_length", .dumpKey = "stroke_length",
     .get = &W::GetStrokeLength, .set = &W::SetStrokeLength},
    {.id = P::PumpEfficiency, .storedKey = "Pump Efficiency", .optionalInFiles = true,
     .name = "pump efficiency", .fullName = "Pump efficiency (fillage times volumetric efficiency)",
     .caption = "Pump efficiency", .captionDetail = "fillage \u00d7 volumetric",
     .quantity = Q::Percent, .limits = {1, true, 100, true, false},
     .field = "Pump Efficiency", .changedEvent = "Pump Efficiency Changed",
     .rangeWarning = "Pump Efficiency Range Warning View",
     .column = "pump_efficiency", .dumpKey = "pump_efficiency",
     .get = &W::GetPumpEfficiency, .set = &W::SetPumpEfficiency},
    // The fluids, from which a bubble rise velocity can be worked out (not typed in the panel).
    {.id = P::LiquidDensity, .storedKey = "Liquid Density", .optionalInFiles = true,
     .name = "liquid density", .fullName = "Liquid density", .caption = "Liquid density",
     .quantity = Q::Density, .limits = {300, true, 2500, true, false},
     .column = "liquid_density", .dumpKey = "liquid_density",
     .get = &W::GetLiquidDensity, .set = &W::SetLiquidDensity},
    {.id = P::GasDensity, .storedKey = "Gas Density", .optionalInFiles = true,
     .name = "gas density", .fullName = "Gas density", .caption = "Gas density",
     .quantity = Q::Density, .limits = {0, false, 600, true, false},
     .column = "gas_density", .dumpKey = "gas_density",
     .get = &W::GetGasDensity, .set = &W::SetGasDensity},
    {.id = P::SurfaceTension, .storedKey = "Surface Tension", .optionalInFiles = true,
     .name = "surface tension", .fullName = "Gas-liquid surface tension",
     .caption = "Surface tension",
     .quantity = Q::SurfaceTension, .limits = {0.001, true, 0.2, true, false},
     .column = "surface_tension", .dumpKey = "surface_tension",
     .get = &W::GetSurfaceTension, .set = &W::SetSurfaceTension},
};
// clang-format on
} // namespace

std::string ParameterEntry::ValueText(const WellParameters& parameters) const {
    const double value = Get(parameters);
    if (*onText) {
        return value != 0 ? onText : offText;
    }
    return FormatNumber(value);
}

std::string ParameterEntry::Flag() const {
    std::string flag = std::string("--") + column;
    std::replace(flag.begin(), flag.end(), '_', '-');
    return flag;
}

std::string ParameterEntry::Label() const {
    std::string label = name;
    label[0] = AsciiUpper(label[0]);
    return label;
}

std::span<const ParameterEntry> Parameters() {
    return kParameters;
}

const ParameterEntry& ParameterOf(ParameterId id) {
    for (const ParameterEntry& entry : kParameters) {
        if (entry.id == id) {
            return entry;
        }
    }
    return kParameters[0]; // every id has a row: the table test holds it
}

const ParameterEntry* ParameterWithField(const std::string& field) {
    for (const ParameterEntry& entry : kParameters) {
        if (!entry.fromList && *entry.field && field == entry.field) {
            return &entry;
        }
    }
    return nullptr;
}

const ParameterEntry* ParameterWithColumn(const std::string& columnOrFlag) {
    for (const ParameterEntry& entry : kParameters) {
        if (*entry.column && (columnOrFlag == entry.column || columnOrFlag == entry.Flag())) {
            return &entry;
        }
    }
    return nullptr;
}
