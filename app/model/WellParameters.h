#pragma once
// The parameter set of the well and the separator: lengths in inches, velocities in in/s,
// the production rate in bbl/day and the pump speed in strokes per minute. A plain value
// record, copied whole; the derived fields are computed by the setters of their sources.

constexpr double kTwoPi = 6.283185307179586;
constexpr double kQuarterPi = 0.7853981633974483;
// One barrel per day as cubic inches per second (9702 in³ / 86 400 s, rounded as the model uses
// it).
constexpr double kCubicInchesPerSecondPerBblPerDay = 0.112;

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
    }

    bool operator==(const WellParameters&) const = default;

private:
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
};
