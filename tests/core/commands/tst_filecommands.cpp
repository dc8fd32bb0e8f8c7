#include "base/AppInfo.h"
#include "base/Localisation.h"
#include "commands/FileCommands.h"
#include "directory/DirectoryEditor.h"
#include "files/DirectoryFile.h"
#include "support/FakeFileDialogs.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingSink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>

using namespace q540;

namespace {

const QString kWrongFile = QStringLiteral("Niewłaściwy plik! ");
const QString kStructureError = QStringLiteral("Błąd struktury pliku! ");

void setLine(DirectoryGrid& grid, int row, int firstColumn, const QString& text)
{
    for (int i = 0; i < text.size(); ++i)
        grid.setCell(row, firstColumn + i, Cell(text.at(i)));
}

// A saved directory with one entry in each zone and one additional number.
DirectoryDocument savedDocument()
{
    DirectoryDocument document;
    document.fields.address = QStringLiteral("ul. Długa 5");
    document.fields.intro[0] = QStringLiteral("Witamy");
    document.fields.timeIndex = 4;
    document.fields.moduleLanguage = 2;
    for (int zone = 0; zone < kZoneCount; ++zone)
        setLine(document.grid, zoneRow(zone, 1), 1, QStringLiteral("Strefa %1").arg(zone + 1));
    setLine(document.grid, additionalNumberRow(1), 1, QStringLiteral("Portiernia"));
    return document;
}

QByteArray listFile(const QList<std::pair<int, QByteArray>>& lines)
{
    QList<QByteArray> all(521);
    all[0] = "KOR-Q540 v43";
    for (const auto& [number, value] : lines)
        all[number - 1] = value;
    return all.join("\r\n") + "\r\n";
}

struct State {
    DirectoryDocument document;
    QString nazwa;
    QString sciezka;
    QString caption;
    bool bylZapis = false;
    bool list = false;
    bool saveEnabled = false;
    int listCount = 0;
    bool operator==(const State&) const = default;
};

struct Fixture {
    QTemporaryDir dir;
    Localisation texts;
    test::RecordingSink sink;
    test::FakeFileDialogs dialogs;
    std::unique_ptr<DirectoryEditor> editor;
    std::unique_ptr<FileCommands> files;
    DocumentFields fields;

    Fixture()
    {
        texts.load();
        texts.setLanguage(0);
        editor = std::make_unique<DirectoryEditor>(sink, texts, kModuleOrderPolish);
        files = std::make_unique<FileCommands>(*editor, sink, texts, dialogs);
        files->readFields = [this] { return fields; };
        files->showFields = [this](const DocumentFields& shown) { fields = shown; };
        fields.address = QStringLiteral("Adres:");
        editor->page().selectPage(0);
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    Outcome open(const QString& name)
    {
        dialogs.answers << (name.isEmpty() ? QString() : path(name));
        return files->openDirectoryFile();
    }
    Outcome import(const QString& name)
    {
        dialogs.answers << path(name);
        return files->importListFile();
    }
    void type(int slot, const QString& line1, const QString& line2)
    {
        editor->page().line1Changed(slot, line1);
        editor->page().line2Changed(slot, line2);
    }
    // A saved file opened, then changed: the work a failed command must not touch.
    void startWork()
    {
        write(QStringLiteral("work.csv"), directoryFileBytes(savedDocument()));
        QVERIFY(open(QStringLiteral("work.csv")).isDone());
        type(2, QStringLiteral("Niezapisany"), QStringLiteral("wpis"));
        fields.intro[1] = QStringLiteral("Niezapisane");
        fields.timeIndex = 0;
        fields.moduleLanguage = 3;
        sink.messages.clear();
    }
    State state() const
    {
        return {files->document(),    files->fileName(),     files->filePath(),
                files->caption(),     files->hasBeenSaved(), files->currentFileIsList(),
                files->saveEnabled(), editor->list().count()};
    }
};

} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void openShowsTheFile()
    {
        Fixture f;
        f.write(QStringLiteral("a.csv"), directoryFileBytes(savedDocument()));
        QVERIFY(f.open(QStringLiteral("a.csv")).isDone());
        QCOMPARE(f.dialogs.calls, QStringList{QStringLiteral("open|(*.csv)|")});
        QCOMPARE(f.files->document(), savedDocument());
        QCOMPARE(f.files->caption(), (kApplicationTitle + QStringLiteral("  ")) + f.path("a.csv"));
        QCOMPARE(f.files->fileName(), QStringLiteral("a.csv"));
        QCOMPARE(f.files->filePath(), f.dir.path() + u'/');
        QVERIFY(f.files->hasBeenSaved());
        QVERIFY(f.files->saveEnabled());
        QCOMPARE(f.editor->list().count(), 5);
        QCOMPARE(f.editor->page().slot(1).line1, QStringLiteral("Strefa 1"));
        QVERIFY(f.sink.messages.isEmpty());
    }

    // Each row: the command, the chosen file's name and content (null: no file), and
    // the message; a message ending in ":" is followed by the path and the reason.
    void failedCommandKeepsTheWork_data()
    {
        QTest::addColumn<bool>("import");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("message");
        const QByteArray good = directoryFileBytes(savedDocument());
        const auto replaced = [&good](const char* from, const char* to) {
            QByteArray bytes = good;
            return bytes.replace(from, to);
        };
        const QByteArray list = listFile({{2, "Kowal"}});
        const auto row = [](const char* name, bool import, const char* file,
                            const QByteArray& content, const QString& message) {
            QTest::newRow(name) << import << QString::fromUtf8(file) << content << message;
        };
        row("cancelled", false, "", good, QString());
        row("capital extension", false, "bad.CSV", good, kWrongFile);
        row("list extension", false, "bad.txt", good, kWrongFile);
        row("no extension", false, "bad", good, kWrongFile);
        row("missing file", false, "missing.csv", QByteArray(),
            QStringLiteral("Nie można otworzyć pliku:"));
        row("too small", false, "small.csv", good.left(934), kWrongFile);
        row("too large", false, "large.csv",
            good + QByteArray(kDirectoryFileMaxSize + 1 - good.size(), ';'), kWrongFile);
        row("older header", false, "old.csv", replaced("v70;", "v43;"), kWrongFile);
        row("semicolon in an entry", false, "semi.csv", replaced("Strefa 3;", "Stre;fa 3;"),
            kStructureError);
        row("time not an integer", false, "time.csv", replaced("\r\n5;\r\n", "\r\nx;\r\n"),
            kStructureError);
        row("language not an integer", false, "lang.csv", replaced("\r\n2;\r\n", "\r\n2.0;\r\n"),
            kStructureError);
        row("import, capital extension", true, "list.TXT", list, kWrongFile);
        row("import of a directory file", true, "dir.csv", good, kWrongFile);
        row("import, 7178 bytes", true, "big.txt", list + QByteArray(7178 - list.size(), 'x'),
            kWrongFile);
        row("import, other header", true, "hdr.txt", QByteArray(list).replace("v43", "v44"),
            kWrongFile);
        row("import, time not an integer", true, "time.txt", listFile({{2, "A"}, {521, "3s"}}),
            kStructureError);
        row("a pipe", false, "pipe.csv", QByteArray(), kWrongFile);
        row("import of a pipe", true, "pipe.txt", QByteArray(), kWrongFile);
    }

    void failedCommandKeepsTheWork()
    {
        QFETCH(bool, import);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        Fixture f;
        f.startWork();
        if (!content.isNull() && !name.isEmpty())
            f.write(name, content);
        if (name.startsWith(QStringLiteral("pipe")))
            QCOMPARE(mkfifo(QFile::encodeName(f.path(name)).constData(), 0600), 0);
        const State before = f.state();
        // The outcome as the callers decide by it: a closed dialog, a file that
        // could not be read, or one that is not of this program.
        const Outcome expected = message.isEmpty() ? Outcome::cancelled()
                                 : message.endsWith(u':')
                                     ? Outcome::failed()
                                     : Outcome::refused(Outcome::Refusal::WrongFile);
        QCOMPARE(import ? f.import(name) : f.open(name), expected);
        QVERIFY(f.state() == before);
        if (message.isEmpty()) {
            QVERIFY(f.sink.messages.isEmpty());
        } else if (message.endsWith(u':')) {
            QCOMPARE(f.sink.messages.size(), 1);
            QVERIFY(f.sink.messages[0].startsWith(message + u'\n'
                                                  + QDir::toNativeSeparators(f.path(name))));
        } else {
            QCOMPARE(f.sink.messages, QStringList{message});
        }
    }

    void saveAsksBeforeOverwriting_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes writes") << true;
        QTest::newRow("No keeps the file") << false;
    }

    void saveAsksBeforeOverwriting()
    {
        QFETCH(bool, yes);
        Fixture f;
        f.startWork();
        const QByteArray old = f.read(QStringLiteral("work.csv"));
        f.sink.answerYes = yes;
        QCOMPARE(f.files->save().isDone(), yes);
        QCOMPARE(f.sink.events,
                 QStringList{QStringLiteral("question:Nadpisać istniejący plik:  work.csv ?|")});
        QCOMPARE(f.read(QStringLiteral("work.csv")),
                 yes ? directoryFileBytes(f.files->document()) : old);
        QCOMPARE(f.dialogs.calls.size(), 1); // only the first Open
    }

    void saveAsNamesTheFile_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("csv") << "a.csv"
                             << "a.csv";
        QTest::newRow("capital CSV gets .csv") << "a.CSV"
                                               << "a.CSV.csv";
        QTest::newRow("txt gets .csv") << "b.txt"
                                       << "b.txt.csv";
        QTest::newRow("no extension") << "c"
                                      << "c.csv";
    }

    void saveAsNamesTheFile()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        Fixture f;
        f.type(1, QStringLiteral("Kowalski"), QStringLiteral("Jan"));
        f.dialogs.answers << f.path(chosen);
        QVERIFY(f.files->saveAs().isDone());
        QCOMPARE(f.dialogs.calls, QStringList{QStringLiteral("save|Pliki (*.csv)|")});
        QCOMPARE(f.read(written), directoryFileBytes(f.files->document()));
        QCOMPARE(f.files->fileName(), written);
        QCOMPARE(f.files->caption(), (kApplicationTitle + QStringLiteral("  ")) + f.path(written));
        QVERIFY(f.files->hasBeenSaved());
        QVERIFY(f.files->saveEnabled());
        // The next Save asks about the file just written.
        f.sink.answerYes = false;
        QVERIFY(!f.files->save().isDone());
        QCOMPARE(f.sink.questions,
                 QStringList{QStringLiteral("Nadpisać istniejący plik:  ") + written + " ?"});
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("readOnly");
        QTest::newRow("read-only folder") << "locked"
                                          << "old.csv" << true;
        // The temporary file's longer name does not fit the file system.
        QTest::newRow("no room for a temporary name")
            << "long" << QString(251, u'n') + ".csv" << false;
        QTest::newRow("missing folder") << "missing"
                                        << "new.csv" << false;
        QTest::newRow("disk full") << "full"
                                   << "old.csv" << false;
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(bool, readOnly);
        Fixture f;
        const QString file = folder + u'/' + name;
        const QByteArray old = "KOR-Q540 v70;\r\nstara zawartość";
        if (folder != QStringLiteral("missing")) {
            QVERIFY(QDir(f.dir.path()).mkdir(folder));
            f.write(file, old);
        }
        if (readOnly) {
            QVERIFY(QFile::setPermissions(f.path(folder), QFile::ReadOwner | QFile::ExeOwner
                                                              | QFile::ReadUser | QFile::ExeUser));
            QFile probe(f.path(folder + QStringLiteral("/probe")));
            if (probe.open(QIODevice::WriteOnly))
                QSKIP("this user writes into read-only folders");
        }
        f.startWork();
        const State before = f.state();
        f.dialogs.answers << f.path(file);
        f.sink.answerYes = true;
        {
            std::optional<test::FileSizeLimit> full;
            if (folder == QStringLiteral("full"))
                full.emplace(1000);
            QCOMPARE(f.files->saveAs(), Outcome::failed());
        }
        QVERIFY(f.state() == before);
        QCOMPARE(f.sink.messages.size(), 1);
        QVERIFY(f.sink.messages[0].startsWith(QStringLiteral("Nie można zapisać pliku:\n")
                                              + QDir::toNativeSeparators(f.path(file)) + u'\n'));
        QVERIFY(f.sink.messages[0].size() > f.path(file).size() + 26); // a reason follows
        if (folder != QStringLiteral("missing"))
            QCOMPARE(f.read(file), old);
        QFile::setPermissions(f.path(folder),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // What Open had to change to take a file is told, not done silently.
    void openTellsWhatItCut_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("notice");
        const QByteArray good = directoryFileBytes(savedDocument());
        const auto replaced = [&good](const char* from, const char* to) {
            return QByteArray(good).replace(from, to);
        };
        QTest::newRow("long address")
            << replaced("ul. D\xC5\x82uga 5;", "ul. D\xC5\x82uga 5 m. 12, klatka B;")
            << QStringLiteral("adres: 27 znaków, pole mieści 20 – nadmiar pominięto.");
        QTest::newRow("long intro line and entry")
            << replaced("Witamy;", "Witamy w budynku 7;")
                   .replace("Strefa 2;", "Strefa 2 dluga nazwa;")
            << QStringLiteral("wiersz intro 1: 18 znaków, pole mieści 16 – nadmiar pominięto.\n"
                              "strefa 2, lokal 1, linia 1: 20 znaków, pole mieści 16 – nadmiar "
                              "pominięto.");
        // Lines 2061.. are gone: the last entries of the additional numbers.
        const QByteArray cut = good.split('\n').mid(0, 2060).join(QByteArray("\n")) + '\n';
        QTest::newRow("file cut short") << cut
                                        << QStringLiteral("Plik kończy się po 2060 z 2068 wierszy; "
                                                          "brakujące wiersze wczytano jako puste.");
    }

    void openTellsWhatItCut()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, notice);
        Fixture f;
        f.write(QStringLiteral("a.csv"), content);
        QVERIFY(f.open(QStringLiteral("a.csv")).isDone());
        QCOMPARE(f.sink.messages, QStringList{notice});
    }

    // An import cuts long lines to the fields as the older releases did, and
    // says which and how long.
    void importTellsWhatItCut()
    {
        Fixture f;
        f.write(QStringLiteral("long.txt"), listFile({{2, "Konstantynopolitanczyk"},
                                                      {3, "Jan Maria Rokita"},
                                                      {512, "Witamy w domu nr 5"}}));
        QVERIFY(f.import(QStringLiteral("long.txt")).isDone());
        QCOMPARE(f.sink.messages,
                 QStringList{QStringLiteral(
                     "strefa 1, lokal 1, linia 1: 22 znaków, pole mieści 16 – nadmiar pominięto.\n"
                     "strefa 1, lokal 1, linia 2: 16 znaków, pole mieści 14 – nadmiar pominięto.\n"
                     "wiersz intro 1: 18 znaków, pole mieści 16 – nadmiar pominięto.")});
        QCOMPARE(f.editor->page().slot(1).line1, QStringLiteral("Konstantynopolit"));
    }

    // After a save the work shows what the file holds: a semicolon that came
    // in from a list or the module is a comma in the grid and fields too.
    void saveShowsWhatWasSaved()
    {
        Fixture f;
        f.type(1, QStringLiteral("Nowak;Jan"), QStringLiteral("a;b"));
        f.fields.intro[0] = QStringLiteral("Witamy;");
        f.dialogs.answers << f.path(QStringLiteral("s.csv"));
        QVERIFY(f.files->saveAs().isDone());
        QCOMPARE(f.editor->page().slot(1).line1, QStringLiteral("Nowak,Jan"));
        QCOMPARE(f.editor->page().slot(1).line2, QStringLiteral("a,b"));
        QCOMPARE(f.fields.intro[0], QStringLiteral("Witamy,"));
        const DirectoryFileParse reopened = parseDirectoryFile(f.read(QStringLiteral("s.csv")));
        QVERIFY(reopened.document);
        QCOMPARE(f.files->document(), *reopened.document);
    }

    // The dialog does not ask; the command asks about the name it writes,
    // ".csv" added or not.
    void saveAsAsksAboutTheNameItWrites_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::addColumn<bool>("yes");
        QTest::newRow(".csv added, Yes") << "b.txt"
                                         << "b.txt.csv" << true;
        QTest::newRow(".csv added, No") << "b.txt"
                                        << "b.txt.csv" << false;
        QTest::newRow("as chosen, Yes") << "c.csv"
                                        << "c.csv" << true;
        QTest::newRow("as chosen, No") << "c.csv"
                                       << "c.csv" << false;
    }

    void saveAsAsksAboutTheNameItWrites()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        QFETCH(bool, yes);
        Fixture f;
        f.type(1, QStringLiteral("Kowalski"), QString());
        const QByteArray old = "an older file";
        f.write(written, old);
        f.dialogs.answers << f.path(chosen);
        f.sink.answerYes = yes;
        QCOMPARE(f.files->saveAs().isDone(), yes);
        QCOMPARE(f.sink.questions,
                 QStringList{QStringLiteral("Nadpisać istniejący plik:  ") + written + " ?"});
        QCOMPARE(f.read(written) == old, !yes);
    }

    void importTakesZone1ThroughThePage()
    {
        Fixture f;
        for (int slot : {1, 3, 5, 9})
            f.type(slot, QStringLiteral("Stary %1").arg(slot), QStringLiteral("wpis"));
        f.editor->page().selectPage(1);
        f.type(1, QStringLiteral("Druga strefa"), QString());
        f.editor->page().selectPage(kSelectorAdditionalNumbers);
        f.type(1, QStringLiteral("Portier"), QString());
        f.editor->page().selectPage(kSelectorIntro);
        f.fields.address = QStringLiteral("ul. Polna");
        f.fields.moduleLanguage = 3;
        f.write(QStringLiteral("lista.txt"), listFile({{2, "Nowy"},
                                                       {3, ""},
                                                       {6, ""},
                                                       {7, "pusty line 1"},
                                                       {10, " spacja"},
                                                       {11, "zostaje"},
                                                       {14, "ABCDEFGHIJKLMNOPQRST"},
                                                       {15, "abcdefghijklmnopqrst"},
                                                       {18, "9 Kowal;ski"},
                                                       {19, "x"},
                                                       {512, "Intro 1"},
                                                       {520, "Intro 8"},
                                                       {521, "4"}}));
        QVERIFY(f.import(QStringLiteral("lista.txt")).isDone());
        QCOMPARE(f.dialogs.calls, QStringList{QStringLiteral("open|(*.txt)|")});

        const DirectoryGrid& grid = f.editor->grid();
        const auto entry = [](const char* line1, const char* line2) {
            return QString::fromUtf8(line1).leftJustified(16)
                   + QString::fromUtf8(line2).leftJustified(14);
        };
        QCOMPARE(grid.entryText(1), entry("Nowy", ""));
        QCOMPARE(grid.entryText(3), entry("Stary 3", "wpis"));
        QCOMPARE(grid.entryText(5), entry("Stary 5", "wpis"));
        QCOMPARE(grid.entryText(7), entry("ABCDEFGHIJKLMNOP", "abcdefghijklmn"));
        QCOMPARE(grid.entryText(9), entry("9 Kowal;ski", "x"));
        QCOMPARE(grid.entryText(zoneRow(1, 1)), entry("Druga strefa", ""));
        QCOMPARE(grid.entryText(additionalNumberRow(1)), entry("Portier", ""));
        QCOMPARE(f.editor->page().selectorIndex(), 0);
        QCOMPARE(f.editor->page().slot(7).line1, QStringLiteral("ABCDEFGHIJKLMNOP"));
        QCOMPARE(f.editor->list().count(), 7);
        QCOMPARE(f.fields.address, QStringLiteral("ul. Polna"));
        QCOMPARE(f.fields.moduleLanguage, 3);
        QCOMPARE(f.fields.intro[0], QStringLiteral("Intro 1"));
        QCOMPARE(f.fields.intro[7], QStringLiteral("Intro 8"));
        QCOMPARE(f.fields.timeIndex, 3);
        QCOMPARE(f.files->caption(),
                 (kApplicationTitle + QStringLiteral("  ")) + f.path("lista.txt"));
        QVERIFY(f.files->hasBeenSaved());
        QVERIFY(f.files->currentFileIsList());
        QVERIFY(!f.files->saveEnabled());

        const DirectoryDocument once = f.files->document();
        QVERIFY(f.import(QStringLiteral("lista.txt")).isDone());
        QCOMPARE(f.files->document(), once);
    }

    // The semicolon of a list file reaches the grid; Save writes a new directory file
    // in which it is a comma, and leaves the list file alone.
    void saveAfterImportWritesANewFile()
    {
        Fixture f;
        const QByteArray list = listFile({{2, "Kowal;ski"}, {3, "Jan"}});
        f.write(QStringLiteral("lista.txt"), list);
        QVERIFY(f.import(QStringLiteral("lista.txt")).isDone());
        f.dialogs.answers << f.path(QStringLiteral("lista.csv"));
        QVERIFY(f.files->save().isDone());
        QVERIFY(f.sink.questions.isEmpty());
        QCOMPARE(f.dialogs.calls.last(),
                 QStringLiteral("save|Pliki (*.csv)|") + f.path(QStringLiteral("lista.csv")));
        QCOMPARE(f.read(QStringLiteral("lista.txt")), list);
        QVERIFY(f.read(QStringLiteral("lista.csv")).contains("\r\nKowal,ski;\r\nJan;\r\n"));
        QVERIFY(!f.files->currentFileIsList());
        QCOMPARE(f.files->fileName(), QStringLiteral("lista.csv"));

        QVERIFY(f.open(QStringLiteral("lista.csv")).isDone());
        QCOMPARE(f.editor->page().slot(1).line1, QStringLiteral("Kowal,ski"));
        QVERIFY(f.sink.messages.isEmpty());
    }

    void newForgetsTheFile()
    {
        Fixture f;
        f.startWork();
        QString count = QStringLiteral("12");
        f.files->newDirectory(count);
        QCOMPARE(count, QStringLiteral("0"));
        QCOMPARE(f.files->caption(), kApplicationTitle);
        QVERIFY(!f.files->hasBeenSaved());
        QVERIFY(!f.files->saveEnabled());
        QCOMPARE(f.files->fileName(), QStringLiteral("work.csv"));
        QCOMPARE(f.editor->list().count(), 0);
        QCOMPARE(f.fields.intro, IntroLines{});
        QCOMPARE(f.fields.timeIndex, 1);
        QCOMPARE(f.fields.address, QStringLiteral("ul. Długa 5"));
        QCOMPARE(f.fields.moduleLanguage, 3);
        // Without a file, Save asks for a name.
        QVERIFY(!f.files->save().isDone());
        QCOMPARE(f.dialogs.calls.last(), QStringLiteral("save|Pliki (*.csv)|"));
    }
};

QTEST_GUILESS_MAIN(FileCommandsTest)
#include "tst_filecommands.moc"
