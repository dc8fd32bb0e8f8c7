#include "gui/MainWindow.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "directory/NameListModel.h"
#include "gui/ContactWindow.h"
#include "gui/EntryEdit.h"
#include "gui/LanguageWindow.h"
#include "gui/QtTranslations.h"
#include "gui/SettingsPanel.h"
#include "gui/TransferRunner.h"
#include "gui/WidgetFileDialogs.h"
#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace q540 {

namespace {

constexpr int kFirstIntroEdit = 511;
constexpr int kFirstAdditionalEdit = 522;
constexpr int kVerticalCaptionLength = 21;
constexpr int kIntroTimeCount = 15;
const char* const kTabCaptions[kTabPageCount] = {
    "1-30", "31-60", "61-90", "91-120", "121-150", "151-180", "181-210", "211-240", "241-255"};

// The page lamp: a green dot beside a tab caption, or nothing.
QIcon lampIcon(bool lit)
{
    QImage image(5, 12, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    if (lit) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 170, 0));
        painter.drawEllipse(QRectF(0, 3.5, 5, 5));
    }
    return QIcon(QPixmap::fromImage(image));
}

// The state icon of the tool bar by its image index: a coloured dot for
// each module state, grey before the first poll.
QIcon stateIcon(int imageIndex)
{
    QColor colour(150, 150, 150);
    if (imageIndex == ModuleStatus::kImageNoCable)
        colour = QColor(200, 40, 40);
    else if (imageIndex == ModuleStatus::kImageModulePresent)
        colour = QColor(30, 170, 60);
    else if (imageIndex == ModuleStatus::kImageNoModule)
        colour = QColor(230, 150, 20);
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour.darker(140), 1.5));
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(3, 3, 14, 14));
    return QIcon(QPixmap::fromImage(image));
}

QColor passwordColour(PasswordColour colour)
{
    switch (colour) {
    case PasswordColour::Green:
        return QColor(0, 255, 0);
    case PasswordColour::Red:
        return QColor(255, 0, 0);
    case PasswordColour::Normal:
        break;
    }
    return {};
}

QFont entryFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Courier New"), font.family()});
    font.setPixelSize(13);
    return font;
}

} // namespace

MainWindow::MainWindow(Localisation& texts, const QString& settingsPath, const QString& localeName,
                       QWidget* parent)
    : QMainWindow(parent), texts_(texts), settings_(settingsPath), jezyk_(texts.Nr_Jezyka())
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kApplicationTitle);
    setWindowFlags((windowFlags() | Qt::WindowMinimizeButtonHint) & ~Qt::WindowMaximizeButtonHint);
    progress_ = new QProgressBar;
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setRange(0, 255);
    progress_->hide();
    sink_ = std::make_unique<WidgetSink>(this, progress_);
    editor_ = std::make_unique<DirectoryEditor>(*sink_, texts_, localeName);
    editor_->page().onSlotChanged = [this](int slot) { showSlot(slot); };
    editor_->onListRebuilt = [this] { listRebuilt(); };
    noCable_ = std::make_unique<AbsentLink>();
    monitor_ = std::make_unique<ModuleMonitor>(*noCable_, systemClock_, texts_, *sink_);

    buildMenus();
    buildToolBar();
    setCentralWidget(buildWorkingArea());
    panel_ = new SettingsPanel(*monitor_, texts_, this);
    connectMonitor();
    connectFileCommands();
    Ustaw_WJ_na_komponentach();
    RadioGroup_StrefaClick(0);
    showModuleStatus();
}

void MainWindow::attachModule(Link& device, Clock& clock)
{
    delete panel_;
    monitor_ = std::make_unique<ModuleMonitor>(device, clock, texts_, *sink_);
    panel_ = new SettingsPanel(*monitor_, texts_, this);
    connectMonitor();
    showModuleStatus();
    monitor_->resume();
}

void MainWindow::showCentred()
{
    if (const QScreen* where = screen()) {
        const QRect area = where->availableGeometry();
        adjustSize();
        move(area.center() - rect().center());
    }
    show();
}

void MainWindow::showDemoNote()
{
    if (!demoNote_) {
        demoNote_ = new QLabel;
        demoNote_->setObjectName(QStringLiteral("Label_demo"));
        statusBar()->addPermanentWidget(demoNote_, 1);
    }
    demoNote_->setText(demoModuleNote(texts_.Nr_Jezyka()));
}

void MainWindow::connectMonitor()
{
    connect(monitor_.get(), &ModuleMonitor::statusChanged, this, &MainWindow::showModuleStatus);
    connect(monitor_.get(), &ModuleMonitor::alphabeticalSearchSet, this, [this](bool ticked) {
        alphaBox_->setChecked(ticked);
        editor_->setAlphabeticalSearch(ticked);
    });
    connect(monitor_.get(), &ModuleMonitor::configurationRead, this,
            [this] { introTime_->setCurrentIndex(monitor_->status().introTimeIndex); });
}

MainWindow::~MainWindow()
{
    // The widgets outlive the members: nothing may show the directory once it is gone.
    listView_->setModel(nullptr);
}

void MainWindow::buildMenus()
{
    const auto add = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("Plik"));
    file->setObjectName(QStringLiteral("Plik1"));
    QAction* newAction = add(file, "Nowy1", QStringLiteral("Nowy"));
    connect(newAction, &QAction::triggered, this, &MainWindow::Nowy1Click);
    add(file, "Otwrz1", QStringLiteral("Otwórz"))->setEnabled(false);
    QAction* import = add(file, "Importuj1", QStringLiteral("Import"));
    import->setToolTip(QStringLiteral("Import v3.4"));
    import->setEnabled(false);
    saveAction_ = add(file, "Zapisz1", QStringLiteral("Zapisz"));
    saveAction_->setEnabled(false);
    add(file, "Zapiszjako1", QStringLiteral("Zapisz jako..."))->setEnabled(false);
    file->addSeparator()->setObjectName(QStringLiteral("MenuKreska"));
    connect(add(file, "Wyjcie1", QStringLiteral("Wyjście")), &QAction::triggered, this,
            &QWidget::close);

    QMenu* options = menuBar()->addMenu(QStringLiteral("Program"));
    options->setObjectName(QStringLiteral("Program1"));
    connect(add(options, "Jzyk1", QStringLiteral("Język")), &QAction::triggered, this,
            &MainWindow::Jzyk1Click);
    connect(add(options, "Sprawdwersj1", QStringLiteral("Sprawdź wersję")), &QAction::triggered,
            this, &MainWindow::Sprwersj2Click);
    connect(add(options, "Zmien_jezyk", QStringLiteral("Zmień język")), &QAction::triggered, this,
            &MainWindow::Zmien_jezykClick);
    QAction* contact = menuBar()->addAction(QStringLiteral("Kontakt"));
    contact->setObjectName(QStringLiteral("Informacja1"));
    connect(contact, &QAction::triggered, this, &MainWindow::Informacja1Click);
}

void MainWindow::buildToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    const auto button = [bar](const char* name, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton;
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(bar->style()->standardIcon(icon));
        bar->addWidget(b);
        return b;
    };
    connect(button("ToolButton1", QStyle::SP_FileIcon), &QToolButton::clicked, this,
            &MainWindow::Nowy1Click);
    button("ToolButton2", QStyle::SP_DialogOpenButton)->setEnabled(false);
    saveButton_ = button("ToolButton3", QStyle::SP_DialogSaveButton);
    saveButton_->setEnabled(false);
    saveAsButton_ = button("ToolButton4", QStyle::SP_DriveFDIcon);
    saveAsButton_->setEnabled(false);
    stateButton_ = button("ToolButton8", QStyle::SP_DriveNetIcon);
    stateButton_->setAutoRaise(true);
    statusEdit_ = new QLineEdit;
    statusEdit_->setObjectName(QStringLiteral("Edit_Status"));
    statusEdit_->setReadOnly(true);
    statusEdit_->setMinimumWidth(330);
    bar->addWidget(statusEdit_);
    bar->addSeparator()->setObjectName(QStringLiteral("ToolButton7"));
    editAddress_ = new EntryEdit(EntryEdit::Rules::Line2, 20);
    editAddress_->setObjectName(QStringLiteral("Edit_adres"));
    editAddress_->setText(texts_.text(0, 162));
    connect(editAddress_, &QLineEdit::textEdited, this, [this] { modified_ = true; });
    bar->addWidget(editAddress_);
    auto* label = new QLabel;
    label->setObjectName(QStringLiteral("Label_haslo_instalatora"));
    bar->addWidget(label);
    passwordEdit_ = new QLineEdit(QString::fromLatin1(ModuleMonitor::kDefaultPassword));
    passwordEdit_->setObjectName(QStringLiteral("Edit_haslo"));
    passwordEdit_->setEnabled(false);
    passwordEdit_->setMaxLength(4);
    passwordEdit_->setMaximumWidth(48);
    QFont bold = passwordEdit_->font();
    bold.setBold(true);
    passwordEdit_->setFont(bold);
    bar->addWidget(passwordEdit_);
    changePassword_ = new QPushButton;
    changePassword_->setObjectName(QStringLiteral("Button_zmien_haslo"));
    connect(changePassword_, &QPushButton::clicked, this, &MainWindow::Button_zmien_hasloClick);
    bar->addWidget(changePassword_);
    resetLockBox_ = new QCheckBox;
    resetLockBox_->setObjectName(QStringLiteral("CheckBox_blokada_resetu"));
    // Only the user's click sends the lock: the poll's own changes use setChecked.
    connect(resetLockBox_, &QCheckBox::clicked, this,
            [this](bool locked) { monitor_->CheckBox_blokada_resetuClick(locked); });
    bar->addWidget(resetLockBox_);
}

QWidget* MainWindow::buildWorkingArea()
{
    auto* area = new QWidget;
    auto* layout = new QHBoxLayout(area);
    auto* middle = new QVBoxLayout;
    middle->addWidget(buildSelector());
    middle->addWidget(buildZonePages(), 1);
    middle->addWidget(buildAdditionalNumbers(), 1);
    middle->addWidget(buildIntro(), 1);
    middle->addWidget(progress_);
    layout->addLayout(middle, 3);
    layout->addWidget(buildNameList(), 2);
    edit520_ = new QLineEdit(QStringLiteral("00 00"), area);
    edit520_->setObjectName(QStringLiteral("Edit520"));
    edit520_->hide();
    auto* edit538 = new QLineEdit(area);
    edit538->setObjectName(QStringLiteral("Edit538"));
    edit538->hide();
    return area;
}

QWidget* MainWindow::buildSelector()
{
    selectorBox_ = new QGroupBox;
    selectorBox_->setObjectName(QStringLiteral("RadioGroup_Strefa"));
    auto* grid = new QGridLayout(selectorBox_);
    selector_ = new QButtonGroup(this);
    for (int i = 0; i < kSelectorCount; ++i) {
        auto* item = new QRadioButton(i == kSelectorIntro ? QStringLiteral("Intro") : QString());
        item->setObjectName(QStringLiteral("RadioGroup_Strefa_%1").arg(i));
        selector_->addButton(item, i);
        grid->addWidget(item, i / 3, i % 3);
    }
    selector_->button(0)->setChecked(true);
    connect(selector_, &QButtonGroup::idClicked, this, &MainWindow::RadioGroup_StrefaClick);
    return selectorBox_;
}

EntryEdit* MainWindow::makeEdit(int number, bool line1, int maxLength)
{
    auto* edit =
        new EntryEdit(line1 ? EntryEdit::Rules::Line1 : EntryEdit::Rules::Line2, maxLength);
    edit->setObjectName(QStringLiteral("Edit%1").arg(number));
    edit->setFont(entryFont());
    edits_[static_cast<std::size_t>(number)] = edit;
    return edit;
}

void MainWindow::connectEntryField(int number, bool line1)
{
    EntryEdit* field = edit(number);
    if (!line1)
        field->setEnabled(false);
    connect(field, &QLineEdit::textChanged, this, [this, number, line1](const QString& text) {
        if (showing_)
            return;
        const int slot = slotOfEdit(number);
        if (slot == 0)
            return;
        modified_ = true;
        if (line1)
            editor_->page().Edit1Change(slot, text);
        else
            editor_->page().Edit2Change(slot, text);
    });
}

QWidget* MainWindow::buildZonePages()
{
    pages_ = new QTabWidget;
    pages_->setObjectName(QStringLiteral("PageControl1"));
    // All nine captions stay in view: the lamps beside them are the point.
    pages_->setUsesScrollButtons(false);
    const QFontMetrics metrics(entryFont());
    for (int page = 0; page < kTabPageCount; ++page) {
        auto* sheet = new QWidget;
        sheet->setObjectName(QStringLiteral("TabSheet%1").arg(page + 1));
        auto* outer = new QHBoxLayout(sheet);
        if (page == 0) {
            // The vertical caption down the left edge of the first page.
            auto* caption = new QVBoxLayout;
            caption->setSpacing(0);
            for (int i = 1; i <= kVerticalCaptionLength; ++i) {
                auto* letter = new QLabel;
                letter->setObjectName(QStringLiteral("Label_napis_%1").arg(i));
                letter->setAlignment(Qt::AlignCenter);
                caption->addWidget(letter);
            }
            outer->addLayout(caption);
        }
        auto* grid = new QGridLayout;
        grid->setVerticalSpacing(1);
        const int first = page * kEntriesPerTabPage + 1;
        const int last = std::min(first + kEntriesPerTabPage - 1, kApartmentsPerZone);
        for (int j = first; j <= last; ++j) {
            const int row = j - first;
            auto* number = new QLabel(QString::number(j));
            number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            EntryEdit* line1 = makeEdit(2 * j - 1, true, kLine1Length);
            EntryEdit* line2 = makeEdit(2 * j, false, kLine2Length);
            line1->setMinimumWidth(metrics.horizontalAdvance(QString(kLine1Length + 1, u'W')));
            line2->setMinimumWidth(metrics.horizontalAdvance(QString(kLine2Length + 1, u'W')));
            grid->addWidget(number, row % 15, (row / 15) * 3);
            grid->addWidget(line1, row % 15, (row / 15) * 3 + 1);
            grid->addWidget(line2, row % 15, (row / 15) * 3 + 2);
            connectEntryField(2 * j - 1, true);
            connectEntryField(2 * j, false);
        }
        grid->setRowStretch(15, 1);
        outer->addLayout(grid, 1);
        pages_->addTab(sheet, lampIcon(false), QString::fromLatin1(kTabCaptions[page]));
    }
    return pages_;
}

QWidget* MainWindow::buildAdditionalNumbers()
{
    additionalBox_ = new QGroupBox;
    additionalBox_->setObjectName(QStringLiteral("GroupBox_do_numerow_dodatkowych"));
    auto* grid = new QGridLayout(additionalBox_);
    for (int k = 1; k <= kAdditionalNumberCount; ++k) {
        grid->addWidget(new QLabel(QString::number(k)), k - 1, 0);
        grid->addWidget(makeEdit(2 * k + 520, true, kLine1Length), k - 1, 1);
        grid->addWidget(makeEdit(2 * k + 521, false, kLine2Length), k - 1, 2);
        connectEntryField(2 * k + 520, true);
        connectEntryField(2 * k + 521, false);
    }
    grid->setRowStretch(kAdditionalNumberCount, 1);
    additionalBox_->hide();
    return additionalBox_;
}

QWidget* MainWindow::buildIntro()
{
    introBox_ = new QGroupBox(QStringLiteral(" Intro "));
    introBox_->setObjectName(QStringLiteral("GroupBox2"));
    auto* grid = new QGridLayout(introBox_);
    for (int screen = 1; screen <= 4; ++screen) {
        grid->addWidget(new QLabel(QStringLiteral("%1.").arg(screen)), screen - 1, 0);
        for (int line = 0; line < 2; ++line) {
            EntryEdit* field = makeEdit(2 * screen + 509 + line, false, 16);
            connect(field, &QLineEdit::textEdited, this, [this] { modified_ = true; });
            grid->addWidget(field, screen - 1, 1 + line);
        }
    }
    auto* time = new QHBoxLayout;
    auto* label1 = new QLabel;
    label1->setObjectName(QStringLiteral("Label767"));
    auto* label2 = new QLabel;
    label2->setObjectName(QStringLiteral("Label772"));
    introTime_ = new QComboBox;
    introTime_->setObjectName(QStringLiteral("ComboBox_czas"));
    for (int t = 1; t <= kIntroTimeCount; ++t)
        introTime_->addItem(QString::number(t));
    introTime_->setCurrentIndex(1);
    connect(introTime_, &QComboBox::activated, this, [this] { modified_ = true; });
    auto* labels = new QVBoxLayout;
    labels->addWidget(label1);
    labels->addWidget(label2);
    time->addLayout(labels);
    time->addWidget(new QLabel(QStringLiteral("(1-15)")));
    time->addWidget(introTime_);
    time->addWidget(new QLabel(QStringLiteral("s")));
    time->addStretch(1);
    grid->addLayout(time, 4, 0, 1, 3);
    auto* read = new QPushButton;
    read->setObjectName(QStringLiteral("Button1"));
    connect(read, &QPushButton::clicked, this, &MainWindow::Button1Click);
    auto* write = new QPushButton;
    write->setObjectName(QStringLiteral("Button2"));
    connect(write, &QPushButton::clicked, this, &MainWindow::Button2Click);
    grid->addWidget(read, 5, 1);
    grid->addWidget(write, 5, 2);
    grid->setRowStretch(6, 1);
    introBox_->hide();
    return introBox_;
}

QWidget* MainWindow::buildNameList()
{
    listBox_ = new QGroupBox;
    listBox_->setObjectName(QStringLiteral("GroupBox1"));
    auto* layout = new QVBoxLayout(listBox_);
    listView_ = new QTreeView;
    listView_->setObjectName(QStringLiteral("ListView1"));
    listView_->setRootIsDecorated(false);
    listView_->setUniformRowHeights(true);
    listView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    listView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    listView_->setFont(entryFont());
    model_ = new NameListModel(editor_->list(), texts_, this);
    listView_->setModel(model_);
    listView_->header()->setStretchLastSection(false);
    fitListColumns();
    layout->addWidget(listView_, 1);

    auto* countRow = new QHBoxLayout;
    auto* countLabel = new QLabel;
    countLabel->setObjectName(QStringLiteral("Label_ilosc_wpisow"));
    editCount_ = new QLineEdit(QStringLiteral("0"));
    editCount_->setObjectName(QStringLiteral("Edit_ilosc_wpisow"));
    editCount_->setReadOnly(true);
    editCount_->setMaximumWidth(60);
    countRow->addWidget(countLabel);
    countRow->addWidget(editCount_);
    countRow->addStretch(1);
    layout->addLayout(countRow);

    sortBox_ = new QCheckBox;
    sortBox_->setObjectName(QStringLiteral("CheckBox_sortuj"));
    sortBox_->setChecked(true);
    connect(sortBox_, &QCheckBox::clicked, this, [this](bool on) { editor_->setSorted(on); });
    alphaBox_ = new QCheckBox;
    alphaBox_->setObjectName(QStringLiteral("CheckBox_wyszukiwanie_alfa"));
    alphaBox_->setChecked(true);
    connect(alphaBox_, &QCheckBox::clicked, this, [this](bool on) {
        monitor_->status().alphabeticalSearchTicked = on;
        editor_->setAlphabeticalSearch(on);
    });
    layout->addWidget(sortBox_);
    layout->addWidget(alphaBox_);

    auto* buttons = new QHBoxLayout;
    const std::pair<const char*, void (MainWindow::*)()> commands[] = {
        {"Button9b", &MainWindow::Buttonz9Click}, {"Button0b", &MainWindow::Button0Click}};
    for (const auto& [name, command] : commands) {
        auto* b = new QPushButton;
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, command);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
    return listBox_;
}

int MainWindow::slotOfEdit(int number) const
{
    switch (editor_->page().kind()) {
    case PageKind::Zone:
        return number >= 1 && number <= 2 * kApartmentsPerZone ? (number + 1) / 2 : 0;
    case PageKind::AdditionalNumbers:
        return number >= kFirstAdditionalEdit && number < kFirstAdditionalEdit + 16
                   ? (number - 520) / 2
                   : 0;
    case PageKind::Intro:
        break;
    }
    return 0;
}

void MainWindow::showSlot(int slot)
{
    const DirectoryPage& page = editor_->page();
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

void MainWindow::listRebuilt()
{
    model_->listRebuilt();
    editCount_->setText(QString::number(editor_->list().count()));
    // A new icon relays the tab bar out: only the lamps that changed get one.
    static const QIcon lamps[2] = {lampIcon(false), lampIcon(true)};
    for (std::size_t page = 0; page < kTabPageCount; ++page) {
        const int lit = editor_->list().lamps()[page] ? 1 : 0;
        if (lampShown_[page] != lit)
            pages_->setTabIcon(int(page), lamps[lit]);
        lampShown_[page] = lit;
    }
}

void MainWindow::RadioGroup_StrefaClick(int index)
{
    selector_->button(index)->setChecked(true);
    const PageKind kind = pageKind(index);
    // The pages going away are hidden before the new one shows: showing it
    // first lays the window out with both and grows it past the screen.
    const std::pair<QWidget*, PageKind> pages[] = {{pages_, PageKind::Zone},
                                                   {additionalBox_, PageKind::AdditionalNumbers},
                                                   {introBox_, PageKind::Intro}};
    for (const auto& [page, pageKind] : pages)
        if (pageKind != kind)
            page->hide();
    for (const auto& [page, pageKind] : pages)
        if (pageKind == kind)
            page->show();
    editor_->page().RadioGroup_StrefaClick(index);
    listBox_->setEnabled(editor_->page().transferGroupEnabled());
}

void MainWindow::fitListColumns()
{
    // The stated widths, or more where the whole 30-character entry or a
    // column's caption needs it.
    const int stated[NameListModel::ColumnCount] = {190, 44, 40};
    constexpr int kPadding = 12;
    const QFontMetrics entry(listView_->font());
    const QFontMetrics caption(listView_->header()->font());
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
        listView_->header()->resizeSection(c, width);
        total += width;
    }
    listView_->setMinimumWidth(total + listView_->verticalScrollBar()->sizeHint().width() + 4);
}

bool MainWindow::mayReplaceWork()
{
    return !modified_
           || sink_->askYesNo(FileCommands::unsavedChangesQuestion(texts_.Nr_Jezyka()), QString());
}

void MainWindow::Nowy1Click()
{
    if (!mayReplaceWork())
        return;
    QString count;
    files_->Nowy1Click(count);
    monitor_->status().Edit520 = count;
    edit520_->setText(count);
    showFileState();
    modified_ = false;
}

void MainWindow::connectFileCommands()
{
    dialogs_ = std::make_unique<WidgetFileDialogs>(this);
    files_ = std::make_unique<FileCommands>(*editor_, *sink_, texts_, *dialogs_);
    files_->readFields = [this] { return documentFields(); };
    files_->showFields = [this](const DocumentFields& fields) { showDocumentFields(fields); };
    files_->selectPage = [this](int index) { RadioGroup_StrefaClick(index); };
    using Handler = void (MainWindow::*)();
    const std::pair<const char*, Handler> actions[] = {
        {"Otwrz1", &MainWindow::Otwrz1Click},
        {"Importuj1", &MainWindow::Importuj1Click},
        {"Zapisz1", &MainWindow::Zapisz1Click},
        {"Zapiszjako1", &MainWindow::Zapiszjako1Click}};
    for (const auto& [name, handler] : actions) {
        QAction* action = findChild<QAction*>(QString::fromLatin1(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    }
    const std::pair<const char*, Handler> buttons[] = {
        {"ToolButton2", &MainWindow::Otwrz1Click},
        {"ToolButton3", &MainWindow::Zapisz1Click},
        {"ToolButton4", &MainWindow::Zapiszjako1Click}};
    for (const auto& [name, handler] : buttons) {
        QToolButton* button = findChild<QToolButton*>(QString::fromLatin1(name));
        button->setEnabled(true);
        connect(button, &QToolButton::clicked, this, handler);
    }
    showFileState();
}

void MainWindow::setFileDialogs(std::unique_ptr<FileDialogs> dialogs)
{
    files_->setDialogs(*dialogs);
    dialogs_ = std::move(dialogs);
}

DocumentFields MainWindow::documentFields() const
{
    DocumentFields fields;
    fields.address = editAddress_->text();
    fields.intro = introLines();
    fields.timeIndex = introTime_->currentIndex();
    fields.moduleLanguage = monitor_->status().jezyk_modulu;
    return fields;
}

void MainWindow::showDocumentFields(const DocumentFields& fields)
{
    editAddress_->showText(fields.address);
    setIntroLines(fields.intro);
    introTime_->setCurrentIndex(fields.timeIndex);
    monitor_->status().jezyk_modulu = fields.moduleLanguage;
}

// Save is available only while the directory has a file; Save as always is.
void MainWindow::showFileState()
{
    setWindowTitle(files_->caption());
    saveAction_->setEnabled(files_->saveEnabled());
    saveButton_->setEnabled(files_->saveEnabled());
}

void MainWindow::Otwrz1Click()
{
    if (!mayReplaceWork())
        return;
    if (files_->Otwrz1Click())
        modified_ = false;
    showFileState();
}

// The imported entries are not in any directory file yet.
void MainWindow::Importuj1Click()
{
    if (!mayReplaceWork())
        return;
    if (files_->Importuj1Click())
        modified_ = true;
    showFileState();
}

void MainWindow::Zapisz1Click()
{
    if (files_->Zapisz1Click())
        modified_ = false;
    showFileState();
}

void MainWindow::Zapiszjako1Click()
{
    if (files_->Zapiszjako1Click())
        modified_ = false;
    showFileState();
}

void MainWindow::Ustaw_WJ_na_komponentach()
{
    applyQtTranslations(texts_.Nr_Jezyka());
    const auto t = [this](int key) { return texts_.text(key); };
    const std::pair<const char*, int> actions[] = {
        {"Nowy1", 1},         {"Otwrz1", 2},       {"Zapisz1", 4},
        {"Zapiszjako1", 5},   {"Wyjcie1", 6},      {"Jzyk1", 11},
        {"Sprawdwersj1", 13}, {"Zmien_jezyk", 15}, {"Informacja1", 12}};
    for (const auto& [name, key] : actions)
        findChild<QAction*>(QString::fromLatin1(name))->setText(t(key));
    findChild<QMenu*>(QStringLiteral("Plik1"))->setTitle(t(0));
    findChild<QMenu*>(QStringLiteral("Program1"))->setTitle(t(10));
    const std::pair<const char*, int> hints[] = {{"ToolButton1", 1},
                                                 {"ToolButton2", 2},
                                                 {"ToolButton3", 4},
                                                 {"ToolButton4", 5},
                                                 {"ToolButton8", 14}};
    for (const auto& [name, key] : hints)
        findChild<QToolButton*>(QString::fromLatin1(name))->setToolTip(t(key));
    model_->languageChanged();
    fitListColumns();
    const std::pair<const char*, int> captions[] = {{"Button9b", 60},
                                                    {"Button0b", 61},
                                                    {"Button_zmien_haslo", 64},
                                                    {"Button1", 72},
                                                    {"Button2", 73}};
    for (const auto& [name, key] : captions)
        findChild<QPushButton*>(QString::fromLatin1(name))->setText(t(key));
    findChild<QLabel*>(QStringLiteral("Label_haslo_instalatora"))->setText(t(63));
    findChild<QCheckBox*>(QStringLiteral("CheckBox_blokada_resetu"))->setText(t(48));
    findChild<QLabel*>(QStringLiteral("Label_ilosc_wpisow"))->setText(t(49));
    sortBox_->setText(t(75));
    alphaBox_->setText(t(88));
    findChild<QLabel*>(QStringLiteral("Label767"))->setText(t(70));
    findChild<QLabel*>(QStringLiteral("Label772"))->setText(t(71));
    listBox_->setTitle(t(74));
    const QString vertical = t(47);
    for (int i = 1; i <= kVerticalCaptionLength; ++i) {
        findChild<QLabel*>(QStringLiteral("Label_napis_%1").arg(i))
            ->setText(i <= vertical.size() ? QString(vertical.at(i - 1)) : QString());
    }
    // Only the word "address" in some language follows the language; a typed address stays.
    for (int column = 0; column < 3; ++column) {
        if (editAddress_->text() == texts_.text(column, 162)) {
            editAddress_->setText(t(162));
            break;
        }
    }
    for (int j = 1; j <= kApartmentsPerZone; ++j)
        edit(2 * j - 1)->setToolTip(t(163));
    for (int k = 1; k <= kAdditionalNumberCount; ++k)
        edit(2 * k + 520)->setToolTip(t(163));
    additionalBox_->setTitle(t(164));
    for (int zone = 0; zone < kZoneCount; ++zone)
        selector_->button(zone)->setText(t(166) + QStringLiteral(" %1").arg(zone + 1));
    selector_->button(kSelectorAdditionalNumbers)->setText(t(165));
    if (demoNote_)
        showDemoNote();
}

void MainWindow::Jzyk1Click()
{
    // A new window each time, so it always opens on the current language.
    LanguageWindow window(
        texts_, jezyk_, monitor_->status().jezyk_modulu, settings_, *sink_,
        [this] { Ustaw_WJ_na_komponentach(); }, this);
    window.exec();
}

void MainWindow::Informacja1Click()
{
    ContactWindow window(texts_.Nr_Jezyka(), {}, this);
    window.exec();
}

void MainWindow::Sprwersj2Click()
{
    panel_->Ustaw_Formatke_Panelow_Edycji(SettingsPanel::kVersionMode);
    panel_->exec();
}

void MainWindow::Button_zmien_hasloClick()
{
    panel_->Ustaw_Formatke_Panelow_Edycji(SettingsPanel::kPasswordMode);
    monitor_->suspend();
    panel_->exec();
    monitor_->resume();
    // The entry cleared jest_odpowiedz: this poll judges the password now held.
    monitor_->pollNow();
    showModuleStatus();
}

void MainWindow::Zmien_jezykClick()
{
    panel_->Ustaw_Formatke_Panelow_Edycji(SettingsPanel::kLanguageMode);
    monitor_->suspend();
    panel_->exec();
    monitor_->resume();
}

void MainWindow::showModuleStatus()
{
    const ModuleStatus& status = monitor_->status();
    stateButton_->setIcon(stateIcon(status.stateImageIndex));
    stateButton_->setProperty("Tag", status.stateTag);
    stateButton_->setProperty("ImageIndex", status.stateImageIndex);
    statusEdit_->setText(status.statusText);
    statusEdit_->setCursorPosition(0);
    edit520_->setText(status.Edit520);
    passwordEdit_->setText(monitor_->password());
    // The field is disabled, so its disabled colours are the ones seen.
    QPalette palette = passwordEdit_->style()->standardPalette();
    if (const QColor colour = passwordColour(status.passwordColour); colour.isValid()) {
        palette.setColor(QPalette::Disabled, QPalette::Base, colour);
        palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    }
    passwordEdit_->setPalette(palette);
    resetLockBox_->setChecked(status.resetLockTicked);
    alphaBox_->setChecked(status.alphabeticalSearchTicked);
    changePassword_->setEnabled(status.zmienHasloEnabled);
}

void MainWindow::runTransfer(
    const std::function<void(const TransferContext&, const QString&, ModuleStatus&)>& transfer)
{
    TransferRunner runner(*this, *sink_, *monitor_);
    // The transfer works on the status of the moment it stops the poll, not
    // of the moment it was asked for: the poll goes on during a question
    // (the erase question) and may meanwhile have found another module. A
    // transfer that never stopped the poll leaves the poll's status alone.
    ModuleStatus status = monitor_->status();
    bool pollStopped = false;
    bool alphabeticalSearch = status.alphabeticalSearchTicked;
    runner.pollStopped = [&] {
        status = monitor_->status();
        status.introTimeIndex = introTime_->currentIndex();
        alphabeticalSearch = status.alphabeticalSearchTicked;
        pollStopped = true;
    };
    const QString password = monitor_->password();
    const TransferContext context{monitor_->link(), monitor_->clock(), runner, runner, texts_};
    runner.run([&] { transfer(context, password, status); });
    if (!pollStopped) {
        showModuleStatus();
        return;
    }
    monitor_->status() = status;
    // What the transfer's identification selected, as its own would.
    introTime_->setCurrentIndex(status.introTimeIndex);
    if (status.alphabeticalSearchTicked != alphabeticalSearch)
        editor_->setAlphabeticalSearch(status.alphabeticalSearchTicked);
    showModuleStatus();
}

void MainWindow::Button0Click()
{
    const std::vector<NameRow> rows = editor_->list().rows();
    runTransfer(
        [&rows](const TransferContext& context, const QString& password, ModuleStatus& status) {
            q540::Button0Click(context, rows, password, status);
        });
}

void MainWindow::Buttonz9Click()
{
    if (!mayReplaceWork())
        return;
    const DirectoryGrid current = editor_->grid();
    DirectoryReadResult result;
    runTransfer([&](const TransferContext& context, const QString& password, ModuleStatus& status) {
        result = q540::Buttonz9Click(context, current, password, status);
    });
    applyDirectoryRead(result, *editor_);
    if (result.ending != DirectoryReadResult::Ending::Refused)
        modified_ = true;
}

void MainWindow::Button1Click()
{
    if (!mayReplaceWork())
        return;
    IntroLines lines = introLines();
    runTransfer([&lines](const TransferContext& context, const QString&, ModuleStatus& status) {
        lines = q540::Button1Click(context, lines, status);
    });
    if (lines != introLines()) {
        setIntroLines(lines);
        modified_ = true;
    }
}

void MainWindow::Button2Click()
{
    const IntroLines lines = introLines();
    runTransfer([&lines](const TransferContext& context, const QString&, ModuleStatus& status) {
        q540::Button2Click(context, lines, status);
    });
}

IntroLines MainWindow::introLines() const
{
    IntroLines lines;
    for (int i = 0; i < kIntroLineCount; ++i)
        lines[static_cast<std::size_t>(i)] = edit(kFirstIntroEdit + i)->text();
    return lines;
}

void MainWindow::setIntroLines(const IntroLines& lines)
{
    for (int i = 0; i < kIntroLineCount; ++i)
        edit(kFirstIntroEdit + i)->showText(lines[static_cast<std::size_t>(i)]);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Closing with unsaved work asks first, so a slip of the mouse loses nothing.
    if (modified_ && !sink_->askYesNo(texts_.text(752), QString())) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace q540
