// Compare with the module: the directory and intro written to the emulator,
// read back whole and compared with a directory that differs row by row.

#include "TransferFixture.h"
#include "directory/NameList.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"
#include "module/ModuleCompare.h"

#include <QTest>

using namespace q540;

namespace {

void setEntry(DirectoryGrid& grid, int row, const QString& line1, const QString& line2 = {})
{
    const QString text = line1.leftJustified(kLine1Length, u' ', true)
                         + line2.leftJustified(kLine2Length, u' ', true);
    for (int c = 0; c < kEntryTextLength; ++c)
        grid.setCell(row, c + 1, Cell(text.at(c)));
}

// What goes to the module: zone 1 and 4, an additional number, a look-alike.
DirectoryDocument written()
{
    DirectoryDocument d;
    setEntry(d.grid, zoneRow(0, 1), QStringLiteral("Nowak Jan"), QStringLiteral("Biuro"));
    setEntry(d.grid, zoneRow(0, 2), QStringLiteral("Żółć Ewa"));
    setEntry(d.grid, zoneRow(0, 3), QStringLiteral("Firma©"));
    setEntry(d.grid, zoneRow(3, 255), QStringLiteral("Müller"));
    setEntry(d.grid, additionalNumberRow(8), QStringLiteral("Portier"));
    d.fields.intro = {QStringLiteral("Witamy"), QStringLiteral("ul. Lipowa 5")};
    d.fields.timeIndex = 4;
    d.fields.moduleLanguage = 1;
    return d;
}

} // namespace

class ModuleCompareTest : public QObject {
    Q_OBJECT

private slots:
    void compare_data()
    {
        QTest::addColumn<DirectoryDocument>("directory");
        QTest::addColumn<std::optional<bool>>("resetLock");
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("lines");
        const DirectoryDocument base = written();
        const auto with = [&base](auto change) {
            DirectoryDocument d = base;
            change(d);
            return d;
        };
        QTest::newRow("equal") << base << std::optional<bool>() << 1 << QStringList();
        // The module shows © as a look-alike; a write cuts a line at 16.
        QTest::newRow("what the module would show is no difference") << with(
            [](DirectoryDocument& d) { d.fields.intro[2] = QStringLiteral("                 x"); })
                                                                     << std::optional<bool>() << 1
                                                                     << QStringList();
        QTest::newRow("one entry changed")
            << with([](DirectoryDocument& d) {
                   setEntry(d.grid, zoneRow(0, 1), QStringLiteral("Nowak Jan"),
                            QStringLiteral("Sklep"));
               })
            << std::optional<bool>() << 1
            << QStringList{
                   "zone 1, apartment 1 (changed): directory \u201cNowak Jan · Sklep\u201d, "
                   "module \u201cNowak Jan · Biuro\u201d"};
        QTest::newRow("one added, in Polish")
            << with([](DirectoryDocument& d) {
                   setEntry(d.grid, zoneRow(1, 7), QStringLiteral("Kowal"));
               })
            << std::optional<bool>() << 0
            << QStringList{"strefa 2, lokal 7 (tylko w katalogu): katalog „Kowal”, moduł „”"};
        QTest::newRow("one removed, in German")
            << with([](DirectoryDocument& d) { setEntry(d.grid, zoneRow(0, 2), {}); })
            << std::optional<bool>() << 2
            << QStringList{"Zone 1, Wohnung 2 (nur im Modul): Verzeichnis „“, Modul „Żółć Ewa“"};
        QTest::newRow("zone 4 and an additional number")
            << with([](DirectoryDocument& d) {
                   setEntry(d.grid, zoneRow(3, 255), QStringLiteral("Muller"));
                   setEntry(d.grid, additionalNumberRow(8), {});
                   setEntry(d.grid, additionalNumberRow(1), QStringLiteral("Serwis"));
               })
            << std::optional<bool>() << 1
            << QStringList{"zone 4, apartment 255 (changed): directory \u201cMuller\u201d, module "
                           "\u201cMüller\u201d",
                           "additional number 1 (only in the directory): directory \u201cSerwis"
                           "\u201d, module \u201c\u201d",
                           "additional number 8 (only in the module): directory \u201c\u201d, "
                           "module \u201cPortier\u201d"};
        QTest::newRow("only settings differ")
            << with([](DirectoryDocument& d) {
                   d.fields.intro[7] = QStringLiteral("Dzień dobry");
                   d.fields.timeIndex = 14;
                   d.fields.moduleLanguage = 5;
               })
            << std::optional<bool>(true) << 1
            << QStringList{"intro line 8 (setting): directory \u201cDzień dobry\u201d, module "
                           "\u201c\u201d",
                           "display time (setting): directory \u201c15 s\u201d, module "
                           "\u201c5 s\u201d",
                           "module language (setting): directory \u201cDE\u201d, module "
                           "\u201cPL\u201d",
                           "reset lock (setting): directory \u201con\u201d, module "
                           "\u201coff\u201d"};
    }

    void compare()
    {
        QFETCH(DirectoryDocument, directory);
        QFETCH(std::optional<bool>, resetLock);
        QFETCH(int, language);
        QFETCH(QStringList, lines);
        test::TransferFixture f(language);
        const DirectoryDocument sent = written();
        NameList list(sent.grid);
        list.rebuild(0, f.sink, f.texts);
        const auto sentSettings = [&](ModuleStatus& st) {
            st.introTimeIndex = sent.fields.timeIndex;
            st.moduleLanguage = sent.fields.moduleLanguage;
        };
        QVERIFY(
            sendDirectory(f.context, list.rows(), f.password, f.status, {sentSettings}).isDone());
        QVERIFY(sendIntro(f.context, sent.fields.intro, f.status).isDone());
        f.sink.messages.clear();

        const ModuleContentsRead read = readModuleContents(f.context, f.password, f.status);
        QCOMPARE(read.outcome, Outcome::done());
        // The read's own success messages are held back: the comparison speaks.
        QCOMPARE(f.sink.messages, QStringList());
        QVERIFY(!f.module.isOpen());
        QCOMPARE(read.contents.resetLock, false);
        QStringList found;
        for (const ContentDifference& d :
             compareWithModule({directory, std::nullopt, resetLock}, read.contents))
            found << differenceLineText(d, language);
        QCOMPARE(found, lines);
    }

    // The intro screens read back after their write: a screen the module
    // keeps wrongly is named, in each language.
    void verifyIntro_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("corrupt"); // the position kept wrongly; -1 none
        QTest::addColumn<QString>("message");
        QTest::newRow("kept as written")
            << 1 << -1
            << "Verified: the module holds the intro screens and the display time as written.";
        QTest::newRow("screen 1 kept wrongly")
            << 1 << protocol::kFirstIntroPosition
            << "The module holds other intro screens than were written; write them again:\n"
               "intro line 1 (setting): directory \u201cWitamy\u201d, module \u201cVitamy\u201d";
        QTest::newRow("screen 2, in Polish")
            << 0 << protocol::kFirstIntroPosition + 1
            << "Moduł ma inne ekrany intro niż zapisane; zapisz je ponownie:\n"
               "wiersz intro 3 (ustawienie): katalog „Dom”, moduł „Com”";
    }
    void verifyIntro()
    {
        QFETCH(int, language);
        QFETCH(int, corrupt);
        QFETCH(QString, message);
        test::TransferFixture f(language);
        const IntroLines lines{QStringLiteral("Witamy"), QStringLiteral("ul. Lipowa 5"),
                               QStringLiteral("Dom")};
        f.module.corruptStoredBlock(corrupt);
        f.status.introTimeIndex = 6;
        QVERIFY(sendIntro(f.context, lines, f.status).isDone());
        f.sink.messages.clear();
        const IntroVerifyResult verified = q540::verifyIntro(f.context, lines, f.status);
        QCOMPARE(verified.outcome, Outcome::done());
        QCOMPARE(int(verified.differences.size()), corrupt < 0 ? 0 : 1);
        QCOMPARE(f.sink.messages, QStringList{message});
        QCOMPARE(f.status.introTimeIndex, 6);
        QVERIFY(!f.module.isOpen());
    }

    // A read that fails says so, as any read does.
    void failedReadIsTold()
    {
        test::TransferFixture f(1);
        f.module.setPlugged(false);
        const ModuleContentsRead read = readModuleContents(f.context, f.password, f.status);
        QVERIFY(!read.outcome.isDone());
        QVERIFY(!f.sink.messages.isEmpty());
    }
};

QTEST_GUILESS_MAIN(ModuleCompareTest)
#include "tst_modulecompare.moc"
