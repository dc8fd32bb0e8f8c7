// Editing comfort in the window: undo and redo of every kind of step, what
// the panel's display will show, and the module's alphabetical order chosen
// in the Options menu.

#include "base/Localisation.h"
#include "directory/ModuleOrder.h"
#include "files/DirectoryFile.h"
#include "gui/main/DisplayPreviewView.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "support/EmulatedWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/ModalDriver.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QHelpEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>
#include <QTreeView>

#include <functional>

using namespace q540;

namespace {

struct Window : test::EmulatedWindow {
    test::FakeFileDialogs* dialogs = nullptr;

    explicit Window(int language = 1) : EmulatedWindow(language)
    {
        auto fake = std::make_unique<test::FakeFileDialogs>();
        dialogs = fake.get();
        window->setFileDialogs(std::move(fake));
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        poll();
    }
    QString path(const QString& name) const { return settings.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void action(const char* name) { child<QAction>(name)->trigger(); }
    // Typing as the keyboard does, each character a key of its own.
    void type(int field, const QString& text)
    {
        EntryEdit* edit = window->edit(field);
        edit->setFocus();
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void paste(int field, const QString& text)
    {
        QGuiApplication::clipboard()->setText(text);
        window->edit(field)->setFocus();
        QTest::keyClick(window->edit(field), Qt::Key_V, Qt::ControlModifier);
    }
    // What a step must give back exactly: the grid, the intro and the time.
    struct State {
        DirectoryGrid grid;
        IntroLines intro;
        int time;
        bool operator==(const State&) const = default;
    };
    State state() const
    {
        return {window->directory().grid(), window->introLines(),
                child<QComboBox>("ComboBox_czas")->currentIndex()};
    }
    template <typename T> T* child(const char* name) const
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    // A menu item's caption without its Alt+letter mark.
    QString caption(const char* name) const { return child<QAction>(name)->text().remove(u'&'); }
    // Ctrl+Z and the redo keys where the user has them: in the focused field.
    void key(const QKeySequence& sequence)
    {
        // A message box that just closed leaves the window inactive offscreen.
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keySequence(target, sequence);
    }
};

QByteArray directoryFile(const QString& name, const QString& intro)
{
    DirectoryDocument document;
    for (int i = 0; i < name.size(); ++i)
        document.grid.setCell(zoneRow(1, 5), i + 1, Cell(name.at(i)));
    document.fields.intro[2] = intro;
    document.fields.timeIndex = 6;
    return directoryFileBytes(document);
}

using Step = std::function<void(Window&)>;

} // namespace

Q_DECLARE_METATYPE(Step)

class EditingComfortTest : public QObject {
    Q_OBJECT

private slots:
    void everyStepUndoneAndRedone_data();
    void everyStepUndoneAndRedone();
    void pollDuringAMessageChangesNoStep_data();
    void pollDuringAMessageChangesNoStep();
    void stepsNamedAndShownInEveryLanguage_data();
    void stepsNamedAndShownInEveryLanguage();
    void unsavedMarkFollowsTheCleanStep();
    void displayTimeFromTheModuleIsNoStep();
    void previewOfTheEntryOrScreen_data();
    void previewOfTheEntryOrScreen();
    void moduleOrderChosenInTheMenu_data();
    void moduleOrderChosenInTheMenu();
    void writeNamesAnOrderNotTheLanguages();
};

void EditingComfortTest::everyStepUndoneAndRedone_data()
{
    QTest::addColumn<Step>("before"); // what comes before the step, itself steps
    QTest::addColumn<Step>("step");
    QTest::addColumn<QString>("undo");
    QTest::addColumn<QKeySequence>("redoKey");
    const Step nothing = [](Window&) {};
    const QKeySequence ctrlY(Qt::CTRL | Qt::Key_Y);
    const QKeySequence ctrlShiftZ(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    QTest::newRow("typing burst, one step")
        << Step([](Window& w) { w.type(3, "Nowak"); }) << Step([](Window& w) {
               w.type(1, "Kow");
               w.type(1, "alski");
           })
        << "Undo typing in zone 1, apartment 1" << ctrlY;
    QTest::newRow("typing line 2 of an additional number") << Step([](Window& w) {
        w.window->viewActions().RadioGroup_StrefaClick(4);
        w.type(526, "Portier");
    }) << Step([](Window& w) { w.type(527, "parter"); }) << "Undo typing in additional number 3"
                                                           << ctrlShiftZ;
    // The first keystroke after a page is filled copies the whole page into
    // the grid, which empties the space cells that fill another entry's line
    // to its end: the step holds both entries, and undo gives the spaces back.
    QTest::newRow("page copy with the first keystroke") << Step([](Window& w) {
        DirectoryDocument document;
        const QString text = QStringLiteral("Ab").leftJustified(kLine1Length);
        for (int c = 0; c < text.size(); ++c)
            document.grid.setCell(zoneRow(0, 7), c + 1, Cell(text.at(c)));
        w.write("spaces.csv", directoryFileBytes(document));
        w.dialogs->answers << w.path("spaces.csv");
        w.action("Otwrz1");
        QCOMPARE(w.window->directory().grid().cell(zoneRow(0, 7), 16), Cell(u' '));
    }) << Step([](Window& w) {
        w.type(1, "X");
        QCOMPARE(w.window->directory().grid().cell(zoneRow(0, 7), 16), Cell());
    }) << "Undo typing in zone 1, apartment 1" << ctrlY;
    QTest::newRow("paste") << nothing << Step([](Window& w) { w.paste(3, "Kowal"); })
                           << "Undo paste into zone 1, apartment 2" << ctrlY;
    QTest::newRow("pasted rows, one step")
        << Step([](Window& w) { w.type(5, "Stary"); }) << Step([](Window& w) {
               test::ModalDriver driver; // replacing "Stary" is asked first
               w.paste(3, "Adam\nBeata\nCezary");
               QCOMPARE(driver.messages.size(), 1);
           })
        << "Undo pasted rows from zone 1, apartment 2" << ctrlShiftZ;
    QTest::newRow("intro typing") << Step([](Window& w) {
        w.window->viewActions().RadioGroup_StrefaClick(5);
    }) << Step([](Window& w) { w.type(513, "Witamy"); })
                                  << "Undo typing in intro screen 2" << ctrlY;
    QTest::newRow("display time") << nothing << Step([](Window& w) {
        w.window->viewActions().RadioGroup_StrefaClick(5);
        auto* time = w.child<QComboBox>("ComboBox_czas");
        time->setFocus();
        QTest::keyClick(time, Qt::Key_Up);
    }) << "Undo change of the display time"
                                  << ctrlY;
    QTest::newRow("table import") << Step([](Window& w) {
        w.type(1, "Stary");
    }) << Step([](Window& w) {
        w.write("t.csv", "Zone;Apartment;Line 1;Line 2\n1;1;Nowy;\n2;9;Inny;m. 9\n");
        w.dialogs->answers << w.path("t.csv");
        test::ModalDriver driver(
            [](QWidget* modal) { modal->findChild<QPushButton*>("TableMerge")->click(); });
        w.action("ImportujTabele");
    }) << "Undo table import" << ctrlY;
    QTest::newRow("module read") << Step([](Window& w) {
        w.type(1, "Nowak");
        w.type(2, "m. 1");
        test::ModalDriver driver;
        w.child<QPushButton>("Button0b")->click();
        w.type(3, "Obcy");
    }) << Step([](Window& w) {
        test::ModalDriver driver;
        w.child<QPushButton>("Button9b")->click();
    }) << "Undo read from the module"
                                 << ctrlShiftZ;
    QTest::newRow("new") << Step([](Window& w) {
        w.write("a.csv", directoryFile("Łoś", "Dzień dobry"));
        w.dialogs->answers << w.path("a.csv");
        w.action("Otwrz1");
    }) << Step([](Window& w) { w.action("Nowy1"); })
                         << "Undo new directory" << ctrlY;
    QTest::newRow("open") << Step([](Window& w) {
        w.type(1, "Mój");
        w.window->viewActions().RadioGroup_StrefaClick(5);
        w.type(511, "Intro");
    }) << Step([](Window& w) {
        w.write("b.csv", directoryFile("Żuk", "Hej"));
        w.dialogs->answers << w.path("b.csv");
        test::ModalDriver driver;
        w.action("Otwrz1");
    }) << "Undo opening b.csv"
                          << ctrlY;
}

// Each step undone by Ctrl+Z gives back exactly what was there before it, and
// redone exactly what it made, whatever steps came before.
void EditingComfortTest::everyStepUndoneAndRedone()
{
    QFETCH(Step, before);
    QFETCH(Step, step);
    QFETCH(QString, undo);
    QFETCH(QKeySequence, redoKey);
    Window w;
    before(w);
    const Window::State was = w.state();
    step(w);
    const Window::State made = w.state();
    QVERIFY(!(made == was));
    QCOMPARE(w.caption("Cofnij1"), undo);
    w.key(QKeySequence::Undo);
    QVERIFY(w.state() == was);
    QCOMPARE(w.caption("Ponow1"), "Redo" + undo.mid(4));
    w.key(redoKey);
    QVERIFY(w.state() == made);
    QVERIFY(!w.child<QAction>("Ponow1")->isEnabled());
}

void EditingComfortTest::pollDuringAMessageChangesNoStep_data()
{
    QTest::addColumn<Step>("step"); // opens a message, question or dialog on the way
    QTest::addColumn<QString>("undo");
    QTest::newRow("open with a notice") << Step([](Window& w) {
        QByteArray bytes = directoryFile("Zawadzki", "Hej");
        bytes.replace("Zawadzki", "Zawadzki-Wierzbicki");
        w.write("long.csv", bytes);
        w.dialogs->answers << w.path("long.csv");
        w.action("Otwrz1");
    }) << "Undo opening long.csv";
    QTest::newRow("paste past 1020 entries") << Step([](Window& w) {
        for (int row = 4; row <= 1021; ++row)
            w.window->directory().grid().setCell(row, 1, Cell(u'A'));
        w.window->directory().page().refresh();
        w.paste(1, "Adam\nBeata\nCezary");
    }) << "Undo pasted rows from zone 1, apartment 1";
    QTest::newRow("import report") << Step([](Window& w) {
        w.write("t.csv", "Zone;Apartment;Line 1;Line 2\n1;1;Nowy;\n9;9;Inny;\n");
        w.dialogs->answers << w.path("t.csv");
        w.action("ImportujTabele");
    }) << "Undo table import";
    QTest::newRow("keep-first offer") << Step([](Window& w) {
        w.module.setEntryCount(3);
        w.type(3, "Kowal");
        w.child<QPushButton>("Button0b")->click();
    }) << "Undo typing in zone 1, apartment 2";
}

// The user's step is what the action changed, though the poll announces the
// module's status while its message is open; Redo typed into the directory
// before never reaches the one the step brought.
void EditingComfortTest::pollDuringAMessageChangesNoStep()
{
    QFETCH(Step, step);
    QFETCH(QString, undo);
    Window w;
    w.type(1, "NowakTest");
    w.key(QKeySequence::Undo);
    const Window::State was = w.state();
    int opened = 0;
    // Redoing past 1020 entries tells it again: the driver answers to the end.
    test::ModalDriver driver(
        [](QWidget* modal) { modal->findChild<QPushButton*>("TableMerge")->click(); });
    driver.offerRole = QMessageBox::RejectRole;
    driver.whileOpen = [&] {
        ++opened;
        w.poll();
    };
    step(w);
    driver.whileOpen = nullptr;
    QVERIFY(opened > 0);
    const Window::State made = w.state();
    QCOMPARE(w.caption("Cofnij1"), undo);
    QVERIFY(!w.child<QAction>("Ponow1")->isEnabled());
    w.key(QKeySequence::Undo);
    QVERIFY(w.state() == was);
    w.key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    QVERIFY(w.state() == made);
    QVERIFY(!(made == was));
}

void EditingComfortTest::stepsNamedAndShownInEveryLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("undo");
    QTest::addColumn<QString>("redo");
    QTest::addColumn<QString>("menu");
    QTest::newRow("Polish") << 0 << "Cofnij pisanie (strefa 2, lokal 17)"
                            << "Ponów pisanie (strefa 2, lokal 17)"
                            << "Edycja";
    QTest::newRow("English") << 1 << "Undo typing in zone 2, apartment 17"
                             << "Redo typing in zone 2, apartment 17"
                             << "Edit";
    QTest::newRow("German") << 2 << "Rückgängig: Eingabe in Zone 2, Wohnung 17"
                            << "Wiederherstellen: Eingabe in Zone 2, Wohnung 17"
                            << "Bearbeiten";
}

// Typing in two fields makes two steps; undoing the first of them from
// another page shows its page, tab and field again.
void EditingComfortTest::stepsNamedAndShownInEveryLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, undo);
    QFETCH(QString, redo);
    QFETCH(QString, menu);
    Window w(language);
    QCOMPARE(w.child<QMenu>("Edycja1")->title().remove(u'&'), menu);
    QVERIFY(!w.child<QAction>("Cofnij1")->isEnabled());
    w.window->viewActions().RadioGroup_StrefaClick(1);
    w.child<QTabWidget>("PageControl1")->setCurrentIndex(0);
    w.type(33, "Nowak");
    w.type(34, "m. 17");
    w.window->viewActions().RadioGroup_StrefaClick(3);
    w.type(59, "Zet");
    w.key(QKeySequence::Undo);
    w.key(QKeySequence::Undo);
    QCOMPARE(w.caption("Cofnij1"), undo);
    QCOMPARE(w.window->directory().page().selectorIndex(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), w.window->edit(34));
    QCOMPARE(w.window->edit(34)->text(), QString());
    QCOMPARE(w.window->edit(33)->text(), "Nowak");
    w.key(QKeySequence::Undo);
    QCOMPARE(w.window->edit(33)->text(), QString());
    QCOMPARE(w.caption("Ponow1"), redo);
    QVERIFY(!w.child<QAction>("Cofnij1")->isEnabled());
}

// Open is the clean step; typing leaves it, Save makes the new one clean,
// and undo and redo cross it both ways.
void EditingComfortTest::unsavedMarkFollowsTheCleanStep()
{
    Window w;
    test::ModalDriver driver;
    w.write("c.csv", directoryFile("Łoś", "Witamy"));
    w.dialogs->answers << w.path("c.csv");
    w.action("Otwrz1");
    QVERIFY(!w.window->isModified());
    w.type(1, "Nowy");
    QVERIFY(w.window->isModified());
    w.action("Zapisz1");
    QVERIFY(!w.window->isModified());
    w.type(3, "Drugi");
    QVERIFY(w.window->isModified());
    w.key(QKeySequence::Undo);
    QVERIFY(!w.window->isModified());
    w.key(QKeySequence::Undo);
    QVERIFY(w.window->isModified());
    w.key(QKeySequence(Qt::CTRL | Qt::Key_Y));
    QVERIFY(!w.window->isModified());
    // Undone to the opened file: the directory is c.csv's again, and unsaved.
    w.key(QKeySequence::Undo);
    QCOMPARE(w.window->directory().grid().entryText(zoneRow(1, 5)).trimmed(), "Łoś");
    QVERIFY(w.window->isModified());
    QCOMPARE(driver.messages, QStringList{"Overwrite the existing file:  c.csv ?"});
}

// The display time the first poll finds in the module is the module's doing:
// undoing the typing that follows keeps it.
void EditingComfortTest::displayTimeFromTheModuleIsNoStep()
{
    test::EmulatedWindow e(1);
    e.module.setConfigurationNibble(11, 9); // the module's display time, 9 s
    QVERIFY(QTest::qWaitForWindowActive(e.window.get()));
    QVERIFY(e.poll());
    auto* time = e.window->findChild<QComboBox*>("ComboBox_czas");
    QCOMPARE(time->currentIndex(), 8);
    e.window->viewActions().RadioGroup_StrefaClick(5);
    e.window->edit(511)->setFocus();
    QTest::sendKeyEvent(QTest::Click, e.window->edit(511), Qt::Key_unknown, "W", Qt::NoModifier);
    QTest::keySequence(e.window->edit(511), QKeySequence::Undo);
    QCOMPARE(e.window->edit(511)->text(), QString());
    QCOMPARE(time->currentIndex(), 8);
}

void EditingComfortTest::previewOfTheEntryOrScreen_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("entryTitle");
    QTest::addColumn<QString>("lookAlikeTip");
    QTest::addColumn<QString>("introTitle");
    QTest::newRow("Polish") << 0 << "Wyświetlacz panelu: strefa 1, lokal 2"
                            << "Wpisano „©”, wyświetlacz pokaże „У”."
                            << "Wyświetlacz panelu: ekran intro 3";
    QTest::newRow("English") << 1 << "The panel's display: zone 1, apartment 2"
                             << "Typed “©”, the display shows “У”."
                             << "The panel's display: intro screen 3";
    QTest::newRow("German") << 2 << "Anzeige des Panels: Zone 1, Wohnung 2"
                            << "Eingegeben „©“, das Display zeigt „У“."
                            << "Anzeige des Panels: Intro-Bildschirm 3";
}

// The preview follows the focused field as it is typed in, the list's
// current row, and an intro line; a look-alike is marked in the preview and
// in the list.
void EditingComfortTest::previewOfTheEntryOrScreen()
{
    QFETCH(int, language);
    QFETCH(QString, entryTitle);
    QFETCH(QString, lookAlikeTip);
    QFETCH(QString, introTitle);
    Window w(language);
    auto* preview = w.window->findChild<DisplayPreviewView*>("Podglad_wyswietlacza");
    w.type(3, "Abc ©");
    QCOMPARE(preview->title(), entryTitle);
    const DisplayCell shown = preview->preview()[0][4];
    QCOMPARE(shown, (DisplayCell{"©", u'У', CellMark::LookAlike}));
    // A screen reader hears what the display will show.
    QCOMPARE(QAccessible::queryAccessibleInterface(preview)->text(QAccessible::Description),
             QStringLiteral("Abc У\n"));
    QCOMPARE(preview->toolTipAt(preview->cellCentre(0, 4)), lookAlikeTip);
    QCOMPARE(preview->toolTipAt(preview->cellCentre(0, 0)), QString());
    QCOMPARE(int(preview->preview()[1].size()), 14);

    w.type(1, "Zed");
    auto* list = w.child<QTreeView>("ListView1");
    list->setCurrentIndex(list->model()->index(0, 0));
    QCOMPARE(preview->title(), entryTitle);
    QCOMPARE(list->model()->index(0, 0).data().toString().trimmed(), "Abc ©");
    // The row says the same as the preview's cell.
    QHelpEvent help(
        QEvent::ToolTip, list->visualRect(list->model()->index(0, 1)).center(),
        list->viewport()->mapToGlobal(list->visualRect(list->model()->index(0, 1)).center()));
    QApplication::sendEvent(list->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), lookAlikeTip);
    QToolTip::hideText();

    w.window->viewActions().RadioGroup_StrefaClick(5);
    w.type(515, "€uro");
    QCOMPARE(preview->title(), introTitle);
    QCOMPARE(int(preview->preview()[1].size()), 16);
    QCOMPARE(preview->preview()[0][0].mark, CellMark::Unsupported);
}

void EditingComfortTest::moduleOrderChosenInTheMenu_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("submenu");
    QTest::addColumn<QString>("polish");
    QTest::newRow("Polish") << 0 << "Kolejność alfabetyczna modułu"
                            << "Polska";
    QTest::newRow("English") << 1 << "Alphabetical order of the module"
                             << "Polish";
    QTest::newRow("German") << 2 << "Alphabetische Reihenfolge des Moduls"
                            << "Polnisch";
}

// On an English system (main() sets it) the list starts in English order;
// Polish chosen in the menu sorts Łódź after Lwów, and the settings file
// keeps the choice for the next start.
void EditingComfortTest::moduleOrderChosenInTheMenu()
{
    QFETCH(int, language);
    QFETCH(QString, submenu);
    QFETCH(QString, polish);
    QTemporaryDir dir;
    const QString settings = dir.filePath("Q540.ini");
    const auto lines = [](MainWindow& window) {
        QStringList names;
        for (const NameRow& row : window.directory().list().rows())
            names << row.text.trimmed();
        return names;
    };
    Localisation texts;
    texts.load();
    texts.setLanguage(language);
    {
        MainWindow window(texts, settings);
        for (const auto& [apartment, name] : {std::pair{1, "Łódź"}, {2, "Lwów"}, {3, "Lodz"}})
            for (int c = 0; c < QString::fromUtf8(name).size(); ++c)
                window.directory().grid().setCell(apartment, c + 1,
                                                  Cell(QString::fromUtf8(name).at(c)));
        window.directory().page().refresh();
        QCOMPARE(lines(window), (QStringList{"Lodz", "Łódź", "Lwów"}));
        auto* choice = window.findChild<QAction*>("Kolejnosc_1");
        QCOMPARE(qobject_cast<QMenu*>(choice->parent())->title().remove(u'&'), submenu);
        QCOMPARE(choice->text().remove(u'&'), polish);
        QVERIFY(window.findChild<QAction*>("Kolejnosc_0")->isChecked());
        QVERIFY(window.findChild<QAction*>("Kolejnosc_0")->text().remove(u'&').endsWith("(en_US)"));
        choice->trigger();
        QCOMPARE(lines(window), (QStringList{"Lodz", "Lwów", "Łódź"}));
    }
    QFile file(settings);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Kolejnosc=1"));
    MainWindow again(texts, settings);
    QCOMPARE(again.directory().moduleOrder(), kModuleOrderPolish);
    QVERIFY(again.findChild<QAction*>("Kolejnosc_1")->isChecked());
}

// The window's write says which order it sent when it is not the program
// language's own.
void EditingComfortTest::writeNamesAnOrderNotTheLanguages()
{
    Window w(1);
    w.type(1, "Łoś");
    w.action("Kolejnosc_1");
    test::ModalDriver driver;
    w.child<QPushButton>("Button0b")->click();
    QCOMPARE(driver.messages,
             QStringList{"Data has been written to the module!\nAlphabetical order: Polish."});
    w.action("Kolejnosc_2");
    w.child<QPushButton>("Button0b")->click();
    QCOMPARE(driver.messages.last(), "Data has been written to the module!");
}

int main(int argc, char** argv)
{
    // An English system: the order's default follows it.
    qputenv("LC_ALL", "en_US.UTF-8");
    qputenv("LANG", "en_US.UTF-8");
    QApplication app(argc, argv);
    EditingComfortTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_editingcomfort.moc"
