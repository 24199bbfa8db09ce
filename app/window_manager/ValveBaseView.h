#pragma once
// The seat of the standing valve: one picture.

#include "app/window_manager/BaseView.h"

class CValveBaseView : public CBaseView {
public:
    void Init(IMainWindow* window, const std::string& name);
    void Configure(TagHandle tag) override { tag_ = tag; }
    void Draw(ICanvas& canvas) const override;

    const char* Kind() const override { return "valve_base"; }
};
