// Geometry of the well cut-away, in pixels relative to the well picture's top-left corner.
// The numbers follow the particle regions, the plunger, the valves and the dimension lines of
// the well model's tags, so every region lies over the part of the well its name says and every
// dimension line spans what its label measures.
#pragma once

namespace art::well {

constexpr int kWidth = 272;
constexpr int kHeight = 722;

// Casing: bore (liquid with rising gas) and the steel wall on each side; formation beyond.
constexpr int kCasingBoreLeft = 11, kCasingBoreRight = 261;
constexpr int kCasingOuterLeft = 3, kCasingOuterRight = 269;
constexpr int kCasingPerfTop = 628, kCasingPerfBottom = 712;

// Pump barrel from the top of the picture down to the seating nipple.
constexpr int kBarrelOuterLeft = 87, kBarrelOuterRight = 188;
constexpr int kBarrelBoreLeft = 94, kBarrelBoreRight = 181;
constexpr int kBarrelBottom = 191;                   // bottom of the standing valve seat
constexpr int kNippleBottom = 206;                   // seating nipple below the seat
constexpr int kTopSubTop = 206, kTopSubBottom = 238; // coupling that carries the separator

// Separator body: outer and inner wall faces, from the top sub down to the bull plug.
constexpr int kSepOuterLeft = 79, kSepOuterRight = 194;
constexpr int kSepInnerLeft = 84, kSepInnerRight = 189;
constexpr int kSepBodyBottom = 662;
constexpr int kSepPlugBottom = 694;

// Inlet ports: three slots through each wall; the lowest ends at the top of the dip tube
// length scale.
constexpr int kPortTop[3] = {240, 259, 278};
constexpr int kPortHeight = 16;
constexpr int kPortsBottom = 294;

// Dip tube: outer faces, bore, and its open lower end (the inlet).
constexpr int kTubeOuterLeft = 117, kTubeOuterRight = 158;
constexpr int kTubeBoreLeft = 121, kTubeBoreRight = 154;
constexpr int kTubeInlet = 528;

// Plunger stroke (top of the plunger picture) and the standing valve.
constexpr int kPlungerX = 97;
constexpr int kPlungerUpperY = -110, kPlungerLowerY = -35;
constexpr int kStandingBallX = 124, kStandingBallUpperY = 147, kStandingBallLowerY = 157;
constexpr int kSeatX = 93, kSeatY = 167;

} // namespace art::well
