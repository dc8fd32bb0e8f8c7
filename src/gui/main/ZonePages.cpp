#include "gui/main/ZonePages.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "directory/DirectoryEditor.h"
#include "directory/EditStep.h"
#include "directory/IntroScreens.h"
#include "gui/main/EntryEdit.h"
#include "gui/startup/Look.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace q540 {

using namespace textkey;

namespace {

const char* const kTabCaptions[kTabPageCount] = {
    "1-30", "31-60", "61-90", "91-120", "121-150", "151-180", "181-210", "211-240", "241-255"};
constexpr int kRowsPerColumn = 15;

} // namespace

ZonePages::ZonePages(DirectoryEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildSelector());
    layout->addWidget(buildZoneTabs(), 1);
    layout->addWidget(buildAdditionalNumbers(), 1);
    layout->addWidget(buildIntro(), 1);
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (const int number = editNumberOf(now))
            emit fieldFocused(number);
    });
}

int ZonePages::editNumberOf(const QWidget* widget) const
{
    if (!widget)
        return 0;
    const auto found = std::find(edits_.begin(), edits_.end(), widget);
    return found == edits_.end() ? 0 : int(found - edits_.begin());
}

QWidget* ZonePages::buildSelector()
{
    auto* box = new QGroupBox;
    box->setObjectName(QStringLiteral("RadioGroup_Strefa"));
    auto* grid = new QGridLayout(box);
    selector_ = new QButtonGroup(this);
    for (int i = 0; i < kSelectorCount; ++i) {
        auto* item = new QRadioButton(i == kSelectorIntro ? QStringLiteral("Intro") : QString());
        item->setObjectName(QStringLiteral("RadioGroup_Strefa_%1").arg(i));
        selector_->addButton(item, i);
        grid->addWidget(item, i / 3, i % 3);
    }
    selector_->button(0)->setChecked(true);
    connect(selector_, &QButtonGroup::idClicked, this, &ZonePages::pageChosen);
    return box;
}

EntryEdit* ZonePages::makeEdit(int number, bool line1, int maxLength)
{
    auto* edit =
        new EntryEdit(line1 ? EntryEdit::Rules::Line1 : EntryEdit::Rules::Line2, maxLength);
    edit->setObjectName(QStringLiteral("Edit%1").arg(number));
    edit->setFont(entryFont());
    edits_[static_cast<std::size_t>(number)] = edit;
    return edit;
}

void ZonePages::connectEntryField(int number, bool line1)
{
    EntryEdit* field = edit(number);
    if (!line1)
        field->setEnabled(false);
    field->setTakesRows(true);
    // The same line of the next or previous entry on the same sheet.
    connect(field, &EntryEdit::stepRequested, this, [this, number, field](int entries) {
        const int target = number + 2 * entries;
        EntryEdit* next = target > 0 && std::size_t(target) < edits_.size()
                              ? edits_[std::size_t(target)]
                              : nullptr;
        if (next && next->parentWidget() == field->parentWidget() && next->isEnabled())
            next->setFocus(Qt::TabFocusReason);
    });
    connect(field, &EntryEdit::rowsPasted, this, [this, number](const QString& text) {
        const int selector = editor_.page().selectorIndex();
        const int slot = slotOfEditNumber(selector, number);
        if (slot != 0)
            emit rowsPasted(selector + 1, slot, text);
    });
    connect(field, &QLineEdit::textChanged, this, [this, number, line1](const QString& text) {
        if (showing_)
            return;
        const int slot = slotOfEditNumber(editor_.page().selectorIndex(), number);
        if (slot == 0)
            return;
        emit edited();
        if (line1)
            editor_.page().line1Changed(slot, text);
        else
            editor_.page().line2Changed(slot, text);
        emit fieldEdited(number, edit(number)->isPasting());
    });
}

QWidget* ZonePages::buildZoneTabs()
{
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("PageControl1"));
    // All nine captions stay in view: the lamps beside them are the point.
    tabs_->setUsesScrollButtons(false);
    const QFontMetrics metrics(entryFont());
    for (int page = 0; page < kTabPageCount; ++page) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(page + 1));
        auto* outer = new QHBoxLayout(sheet);
        if (page == 0) {
            // The vertical caption down the left edge of the first page: one
            // label, a letter a line, read out as the words it spells.
            verticalCaption_ = new QLabel;
            verticalCaption_->setObjectName(QStringLiteral("Label_napis"));
            verticalCaption_->setAlignment(Qt::AlignCenter);
            outer->addWidget(verticalCaption_);
        }
        auto* grid = new QGridLayout;
        grid->setVerticalSpacing(1);
        const int first = page * kEntriesPerTabPage + 1;
        const int last = std::min(first + kEntriesPerTabPage - 1, kApartmentsPerZone);
        for (int j = first; j <= last; ++j) {
            const int row = (j - first) % kRowsPerColumn;
            const int column = (j - first) / kRowsPerColumn * 3;
            auto* number = new QLabel(QString::number(j));
            number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            const int line1Number = line1EditNumber(0, j);
            EntryEdit* line1 = makeEdit(line1Number, true, kLine1Length);
            EntryEdit* line2 = makeEdit(line1Number + 1, false, kLine2Length);
            line1->setMinimumWidth(metrics.horizontalAdvance(QString(kLine1Length + 1, u'W')));
            line2->setMinimumWidth(metrics.horizontalAdvance(QString(kLine2Length + 1, u'W')));
            grid->addWidget(number, row, column);
            grid->addWidget(line1, row, column + 1);
            grid->addWidget(line2, row, column + 2);
            connectEntryField(line1Number, true);
            connectEntryField(line1Number + 1, false);
        }
        grid->setRowStretch(kRowsPerColumn, 1);
        outer->addLayout(grid, 1);
        tabs_->addTab(sheet, lampIcon(false), QString::fromLatin1(kTabCaptions[page]));
    }
    return tabs_;
}

QWidget* ZonePages::buildAdditionalNumbers()
{
    additionalBox_ = new QGroupBox;
    additionalBox_->setObjectName(QStringLiteral("GroupBox_do_numerow_dodatkowych"));
    auto* grid = new QGridLayout(additionalBox_);
    for (int k = 1; k <= kAdditionalNumberCount; ++k) {
        const int line1Number = line1EditNumber(kSelectorAdditionalNumbers, k);
        grid->addWidget(new QLabel(QString::number(k)), k - 1, 0);
        grid->addWidget(makeEdit(line1Number, true, kLine1Length), k - 1, 1);
        grid->addWidget(makeEdit(line1Number + 1, false, kLine2Length), k - 1, 2);
        connectEntryField(line1Number, true);
        connectEntryField(line1Number + 1, false);
    }
    grid->setRowStretch(kAdditionalNumberCount, 1);
    additionalBox_->hide();
    return additionalBox_;
}

QWidget* ZonePages::buildIntro()
{
    introBox_ = new QGroupBox(QStringLiteral(" Intro "));
    introBox_->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(introBox_);
    for (int screen = 0; screen < kIntroScreenCount; ++screen) {
        grid->addWidget(new QLabel(QStringLiteral("%1.").arg(screen + 1)), screen, 0);
        for (int line = 0; line < 2; ++line) {
            const int number = introLineEditNumber(2 * screen + line);
            EntryEdit* field = makeEdit(number, false, kIntroLineLength);
            connect(field, &QLineEdit::textEdited, this, [this, field, number] {
                emit edited();
                emit fieldEdited(number, field->isPasting());
            });
            grid->addWidget(field, screen, 1 + line);
        }
    }
    grid->addLayout(buildIntroTime(), kIntroScreenCount, 0, 1, 3);
    readIntro_ = new QPushButton;
    readIntro_->setObjectName(QStringLiteral("Button1"));
    connect(readIntro_, &QPushButton::clicked, this, &ZonePages::readIntroClicked);
    writeIntro_ = new QPushButton;
    writeIntro_->setObjectName(QStringLiteral("Button2"));
    connect(writeIntro_, &QPushButton::clicked, this, &ZonePages::writeIntroClicked);
    grid->addWidget(readIntro_, kIntroScreenCount + 1, 1);
    grid->addWidget(writeIntro_, kIntroScreenCount + 1, 2);
    grid->setRowStretch(kIntroScreenCount + 2, 1);
    introBox_->hide();
    return introBox_;
}

QLayout* ZonePages::buildIntroTime()
{
    auto* time = new QHBoxLayout;
    introTimeLabel1_ = new QLabel;
    introTimeLabel1_->setObjectName(QStringLiteral("Label767"));
    introTimeLabel2_ = new QLabel;
    introTimeLabel2_->setObjectName(QStringLiteral("Label772"));
    introTime_ = new QComboBox;
    introTime_->setObjectName(QStringLiteral("ComboBox_czas"));
    for (int t = kShortestIntroTime; t <= kLongestIntroTime; ++t)
        introTime_->addItem(QString::number(t));
    introTime_->setCurrentIndex(kIntroTimeDefaultIndex);
    connect(introTime_, &QComboBox::activated, this, [this] {
        emit edited();
        emit fieldEdited(kDisplayTimeField, false);
    });
    auto* labels = new QVBoxLayout;
    labels->addWidget(introTimeLabel1_);
    labels->addWidget(introTimeLabel2_);
    time->addLayout(labels);
    time->addWidget(
        new QLabel(QStringLiteral("(%1-%2)").arg(kShortestIntroTime).arg(kLongestIntroTime)));
    time->addWidget(introTime_);
    time->addWidget(new QLabel(QStringLiteral("s")));
    time->addStretch(1);
    return time;
}

void ZonePages::selectPage(int index)
{
    selector_->button(index)->setChecked(true);
    const PageKind kind = pageKind(index);
    // The pages going away are hidden before the new one shows: showing it
    // first lays the window out with both and grows it past the screen.
    const std::pair<QWidget*, PageKind> pages[] = {{tabs_, PageKind::Zone},
                                                   {additionalBox_, PageKind::AdditionalNumbers},
                                                   {introBox_, PageKind::Intro}};
    for (const auto& [page, pageKind] : pages)
        if (pageKind != kind)
            page->hide();
    for (const auto& [page, pageKind] : pages)
        if (pageKind == kind)
            page->show();
    editor_.page().selectPage(index);
    if (index < kSelectorAdditionalNumbers)
        zoneShown_ = index + 1;
    nameFields();
}

void ZonePages::focusEntry(int slot, bool line2, int position)
{
    const int selector = editor_.page().selectorIndex();
    if (selector < kSelectorAdditionalNumbers)
        tabs_->setCurrentIndex(tabPageOfApartment(slot));
    EntryEdit* field = edit(line2EditNumber(selector, slot));
    if (!line2 || !field->isEnabled())
        field = edit(line1EditNumber(selector, slot));
    field->setFocus(Qt::OtherFocusReason);
    const bool inLineAsked = (field == edit(line2EditNumber(selector, slot))) == line2;
    if (position >= 0 && inLineAsked)
        field->setCursorPosition(position);
    else
        field->end(false);
}

void ZonePages::showSlot(int slot)
{
    const DirectoryPage& page = editor_.page();
    const int selector = page.selectorIndex();
    showing_ = true;
    EntryEdit* line1 = edit(line1EditNumber(selector, slot));
    EntryEdit* line2 = edit(line2EditNumber(selector, slot));
    if (line1->text() != page.slot(slot).line1)
        line1->showText(page.slot(slot).line1);
    if (line2->text() != page.slot(slot).line2)
        line2->showText(page.slot(slot).line2);
    line2->setEnabled(page.line2Enabled(slot));
    showing_ = false;
}

void ZonePages::showLamps(const std::array<bool, kTabPageCount>& lamps)
{
    // A new icon relays the tab bar out: only the lamps that changed get one.
    static const QIcon icons[2] = {lampIcon(false), lampIcon(true)};
    for (std::size_t page = 0; page < kTabPageCount; ++page) {
        const int lit = lamps[page] ? 1 : 0;
        if (lampShown_[page] != lit)
            tabs_->setTabIcon(int(page), icons[lit]);
        lampShown_[page] = lit;
    }
}

IntroLines ZonePages::introLines() const
{
    IntroLines lines;
    for (int i = 0; i < kIntroLineCount; ++i)
        lines[static_cast<std::size_t>(i)] = edit(introLineEditNumber(i))->text();
    return lines;
}

void ZonePages::setIntroLines(const IntroLines& lines)
{
    for (int i = 0; i < kIntroLineCount; ++i)
        edit(introLineEditNumber(i))->showText(lines[static_cast<std::size_t>(i)]);
}

int ZonePages::introTimeIndex() const
{
    return introTime_->currentIndex();
}

void ZonePages::setIntroTimeIndex(int index)
{
    introTime_->setCurrentIndex(index);
}

// Each field named as a screen reader reads it: its entry or intro screen
// and line, in the program's language; the zone fields by the zone shown.
void ZonePages::nameFields()
{
    const auto name = [this](int number, const QString& place, int line) {
        edit(number)->setAccessibleName(
            fixedText(FixedText::AccessibleLine, language_).arg(place).arg(line));
    };
    for (int j = 1; j <= kApartmentsPerZone; ++j) {
        const QString place = entryPlaceText({zoneShown_, j}, language_);
        name(line1EditNumber(0, j), place, 1);
        name(line2EditNumber(0, j), place, 2);
    }
    for (int k = 1; k <= kAdditionalNumberCount; ++k) {
        const QString place = entryPlaceText({kAdditionalNumberZone, k}, language_);
        name(line1EditNumber(kSelectorAdditionalNumbers, k), place, 1);
        name(line2EditNumber(kSelectorAdditionalNumbers, k), place, 2);
    }
    for (int line = 0; line < kIntroLineCount; ++line)
        name(introLineEditNumber(line),
             fixedText(FixedText::IntroScreen, language_).arg(line / 2 + 1), line % 2 + 1);
}

void ZonePages::retranslate(const Localisation& texts)
{
    const QString vertical = texts.text(kVerticalCaption);
    QStringList letters;
    for (const QChar letter : vertical)
        letters << QString(letter);
    verticalCaption_->setText(letters.join(u'\n'));
    verticalCaption_->setAccessibleName(vertical);
    language_ = texts.language();
    tabs_->setAccessibleName(fixedText(FixedText::AccessibleApartmentPages, language_));
    nameFields();
    for (int j = 1; j <= kApartmentsPerZone; ++j)
        edit(line1EditNumber(0, j))->setToolTip(texts.text(kEntryFieldHint));
    for (int k = 1; k <= kAdditionalNumberCount; ++k)
        edit(line1EditNumber(kSelectorAdditionalNumbers, k))
            ->setToolTip(texts.text(kEntryFieldHint));
    additionalBox_->setTitle(texts.text(kAdditionalNumbersTitle));
    for (int zone = 0; zone < kZoneCount; ++zone)
        selector_->button(zone)->setText(texts.text(kZone) + QStringLiteral(" %1").arg(zone + 1));
    selector_->button(kSelectorAdditionalNumbers)->setText(texts.text(kAdditionalNumbersItem));
    introTimeLabel1_->setText(texts.text(kIntroTimeLine1));
    introTimeLabel2_->setText(texts.text(kIntroTimeLine2));
    readIntro_->setText(texts.text(kReadIntro));
    writeIntro_->setText(texts.text(kWriteIntro));
}

} // namespace q540
