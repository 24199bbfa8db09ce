#pragma once
// The shipped design as a parameter set, for the model tests.

#include "app/WellParameters.h"

inline WellParameters ShippedParameters(double productionRate = 200, double spm = 8) {
    WellParameters p;
    p.SetCasingSize(4.09);
    p.SetSeparatorOD(3);
    p.SetSeparatorID(2.75);
    p.SetDipTubeOD(1.35);
    p.SetDipTubeID(1.05);
    p.SetDipTubeLength(42);
    p.SetGasBubbleRiseVelocity(6);
    p.SetProductionRate(productionRate);
    p.SetSPM(spm);
    return p;
}
