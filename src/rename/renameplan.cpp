#include "rename/renameplan.h"

namespace tandrel {

const char* PlanStatusText(PlanStatus status) {
    switch (status) {
        case PlanStatus::WillRename: return "will rename";
        case PlanStatus::Unchanged: return "unchanged";
        case PlanStatus::TargetExists: return "target exists";
        case PlanStatus::SameTarget: return "same target as another file in this plan";
        case PlanStatus::OutsideCodePage: return "name outside code page 1251";
        case PlanStatus::NotAllowed: return "not allowed";
    }
    return "";
}

bool IsPlanProblem(PlanStatus status) {
    return status != PlanStatus::WillRename && status != PlanStatus::Unchanged;
}

PlanCounts CountPlan(const RenamePlan& plan) {
    PlanCounts counts;
    for (const PlanRow& row : plan.rows) {
        if (row.status == PlanStatus::Unchanged)
            ++counts.unchanged;
        else if (IsPlanProblem(row.status))
            ++counts.problems;
        else if (row.included)
            ++counts.willRename;
        else
            ++counts.leftOut;
    }
    return counts;
}

}  // namespace tandrel
