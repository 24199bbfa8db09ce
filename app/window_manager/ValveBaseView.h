#pragma once
// The seat of the standing valve: one picture.

#include "app/window_manager/BaseView.h"

class CValveBaseView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name);
    void Configure(TagHandle tag) { tag_ = tag; }
    void Draw(ICanvas& canvas) const;

    const char* Kind() const override { return "valve_base"; }
};
