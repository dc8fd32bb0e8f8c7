#include "gui/dialogs/HistoryWindow.h"

#include "base/FixedTexts.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace q540 {

namespace {

constexpr FixedText kHeaders[] = {
    FixedText::HistoryDateColumn,
    FixedText::HistoryOperationColumn,
    FixedText::Module,
    FixedText::HistoryEntriesColumn,
};

} // namespace

HistoryWindow::HistoryWindow(const History& history, int language, QWidget* parent)
    : QDialog(parent), entries_(history.entries()), table_(new QTableWidget)
{
    setObjectName(QStringLiteral("HistoryWindow"));
    setWindowTitle(fixedText(FixedText::HistoryTitle, language));
    table_->setObjectName(QStringLiteral("HistoryTable"));
    table_->setAccessibleName(windowTitle());
    table_->setColumnCount(4);
    QStringList headers;
    for (const FixedText h : kHeaders)
        headers << fixedText(h, language);
    table_->setHorizontalHeaderLabels(headers);
    table_->setRowCount(int(entries_.size()));
    const QLocale locale = localeOfLanguage(language);
    for (int r = 0; r < int(entries_.size()); ++r) {
        const HistoryEntry& e = entries_[std::size_t(r)];
        const QString cells[] = {
            locale.toString(e.when, QLocale::ShortFormat),
            fixedText(e.operation == HistoryOperation::Write         ? FixedText::HistoryWrite
                      : e.operation == HistoryOperation::CheckedRead ? FixedText::HistoryCheckedRead
                                                                     : FixedText::HistoryRead,
                      language),
            QStringLiteral("Q540 K-%1").arg(e.moduleVariant), QString::number(e.entries)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
            if (c == 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->resizeColumnsToContents();
    if (!entries_.empty())
        table_->selectRow(0);

    auto* note = new QLabel(fixedText(FixedText::HistoryNote, language)
                                .arg(QDir::toNativeSeparators(history.folder())));
    note->setWordWrap(true);
    note->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox;
    open_ = buttons->addButton(fixedText(FixedText::HistoryOpen, language),
                               QDialogButtonBox::AcceptRole);
    open_->setObjectName(QStringLiteral("HistoryOpen"));
    open_->setEnabled(!entries_.empty());
    open_->setDefault(true);
    buttons->addButton(fixedText(FixedText::Close, language), QDialogButtonBox::RejectRole);
    connect(open_, &QPushButton::clicked, this, &HistoryWindow::openSelected);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(table_, &QTableWidget::cellDoubleClicked, this, &HistoryWindow::openSelected);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addWidget(table_, 1);
    layout->addWidget(buttons);
    resize(560, 420);
}

void HistoryWindow::openSelected()
{
    const int row = table_->currentRow();
    if (row < 0 || row >= int(entries_.size()))
        return;
    chosen_ = entries_[std::size_t(row)].path;
    accept();
}

} // namespace q540
