#pragma once
// The marker that shows the liquid's direction in the dip tube: a region like any other,
// whose one kept-alive triangle the gas separator view holds or moves.

#include "app/window_manager/ParticleRegionView.h"

class CFlowIndicatorView : public CParticleRegionView {};
