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
    for (const ParameterSpec& spec : Parameters()) {
        Number(out, spec.dumpKey, spec.Get(p));
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

void EmitMessageBoxes(YAML::Emitter& out, const std::vector<MessageBoxContent>& boxes) {
    out << YAML::Key << "message_boxes" << YAML::Value << YAML::BeginSeq;
    for (const MessageBoxContent& box : boxes) {
        out << YAML::BeginMap;
        out << YAML::Key << "title" << YAML::Value << YAML::DoubleQuoted << box.title;
        out << YAML::Key << "text" << YAML::Value << YAML::DoubleQuoted << box.text;
        out << YAML::EndMap;
    }
    out << YAML::EndSeq;
}
} // namespace

std::string DumpProgramState(const CGasSeparatorModel* model, const CWindowManager* windowManager,
                             const std::vector<MessageBoxContent>& messageBoxes) {
    YAML::Emitter out;
    out << YAML::BeginMap;
    if (model) {
        EmitParameters(out, model->GetParameters());
        out << YAML::Key << "preset_name" << YAML::Value << YAML::DoubleQuoted
            << model->GetPresetName();
        EmitState(out, model->GetState());
    }
    EmitViews(out, windowManager);
    EmitMessageBoxes(out, messageBoxes);
    out << YAML::EndMap;
    return std::string(out.c_str()) + "\n";
}
