#include "base/Localisation.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "support/PlainWindow.h"

#include <QCheckBox>
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
    void closingAsksOnlyWithUnsavedChanges_data();
    void closingAsksOnlyWithUnsavedChanges();
    void questionsSpeakTheLanguage_data();
    void questionsSpeakTheLanguage();
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

void MainWindowTest::closingAsksOnlyWithUnsavedChanges_data()
{
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closed");
    QTest::newRow("no changes: closes at once") << false << 0 << true;
    QTest::newRow("changes, Yes") << true << int(QMessageBox::Yes) << true;
    QTest::newRow("changes, No") << true << int(QMessageBox::No) << false;
}

void MainWindowTest::closingAsksOnlyWithUnsavedChanges()
{
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    Window w;
    if (edited)
        type(w.edit(1), QStringLiteral("Abc"));
    QString question;
    if (edited)
        answerNextBox(QMessageBox::StandardButton(answer), &question);
    QCOMPARE(w.window->close(), closed);
    QCOMPARE(question, edited ? QStringLiteral("Are you sure want to exit?") : QString());
}

void MainWindowTest::questionsSpeakTheLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("yes");
    QTest::addColumn<QString>("no");
    QTest::newRow("Polish") << 0 << QStringLiteral("Czy na pewno chcesz zakończyć pracę?")
                            << QStringLiteral("Tak") << QStringLiteral("Nie");
    QTest::newRow("English") << 1 << QStringLiteral("Are you sure want to exit?")
                             << QStringLiteral("Yes") << QStringLiteral("No");
    QTest::newRow("German") << 2 << QStringLiteral("Möchten Sie das Programm wirklich beenden?")
                            << QStringLiteral("Ja") << QStringLiteral("Nein");
}

// The question, its buttons (Qt's own texts) and the safe default, in the
// window's language.
void MainWindowTest::questionsSpeakTheLanguage()
{
    QFETCH(int, language);
    QFETCH(QString, question);
    QFETCH(QString, yes);
    QFETCH(QString, no);
    Window w(language);
    type(w.edit(1), QStringLiteral("Abc"));
    QString text, yesText, noText;
    bool noIsDefault = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        text = box->text();
        yesText = box->button(QMessageBox::Yes)->text().remove(u'&');
        noText = box->button(QMessageBox::No)->text().remove(u'&');
        noIsDefault =
            static_cast<QAbstractButton*>(box->defaultButton()) == box->button(QMessageBox::No);
        box->button(QMessageBox::No)->click();
    });
    QVERIFY(!w.window->close());
    QCOMPARE(text, question);
    QCOMPARE(yesText, yes);
    QCOMPARE(noText, no);
    QVERIFY(noIsDefault);
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
