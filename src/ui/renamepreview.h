// The preview of a batch rename: the plan's old and new names in a table,
// the problem rows marked, counts at the top, a filter for changes or
// problems, check boxes to leave files out, and Rename / Cancel.
#pragma once

class QWidget;

namespace tandrel {

struct RenamePlan;

// Shows the plan modally; rows the user unticks become not included. True
// for Rename, false for Cancel (the plan's rows are then as they were).
bool RunRenamePreview(QWidget* parent, int language, RenamePlan& plan);

}  // namespace tandrel
