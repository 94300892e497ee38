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

PlanRow& AddPlanRow(RenamePlan& plan, const std::string& dir, const std::string& oldName, const std::string& newName,
                    PlanStatus status) {
    PlanRow& row = plan.rows.emplace_back();
    row.dir = dir;
    row.oldName = oldName;
    row.newName = newName;
    row.status = status;
    return row;
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
