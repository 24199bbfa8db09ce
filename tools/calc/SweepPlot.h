#pragma once
// The chart of a sweep: the deepest gas penetration against the swept value, the dip tube
// length as a line, and the maximum capacity where the sweep is the production rate. The
// calculator's only drawing, done with Qt offscreen.

#include <optional>
#include <string>
#include <vector>

struct SweepChart {
    std::string title;                             // "Gas penetration against production rate"
    std::string subtitle;                          // the design's other values
    std::string xLabel;                            // the swept option with its unit
    std::vector<double> x, deepest, dipTubeLength; // one point per computed design
    std::optional<double> capacity;                // in `rateUnit`, on the x axis
    std::string capacityFigure;    // the capacity as the program shows it ("38.47"), with it
    std::string lengthUnit = "in"; // of the penetration and the dip tube
    std::string rateUnit = "bbl/day";
    std::string note; // above the axes, e.g. a single-value range
};

// Draws the chart as the bytes of a PNG. False, with the reason in `error`, when there is
// nothing to draw or it cannot be encoded. A single point is drawn as a dot in the middle of
// an axis around its value.
bool DrawSweepChart(const SweepChart& chart, std::string& png, std::string& error);
