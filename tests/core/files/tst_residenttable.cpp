// Resident tables: round trips of full directories in every separator and
// encoding, and one table of awkward inputs, each with its report.

#include "files/ResidentTable.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using namespace q540;

namespace {

// A full directory (1020 entries, the additional numbers among them) whose
// names come from one alphabet; line 2 on every other entry, with a
// separator, a quote or a space inside on some.
DirectoryGrid fullDirectory(const QStringList& names)
{
    DirectoryGrid grid;
    for (int row = 1; row <= kGridRows; ++row) {
        if (row > zoneRow(3, 247) && row < kFirstAdditionalRow)
            continue;
        const QString line1 = QStringLiteral("%1 %2").arg(names[row % names.size()]).arg(row);
        const QString line2 = row % 2   ? QString()
                              : row % 3 ? QStringLiteral("m. %1").arg(row % 97)
                                        : QStringLiteral("\"A\", B %1").arg(row % 10);
        const QString text =
            line1.left(kLine1Length).leftJustified(kLine1Length) + line2.left(kLine2Length);
        for (int c = 0; c < text.size(); ++c)
            grid.setCell(row, c + 1, Cell(text[c]));
    }
    return grid;
}

QByteArray encoded(const QByteArray& utf8WithMark, const QString& encoding)
{
    const QString text = QString::fromUtf8(utf8WithMark.mid(3));
    if (encoding == u"UTF-8")
        return utf8WithMark;
    if (encoding == u"UTF-8 without mark")
        return text.toUtf8();
    if (encoding == u"UTF-16LE")
        return QByteArray("\xFF\xFE") + QStringEncoder(QStringEncoder::Utf16LE).encode(text);
    if (encoding == u"UTF-16BE")
        return QByteArray("\xFE\xFF") + QStringEncoder(QStringEncoder::Utf16BE).encode(text);
    QStringEncoder cp1250("windows-1250");
    return cp1250.encode(text);
}

// The findings as "row:kind", "first-last:kind" for a row over several lines.
QStringList kinds(const TableRead& read)
{
    static const char* names[] = {"cut",        "rules",     "control",   "unsupported",
                                  "look-alike", "zone",      "number",    "duplicate",
                                  "too many",   "no line 1", "quote",     "joined",
                                  "extra",      "short",     "no column", "unread"};
    static_assert(std::size(names) == std::size_t(TableFinding::Kind::UnreadColumns) + 1);
    QStringList found;
    for (const TableFinding& f : read.findings)
        found << (f.lastRow ? QStringLiteral("%1-%2").arg(f.row).arg(f.lastRow)
                            : QString::number(f.row))
                     + u':' + QLatin1String(names[int(f.kind)]);
    return found;
}

} // namespace

class ResidentTableTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("separator");
        QTest::addColumn<QString>("encoding");
        const QStringList polish{"Żółć", "Łódź", "Ścisła", "Źdźbło"};
        const QStringList german{"Müller", "Größe", "Äpfel", "Öztürk"};
        const QStringList nordic{"Ørsted", "Åberg", "Æbeltoft", "Søren"};
        const QStringList cyrillic{"Жуков", "Щукин", "Юрьев", "Ёлкин"};
        const QString encodings[] = {"UTF-8", "UTF-8 without mark", "UTF-16LE", "UTF-16BE"};
        for (int sep = 0; sep < 3; ++sep) {
            for (const QString& encoding : encodings) {
                for (const auto& [name, names] :
                     {std::pair{"Polish", polish}, std::pair{"German", german},
                      std::pair{"Nordic", nordic}, std::pair{"Cyrillic", cyrillic}})
                    QTest::addRow("%s, separator %d, %s", name, sep, qPrintable(encoding))
                        << names << sep << encoding;
            }
            // The code page holds the Polish and German letters only.
            QTest::addRow("Polish, separator %d, windows-1250", sep)
                << polish << sep << QStringLiteral("windows-1250");
            QTest::addRow("German, separator %d, windows-1250", sep)
                << QStringList{"Müller", "Schön", "Äpfel", "Öl"} << sep
                << QStringLiteral("windows-1250");
        }
    }
    void roundTrip()
    {
        QFETCH(QStringList, names);
        QFETCH(int, separator);
        QFETCH(QString, encoding);
        const DirectoryGrid grid = fullDirectory(names);
        const QByteArray bytes = encoded(tableBytes(grid, TableSeparator(separator)), encoding);
        const TableRead read = parseTable(bytes);
        QVERIFY(!read.refusal);
        QCOMPARE(int(read.separator), separator);
        QCOMPARE(read.headerRow, 1);
        QCOMPARE(read.encoding,
                 encoding == u"UTF-8 without mark" ? QStringLiteral("UTF-8") : encoding);
        // Nothing cut, changed or refused; Cyrillic letters the module shows
        // as Latin look-alikes are told.
        for (const TableFinding& f : read.findings)
            QCOMPARE(f.kind, TableFinding::Kind::LookAlike);
        QCOMPARE(int(read.entries.size()), 1020);
        const DirectoryGrid back = applyTable(DirectoryGrid{}, read, true);
        for (int row = 1; row <= kGridRows; ++row)
            QCOMPARE(back.entryText(row), grid.entryText(row));
    }

    // Exported rows: header, zone A, quoting, no empty entry.
    void exportBytes()
    {
        DirectoryGrid grid;
        const auto set = [&grid](int row, const QString& text) {
            for (int c = 0; c < text.size(); ++c)
                grid.setCell(row, c + 1, Cell(text[c]));
        };
        set(zoneRow(1, 17), QStringLiteral("Nowak, \"Jan\"    Biuro"));
        set(additionalNumberRow(3), QStringLiteral("Portier"));
        set(zoneRow(0, 1), QStringLiteral("Żak"));
        QCOMPARE(tableBytes(grid, TableSeparator::Comma),
                 QByteArray("\xEF\xBB\xBF"
                            "Zone,Apartment,Line 1,Line 2\r\n"
                            "1,1,\xC5\xBB"
                            "ak,\r\n"
                            "2,17,\"Nowak, \"\"Jan\"\"\",Biuro\r\n"
                            "A,3,Portier,\r\n"));
    }

    // A cell a spreadsheet would run as a formula goes out behind an
    // apostrophe and comes back without it; other cells go out as they are.
    void formulaCells_data()
    {
        QTest::addColumn<QString>("line1");
        QTest::addColumn<QString>("line2");
        QTest::addColumn<QByteArray>("written"); // the row as the file holds it
        QTest::addColumn<QString>("taken");      // line 2 as the import takes it
        const auto row = [](const char* name, const QString& line1, const QString& line2,
                            const QByteArray& written, const QString& taken) {
            QTest::newRow(name) << line1 << line2 << written << taken;
        };
        const QString nowak = QStringLiteral("Nowak");
        for (const char* formula : {"=1+1", "-1+1", "@SUM(A1:A9)", "+48 601 000", "=cmd|'/C x'!A0"})
            row(formula, nowak, QString::fromLatin1(formula),
                "1;1;Nowak;'" + QByteArray(formula) + "\r\n", QString::fromLatin1(formula));
        row("starts with '=", nowak, "'=x", "1;1;Nowak;''=x\r\n", "'=x");
        row("starts with ''+", nowak, "''+x", "1;1;Nowak;'''+x\r\n", "''+x");
        row("apostrophe before a letter", nowak, "'s Gravenhage", "1;1;Nowak;'s Gravenhage\r\n",
            "'s Gravenhage");
        row("signs inside", "Kowalski-Nowak", "A=B", "1;1;Kowalski-Nowak;A=B\r\n", "A=B");
        // The import drops the control character itself, after the apostrophe.
        row("starts with TAB", nowak, "\tx", "1;1;Nowak;'\tx\r\n", "x");
        row("starts with CR", nowak, "\rx", "1;1;Nowak;\"'\rx\"\r\n", "x");
    }
    void formulaCells()
    {
        QFETCH(QString, line1);
        QFETCH(QString, line2);
        QFETCH(QByteArray, written);
        QFETCH(QString, taken);
        DirectoryGrid grid;
        const QString text = line1.leftJustified(kLine1Length) + line2;
        for (int c = 0; c < text.size(); ++c)
            grid.setCell(zoneRow(0, 1), c + 1, Cell(text[c]));
        const QByteArray bytes = tableBytes(grid);
        QCOMPARE(bytes, QByteArray("\xEF\xBB\xBFZone;Apartment;Line 1;Line 2\r\n") + written);
        const TableRead read = parseTable(bytes);
        QCOMPARE(int(read.entries.size()), 1);
        QCOMPARE(read.entries[0].line1, line1);
        QCOMPARE(read.entries[0].line2, taken);
    }

    // Each awkward input: the findings (row:kind) and the entries taken, or
    // a refusal of the whole file.
    void awkward_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("findings");
        QTest::addColumn<int>("entries");
        QTest::addColumn<bool>("refused");
        const auto row = [](const char* name, const QByteArray& bytes, const QStringList& findings,
                            int entries, bool refused = false) {
            QTest::newRow(name) << bytes << findings << entries << refused;
        };
        row("quoted separators and quotes", "1;1;\"Nowak; \"\"Jan\"\"\";\"a\nb\"\n",
            {"1-2:joined", "1-2:rules", "1-2:control"}, 1);
        row("empty lines", "\n\n1;1;Nowak;\r\n\r\n;;;\r\n2;2;Kowal;\r\n", {}, 2);
        row("Polish header", "Strefa;Lokal;Linia 1;Linia 2\n1;1;Nowak;\n", {}, 1);
        row("German header, other order", "Zeile 1,Zone,Wohnung,Zeile 2\nNowak,4,255,\n", {}, 1);
        row("no header", "1\t1\tNowak\tBiuro\n", {}, 1);
        row("Excel's UTF-8 mark",
            "\xEF\xBB\xBFZone;Apartment;Line 1;Line 2\r\n1;1;\xC5\xBB"
            "ak;\r\n",
            {}, 1);
        row("windows-1250 without mark", "1;1;\xAF\xF3\xB3\xE6;\n", {}, 1);
        row("UTF-16 with mark",
            QByteArray("\xFF\xFE"
                       "1\0;\0"
                       "1\0;\0N\0o\0w\0a\0k\0;\0\n\0",
                       24),
            {}, 1);
        row("duplicate entry", "1;1;Nowak;\n1;1;Kowal;\n", {"2:duplicate"}, 1);
        row("zone A and 5", "A;1;Portier;\n5;8;Serwis;\n", {}, 2);
        row("zone 6, zone X", "6;1;Nowak;\nX;1;Nowak;\n", {"1:zone", "2:zone"}, 0);
        row("out of range", "1;0;Nowak;\n1;256;Nowak;\nA;9;Nowak;\n1;abc;Nowak;\n",
            {"1:number", "2:number", "3:number", "4:number"}, 0);
        row("over-long lines", "1;1;Kowalska-Nowakowska;Mieszkanie nr 12\n", {"1:cut", "1:cut"}, 1);
        row("a pasted TAB and ESC", "1,1,\"Nowak\tJan\x1B\",\n", {"1:control", "1:control"}, 1);
        row("rules: capital, leading digit", "1;1;kowal;\n1;2;12 Nowak;\n", {"1:rules", "2:rules"},
            2);
        row("line 2 alone", "1;1;;Biuro\n", {"1:no line 1"}, 0);
        row("look-alike and unsupported", "1;1;Firma\xC2\xA9;\n1;2;Caf\xE2\x82\xAC;\n",
            {"1:look-alike", "2:unsupported"}, 2);
        row("mixed line ends", "1;1;Nowak;\r\n1;2;Kowal;\r1;3;Zięba;\n", {}, 3);
        // A quote that does not close: its row is read with the quote as
        // text, the rows after it as they stand.
        row("quote never closes, first row", "\"Zone;Apartment;Line 1;Line 2\n1;1;Nowak;\n",
            {"1:quote"}, 1);
        row("quote never closes, middle row",
            "1;1;Nowak;\n1;2;\"Kowal;Jan\n1;3;Zięba;\n1;4;Wójcik;\n", {"2:quote", "2:rules"}, 4);
        row("quote never closes, last row", "1;1;Nowak;\n1;2;\"Kowal;\n", {"2:quote", "2:rules"},
            2);
        row("quote closes rows later, text behind it", "1;1;\"Nowak;\n1;2;Kowal;\n1;3;\"Zięba\";\n",
            {"1:quote", "1:rules"}, 3);
        row("quoted line break joins rows", "1;1;\"Nowak\n\";Jan\n1;2;Kowal;\n",
            {"1-2:joined", "1-2:control"}, 2);
        row("extra columns", "1;2;Wójcik;Jan;Maria;Anna\n", {"1:extra"}, 1);
        row("extra columns, comma inside a name", "1,1,Ząbek, Jan,X\n", {"1:extra"}, 1);
        row("empty cells past the columns", "1;1;Nowak;;;\n", {}, 1);
        row("short rows", "Zone;Apartment;Line 1;Line 2\n1;1;Nowak\n1;2\n",
            {"2:short", "3:short", "3:short"}, 1);
        row("header without line 2", "Zone;Apartment;Line 1\n1;1;Nowak\n", {"1:no column"}, 1);
        row("header with a column of no field",
            "Zone;Notes;Apartment;Line 1;Line 2;\n1;x;1;Nowak;;y\n", {"1:unread", "2:extra"}, 1);
        // The separator the header and the rows agree on.
        row("comma table, semicolon in a name", "1,5,Nowak; Jan,Kowalski\n", {"1:rules"}, 1);
        row("semicolon table, commas in a name", "1;5;A, B, C;D, E\n", {}, 1);
        row("header incomplete", "Zone;Apartment;Name\n1;1;Nowak\n", {}, 0, true);
        row("no separator", "Nowak\nKowal\n", {}, 0, true);
        row("binary", QByteArray("\xFF\xFE\x00\xD8\x00\xD8", 6), {}, 0, true);
        row("5 MB", QByteArray(5 * 1024 * 1024, ';'), {}, 0, true);
        QByteArray many;
        for (int z = 0; z < 4; ++z)
            for (int a = 1; a <= 255; ++a)
                many += QByteArray::number(z + 1) + ';' + QByteArray::number(a) + ";N;\n";
        many += "A;1;N;\n";
        row("1021 entries", many, {"1021:too many"}, 1020);
    }
    void awkward()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, findings);
        QFETCH(int, entries);
        QFETCH(bool, refused);
        const TableRead read = parseTable(bytes);
        QCOMPARE(read.refusal.has_value(), refused);
        QCOMPARE(kinds(read).join(u" "), findings.join(u" "));
        QCOMPARE(int(read.entries.size()), entries);
        // The report has a line for each finding, naming its row, then the summary.
        const QStringList report = tableReportText(read, 1).split(u'\n');
        QCOMPARE(report.size(), refused ? 1 : qsizetype(findings.size()) + 1);
        for (int i = 0; i < findings.size(); ++i) {
            const TableFinding& f = read.findings[std::size_t(i)];
            const QString where = f.lastRow ? QStringLiteral("rows %1–%2").arg(f.row).arg(f.lastRow)
                                            : QStringLiteral("row %1").arg(f.row);
            QVERIFY2(report[i].startsWith(where), qPrintable(report[i]));
        }
        QCOMPARE(read.takenAsItStood(), !refused && findings.isEmpty());
    }

    // The encoding guessed, or given, and the names it gives; a guess that
    // another code page could have made as well is told. The code pages'
    // bytes were made with Python's codecs.
    void encodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("given");    // empty: guessed
        QTest::addColumn<QString>("encoding"); // the report's; empty: refused
        QTest::addColumn<QStringList>("alsoPlausible");
        QTest::addColumn<QStringList>("names"); // line 1 of each entry
        const QStringList polish{"Dąbrowski", "Mańka", "Żółć", "Łęcka", "Ściegienny"};
        QString text;
        for (int i = 0; i < polish.size(); ++i)
            text += QStringLiteral("1;%1;%2;\n").arg(i + 1).arg(polish[i]);
        const QByteArray le = QStringEncoder(QStringEncoder::Utf16LE).encode(text);
        const QByteArray be = QStringEncoder(QStringEncoder::Utf16BE).encode(text);
        const QByteArray cp852 = "1;1;D\xA5"
                                 "browski;\n1;2;Ma\xE4ka;\n1;3;\xBD\xA2\x88\x86;\n"
                                 "1;4;\x9D\xA9"
                                 "cka;\n1;5;\x97"
                                 "ciegienny;\n";
        const auto row = [](const char* name, const QByteArray& bytes, const QString& given,
                            const QString& encoding, const QStringList& names,
                            const QStringList& alsoPlausible = {}) {
            QTest::newRow(name) << bytes << given << encoding << alsoPlausible << names;
        };
        row("UTF-8", "\xEF\xBB\xBF" + text.toUtf8(), {}, "UTF-8", polish);
        row("UTF-8 without mark", text.toUtf8(), {}, "UTF-8", polish);
        row("UTF-16LE", "\xFF\xFE" + le, {}, "UTF-16LE", polish);
        row("UTF-16BE", "\xFE\xFF" + be, {}, "UTF-16BE", polish);
        row("UTF-16LE without mark", le, {}, "UTF-16LE", polish);
        row("UTF-16BE without mark", be, {}, "UTF-16BE", polish);
        row("windows-1250",
            "1;1;D\xB9"
            "browski;\n1;2;Ma\xF1ka;\n1;3;\xAF\xF3\xB3\xE6;\n1;4;\xA3\xEA"
            "cka;\n"
            "1;5;\x8C"
            "ciegienny;\n",
            {}, "windows-1250", polish);
        row("ISO-8859-2",
            "1;1;D\xB1"
            "browski;\n1;2;Ma\xF1ka;\n1;3;\xAF\xF3\xB3\xE6;\n1;4;\xA3\xEA"
            "cka;\n"
            "1;5;\xA6"
            "ciegienny;\n",
            {}, "ISO-8859-2", polish);
        row("CP852", cp852, {}, "CP852", polish);
        row("ASCII", "1;1;Nowak;\n", {}, "UTF-8", {"Nowak"});
        // One letter that is a letter in two code pages: chosen, and told.
        row("Mańka alone in CP852", "1;1;Ma\xE4ka;\n", {}, "windows-1250", {"Maäka"}, {"CP852"});
        row("Dąbrowski alone in windows-1250",
            "1;1;D\xB9"
            "browski;\n",
            {}, "windows-1250", {"Dąbrowski"}, {"ISO-8859-2"});
        // German letters have the same bytes in windows-1250 and ISO-8859-2.
        row("German in windows-1250 or ISO-8859-2",
            "1;1;M\xFCller;Gr\xF6\xDF"
            "e\n",
            {}, "windows-1250", {"Müller"});
        row("German in CP852",
            "1;1;M\x81ller;Gr\x94\xE1"
            "e\n",
            {}, "CP852", {"Müller"});
        row("given: right", le, "utf-16le", "UTF-16LE", polish);
        row("given: its mark left out", "\xFE\xFF" + be, "UTF-16BE", "UTF-16BE", polish);
        // Its control character is left out, and told.
        row("given: wrong code page", cp852, "windows-1250", "windows-1250",
            {"DĄbrowski", "Maäka", "˝˘†", "ť©cka", "—ciegienny"});
        row("given: not valid UTF-8", cp852, "utf-8", {}, {});
    }
    void encodings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, given);
        QFETCH(QString, encoding);
        QFETCH(QStringList, alsoPlausible);
        QFETCH(QStringList, names);
        const TableRead read =
            parseTable(bytes, given.isEmpty() ? std::nullopt : tableEncodingNamed(given));
        QCOMPARE(read.refusal.has_value(), encoding.isEmpty());
        QCOMPARE(read.encoding, encoding);
        QCOMPARE(read.alsoPlausible, alsoPlausible);
        QStringList taken;
        for (const TableEntry& entry : read.entries)
            taken << entry.line1;
        QCOMPARE(taken, names);
        // A doubtful guess keeps the command from saying all was taken as it stood.
        if (!alsoPlausible.isEmpty())
            QVERIFY(!read.takenAsItStood());
    }

    void encodingReport()
    {
        const TableRead read = parseTable("1;1;Ma\xE4ka;\n");
        QCOMPARE(tableReportText(read, 1),
                 QStringLiteral("encoding: windows-1250 chosen, not CP852; both give letters "
                                "here, so check the names or choose the encoding\n"
                                "Rows: 1, entries taken: 1, findings: 0 (encoding windows-1250)."));
    }

    // Merge keeps what the table does not name; replace empties it; a row
    // with both lines empty empties its entry.
    void applyMergeOrReplace()
    {
        DirectoryGrid grid;
        grid.setCell(zoneRow(0, 1), 1, Cell(u'X'));
        grid.setCell(zoneRow(0, 2), 1, Cell(u'Y'));
        const TableRead read = parseTable("1;2;;\n1;3;Nowak;Biuro\n");
        QVERIFY(read.findings.empty());
        const DirectoryGrid merged = applyTable(grid, read, false);
        QCOMPARE(merged.entryText(zoneRow(0, 1)).trimmed(), QStringLiteral("X"));
        QVERIFY(merged.isEntryEmpty(zoneRow(0, 2)));
        QCOMPARE(merged.entryText(zoneRow(0, 3)), QStringLiteral("Nowak").leftJustified(16)
                                                      + QStringLiteral("Biuro").leftJustified(14));
        const DirectoryGrid replaced = applyTable(grid, read, true);
        QVERIFY(replaced.isEntryEmpty(zoneRow(0, 1)));
        QVERIFY(!replaced.isEntryEmpty(zoneRow(0, 3)));
        // Rows without the cells for a line never empty it: a two-column
        // table changes nothing, a three-column one keeps line 2.
        grid.setCell(zoneRow(0, 2), kLine2FirstColumn, Cell(u'Z'));
        const TableRead shortRows = parseTable("1;1\n1;2;Kowal\n");
        QCOMPARE(kinds(shortRows), (QStringList{"1:short", "1:short", "2:short"}));
        const DirectoryGrid kept = applyTable(grid, shortRows, false);
        QCOMPARE(kept.entryText(zoneRow(0, 1)), grid.entryText(zoneRow(0, 1)));
        QCOMPARE(kept.entryText(zoneRow(0, 2)),
                 QStringLiteral("Kowal").leftJustified(16) + QStringLiteral("Z").leftJustified(14));
    }

    void reportWords()
    {
        const TableRead read = parseTable("1;300;Nowak;\n2;5;Kowalska-Nowakowska;\n");
        QCOMPARE(tableReportText(read, 1),
                 QStringLiteral("row 1: number “300” is outside the zone's range; left out\n"
                                "row 2 (zone 2, apartment 5): line 1 is longer than 16 "
                                "characters; the rest was cut\n"
                                "Rows: 2, entries taken: 1, findings: 2 (encoding UTF-8)."));
        QCOMPARE(findingText(read.findings[1], 0),
                 QStringLiteral("wiersz 2 (strefa 2, lokal 5): linia 1 dłuższa niż 16 znaków; "
                                "resztę obcięto"));
    }
};

QTEST_GUILESS_MAIN(ResidentTableTest)
#include "tst_residenttable.moc"
