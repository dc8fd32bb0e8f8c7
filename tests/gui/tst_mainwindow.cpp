#include "base/Localisation.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/PlainWindow.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace q540;

namespace {

struct Window : test::PlainWindow {
    using PlainWindow::PlainWindow;
    EntryEdit* edit(int n) { return window->edit(n); }
    const DirectoryGrid& grid() { return window->directory().grid(); }
};

// Answers the next modal message box with the given button and records its text.
void answerNextBox(QMessageBox::StandardButton button, QString* text)
{
    QTimer::singleShot(0, [button, text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        *text = box->text();
        box->button(button)->click();
    });
}

// Types text key by key, as a keyboard would, including letters beyond ASCII.
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void typedCharactersPassTheRules_data();
    void typedCharactersPassTheRules();
    void typingFillsTheGridListAndLamps();
    void backspaceAndDeleteKeepLine1FromStartingWithASpace();
    void pagesSwitchAndTrim();
    void languageIsAppliedToTheControls_data();
    void languageIsAppliedToTheControls();
    void writeRefusalLeadsToTheField_data();
    void writeRefusalLeadsToTheField();
    void closingWithUnsavedChanges_data();
    void closingWithUnsavedChanges();
};

void MainWindowTest::typedCharactersPassTheRules_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("line1");
    QTest::newRow("a first becomes A") << "a"
                                       << "A";
    QTest::newRow("digit, hyphen, brackets, tilde, space refused") << "1-[{~ "
                                                                   << "";
    QTest::newRow("later characters as typed") << "ab 1-"
                                               << "Ab 1-";
    QTest::newRow("semicolon becomes comma") << "a;b"
                                             << "A,b";
    QTest::newRow("small l with stroke first") << QStringLiteral("łk") << QStringLiteral("łk");
}

void MainWindowTest::typedCharactersPassTheRules()
{
    QFETCH(QString, typed);
    QFETCH(QString, line1);
    Window w;
    EntryEdit* field = w.edit(13);
    type(field, typed);
    QCOMPARE(field->text(), line1);
    // Line 2 follows line 1.
    QCOMPARE(w.edit(14)->isEnabled(), !line1.isEmpty());
}

void MainWindowTest::typingFillsTheGridListAndLamps()
{
    Window w;
    w.window->viewActions().RadioGroup_StrefaClick(2);
    type(w.edit(13), QStringLiteral("n"));
    QCOMPARE(w.grid().cell(517, 1), Cell(u'N'));
    type(w.edit(14), QStringLiteral("x;"));
    QCOMPARE(w.grid().entryText(517),
             QStringLiteral("N").leftJustified(16) + QStringLiteral("x,").leftJustified(14));
    QCOMPARE(w.window->directory().list().count(), 1);
    QCOMPARE(w.window->directory().list().rows()[0].zone, 3);
    auto* tabs = w.window->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    QVERIFY(tabs->tabIcon(0).pixmap(5, 12).toImage().pixelColor(2, 6).alpha() > 0);
    QCOMPARE(tabs->tabIcon(1).pixmap(5, 12).toImage().pixelColor(2, 6).alpha(), 0);
    QCOMPARE(w.window->findChild<QLineEdit*>(QStringLiteral("Edit_ilosc_wpisow"))->text(),
             QStringLiteral("1"));
}

void MainWindowTest::backspaceAndDeleteKeepLine1FromStartingWithASpace()
{
    Window w;
    EntryEdit* field = w.edit(1);
    type(field, QStringLiteral("A B"));
    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->text(), QStringLiteral("A B"));
    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Delete);
    QCOMPARE(field->text(), QStringLiteral("A B"));
    type(w.edit(2), QStringLiteral("Jan"));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QCOMPARE(field->text(), QString());
    QVERIFY(!w.edit(2)->isEnabled());
    QCOMPARE(w.edit(2)->text(), QString());
    QVERIFY(w.grid().isEntryEmpty(1));
}

void MainWindowTest::pagesSwitchAndTrim()
{
    Window w;
    type(w.edit(9), QStringLiteral("Kowal  "));
    auto* zone2 = w.window->findChild<QRadioButton*>(QStringLiteral("RadioGroup_Strefa_1"));
    zone2->click();
    QCOMPARE(w.edit(9)->text(), QString());
    auto* zone1 = w.window->findChild<QRadioButton*>(QStringLiteral("RadioGroup_Strefa_0"));
    zone1->click();
    // Typed trailing spaces were stored as space cells followed by empty cells: they stay.
    QCOMPARE(w.edit(9)->text(), QStringLiteral("Kowal  "));

    auto* intro = w.window->findChild<QRadioButton*>(QStringLiteral("RadioGroup_Strefa_5"));
    intro->click();
    QVERIFY(!w.window->findChild<QGroupBox*>(QStringLiteral("GroupBox1"))->isEnabled());
    QVERIFY(w.window->findChild<QGroupBox*>(QStringLiteral("GroupBox2"))->isVisible());
    QVERIFY(!w.window->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->isVisible());
    type(w.edit(511), QStringLiteral("Witamy;"));
    QCOMPARE(w.edit(511)->text(), QStringLiteral("Witamy,"));
    QCOMPARE(w.grid().entryText(5).trimmed(), QStringLiteral("Kowal"));
}

void MainWindowTest::languageIsAppliedToTheControls_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("address"); // typed before the change
    QTest::addColumn<QString>("addressAfter");
    QTest::addColumn<QString>("vertical"); // the 21 one-letter labels joined
    QTest::addColumn<QString>("label772");
    QTest::addColumn<QString>("zone1");
    QTest::newRow("Polish") << 0 << "Address:"
                            << "Adres:" << QStringLiteral(" ADRESY ODBIORNIKÓW  ")
                            << QStringLiteral("pojedyńczego ekranu") << "Strefa 1";
    QTest::newRow("English") << 1 << "Adresse:"
                             << "Address:"
                             << "INSIDE UNIT'S ADDRESS"
                             << "displaying time"
                             << "Zone 1";
    QTest::newRow("German, typed address stays") << 2 << "Adresse: "
                                                 << "Adresse: "
                                                 << "INNENSTATION ADRESSE "
                                                 << ""
                                                 << "Zone 1";
}

void MainWindowTest::languageIsAppliedToTheControls()
{
    QFETCH(int, language);
    QFETCH(QString, address);
    QFETCH(QString, addressAfter);
    QFETCH(QString, vertical);
    QFETCH(QString, label772);
    QFETCH(QString, zone1);
    Window w;
    w.window->findChild<QLineEdit*>(QStringLiteral("Edit_adres"))->setText(address);
    w.texts.setLanguage(language);
    w.window->viewActions().Ustaw_WJ_na_komponentach();
    const QLabel* caption = w.window->findChild<QLabel*>(QStringLiteral("Label_napis"));
    QCOMPARE(caption->text().remove(u'\n'), vertical);
    QCOMPARE(caption->accessibleName(), vertical);
    QCOMPARE(w.window->findChild<QLabel*>(QStringLiteral("Label772"))->text(), label772);
    QCOMPARE(w.window->findChild<QLineEdit*>(QStringLiteral("Edit_adres"))->text(), addressAfter);
    QCOMPARE(w.window->findChild<QRadioButton*>(QStringLiteral("RadioGroup_Strefa_0"))->text(),
             zone1);
    QCOMPARE(w.edit(509)->toolTip(), w.texts.text(163));
}

void MainWindowTest::writeRefusalLeadsToTheField_data()
{
    QTest::addColumn<int>("row");      // 0: intro line 3
    QTest::addColumn<QString>("text"); // the entry's 30 characters
    QTest::addColumn<int>("field");    // where the cursor goes
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("message");
    QTest::newRow("zone 4, line 1") << zoneRow(3, 2) << "Ab€" << 3 << 2
                                    << "Sign ( € ) in zone 4, apartment 2  is not compatible with "
                                       "the module!";
    QTest::newRow("additional number, line 2")
        << additionalNumberRow(3) << "Portier         m.\t1" << 527 << 2
        << "Sign ( U+0009 ) in additional number 3  is not compatible with the module!";
    QTest::newRow("intro line") << 0 << "Witamy €" << 513 << 7
                                << "Sign ( € ) In Intro nr: 2  is not compatible with the module!";
}

// Zone 1 apartment 2 holds a good entry: the message names the zone too.
void MainWindowTest::writeRefusalLeadsToTheField()
{
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(int, field);
    QFETCH(int, position);
    QFETCH(QString, message);
    Window w;
    type(w.edit(3), QStringLiteral("Dobry"));
    for (int c = 0; row && c < text.size(); ++c)
        w.window->directory().grid().setCell(row, c + 1, Cell(text.at(c)));
    w.window->directory().page().refresh();
    IntroLines intro{};
    intro[2] = row ? QString() : text;
    w.window->setIntroLines(intro);
    QString shown;
    answerNextBox(QMessageBox::Ok, &shown);
    w.window->findChild<QPushButton*>(row ? "Button0b" : "Button2")->click();
    QCOMPARE(shown, message);
    QCOMPARE(w.window->focusWidget(), static_cast<QWidget*>(w.edit(field)));
    QCOMPARE(w.edit(field)->cursorPosition(), position);
}

void MainWindowTest::closingWithUnsavedChanges_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("saveAs"); // the save dialog's answer, empty for Cancel
    QTest::addColumn<bool>("closed");
    QTest::newRow("no changes: closes at once") << 1 << false << 0 << "" << true;
    QTest::newRow("Save, written: closes") << 0 << true << int(QMessageBox::Save) << "kat" << true;
    QTest::newRow("Save, dialog cancelled") << 1 << true << int(QMessageBox::Save) << "" << false;
    QTest::newRow("Discard: closes") << 2 << true << int(QMessageBox::Discard) << "" << true;
    QTest::newRow("Cancel") << 1 << true << int(QMessageBox::Cancel) << "" << false;
}

// Save is the default, and lets the window close only once the file is written.
void MainWindowTest::closingWithUnsavedChanges()
{
    QFETCH(int, language);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, closed);
    const QStringList questions{
        "Zmiany w katalogu nie zostały zapisane. Zapisać je przed zakończeniem pracy?",
        "The directory has unsaved changes. Save them before closing?",
        "Das Verzeichnis hat ungespeicherte Änderungen. Vor dem Beenden speichern?"};
    Window w(language);
    auto dialogs = std::make_unique<test::FakeFileDialogs>();
    dialogs->answers << (saveAs.isEmpty() ? saveAs : w.dir.filePath(saveAs));
    w.window->setFileDialogs(std::move(dialogs));
    if (edited)
        type(w.edit(1), QStringLiteral("Abc"));
    QCOMPARE(w.window->isWindowModified(), edited);
    QString question;
    bool saveIsDefault = false;
    if (edited)
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            question = box->text();
            saveIsDefault = box->defaultButton() == box->button(QMessageBox::Save);
            box->button(QMessageBox::StandardButton(answer))->click();
        });
    QCOMPARE(w.window->close(), closed);
    QCOMPARE(question, edited ? questions[language] : QString());
    QCOMPARE(saveIsDefault, edited);
    QCOMPARE(QFile::exists(w.dir.filePath("kat.csv")), !saveAs.isEmpty());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
