#include "ui/renamepreview.h"

#include <QBrush>
#include <QColor>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "app/dirwalk.h"
#include "app/language.h"
#include "app/messages.h"
#include "ui/commandcontext.h"
#include "ui/filelists.h"
#include "ui/progresspump.h"
#include "ui/widgets.h"

namespace tandrel {

namespace {

// English and Russian, UTF-8.
QString Text(int language, const char* english, const char* russian) {
    return QString::fromUtf8(language == kRussian ? russian : english);
}

QString StatusText(int language, PlanStatus status) {
    if (language != kRussian) return QString::fromLatin1(PlanStatusText(status));
    switch (status) {
        case PlanStatus::WillRename: return QStringLiteral("будет переименован");
        case PlanStatus::Unchanged: return QStringLiteral("без изменений");
        case PlanStatus::TargetExists: return QStringLiteral("такое имя уже есть");
        case PlanStatus::SameTarget: return QStringLiteral("то же имя, что у другого файла плана");
        case PlanStatus::OutsideCodePage: return QStringLiteral("имя вне кодовой страницы 1251");
        case PlanStatus::NotAllowed: return QStringLiteral("недопустимое имя");
    }
    return {};
}

}  // namespace

RenamePlanModel::RenamePlanModel(const RenamePlan& plan, int language, QObject* parent)
    : QAbstractTableModel(parent), plan_(plan), language_(language) {
    included_.reserve(plan.rows.size());
    for (const PlanRow& row : plan.rows) included_.push_back(row.included ? 1 : 0);
    setFilter(AllRows);
}

int RenamePlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int RenamePlanModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant RenamePlanModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const std::size_t at = planRow(index.row());
    const PlanRow& row = plan_.rows[at];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case OldName: return ToQt(row.oldName);
            case NewName: return ToQt(row.newName);
            case Status: return StatusText(language_, row.status);
            case Directory: return ToQt(row.dir);
            default: return {};
        }
    }
    if (role == Qt::CheckStateRole && index.column() == OldName && row.status == PlanStatus::WillRename)
        return included_[at] ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::BackgroundRole && IsPlanProblem(row.status)) return QBrush(QColor(255, 214, 214));
    if (role == Qt::ForegroundRole && row.status == PlanStatus::Unchanged) return QBrush(QColor(110, 110, 110));
    return {};
}

bool RenamePlanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != OldName) return false;
    const std::size_t at = planRow(index.row());
    if (plan_.rows[at].status != PlanStatus::WillRename) return false;
    included_[at] = value.toInt() == Qt::Checked ? 1 : 0;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit choicesChanged();
    return true;
}

Qt::ItemFlags RenamePlanModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == OldName && plan_.rows[planRow(index.row())].status == PlanStatus::WillRename)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QVariant RenamePlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
        case OldName: return Text(language_, "Old name", "Старое имя");
        case NewName: return Text(language_, "New name", "Новое имя");
        case Status: return Text(language_, "Status", "Состояние");
        case Directory: return Text(language_, "Directory", "Каталог");
        default: return {};
    }
}

void RenamePlanModel::setFilter(Filter filter) {
    beginResetModel();
    shown_.clear();
    for (std::size_t i = 0; i < plan_.rows.size(); ++i) {
        const PlanStatus status = plan_.rows[i].status;
        const bool show = filter == AllRows || (filter == OnlyChanges && status != PlanStatus::Unchanged) ||
                          (filter == OnlyProblems && IsPlanProblem(status));
        if (show) shown_.push_back(i);
    }
    endResetModel();
}

PlanCounts RenamePlanModel::counts() const {
    PlanCounts result;
    for (std::size_t i = 0; i < plan_.rows.size(); ++i) {
        const PlanStatus status = plan_.rows[i].status;
        if (status == PlanStatus::Unchanged)
            ++result.unchanged;
        else if (IsPlanProblem(status))
            ++result.problems;
        else if (included_[i])
            ++result.willRename;
        else
            ++result.leftOut;
    }
    return result;
}

TRenamePreviewForm::TRenamePreviewForm(const RenamePlan& plan, int language, QWidget* parent)
    : QDialog(parent), language_(language) {
    setObjectName(QStringLiteral("RenamePreviewForm"));
    setWindowTitle(Text(language, "Rename preview", "Просмотр переименования"));
    model_ = new RenamePlanModel(plan, language, this);

    lCounts = Named(new QLabel(this), "lCounts");
    cbFilter = Named(new QComboBox(this), "cbFilter");
    cbFilter->addItem(Text(language, "All files", "Все файлы"));
    cbFilter->addItem(Text(language, "Only changes", "Только изменения"));
    cbFilter->addItem(Text(language, "Only problems", "Только ошибки"));
    auto* top = new QHBoxLayout;
    top->addWidget(lCounts, 1);
    top->addWidget(Named(new QLabel(Text(language, "Show:", "Показать:"), this), "lFilter"));
    top->addWidget(cbFilter);

    tvPlan = Named(new QTableView(this), "tvPlan");
    tvPlan->setModel(model_);
    tvPlan->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvPlan->setWordWrap(false);
    // Fixed row heights: the view never measures the rows it does not show.
    tvPlan->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tvPlan->verticalHeader()->setDefaultSectionSize(tvPlan->fontMetrics().height() + 6);
    tvPlan->verticalHeader()->hide();
    tvPlan->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    tvPlan->horizontalHeader()->setStretchLastSection(true);
    for (int column : {RenamePlanModel::OldName, RenamePlanModel::NewName}) tvPlan->setColumnWidth(column, 260);
    tvPlan->setColumnWidth(RenamePlanModel::Status, 200);

    bbtnRename = Named(new QPushButton(Text(language, "Rename", "Переименовать"), this), "bbtnRename");
    bbtnCancel = Named(new QPushButton(Text(language, "Cancel", "Отмена"), this), "bbtnCancel");
    bbtnRename->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bbtnRename);
    buttons->addWidget(bbtnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(tvPlan, 1);
    layout->addLayout(buttons);
    resize(900, 560);

    connect(cbFilter, &QComboBox::currentIndexChanged, this,
            [this](int index) { model_->setFilter(static_cast<RenamePlanModel::Filter>(index)); });
    connect(model_, &RenamePlanModel::choicesChanged, this, &TRenamePreviewForm::ShowCounts);
    connect(bbtnRename, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    ShowCounts();
}

void TRenamePreviewForm::ShowCounts() {
    const PlanCounts c = model_->counts();
    QString text = Text(language_, "Will rename: %1   Unchanged: %2   Problems: %3",
                        "Будут переименованы: %1   Без изменений: %2   Ошибки: %3")
                       .arg(c.willRename)
                       .arg(c.unchanged)
                       .arg(c.problems);
    if (c.leftOut > 0) text += Text(language_, "   Left out: %1", "   Исключены: %1").arg(c.leftOut);
    lCounts->setText(text);
}

bool RunRenamePreview(QWidget* parent, int language, RenamePlan& plan) {
    TRenamePreviewForm form(plan, language, parent);
    if (form.exec() != QDialog::Accepted) return false;
    const std::vector<char>& chosen = form.model()->included();
    for (std::size_t i = 0; i < plan.rows.size(); ++i) plan.rows[i].included = chosen[i] != 0;
    return true;
}

std::optional<RenamePlan> PlanForRename(CommandContext& context,
                                        const std::function<RenamePlan(WalkProgress&)>& build) {
    RenamePlan plan;
    {
        // The busy cursor of the application: the moves that follow show the prompter's.
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        ProgressPump pump(context.prompter());
        WalkProgress progress(pump);
        plan = build(progress);
        QGuiApplication::restoreOverrideCursor();
    }
    if (plan.stopped || (context.settings().showRenamePreview && !context.PreviewRenamePlan(plan))) {
        context.setStatusText(Message(context.language(), MessageId::RenameNotStarted));
        return std::nullopt;
    }
    return plan;
}

}  // namespace tandrel
