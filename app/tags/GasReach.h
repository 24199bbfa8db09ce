#pragma once
// The gas reach read-out: a label and, under it, a bar that fills with the share of the dip
// tube the gas reached. The bar's place is relative to the tag's own position.

#include "app/tags/Tag.h"

#include <cstdint>

class TGasReach : public TPlaceable {
public:
    TagHandle label = 0; // TLabel, placed relative to this tag
    int barX = 0;
    int barY = 0;
    int barWidth = 0;
    int barHeight = 0;
    uint32_t barColor = 0xFF24364A;    // the empty track
    uint32_t borderColor = 0xFF5A6878; // a 1 px frame around the track
    uint32_t fillColor = 0xFF54DA1A;   // the share reached
    uint32_t inletColor = 0xFFE03C28;  // the fill once the gas reaches the inlet

    void Load(const YAML::Node& node) override;
    void Place(int parentX, int parentY) override;
};
