#pragma once
// The parameter set of the well, the separator, the pump and the fluids: lengths in inches,
// velocities in in/s, the production rate in bbl/day, the pump speed in strokes per minute, the
// pump's efficiency in percent, densities in kg/m³ and the surface tension in N/m. A plain value
// record, copied whole; the derived fields are computed by the setters of their sources. While
// the rate comes from the pump, every setter of the pump's values sets the production rate to
// the pump's (SetProductionRate still sets it, for searches over rates).

constexpr double kTwoPi = 6.283185307179586;
constexpr double kQuarterPi = 0.7853981633974483;
// One barrel per day as cubic inches per second (9702 in³ / 86 400 s, rounded as the model uses
// it).
constexpr double kCubicInchesPerSecondPerBblPerDay = 0.112;
// A pump's displacement in bbl/day per inch of stroke, square inch of plunger diameter and stroke
// per minute: π/4 × 1440 min/day ÷ 9702 in³/bbl = 0.11657, as the oilfield rounds it.
constexpr double kDisplacementConstant = 0.1166;

class WellParameters {
public:
    bool GetPumpRunning() const { return pumpRunning_; }
    double GetCasingSize() const { return casingSize_; }
    double GetSeparatorOD() const { return separatorOD_; }
    double GetSeparatorID() const { return separatorID_; }
    double GetDipTubeOD() const { return dipTubeOD_; }
    double GetDipTubeID() const { return dipTubeID_; }
    double GetDipTubeLength() const { return dipTubeLength_; }
    double GetGasBubbleRiseVelocity() const { return gasBubbleRiseVelocity_; }
    double GetProductionRate() const { return productionRate_; }
    double GetProductionFlow() const { return productionFlow_; }
    double GetSPM() const { return spm_; }
    double GetCrankAngularSpeed() const { return crankAngularSpeed_; }
    bool GetRateFromPump() const { return rateFromPump_; }
    double GetPlungerDiameter() const { return plungerDiameter_; }
    double GetStrokeLength() const { return strokeLength_; }
    double GetPumpEfficiency() const { return pumpEfficiency_; }
    double GetLiquidDensity() const { return liquidDensity_; }
    double GetGasDensity() const { return gasDensity_; }
    double GetSurfaceTension() const { return surfaceTension_; }
    // The pump's displacement, bbl/day: 0.1166 × stroke × diameter² × pump speed.
    double GetPumpDisplacement() const {
        return kDisplacementConstant * strokeLength_ * plungerDiameter_ * plungerDiameter_ * spm_;
    }
    // The rate the pump delivers, bbl/day: its displacement times its efficiency.
    double GetPumpRate() const { return GetPumpDisplacement() * pumpEfficiency_ / 100.0; }

    void SetPumpRunning(bool running) { pumpRunning_ = running; }
    void SetCasingSize(double value) { casingSize_ = value; }
    void SetSeparatorOD(double value) { separatorOD_ = value; }
    void SetSeparatorID(double value) { separatorID_ = value; }
    void SetDipTubeOD(double value) { dipTubeOD_ = value; }
    void SetDipTubeID(double value) { dipTubeID_ = value; }
    void SetDipTubeLength(double value) { dipTubeLength_ = value; }
    void SetGasBubbleRiseVelocity(double value) { gasBubbleRiseVelocity_ = value; }
    void SetProductionRate(double value) {
        productionRate_ = value;
        productionFlow_ = value * kCubicInchesPerSecondPerBblPerDay;
    }
    void SetSPM(double value) {
        spm_ = value;
        crankAngularSpeed_ = value / 60.0 * kTwoPi;
        FollowPump();
    }
    void SetRateFromPump(bool fromPump) {
        rateFromPump_ = fromPump;
        FollowPump();
    }
    void SetPlungerDiameter(double value) {
        plungerDiameter_ = value;
        FollowPump();
    }
    void SetStrokeLength(double value) {
        strokeLength_ = value;
        FollowPump();
    }
    void SetPumpEfficiency(double value) {
        pumpEfficiency_ = value;
        FollowPump();
    }
    void SetLiquidDensity(double value) { liquidDensity_ = value; }
    void SetGasDensity(double value) { gasDensity_ = value; }
    void SetSurfaceTension(double value) { surfaceTension_ = value; }
    // The switch as a number, for the parameter table: 1 from the pump, 0 typed.
    double GetRateFromPumpSwitch() const { return rateFromPump_ ? 1 : 0; }
    void SetRateFromPumpSwitch(double value) { SetRateFromPump(value >= 0.5); }

    bool operator==(const WellParameters&) const = default;

private:
    void FollowPump() {
        if (rateFromPump_) {
            SetProductionRate(GetPumpRate());
        }
    }

    bool pumpRunning_ = false;
    double casingSize_ = 7.025;
    double separatorOD_ = 4.5;
    double separatorID_ = 4.0;
    double dipTubeOD_ = 1.5;
    double dipTubeID_ = 1.37;
    double dipTubeLength_ = 42;
    double gasBubbleRiseVelocity_ = 6;
    double productionRate_ = 200;
    double productionFlow_ = 200 * kCubicInchesPerSecondPerBblPerDay;
    double spm_ = 8;
    double crankAngularSpeed_ = 8 / 60.0 * kTwoPi;
    bool rateFromPump_ = false;
    double plungerDiameter_ = 1.5;
    double strokeLength_ = 100;
    double pumpEfficiency_ = 100;
    double liquidDensity_ = 870; // a medium oil with its gas, downhole
    double gasDensity_ = 50;
    double surfaceTension_ = 0.025;
};
