// The output check list: a model of lines with check marks, shown by a list
// view, so that a million lines cost one row each and no widget per line.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

namespace tandrel {

class CheckListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Lines are code-page-1251 text; setting them clears every check mark.
    void setLines(std::vector<std::string> lines);
    const std::vector<std::string>& lines() const { return lines_; }
    // Keeps only the lines at the given ascending indices, with their marks.
    void keepRows(const std::vector<std::size_t>& rows);
    bool isChecked(int row) const { return checked_.at(static_cast<std::size_t>(row)); }
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    std::vector<std::string> checkedLines() const;

private:
    std::vector<std::string> lines_;
    std::vector<bool> checked_;
};

}  // namespace tandrel
