#pragma once
// The flow panel's aids: the pump's displacement and the fastest pump speed within the
// separator's capacity, shown at every parameter change, and the form that works the rise
// velocity out from the fluids' properties and puts it in the rise velocity's box.

#include <string>

class CAppView;
class CGasSeparatorModel;
struct FormRequest;

class CPumpFluidController {
public:
    CPumpFluidController(CGasSeparatorModel& model, CAppView& app) : model_(model), app_(app) {}

    // Shows the pump's read-outs, then subscribes.
    void Initialise();
    void ShowPump();
    // Asks for the fluids' properties; on OK the model keeps them and takes their rise velocity.
    void AskRiseVelocityFromFluid();
    // The form the user is asked, starting from the model's fluid values.
    FormRequest FluidForm() const;

private:
    CGasSeparatorModel& model_;
    CAppView& app_;
};
