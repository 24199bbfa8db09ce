#pragma once
// The shipped defaults' design, for tests of the model's figures.

#include "app/model/WellParameters.h"

inline WellParameters ShippedDesign(double productionRate = 200) {
    WellParameters p;
    p.SetCasingSize(4.09);
    p.SetSeparatorOD(3);
    p.SetSeparatorID(2.75);
    p.SetDipTubeOD(1.35);
    p.SetDipTubeID(1.05);
    p.SetDipTubeLength(42);
    p.SetGasBubbleRiseVelocity(6);
    p.SetProductionRate(productionRate);
    p.SetSPM(8);
    return p;
}
