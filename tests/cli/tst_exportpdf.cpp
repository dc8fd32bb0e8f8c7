// q540-cli export-pdf of a full directory: the PDF's pages and its text
// layer (read back with poppler's pdftotext) hold every entry, zone by zone,
// in the order the module keeps them.

#include "files/DirectoryFile.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

namespace {

QString runTool(const QString& program, const QStringList& arguments, int* code = nullptr)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000))
        return {};
    if (code)
        *code = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// 1020 entries: the four zones but eight apartments, and the additional
// numbers, their names in an order of their own (Polish letters among them).
DirectoryDocument fullDirectory()
{
    DirectoryDocument d;
    d.fields.address = QStringLiteral("ul. Lipowa 12");
    d.fields.intro[0] = QStringLiteral("Witamy");
    d.fields.timeIndex = 4;
    d.fields.moduleLanguage = 1;
    const QStringList names{"Żak", "Łuczak", "Nowak", "Ćwik", "Adamski", "Śliwa", "Kowal"};
    for (int row = 1; row <= kGridRows; ++row) {
        if (row > zoneRow(3, 247) && row < kFirstAdditionalRow)
            continue;
        const QString line1 = QStringLiteral("%1 %2").arg(names[(row * 5) % names.size()]).arg(row);
        const QString line2 = QStringLiteral("m.%1").arg(row);
        for (int c = 0; c < line1.size(); ++c)
            d.grid.setCell(row, c + 1, Cell(line1[c]));
        for (int c = 0; c < line2.size(); ++c)
            d.grid.setCell(row, kLine2FirstColumn + c, Cell(line2[c]));
    }
    return d;
}

} // namespace

class ExportPdfTest : public QObject {
    Q_OBJECT

private slots:
    void fullDirectory_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("zoneHeading");
        QTest::addColumn<QString>("additionalHeading");
        QTest::addColumn<QString>("pageWord");
        QTest::newRow("English") << "en"
                                 << "Zone %1 — entries: %2"
                                 << "Additional numbers — entries: 8"
                                 << "Page";
        QTest::newRow("Polish") << "pl"
                                << "Strefa %1 — wpisów: %2"
                                << "Numery dodatkowe — wpisów: 8"
                                << "Strona";
        QTest::newRow("German") << "de"
                                << "Zone %1 — Einträge: %2"
                                << "Zusatznummern — Einträge: 8"
                                << "Seite";
    }
    void fullDirectory()
    {
        QFETCH(QString, lang);
        QFETCH(QString, zoneHeading);
        QFETCH(QString, additionalHeading);
        QFETCH(QString, pageWord);
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        QVERIFY2(!pdftotext.isEmpty() && !pdfinfo.isEmpty(),
                 "poppler-utils is one of the test packages");
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("full.csv"));
        QFile file(in);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(directoryFileBytes(::fullDirectory()));
        file.close();
        const QString pdf = dir.filePath(QStringLiteral("full.pdf"));
        int code = -1;
        runTool(QStringLiteral(Q540_CLI_EXECUTABLE), {"export-pdf", in, pdf, "--lang", lang},
                &code);
        QCOMPARE(code, 0);

        // The module's order: what q540-cli list prints, which the write sends.
        const QStringList listed =
            runTool(QStringLiteral(Q540_CLI_EXECUTABLE), {"list", in}).split(u'\n');
        QMap<int, QStringList> expected; // zone -> "apartment line1 line2", in order
        static const QRegularExpression listRow(
            QStringLiteral(R"(^\|(.{16})(.{14})\| (\d+) (\d)$)"));
        for (const QString& line : listed) {
            const QRegularExpressionMatch m = listRow.match(line);
            if (m.hasMatch())
                expected[m.captured(4).toInt()] << m.captured(3) + u' ' + m.captured(1).trimmed()
                                                       + u' ' + m.captured(2).trimmed();
        }
        QCOMPARE(expected.size(), 5);

        // The text layer, one printed row a line.
        const QString text = runTool(pdftotext, {"-layout", pdf, "-"});
        static const QRegularExpression entryRow(
            QStringLiteral(R"(^\s*(\d+)\s+(\S.*?)\s{2,}(m\.\d+)\s*$)"));
        QMap<int, QStringList> printed;
        int zone = 0;
        for (const QString& line : text.split(u'\n')) {
            for (int z = 1; z <= 4; ++z)
                if (line.trimmed() == zoneHeading.arg(z).arg(expected[z].size()))
                    zone = z;
            if (line.trimmed() == additionalHeading)
                zone = 5;
            const QRegularExpressionMatch m = entryRow.match(line);
            if (m.hasMatch() && zone > 0)
                printed[zone] << m.captured(1) + u' ' + m.captured(2) + u' ' + m.captured(3);
        }
        for (int z = 1; z <= 5; ++z)
            QCOMPARE(printed[z], expected[z]);

        // 1020 rows at some 45 a page, and the page of intro screens and settings.
        const QString info = runTool(pdfinfo, {pdf});
        const QRegularExpressionMatch pages =
            QRegularExpression(QStringLiteral(R"(Pages:\s+(\d+))")).match(info);
        QVERIFY(pages.hasMatch());
        const int pageCount = pages.captured(1).toInt();
        QVERIFY2(pageCount >= 20 && pageCount <= 30, qPrintable(info));
        QCOMPARE(text.count(pageWord + QStringLiteral(" ")), pageCount);
        QVERIFY(text.contains(QStringLiteral("%1 %2 %3 %2")
                                  .arg(pageWord)
                                  .arg(pageCount)
                                  .arg(lang == u"en"   ? "of"
                                       : lang == u"pl" ? "z"
                                                       : "von")));
        QVERIFY(text.contains(QStringLiteral("ul. Lipowa 12")));
        QVERIFY(text.contains(QStringLiteral("Witamy")));
    }
};

QTEST_GUILESS_MAIN(ExportPdfTest)
#include "tst_exportpdf.moc"
