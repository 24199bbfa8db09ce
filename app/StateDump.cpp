#include "app/StateDump.h"

#include "app/model/NumberFormat.h"
#include "app/model/ParameterTable.h"
#include "app/services/GasSeparatorModel.h"
#include "app/window_manager/BaseView.h"
#include "app/window_manager/WindowManager.h"

#include <yaml-cpp/yaml.h>

#include <set>

namespace {
void Number(YAML::Emitter& out, const char* key, double value) {
    out << YAML::Key << key << YAML::Value << FormatNumber(value);
}

void Flag(YAML::Emitter& out, const char* key, bool value) {
    out << YAML::Key << key << YAML::Value << value;
}

void EmitParameters(YAML::Emitter& out, const WellParameters& p) {
    out << YAML::Key << "parameters" << YAML::Value << YAML::BeginMap;
    Flag(out, "pump_running", p.GetPumpRunning());
    for (const ParameterEntry& entry : Parameters()) {
        Number(out, entry.dumpKey, entry.Get(p));
    }
    // What the model derives from them.
    Number(out, "production_flow", p.GetProductionFlow());
    Number(out, "crank_angular_speed", p.GetCrankAngularSpeed());
    out << YAML::EndMap;
}

void EmitState(YAML::Emitter& out, const SimulationState& s) {
    out << YAML::Key << "state" << YAML::Value << YAML::BeginMap;
    Number(out, "elapsed_time", s.elapsedTime);
    Number(out, "crank_angle", s.crankAngle);
    Number(out, "plunger_position", s.plungerPosition);
    Number(out, "plunger_velocity", s.plungerVelocity);
    Number(out, "annulus_liquid_velocity", s.annulusLiquidVelocity);
    Number(out, "annulus_bubble_velocity", s.annulusBubbleVelocity);
    Number(out, "dip_tube_liquid_velocity", s.dipTubeLiquidVelocity);
    Number(out, "dip_tube_bubble_velocity", s.dipTubeBubbleVelocity);
    Number(out, "gas_penetration_depth", s.gasPenetrationDepth);
    Number(out, "gas_penetration_fraction", s.gasPenetrationFraction);
    Flag(out, "gas_at_dip_tube_inlet", s.gasAtDipTubeInlet);
    Number(out, "annulus_area", s.annulusArea);
    Number(out, "dip_tube_bore_area", s.dipTubeBoreArea);
    Number(out, "flow_multiplier", s.flowMultiplier);
    Number(out, "maximum_capacity", s.maximumCapacity);
    Number(out, "recommended_dip_tube_length", s.recommendedDipTubeLength);
    out << YAML::EndMap;
}

// Every registered name once, with the first view registered under it (as FindView).
void EmitViews(YAML::Emitter& out, const CWindowManager* windowManager) {
    out << YAML::Key << "views" << YAML::Value << YAML::BeginMap;
    std::set<std::string> seen;
    if (windowManager) {
        for (const auto& [name, view] : windowManager->Views()) {
            if (!view || !seen.insert(name).second) {
                continue;
            }
            ViewState state;
            view->DescribeState(state);
            out << YAML::Key << name << YAML::Value << YAML::BeginMap;
            out << YAML::Key << "kind" << YAML::Value << view->Kind();
            state.emplace_back("tooltip", view->Tooltip(), kIsText);
            for (const ViewStateEntry& entry : state) {
                out << YAML::Key << entry.key << YAML::Value;
                if (entry.isText) {
                    out << YAML::DoubleQuoted;
                }
                out << entry.value;
            }
            out << YAML::EndMap;
        }
    }
    out << YAML::EndMap;
}

void Text(YAML::Emitter& out, const char* key, const std::string& value) {
    out << YAML::Key << key << YAML::Value << YAML::DoubleQuoted << value;
}

void EmitMessageBoxes(YAML::Emitter& out, const std::vector<ShownDialog>& dialogs) {
    out << YAML::Key << "message_boxes" << YAML::Value << YAML::BeginSeq;
    for (const ShownDialog& dialog : dialogs) {
        if (const auto* box = std::get_if<MessageBoxContent>(&dialog)) {
            out << YAML::BeginMap;
            Text(out, "title", box->title);
            Text(out, "text", box->text);
            out << YAML::EndMap;
        }
    }
    out << YAML::EndSeq;
}

// Each kind of dialog: its kind, its title and what it shows.
struct DialogDetails {
    YAML::Emitter& out;

    void Head(const char* kind, const std::string& title) const {
        Text(out, "kind", kind);
        Text(out, "title", title);
    }
    void operator()(const MessageBoxContent&) const {}
    void operator()(const ChoiceRequest& choice) const {
        Head("choice", choice.title);
        Text(out, "text", choice.text);
        out << YAML::Key << "buttons" << YAML::Value << YAML::BeginSeq;
        for (const std::string& button : choice.buttons) {
            out << YAML::DoubleQuoted << button;
        }
        out << YAML::EndSeq;
    }
    void operator()(const TextRequest& request) const {
        Head("text", request.title);
        Text(out, "prompt", request.prompt);
        Text(out, "text", request.text);
    }
    void operator()(const FormRequest& form) const {
        Head("form", form.title);
        out << YAML::Key << "fields" << YAML::Value << YAML::BeginSeq;
        std::vector<std::string> texts;
        for (const FormField& field : form.fields) {
            out << YAML::BeginMap;
            Text(out, "label", field.label);
            Text(out, "unit", field.unit);
            Text(out, "text", field.text);
            out << YAML::EndMap;
            texts.push_back(field.text);
        }
        out << YAML::EndSeq;
        bool acceptable = true;
        Text(out, "preview", form.preview ? form.preview(texts, acceptable) : std::string());
        Flag(out, "acceptable", acceptable);
    }
    void operator()(const TableRequest& table) const {
        Head("table", table.title);
        out << YAML::Key << "rows" << YAML::Value << table.rows.size();
        out << YAML::Key << "apart" << YAML::Value << table.apart.size();
    }
};

void EmitDialogs(YAML::Emitter& out, const std::vector<ShownDialog>& dialogs) {
    out << YAML::Key << "dialogs" << YAML::Value << YAML::BeginSeq;
    for (const ShownDialog& dialog : dialogs) {
        if (!std::holds_alternative<MessageBoxContent>(dialog)) {
            out << YAML::BeginMap;
            std::visit(DialogDetails{out}, dialog);
            out << YAML::EndMap;
        }
    }
    out << YAML::EndSeq;
}
} // namespace

std::string DumpProgramState(const CGasSeparatorModel* model, const CWindowManager* windowManager,
                             const std::vector<ShownDialog>& dialogs) {
    YAML::Emitter out;
    out << YAML::BeginMap;
    if (model) {
        EmitParameters(out, model->GetParameters());
        out << YAML::Key << "preset_name" << YAML::Value << YAML::DoubleQuoted
            << model->GetPresetName();
        EmitState(out, model->GetState());
    }
    EmitViews(out, windowManager);
    EmitMessageBoxes(out, dialogs);
    EmitDialogs(out, dialogs);
    out << YAML::EndMap;
    return std::string(out.c_str()) + "\n";
}
