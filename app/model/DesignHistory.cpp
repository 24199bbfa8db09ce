#include "app/model/DesignHistory.h"

#include <utility>

namespace {
// The design as the history keeps it: the unit system is how it is shown, not a step.
CaseDesign InAnyUnits(CaseDesign design) {
    design.units = UnitSystem::Oilfield;
    return design;
}
} // namespace

void CDesignHistory::Reset(const CaseDesign& design) {
    undo_.clear();
    redo_.clear();
    current_ = InAnyUnits(design);
}

bool CDesignHistory::IsCurrent(const CaseDesign& design) const {
    return InAnyUnits(design).SameAs(current_);
}

bool CDesignHistory::Record(const CaseDesign& design) {
    if (IsCurrent(design)) {
        return false;
    }
    undo_.push_back(std::exchange(current_, InAnyUnits(design)));
    if (undo_.size() > kSteps) {
        undo_.pop_front(); // the oldest step goes
    }
    redo_.clear();
    return true;
}

std::optional<CaseDesign> CDesignHistory::Undo(const CaseDesign& now) {
    Record(now);
    if (undo_.empty()) {
        return std::nullopt;
    }
    redo_.push_back(std::exchange(current_, undo_.back()));
    undo_.pop_back();
    return current_;
}

std::optional<CaseDesign> CDesignHistory::Redo(const CaseDesign& now) {
    if (Record(now) || redo_.empty()) { // a new step since the undo: nothing to redo
        return std::nullopt;
    }
    undo_.push_back(std::exchange(current_, redo_.back()));
    redo_.pop_back();
    return current_;
}
