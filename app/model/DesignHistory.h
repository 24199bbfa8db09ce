#pragma once
// The undo history of a design: the designs before each step and after each step undone, up to a
// bound. A step is whatever lies between two records that differ; recording a design equal to
// the last one is no step. The unit system is no part of a step (it is how the design is shown):
// the designs handed back hold oilfield units, for the caller to show in its own.

#include "app/model/CaseFile.h"

#include <cstddef>
#include <deque>
#include <optional>

class CDesignHistory {
public:
    static constexpr std::size_t kSteps = 200;

    // Forgets every step; `design` is the one in use.
    void Reset(const CaseDesign& design);
    // Ends a step when `design` differs from the design last recorded: that one can be undone
    // back to, and nothing can be redone any more. Whether it was a step.
    bool Record(const CaseDesign& design);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The design before the last step (`now` is recorded first, as a step of its own when it
    // differs), or none when there is nothing to undo. The design returned is the one in use
    // from then on.
    std::optional<CaseDesign> Undo(const CaseDesign& now);
    // The design of the last step undone, or none.
    std::optional<CaseDesign> Redo(const CaseDesign& now);
    // Whether `design` is the one last recorded, in whatever units.
    bool IsCurrent(const CaseDesign& design) const;

private:
    std::deque<CaseDesign> undo_;
    std::deque<CaseDesign> redo_;
    CaseDesign current_;
};
