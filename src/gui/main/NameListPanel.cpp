#include "gui/main/NameListPanel.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "directory/DirectoryGrid.h"
#include "directory/NameList.h"
#include "directory/NameListModel.h"
#include "directory/NameListSearch.h"
#include "gui/main/DisplayPreviewView.h"
#include "gui/startup/Look.h"
#include "module/DirectoryRead.h"
#include "protocol/DisplayPreview.h"
#include "protocol/Protocol.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <QTreeView>
#include <QVBoxLayout>

namespace q540 {

using namespace textkey;
using protocol::kEntryCapacity;

namespace {

QPushButton* commandButton(const char* name, QLayout* layout)
{
    auto* button = new QPushButton;
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

// The rows whose entry the display will show otherwise than typed are tinted
// (amber for a look-alike, red for a character it cannot show), and their
// tool tip names each such character.
class MarkedRows final : public QStyledItemDelegate {
public:
    MarkedRows(const Localisation& texts, QObject* parent)
        : QStyledItemDelegate(parent), texts_(texts)
    {
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        switch (textMark(entryText(index))) {
        case CellMark::None:
            break;
        case CellMark::LookAlike:
            option->backgroundBrush = QColor(0xff, 0xe0, 0x99);
            break;
        case CellMark::Unsupported:
            option->backgroundBrush = QColor(0xff, 0xb3, 0xb3);
            break;
        }
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        const QString notes = textNotes(entryText(index), texts_.language());
        if (notes.isEmpty())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        QToolTip::showText(event->globalPos(), notes, view);
        return true;
    }

private:
    static QString entryText(const QModelIndex& index)
    {
        return index.siblingAtColumn(NameListModel::TextColumn).data().toString();
    }

    const Localisation& texts_;
};

} // namespace

NameListPanel::NameListPanel(const NameList& list, const Localisation& texts, QWidget* parent)
    : QGroupBox(parent), texts_(texts), list_(list)
{
    setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QVBoxLayout(this);
    searchField_ = new QLineEdit;
    searchField_->setObjectName(QStringLiteral("Edit_szukaj"));
    searchField_->setClearButtonEnabled(true);
    layout->addWidget(searchField_);
    view_ = new QTreeView;
    view_->setObjectName(QStringLiteral("ListView1"));
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setFont(entryFont());
    model_ = new NameListModel(list, texts_, this);
    search_ = new NameListSearch(this);
    search_->setSourceModel(model_);
    view_->setModel(search_);
    connect(searchField_, &QLineEdit::textChanged, search_, &NameListSearch::setQuery);
    connect(searchField_, &QLineEdit::returnPressed, this,
            [this] { choose(search_->index(0, 0)); });
    connect(view_, &QAbstractItemView::activated, this, &NameListPanel::choose);
    view_->setItemDelegate(new MarkedRows(texts_, view_));
    connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (const NameRow* row = rowAt(current))
                    emit entrySelected(row->zone, row->apartment);
            });
    auto* find = new QShortcut(QKeySequence::Find, this, this, &NameListPanel::focusSearch);
    find->setContext(Qt::WindowShortcut);
    view_->header()->setStretchLastSection(false);
    // At 200 % on a laptop the list gives way to the buttons below it, down
    // to its header and two rows.
    view_->setMinimumHeight(view_->header()->sizeHint().height()
                            + 2 * QFontMetrics(view_->font()).height() + 8);
    fitColumns();
    layout->addWidget(view_, 1);
    preview_ = new DisplayPreviewView;
    layout->addWidget(preview_);

    auto* countRow = new QHBoxLayout;
    countLabel_ = new QLabel;
    countLabel_->setObjectName(QStringLiteral("Label_ilosc_wpisow"));
    count_ = new QLineEdit(QStringLiteral("0"));
    count_->setObjectName(QStringLiteral("Edit_ilosc_wpisow"));
    count_->setReadOnly(true);
    // Read-only: Tab passes it by; a screen reader names it by its label.
    count_->setFocusPolicy(Qt::NoFocus);
    countLabel_->setBuddy(count_);
    count_->setMaximumWidth(60);
    countRow->addWidget(countLabel_);
    countRow->addWidget(count_);
    countRow->addStretch(1);
    layout->addLayout(countRow);

    sortBox_ = new QCheckBox;
    sortBox_->setObjectName(QStringLiteral("CheckBox_sortuj"));
    sortBox_->setChecked(true);
    connect(sortBox_, &QCheckBox::clicked, this, &NameListPanel::sortClicked);
    alphaBox_ = new QCheckBox;
    alphaBox_->setObjectName(QStringLiteral("CheckBox_wyszukiwanie_alfa"));
    alphaBox_->setChecked(true);
    connect(alphaBox_, &QCheckBox::clicked, this, &NameListPanel::alphabeticalSearchClicked);
    // Side by side: a row less, so the panel fits a laptop at 200 %.
    auto* listChecks = new QHBoxLayout;
    listChecks->addWidget(sortBox_);
    listChecks->addWidget(alphaBox_);
    listChecks->addStretch(1);
    layout->addLayout(listChecks);

    auto* buttons = new QHBoxLayout;
    read_ = commandButton("Button9b", buttons);
    write_ = commandButton("Button0b", buttons);
    connect(read_, &QPushButton::clicked, this, &NameListPanel::readClicked);
    connect(write_, &QPushButton::clicked, this, &NameListPanel::writeClicked);
    layout->addLayout(buttons);

    auto* safety = new QHBoxLayout;
    compare_ = commandButton("Button_porownaj", safety);
    connect(compare_, &QPushButton::clicked, this, &NameListPanel::compareClicked);
    verifyBox_ = new QCheckBox;
    verifyBox_->setObjectName(QStringLiteral("CheckBox_weryfikacja"));
    verifyBox_->setChecked(true);
    connect(verifyBox_, &QCheckBox::clicked, this, &NameListPanel::verifyClicked);
    readTwiceBox_ = new QCheckBox;
    readTwiceBox_->setObjectName(QStringLiteral("CheckBox_odczyt_podwojny"));
    connect(readTwiceBox_, &QCheckBox::clicked, this, &NameListPanel::readTwiceClicked);
    // One above the other, so the panel keeps its width in every language.
    auto* checks = new QVBoxLayout;
    checks->setSpacing(0);
    checks->addWidget(verifyBox_);
    checks->addWidget(readTwiceBox_);
    safety->addLayout(checks);
    layout->addLayout(safety);
}

bool NameListPanel::readTwice() const
{
    return readTwiceBox_->isChecked();
}

void NameListPanel::setReadTwice(bool on)
{
    readTwiceBox_->setChecked(on);
}

bool NameListPanel::verifyAfterWriting() const
{
    return verifyBox_->isChecked();
}

void NameListPanel::setVerifyAfterWriting(bool on)
{
    verifyBox_->setChecked(on);
}

void NameListPanel::listRebuilt(int count)
{
    model_->listRebuilt();
    count_->setText(QString::number(count));
}

void NameListPanel::setAlphabeticalSearch(bool ticked)
{
    alphaBox_->setChecked(ticked);
}

void NameListPanel::detachList()
{
    view_->setModel(nullptr);
    search_->setSourceModel(nullptr);
}

void NameListPanel::focusSearch()
{
    searchField_->setFocus(Qt::ShortcutFocusReason);
    searchField_->selectAll();
}

const NameRow* NameListPanel::rowAt(const QModelIndex& index) const
{
    const QModelIndex source = search_->mapToSource(index);
    if (!source.isValid() || std::size_t(source.row()) >= list_.rows().size())
        return nullptr;
    return &list_.rows()[std::size_t(source.row())];
}

void NameListPanel::choose(const QModelIndex& index)
{
    if (const NameRow* row = rowAt(index))
        emit entryChosen(row->zone, row->apartment);
}

void NameListPanel::fitColumns()
{
    // The stated widths, or more where the whole 30-character entry or a
    // column's caption needs it.
    const int stated[NameListModel::ColumnCount] = {190, 44, 40};
    constexpr int kPadding = 12;
    const QFontMetrics entry(view_->font());
    const QFontMetrics caption(view_->header()->font());
    int total = 0;
    for (int c = 0; c < NameListModel::ColumnCount; ++c) {
        // The widest caption of the three languages, so that a change of
        // language never changes the window's width.
        int width = stated[c];
        for (const QString& title : model_->captionsInEveryLanguage(c))
            width = std::max(width, caption.horizontalAdvance(title) + kPadding);
        if (c == 0)
            width = std::max(width,
                             entry.horizontalAdvance(QString(kEntryTextLength, u'M')) + kPadding);
        view_->header()->resizeSection(c, width);
        total += width;
    }
    listWidth_ = total + view_->verticalScrollBar()->sizeHint().width() + 4;
    // On a small screen the list scrolls sideways rather than push the
    // Read and Write buttons off it.
    view_->setMinimumWidth(0);
    updateGeometry();
}

QSize NameListPanel::sizeHint() const
{
    const QMargins margins = contentsMargins() + layout()->contentsMargins();
    return QGroupBox::sizeHint().expandedTo(
        QSize(listWidth_ + margins.left() + margins.right(), 0));
}

void NameListPanel::retranslate()
{
    model_->languageChanged();
    fitColumns();
    setTitle(texts_.text(kNameList));
    countLabel_->setText(texts_.text(kEntryCount));
    sortBox_->setText(texts_.text(kSortList));
    alphaBox_->setText(texts_.text(kAlphabeticalSearch));
    read_->setText(texts_.text(kReadDirectory));
    write_->setText(texts_.text(kWriteDirectory));
    const int language = texts_.language();
    preview_->setLanguage(language);
    compare_->setText(fixedText(FixedText::CompareWithModule, language));
    searchField_->setPlaceholderText(fixedText(FixedText::SearchNames, language));
    searchField_->setAccessibleName(fixedText(FixedText::AccessibleSearch, language));
    view_->setAccessibleName(texts_.text(kNameList));
    verifyBox_->setText(fixedText(FixedText::VerifyAfterWriting, language));
    verifyBox_->setToolTip(fixedText(FixedText::VerifyAfterWritingTip, language)
                               .arg(directoryReadSeconds(kEntryCapacity)));
    readTwiceBox_->setText(fixedText(FixedText::ReadTwice, language));
    readTwiceBox_->setToolTip(fixedText(FixedText::ReadTwiceTip, language));
}

} // namespace q540
