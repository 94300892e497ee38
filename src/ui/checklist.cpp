#include "ui/checklist.h"

#include "ui/filelists.h"

namespace tandrel {

int CheckListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant CheckListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) return ToQt(lines_[row]);
    if (role == Qt::CheckStateRole) return checked_[row] ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool CheckListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::CheckStateRole) return false;
    setChecked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags CheckListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

void CheckListModel::setLines(LineList lines) {
    beginResetModel();
    lines_ = std::move(lines);
    checked_.assign(lines_.size(), false);
    endResetModel();
}

void CheckListModel::keepRows(const std::vector<std::uint32_t>& rows) {
    beginResetModel();
    std::vector<bool> checked;
    checked.reserve(rows.size());
    for (std::uint32_t row : rows) checked.push_back(checked_.at(row));
    lines_ = lines_.Pick(rows);
    checked_ = std::move(checked);
    endResetModel();
}

void CheckListModel::setChecked(int row, bool checked) {
    if (row < 0 || row >= rowCount()) return;
    checked_[static_cast<std::size_t>(row)] = checked;
    const QModelIndex i = index(row);
    emit dataChanged(i, i, {Qt::CheckStateRole});
}

void CheckListModel::setAllChecked(bool checked) {
    if (lines_.empty()) return;
    checked_.assign(lines_.size(), checked);
    emit dataChanged(index(0), index(rowCount() - 1), {Qt::CheckStateRole});
}

std::vector<std::string> CheckListModel::checkedLines() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (checked_[i]) out.emplace_back(lines_[i]);
    return out;
}

}  // namespace tandrel
