// Writes the fuzzers' seed corpus into <folder>/directory_file and <folder>/list_file:
// directory files as the program saves them, and list files laid out as the older
// releases wrote them.
#include "files/DirectoryFile.h"
#include "files/ListFile.h"
#include "files/ResidentTable.h"

#include <QDir>
#include <QFile>
#include <QList>

#include <cstdio>

using namespace q540;

namespace {

bool save(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

void setLine(DirectoryGrid& grid, int row, int firstColumn, const QString& text)
{
    for (int i = 0; i < text.size() && i < kGridColumns / 2; ++i)
        grid.setCell(row, firstColumn + i, Cell(text.at(i)));
}

QList<DirectoryDocument> directories()
{
    DirectoryDocument empty;
    empty.fields.address = QStringLiteral("Adres:");

    DirectoryDocument small = empty;
    small.fields.address = QStringLiteral("ul. Długa 5");
    small.fields.intro[0] = QStringLiteral("Witamy");
    small.fields.intro[1] = QStringLiteral("Zapraszamy");
    small.fields.timeIndex = kIntroTimeNone;
    small.fields.moduleLanguage = 2;
    setLine(small.grid, 1, 1, QStringLiteral("Kowalski"));
    setLine(small.grid, 1, 17, QStringLiteral("Jan"));
    setLine(small.grid, zoneRow(3, 255), 1, QStringLiteral("Żółć Ęą"));
    setLine(small.grid, additionalNumberRow(8), 1, QStringLiteral("Portiernia"));
    setLine(small.grid, additionalNumberRow(8), 17, QStringLiteral("czynna 7-15 AB"));

    DirectoryDocument full = small;
    full.fields.timeIndex = 14;
    const QString polish = QStringLiteral("AĄBCĆDEĘFGHIJKLŁMNŃOÓPRSŚTUWYZŹŻ ");
    for (int row = 1; row <= kGridRows; ++row) {
        for (int c = 1; c <= kGridColumns; ++c)
            full.grid.setCell(row, c, Cell(polish.at((row * 7 + c) % polish.size())));
    }
    return {empty, small, full};
}

QList<QByteArray> lists()
{
    QList<QByteArray> v4(521);
    v4[0] = "KOR-LCDv4";
    v4[1] = "Kowalski";
    v4[2] = "Jan";
    v4[3] = " pominiety";
    v4[5] = "\xA3\xF3\x64\x9F \xAF\xF3\xB3\xE6"; // Windows-1250 letters
    v4[6] = "\x8C\x9C\x8F\xA5\xB9";
    v4[511] = "Witamy";
    v4[520] = "5";
    QList<QByteArray> v43 = v4;
    v43[0] = "KOR-Q540 v43";
    for (int j = 1; j <= kListFileEntryCount; ++j) {
        v43[2 * j - 1] = "Nazwisko " + QByteArray::number(j);
        v43[2 * j] = "Imie";
    }
    v43[520] = "";
    return {v4.join("\r\n") + "\r\n", v43.join("\n")};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("directory_file"))
        || !folder.mkpath(QStringLiteral("list_file"))
        || !folder.mkpath(QStringLiteral("resident_table")))
        return 1;
    int n = 0;
    for (const DirectoryDocument& document : directories()) {
        if (!save(folder.filePath(QStringLiteral("directory_file/seed%1.csv").arg(++n)),
                  directoryFileBytes(document)))
            return 1;
    }
    for (const QByteArray& list : lists()) {
        if (!save(folder.filePath(QStringLiteral("list_file/seed%1.txt").arg(++n)), list))
            return 1;
    }
    // Tables as the export writes them, in each separator, and one a
    // spreadsheet might save: Windows-1250, a Polish header, quoted fields,
    // a formula behind its apostrophe.
    const TableSeparator separators[] = {TableSeparator::Semicolon, TableSeparator::Comma,
                                         TableSeparator::Tab};
    for (const DirectoryDocument& document : directories()) {
        for (const TableSeparator separator : separators) {
            if (!save(folder.filePath(QStringLiteral("resident_table/seed%1.csv").arg(++n)),
                      tableBytes(document.grid, separator)))
                return 1;
        }
    }
    if (!save(folder.filePath(QStringLiteral("resident_table/seed%1.csv").arg(++n)),
              "Strefa;Lokal;Linia 1;Linia 2\r\n1;1;\"\xAF\xF3\xB3\xE6; \"\"Jan\"\"\";Biuro\r\n"
              "A;8;Portier;\r\n5;300;x;\r\n1;2;Nowak;'=1+1\r\n"))
        return 1;
    // A DOS program's table in code page 852, and one in UTF-16 without a mark.
    if (!save(folder.filePath(QStringLiteral("resident_table/seed%1.csv").arg(++n)),
              "1;1;D\xA5"
              "browski;\r\n1;2;Ma\xE4ka;\r\n1;3;\xBD\xA2\x88\x86;\r\n")
        || !save(folder.filePath(QStringLiteral("resident_table/seed%1.csv").arg(++n)),
                 QByteArray("1\0;\0"
                            "1\0;\0N\0\r\0\n\0",
                            14)))
        return 1;
    // Hand-made tables: a quote that runs over rows, a quoted line break,
    // extra and missing cells, a header column of no field.
    if (!save(folder.filePath(QStringLiteral("resident_table/seed%1.csv").arg(++n)),
              "Zone,Notes,Apartment,Line 1,Line 2\n1,x,1,\"Nowak, Jan\n1,,2,Kowal,\"a\nb\"\n"
              "1,,3,Ząbek, Jan,X\n1,,4\n1,,5,\"Wilk\"x,\n"))
        return 1;
    return 0;
}
