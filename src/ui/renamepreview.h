// The preview of a batch rename: the plan's old and new names in a table,
// the problem rows marked, counts at the top, a filter for changes or
// problems, check boxes to leave files out, and Rename / Cancel.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <functional>
#include <optional>
#include <vector>

#include "rename/renameplan.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

namespace tandrel {

class CommandContext;
class WalkProgress;

// The plan's rows as a table, through a filter: a model, so a plan of any size
// opens at once. Column 0 is the old name with the check box of the rows that
// would rename; then the new name, the status and the directory.
class RenamePlanModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Filter { AllRows, OnlyChanges, OnlyProblems };
    enum Column { OldName, NewName, Status, Directory, ColumnCount };

    RenamePlanModel(const RenamePlan& plan, int language, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setFilter(Filter filter);
    // The counts of the plan with the user's choices.
    PlanCounts counts() const;
    // The user's choice for each row of the plan, in plan order.
    const std::vector<char>& included() const { return included_; }
    // The plan row shown at a row of the table.
    std::size_t planRow(int row) const { return shown_[static_cast<std::size_t>(row)]; }

signals:
    void choicesChanged();

private:
    const RenamePlan& plan_;
    int language_;
    std::vector<char> included_;
    std::vector<std::size_t> shown_;
};

class TRenamePreviewForm : public QDialog {
    Q_OBJECT
public:
    TRenamePreviewForm(const RenamePlan& plan, int language, QWidget* parent = nullptr);

    RenamePlanModel* model() const { return model_; }

    QLabel* lCounts;
    QComboBox* cbFilter;
    QTableView* tvPlan;
    QPushButton* bbtnRename;
    QPushButton* bbtnCancel;

private:
    void ShowCounts();

    RenamePlanModel* model_;
    int language_;
};

// Shows the plan modally; rows the user unticks become not included. True
// for Rename, false for Cancel (the plan's rows are then as they were).
bool RunRenamePreview(QWidget* parent, int language, RenamePlan& plan);

// Computes a batch rename's plan with the progress line and Cancel, then
// shows it for checking when the settings ask for it. Nothing, and the status
// line says that no file was renamed, when the user stopped the walk or
// cancelled the preview.
std::optional<RenamePlan> PlanForRename(CommandContext& context, const std::function<RenamePlan(WalkProgress&)>& build);

}  // namespace tandrel
