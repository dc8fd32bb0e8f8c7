#include "base/AppInfo.h"
#include "base/Localisation.h"
#include "files/DirectoryFile.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "gui/seams/WidgetFileDialogs.h"
#include "support/FakeFileDialogs.h"
#include "support/FileSizeLimit.h"
#include "support/ModalDriver.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace q540;

namespace {

struct Window {
    QTemporaryDir dir;
    Localisation texts;
    test::FakeFileDialogs* dialogs = nullptr;
    std::unique_ptr<MainWindow> window;

    Window()
    {
        texts.load();
        texts.setLanguage(1);
        window = std::make_unique<MainWindow>(texts, dir.filePath(QStringLiteral("Q540.ini")),
                                              kModuleOrderPolish);
        auto fake = std::make_unique<test::FakeFileDialogs>();
        dialogs = fake.get();
        window->setFileDialogs(std::move(fake));
        window->show();
    }
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A command of the "Plik" menu, as the menu offers it.
    void choose(const char* name)
    {
        auto* menu = window->findChild<QMenu*>(QStringLiteral("Plik1"));
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1StringView(name)) {
                QVERIFY(action->isEnabled());
                action->trigger();
                return;
            }
        }
        QFAIL(name);
    }
    bool enabled(const char* name) const
    {
        const QString object = QString::fromLatin1(name);
        if (auto* action = window->findChild<QAction*>(object))
            return action->isEnabled();
        return window->findChild<QToolButton*>(object)->isEnabled();
    }
    QString field(int number) const { return window->edit(number)->text(); }
};

// Answers the next modal message box with the given button, recording its text and icon.
void answerNextBox(QMessageBox::StandardButton button, QString* text,
                   QMessageBox::Icon* icon = nullptr)
{
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        *text = box->text();
        if (icon)
            *icon = box->icon();
        box->button(button)->click();
    });
}

void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

const QString kUnsavedQuestion = QStringLiteral("The directory has unsaved changes. Discard them?");

QByteArray savedFile()
{
    DirectoryDocument document;
    document.fields.address = QStringLiteral("ul. Długa 5");
    document.fields.intro[0] = QStringLiteral("Witamy");
    document.fields.timeIndex = 4;
    document.fields.moduleLanguage = 2;
    const QString name = QStringLiteral("Łoś");
    for (int i = 0; i < name.size(); ++i)
        document.grid.setCell(1, 1 + i, Cell(name.at(i)));
    return directoryFileBytes(document);
}

} // namespace

class MainWindowFilesTest : public QObject {
    Q_OBJECT

private slots:
    void commandsAtStart()
    {
        Window w;
        QCOMPARE(w.window->windowTitle().chopped(3), kApplicationTitle);
        for (const char* name : {"Nowy1", "Otwrz1", "Importuj1", "Zapiszjako1", "ToolButton1",
                                 "ToolButton2", "ToolButton4"})
            QVERIFY2(w.enabled(name), name);
        QVERIFY(!w.enabled("Zapisz1"));
        QVERIFY(!w.enabled("ToolButton3"));
    }

    void openShowsTheFile_data()
    {
        QTest::addColumn<bool>("toolButton");
        QTest::newRow("menu") << false;
        QTest::newRow("tool button") << true;
    }

    void openShowsTheFile()
    {
        QFETCH(bool, toolButton);
        Window w;
        type(w.window->edit(3), QStringLiteral("Nowak"));
        QVERIFY(w.window->isModified());
        w.write(QStringLiteral("a.csv"), savedFile());
        w.dialogs->answers << w.path(QStringLiteral("a.csv"));
        test::ModalDriver driver;
        if (toolButton)
            w.window->findChild<QToolButton*>(QStringLiteral("ToolButton2"))->click();
        else
            w.choose("Otwrz1");
        QCOMPARE(driver.messages, QStringList{kUnsavedQuestion});
        QCOMPARE(w.window->windowTitle().chopped(3),
                 (kApplicationTitle + QStringLiteral("  ")) + w.path("a.csv"));
        QVERIFY(w.enabled("Zapisz1"));
        QVERIFY(w.enabled("ToolButton3"));
        QCOMPARE(w.field(1), QStringLiteral("Łoś"));
        QCOMPARE(w.field(3), QString());
        QCOMPARE(w.field(511), QStringLiteral("Witamy"));
        QCOMPARE(w.window->findChild<QComboBox*>(QStringLiteral("ComboBox_czas"))->currentText(),
                 QStringLiteral("5"));
        QCOMPARE(w.window->findChild<QLineEdit*>(QStringLiteral("Edit_adres"))->text(),
                 QStringLiteral("ul. Długa 5"));
        QCOMPARE(w.window->jezyk_modulu(), 2);
        QVERIFY(!w.window->isModified());
    }

    void saveAsksAndWrites()
    {
        Window w;
        w.write(QStringLiteral("a.csv"), savedFile());
        w.dialogs->answers << w.path(QStringLiteral("a.csv"));
        w.choose("Otwrz1");
        type(w.window->edit(3), QStringLiteral("Nowak"));
        QString question;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        answerNextBox(QMessageBox::Yes, &question, &icon);
        w.choose("Zapisz1");
        QCOMPARE(question, QStringLiteral("Overwrite the existing file:  a.csv ?"));
        QCOMPARE(icon, QMessageBox::Warning);
        QVERIFY(w.read(QStringLiteral("a.csv")).contains("\r\nNowak;\r\n"));
        QVERIFY(!w.window->isModified());
        QCOMPARE(w.window->windowTitle().chopped(3),
                 (kApplicationTitle + QStringLiteral("  ")) + w.path("a.csv"));
    }

    void saveAsThenNew()
    {
        Window w;
        type(w.window->edit(1), QStringLiteral("Kowal"));
        w.dialogs->answers << w.path(QStringLiteral("b"));
        w.window->findChild<QToolButton*>(QStringLiteral("ToolButton4"))->click();
        QVERIFY(w.read(QStringLiteral("b.csv")).contains("\r\nKowal;\r\n"));
        QCOMPARE(w.window->windowTitle().chopped(3),
                 (kApplicationTitle + QStringLiteral("  ")) + w.path("b.csv"));
        QVERIFY(w.enabled("Zapisz1"));
        QVERIFY(w.enabled("ToolButton3"));
        QVERIFY(!w.window->isModified());

        w.choose("Nowy1");
        QCOMPARE(w.window->windowTitle().chopped(3), kApplicationTitle);
        QVERIFY(!w.enabled("Zapisz1"));
        QVERIFY(!w.enabled("ToolButton3"));
        QCOMPARE(w.field(1), QString());
        QVERIFY(!w.window->isModified());
        // Undone, New gives the file back with its entries, its name, Save
        // and its saved state; typing and undoing it come back to that.
        QAction* undo = w.window->findChild<QAction*>(QStringLiteral("Cofnij1"));
        QAction* redo = w.window->findChild<QAction*>(QStringLiteral("Ponow1"));
        undo->trigger();
        QCOMPARE(w.window->windowTitle().chopped(3),
                 (kApplicationTitle + QStringLiteral("  ")) + w.path("b.csv"));
        QVERIFY(w.enabled("Zapisz1"));
        QCOMPARE(w.field(1), QStringLiteral("Kowal"));
        QVERIFY(!w.window->isModified());
        redo->trigger();
        QVERIFY(!w.window->isModified());
        undo->trigger();
        type(w.window->edit(3), QStringLiteral("Nowak"));
        QVERIFY(w.window->isModified());
        undo->trigger();
        QVERIFY(!w.window->isModified());
        // Saved, undone, typed anew: the step that replaces the saved one is unsaved.
        type(w.window->edit(5), QStringLiteral("Zych"));
        w.dialogs->answers << w.path(QStringLiteral("c"));
        w.window->findChild<QToolButton*>(QStringLiteral("ToolButton4"))->click();
        QVERIFY(!w.window->isModified());
        // Undoing typing keeps the file it was saved as since: Save goes there.
        undo->trigger();
        QVERIFY(w.window->windowTitle().endsWith(w.path("c.csv") + QStringLiteral("[*]")));
        type(w.window->edit(7), QStringLiteral("Lis"));
        QVERIFY(w.window->isModified());
    }

    // Each command that replaces the directory or the intro asks first when
    // there are unsaved changes; No leaves everything as it was.
    void replacingUnsavedWorkAsksFirst_data()
    {
        QTest::addColumn<QString>("command"); // a menu command or a button
        QTest::newRow("New") << "Nowy1";
        QTest::newRow("Open") << "Otwrz1";
        QTest::newRow("Import") << "Importuj1";
        QTest::newRow("module read") << "Button9b";
        QTest::newRow("intro read") << "Button1";
    }

    void replacingUnsavedWorkAsksFirst()
    {
        QFETCH(QString, command);
        Window w;
        type(w.window->edit(1), QStringLiteral("Kowal"));
        w.window->edit(511)->setText(QStringLiteral("Intro"));
        test::ModalDriver driver;
        driver.answerYes = false;
        if (command.startsWith(QStringLiteral("Button")))
            w.window->findChild<QPushButton*>(command)->click();
        else
            w.choose(command.toLatin1().constData());
        QCOMPARE(driver.messages, QStringList{kUnsavedQuestion});
        QVERIFY(w.dialogs->calls.isEmpty());
        QCOMPARE(w.field(1), QStringLiteral("Kowal"));
        QCOMPARE(w.field(511), QStringLiteral("Intro"));
        QVERIFY(w.window->isModified());
    }

    // A full disk: the old file stays whole, the window says why and keeps
    // the work marked as unsaved.
    void saveOnAFullDiskKeepsTheOldFile()
    {
        Window w;
        const QByteArray old = savedFile();
        w.write(QStringLiteral("a.csv"), old);
        type(w.window->edit(1), QStringLiteral("Kowal"));
        w.dialogs->answers << w.path(QStringLiteral("a.csv"));
        test::ModalDriver driver;
        {
            test::FileSizeLimit full(1000);
            w.choose("Zapiszjako1");
        }
        QCOMPARE(driver.messages.size(), 2);
        QCOMPARE(driver.messages[0], QStringLiteral("Overwrite the existing file:  a.csv ?"));
        QVERIFY2(driver.messages[1].startsWith(QStringLiteral("Cannot save the file:\n")
                                               + w.path(QStringLiteral("a.csv")) + u'\n'),
                 qPrintable(driver.messages[1]));
        QCOMPARE(w.read(QStringLiteral("a.csv")), old);
        QVERIFY(w.window->isModified());
        QCOMPARE(w.window->windowTitle().chopped(3), kApplicationTitle);
    }

    void failedOpenKeepsTheFields()
    {
        Window w;
        type(w.window->edit(1), QStringLiteral("Kowal"));
        w.window->edit(511)->setText(QStringLiteral("Intro"));
        QByteArray broken = savedFile();
        broken.replace("Witamy;", "Wit;amy;");
        w.write(QStringLiteral("bad.csv"), broken);
        w.dialogs->answers << w.path(QStringLiteral("bad.csv"));
        test::ModalDriver driver;
        w.choose("Otwrz1");
        QCOMPARE(driver.messages,
                 (QStringList{kUnsavedQuestion, QStringLiteral("File structure error! ")}));
        QCOMPARE(w.field(1), QStringLiteral("Kowal"));
        QCOMPARE(w.field(511), QStringLiteral("Intro"));
        QCOMPARE(w.window->windowTitle().chopped(3), kApplicationTitle);
        QVERIFY(!w.enabled("Zapisz1"));
        QVERIFY(w.window->isModified());
    }

    void importThenSaveAsSuggestsADirectoryFile()
    {
        Window w;
        QList<QByteArray> lines(521);
        lines[0] = "KOR-LCDv4";
        lines[1] = "\xA3\xF3\x64\x9F";
        lines[2] = "Jan";
        lines[511] = "Witamy";
        w.write(QStringLiteral("lista.txt"), lines.join("\r\n") + "\r\n");
        w.dialogs->answers << w.path(QStringLiteral("lista.txt"));
        w.choose("Importuj1");
        QCOMPARE(w.window->windowTitle().chopped(3),
                 (kApplicationTitle + QStringLiteral("  ")) + w.path("lista.txt"));
        QCOMPARE(w.field(1), QStringLiteral("Łódź"));
        QCOMPARE(w.field(2), QStringLiteral("Jan"));
        QVERIFY(w.window->edit(2)->isEnabled());
        QCOMPARE(w.field(511), QStringLiteral("Witamy"));
        QVERIFY(!w.enabled("Zapisz1"));
        QVERIFY(w.window->isModified());

        w.choose("Zapiszjako1");
        QCOMPARE(w.dialogs->calls.last(),
                 QStringLiteral("save|Pliki (*.csv)|") + w.path(QStringLiteral("lista.csv")));
    }

    // The platform's save dialog starts on the suggested file and gives it back.
    void saveDialogOffersTheSuggestion()
    {
        QTemporaryDir dir;
        WidgetFileDialogs dialogs(nullptr);
        const QString suggested = dir.filePath(QStringLiteral("lista.csv"));
        QString offered;
        QTimer::singleShot(0, [&offered, &suggested] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            offered = dialog->selectedFiles().value(0);
            // Accepting anything but a file would leave the dialog open.
            if (offered == suggested)
                QMetaObject::invokeMethod(dialog, "accept");
            else
                dialog->reject();
        });
        QCOMPARE(dialogs.saveFileName(QStringLiteral("Pliki (*.csv)"), suggested), suggested);
        QCOMPARE(offered, suggested);
    }

    // Import table: the report, then replace, merge or cancel; the directory
    // is modified and keeps its file name.
    void importTable_data()
    {
        QTest::addColumn<QString>("button");     // of the report's dialog; empty: Cancel
        QTest::addColumn<QStringList>("fields"); // Edit1, Edit3, Edit5 afterwards
        QTest::addColumn<bool>("modified");
        QTest::newRow("merge") << "TableMerge" << QStringList{"Łoś", "Kowal", "Nowak"} << true;
        QTest::newRow("replace") << "TableReplace" << QStringList{"", "Kowal", "Nowak"} << true;
        QTest::newRow("cancel") << "" << QStringList{"Łoś", "", ""} << false;
    }
    void importTable()
    {
        QFETCH(QString, button);
        QFETCH(QStringList, fields);
        QFETCH(bool, modified);
        Window w;
        w.write("open.csv", savedFile());
        w.dialogs->answers << w.path("open.csv");
        w.choose("Otwrz1");
        w.write("residents.csv",
                "Strefa;Lokal;Linia 1;Linia 2\n1;2;Kowal;\n1;3;nowak;\n1;4;X\tY;\n");
        w.dialogs->answers << w.path("residents.csv");
        QString report;
        test::ModalDriver driver([&](QWidget* modal) {
            report =
                modal->findChild<QPlainTextEdit*>(QStringLiteral("TableReport"))->toPlainText();
            if (button.isEmpty())
                return void(qobject_cast<QDialog*>(modal)->reject());
            modal->findChild<QPushButton*>(button)->click();
        });
        w.choose("ImportujTabele");
        QCOMPARE(report,
                 QStringLiteral("row 3 (zone 1, apartment 3): line 1 changed to “Nowak” by "
                                "the entry rules\n"
                                "row 4 (zone 1, apartment 4): line 1: control character "
                                "U+0009 left out\n"
                                "Rows: 3, entries taken: 3, findings: 2 (encoding UTF-8)."));
        QCOMPARE((QStringList{w.field(1), w.field(3), w.field(5)}), fields);
        QCOMPARE(w.window->isModified(), modified);
        QVERIFY(w.window->windowTitle().chopped(3).endsWith(w.path("open.csv")));
    }

    // Choosing the encoding reads the table again: the report follows, an
    // encoding the bytes are not valid in takes nothing, and the reading
    // chosen is the one merged.
    void importTableEncoding()
    {
        Window w;
        w.write("residents.csv", "1;1;Ma\xE4ka;\n"); // CP852's "ń" is windows-1250's "ä"
        w.dialogs->answers << w.path("residents.csv");
        QStringList reports;
        std::vector<bool> mergeEnabled;
        test::ModalDriver driver([&](QWidget* modal) {
            const auto* report = modal->findChild<QPlainTextEdit*>(QStringLiteral("TableReport"));
            auto* encoding = modal->findChild<QComboBox*>(QStringLiteral("TableEncoding"));
            auto* merge = modal->findChild<QPushButton*>(QStringLiteral("TableMerge"));
            for (const char* name : {"UTF-8", "CP852"}) {
                encoding->setCurrentIndex(encoding->findText(QLatin1String(name)));
                reports << report->toPlainText();
                mergeEnabled.push_back(merge->isEnabled());
            }
            merge->click();
        });
        w.choose("ImportujTabele");
        QCOMPARE(reports,
                 (QStringList{"This file cannot be read as a table: not valid text in "
                              "UTF-8",
                              "Rows: 1, entries taken: 1, findings: 0 (encoding CP852)."}));
        QCOMPARE(mergeEnabled, (std::vector<bool>{false, true}));
        QCOMPARE(w.field(1), QStringLiteral("Mańka"));
    }

    // Export PDF: the name Save offers, and a PDF of the open directory.
    void exportPdf()
    {
        Window w;
        w.write("open.csv", savedFile());
        w.dialogs->answers << w.path("open.csv") << w.path("open.pdf");
        w.choose("Otwrz1");
        w.choose("EksportujPDF");
        QCOMPARE(w.dialogs->calls.last(), "save|(*.pdf)|" + w.path("open.pdf"));
        const QByteArray pdf = w.read("open.pdf");
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.size() > 1000);
    }

    // Export table: tab-separated for .tsv, semicolons otherwise.
    void exportTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow(".csv") << "out.csv"
                              << QByteArray("\xEF\xBB\xBFZone;Apartment;Line 1;Line 2\r\n"
                                            "1;1;\xC5\x81o\xC5\x9B;\r\n");
        QTest::newRow(".tsv") << "out.tsv"
                              << QByteArray("\xEF\xBB\xBFZone\tApartment\tLine 1\tLine 2\r\n"
                                            "1\t1\t\xC5\x81o\xC5\x9B\t\r\n");
    }
    void exportTable()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        Window w;
        w.write("open.csv", savedFile());
        w.dialogs->answers << w.path("open.csv") << w.path(name);
        w.choose("Otwrz1");
        w.choose("EksportujTabele");
        QCOMPARE(w.read(name), bytes);
        QVERIFY(w.dialogs->calls.last().endsWith(w.path("open-table.csv")));
    }

    // Both are .csv: a table given to Open is offered to Import table.
    void openOffersATable_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes: imported") << true;
        QTest::newRow("No: nothing") << false;
    }
    void openOffersATable()
    {
        QFETCH(bool, yes);
        Window w;
        w.write("residents.csv", "Strefa;Lokal;Linia 1;Linia 2\n1;2;Kowal;\n");
        w.dialogs->answers << w.path("residents.csv");
        test::ModalDriver driver(
            [](QWidget* modal) { modal->findChild<QPushButton*>("TableMerge")->click(); });
        driver.answerYes = yes;
        w.choose("Otwrz1");
        QCOMPARE(driver.messages, QStringList{"residents.csv is a resident table, not a directory "
                                              "file. Import it with Import table?"});
        QCOMPARE(w.field(3), yes ? QStringLiteral("Kowal") : QString());
        QCOMPARE(w.window->findChild<QAction*>("Cofnij1")->text().remove(u'&'),
                 yes ? QStringLiteral("Undo table import") : QStringLiteral("Undo"));
    }
};

QTEST_MAIN(MainWindowFilesTest)
#include "tst_mainwindow_files.moc"
