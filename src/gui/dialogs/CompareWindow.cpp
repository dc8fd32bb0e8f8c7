#include "gui/dialogs/CompareWindow.h"

#include "base/FixedTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace q540 {

namespace {

using Kind = ContentDifference::Kind;

constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kSortRole = Qt::UserRole + 2;

constexpr FixedText kHeaders[] = {
    FixedText::CompareDifferenceColumn,
    FixedText::CompareWhereColumn,
    FixedText::CompareDirectoryColumn,
    FixedText::Module,
};

// Entries in zone and apartment order, the settings after them.
int sortKey(const ContentDifference& d, int index)
{
    return d.kind == Kind::Setting ? 10000 + index : d.zone * 1000 + d.number;
}

// Filters on the kind (the combo's data, -1 for all) and on any cell's text.
class DifferenceFilter final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setKind(int kind)
    {
        kind_ = kind;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const QModelIndex first = sourceModel()->index(row, 0, parent);
        if (kind_ >= 0 && sourceModel()->data(first, kKindRole).toInt() != kind_)
            return false;
        return QSortFilterProxyModel::filterAcceptsRow(row, parent);
    }

private:
    int kind_ = -1;
};

} // namespace

CompareWindow::CompareWindow(const std::vector<ContentDifference>& differences, int language,
                             QWidget* parent)
    : QDialog(parent), model_(new QStandardItemModel(this)), proxy_(new DifferenceFilter(this)),
      table_(new QTableView), filter_(new QLineEdit), kinds_(new QComboBox), summary_(new QLabel)
{
    setObjectName(QStringLiteral("CompareWindow"));
    setWindowTitle(fixedText(FixedText::CompareTitle, language));
    QStringList headers;
    for (const FixedText h : kHeaders)
        headers << fixedText(h, language);
    model_->setHorizontalHeaderLabels(headers);
    for (std::size_t i = 0; i < differences.size(); ++i) {
        const ContentDifference& d = differences[i];
        const QString kind = differenceKindText(d.kind, language);
        QList<QStandardItem*> cells{
            new QStandardItem(kind), new QStandardItem(differencePlaceText(d, language)),
            new QStandardItem(differenceValueText(d, d.directory, language)),
            new QStandardItem(differenceValueText(d, d.module, language))};
        for (QStandardItem* cell : cells) {
            cell->setEditable(false);
            cell->setData(cell->text(), kSortRole);
            cell->setData(int(d.kind), kKindRole);
        }
        cells[1]->setData(sortKey(d, int(i)), kSortRole);
        model_->appendRow(cells);
    }
    proxy_->setSourceModel(model_);
    proxy_->setSortRole(kSortRole);
    proxy_->setFilterKeyColumn(-1);
    proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    table_->setObjectName(QStringLiteral("CompareTable"));
    table_->setModel(proxy_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(1, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);

    filter_->setObjectName(QStringLiteral("CompareFilter"));
    filter_->setPlaceholderText(fixedText(FixedText::CompareSearch, language));
    filter_->setClearButtonEnabled(true);
    // Named for a screen reader: the table by the window, the search and
    // the kind by what they do.
    table_->setAccessibleName(windowTitle());
    filter_->setAccessibleName(filter_->placeholderText().remove(u'…'));
    kinds_->setAccessibleName(fixedText(FixedText::CompareDifferenceColumn, language));
    kinds_->setObjectName(QStringLiteral("CompareKinds"));
    kinds_->addItem(fixedText(FixedText::CompareAllKinds, language), -1);
    for (const Kind k : {Kind::OnlyInModule, Kind::OnlyInDirectory, Kind::Changed, Kind::Setting})
        kinds_->addItem(differenceKindText(k, language), int(k));
    connect(filter_, &QLineEdit::textChanged, this, &CompareWindow::applyFilter);
    connect(kinds_, &QComboBox::currentIndexChanged, this, &CompareWindow::applyFilter);

    summary_->setObjectName(QStringLiteral("CompareSummary"));
    summary_->setText(
        differences.empty()
            ? fixedText(FixedText::CompareSame, language)
            : fixedText(FixedText::CompareDiffering, language).arg(differences.size()));
    auto* filters = new QHBoxLayout;
    filters->addWidget(kinds_);
    filters->addWidget(filter_, 1);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(fixedText(FixedText::Close, language), QDialogButtonBox::RejectRole)
        ->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addLayout(filters);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    table_->resizeColumnsToContents();
    resize(820, 460);
}

void CompareWindow::applyFilter()
{
    static_cast<DifferenceFilter*>(proxy_)->setKind(kinds_->currentData().toInt());
    proxy_->setFilterFixedString(filter_->text());
}

QList<QStringList> CompareWindow::shownRows() const
{
    QList<QStringList> rows;
    for (int r = 0; r < proxy_->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < proxy_->columnCount(); ++c)
            cells << proxy_->index(r, c).data().toString();
        rows << cells;
    }
    return rows;
}

} // namespace q540
