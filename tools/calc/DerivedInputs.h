#pragma once
// Inputs the calculator works out from others, as the program's panel does: the production rate
// from the pump (its plunger diameter, stroke length and efficiency at the pump speed) and the
// bubble rise velocity from the fluids (Harmathy's correlation). A run that names a pump value
// takes the rate from the pump; one that names a fluid value takes the rise velocity from the
// fluids. Naming the derived input as well is refused: the two would disagree.

#include "app/model/ParameterTable.h"
#include "app/model/WellParameters.h"

#include <vector>

struct DerivedInputs {
    bool rateTyped = false;     // the production rate is named: typed, whatever a file said
    bool rateFromPump = false;  // a pump value is named and the rate is not
    bool riseFromFluid = false; // a fluid value is named and the rise velocity is not
    // The system the rise velocity is rounded in, as the panel rounds it in that system: 0.001
    // in/s, or 0.0001 m/s (the run's --units).
    UnitSystem units = UnitSystem::Oilfield;
};

// What the named inputs (options or batch columns; null entries ignored) derive. Throws
// CalculatorError when a derived input is named with the inputs it comes from.
DerivedInputs DerivedFrom(const std::vector<const ParameterEntry*>& named, UnitSystem units);

// Before the named values are set: a typed rate stops following the pump.
void PrepareDerived(const DerivedInputs& derived, WellParameters& design);
// After: the rate follows the pump, the rise velocity is the fluids'. Throws CalculatorError
// when the fluids give none the rise velocity's range takes.
void ApplyDerived(const DerivedInputs& derived, WellParameters& design);

// Whether the rate follows the pump in a design from `base` with these named inputs.
bool RateFollowsPump(const DerivedInputs& derived, const WellParameters& base);
// The inputs a design's figures depend on, in table order: every input with a calculator column
// but the pump's (unless the rate follows the pump) and the fluids' (unless the rise velocity
// comes from them). A batch or a sweep shows these columns; an old table keeps its columns.
std::vector<const ParameterEntry*> InputsInUse(const DerivedInputs& derived,
                                               const WellParameters& base);
// "pump" or "fluids" when a sweep of `swept` over designs from `base` works `input` out afresh
// in each row from the value swept (the rate from a pump value or, following the pump, the pump
// speed; the rise velocity from a fluid value), else null: then it is the same in every row.
const char* SourceFollowingSweep(const ParameterEntry& input, const ParameterEntry& swept,
                                 const WellParameters& base);
// "pump" or "fluids" for an input derived from them, else null.
const char* DerivedSource(const DerivedInputs& derived, const WellParameters& base,
                          const ParameterEntry& input);
