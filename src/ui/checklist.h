// The output check list: a model of lines with check marks, shown by a list
// view, so that a million lines cost one row each and no widget per line. The
// lines are shared with the document they came from, not copied.
#pragma once

#include <QAbstractListModel>
#include <string>
#include <vector>

#include "text/textlines.h"

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
    void setLines(LineList lines);
    void setLines(const std::vector<std::string>& lines) { setLines(LineList(lines)); }
    const LineList& lineList() const { return lines_; }
    std::vector<std::string> lines() const { return lines_.ToVector(); }
    std::string line(int row) const { return std::string(lines_[static_cast<std::size_t>(row)]); }
    // Keeps only the lines at the given ascending indices, with their marks.
    void keepRows(const std::vector<std::uint32_t>& rows);
    bool isChecked(int row) const { return checked_.at(static_cast<std::size_t>(row)); }
    void setChecked(int row, bool checked);
    void setAllChecked(bool checked);
    std::vector<std::string> checkedLines() const;

private:
    LineList lines_;
    std::vector<bool> checked_;
};

}  // namespace tandrel
