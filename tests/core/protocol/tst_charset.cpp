#include "protocol/ModuleCharset.h"
#include "support/RecordingSink.h"

#include <QTest>

using namespace q540;

namespace {

const QString kEuro(QChar(0x20AC));

// One UTF-16 code unit a position, the rest spaces, as the callers fill it.
CellBlock cellBlockOf(const QString& text)
{
    CellBlock cellBlock;
    cellBlock.fill(' ');
    for (qsizetype i = 0; i < text.size(); ++i)
        cellBlock[std::size_t(i)] = text[i].unicode();
    return cellBlock;
}

QList<int> codeRange(int first, int last)
{
    QList<int> codes;
    for (int code = first; code <= last; ++code)
        codes << code;
    return codes;
}

} // namespace

class CharsetTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void unsupported_data();
    void unsupported();
    void fromModule_data();
    void fromModule();
};

void CharsetTest::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("codes");
    QTest::addColumn<QString>("readBack"); // empty: the text itself
    QTest::newRow("Polish") << u"ĄĆĘŁŃÓŚŹŻąćęłńóśźż"_qs << codeRange(1, 18) << QString();
    QTest::newRow("Nordic and German") << u"åÅøØæÆöÖäÄüÜ"_qs << codeRange(19, 30) << QString();
    QTest::newRow("Czech and Slovak capitals")
        << u"ÁČĎÉĚÍŇŘŠŤÚŮÝŽ"_qs << codeRange(128, 141) << QString();
    QTest::newRow("Cyrillic capitals")
        << u"БГЁЖЗИЙЛПУФЧШЪЫЭЮЯ"_qs << codeRange(160, 177) << QString();
    QTest::newRow("Cyrillic small")
        << u"бвгёжзийклмнптчшъыьэюя"_qs << codeRange(178, 199) << QString();
    QTest::newRow("Cyrillic from 224") << u"ДЦЩдфцщ"_qs << codeRange(224, 230) << QString();
    QTest::newRow("Łódź") << u"Łódź"_qs << QList<int>{4, 15, 100, 17} << QString();
    QTest::newRow("ć, З, Э") << u"ćЗЭ"_qs << QList<int>{11, 164, 175} << QString();
    QTest::newRow("Cyrillic С О К read as Latin")
        << u"\u0421\u041E\u041A"_qs << QList<int>{67, 79, 75} << u"COK"_qs;
    QTest::newRow("every look-alike")
        << u"АВЕКМНОРСТХЬаеорсух"_qs << QList<int>{65, 66, 69, 75,  77,  72,  79, 80,  67, 84,
                                                   88, 98, 97, 101, 111, 112, 99, 121, 120}
        << u"ABEKMHOPCTXbaeopcyx"_qs;
    QTest::newRow("à goes as 224, which shows Д") << u"à"_qs << QList<int>{224} << u"Д"_qs;
    QTest::newRow("é and ß go as their code points")
        << u"éß"_qs << QList<int>{233, 223} << QString();
    QTest::newRow("lower-case Czech á passes, capital Á has a code")
        << u"áÁ"_qs << QList<int>{225, 128} << u"ЦÁ"_qs;
}

void CharsetTest::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, codes);
    QFETCH(QString, readBack);
    for (const bool flagBefore : {false, true}) {
        CellBlock cellBlock = cellBlockOf(text);
        bool refused = flagBefore;
        test::RecordingSink sink;

        QVERIFY(toModuleCodes(cellBlock, 1, true, refused, sink, 0));

        QCOMPARE(refused, flagBefore);
        QVERIFY(sink.events.isEmpty());
        QCOMPARE(QList<int>(cellBlock.begin(), cellBlock.begin() + codes.size()), codes);
        const QString back = fromModuleCodes(cellBlock, QString(32, u' '), 32);
        QCOMPARE(back, (readBack.isEmpty() ? text : readBack).leftJustified(32, u' '));
    }
}

void CharsetTest::unsupported_data()
{
    QTest::addColumn<QString>("text"); // a leading Ł shows that positions before are converted
    QTest::addColumn<bool>("intro");
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("failAt");      // -1: converts whole
    QTest::addColumn<QString>("message"); // empty: none shown
    const QString line1 = u"Łódź"_qs.leftJustified(16, u' ');
    const QString line2Euro = line1 + u"ab"_qs + kEuro + u"ć"_qs;
    QTest::newRow("Polish entry, euro in line 2")
        << line2Euro << false << 0 << 18
        << u"Znak ( € ) w Lokalu nr: 12  nie jest obsługiwany przez moduł!"_qs;
    QTest::newRow("English entry")
        << line2Euro << false << 1 << 18
        << u"Sign ( € ) In Apartment No: 12  is not compatible with the module!"_qs;
    QTest::newRow("German entry")
        << line2Euro << false << 2 << 18
        << u"Zeichen ( € ) Im Top Nr: 12  ist mit dem Modul nicht kompatibel!"_qs;
    QTest::newRow("Polish intro")
        << line2Euro << true << 0 << 18
        << u"Znak ( € ) w Intro nr: 3  nie jest obsługiwany przez moduł!"_qs;
    QTest::newRow("English intro")
        << line2Euro << true << 1 << 18
        << u"Sign ( € ) In Intro nr: 3  is not compatible with the module!"_qs;
    QTest::newRow("German intro")
        << line2Euro << true << 2 << 18
        << u"Zeichen ( € ) Im Intro nr: 3  ist mit dem Modul nicht kompatibel!"_qs;
    QTest::newRow("language 3: no message, still stops")
        << line2Euro << false << 3 << 18 << QString();
    QTest::newRow("ê (234), first above the limit")
        << u"Łê"_qs << false << 0 << 1
        << u"Znak ( ê ) w Lokalu nr: 12  nie jest obsługiwany przez moduł!"_qs;
    QTest::newRow("lower-case Czech č")
        << u"Łč"_qs << false << 1 << 1
        << u"Sign ( č ) In Apartment No: 12  is not compatible with the module!"_qs;
    QTest::newRow("a character of two code units is named whole")
        << u"Ł😀"_qs << false << 1 << 1
        << u"Sign ( 😀 ) In Apartment No: 12  is not compatible with the module!"_qs;
    const QString atEnd = u"Ł"_qs.leftJustified(30, u' ') + kEuro + kEuro;
    QTest::newRow("entry leaves positions 30 and 31 alone")
        << atEnd << false << 0 << -1 << QString();
    QTest::newRow("intro checks position 30")
        << atEnd << true << 1 << 30
        << u"Sign ( € ) In Intro nr: 3  is not compatible with the module!"_qs;
}

void CharsetTest::unsupported()
{
    QFETCH(QString, text);
    QFETCH(bool, intro);
    QFETCH(int, language);
    QFETCH(int, failAt);
    QFETCH(QString, message);
    const CellBlock original = cellBlockOf(text);
    for (const bool flagBefore : {false, true}) {
        CellBlock cellBlock = original;
        bool refused = flagBefore;
        test::RecordingSink sink;

        QCOMPARE(toModuleCodes(cellBlock, intro ? 3 : 12, intro, refused, sink, language),
                 failAt < 0);

        QCOMPARE(refused, flagBefore || failAt >= 0);
        QCOMPARE(sink.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(cellBlock[0], 4);
        const std::size_t untouched = failAt < 0 ? 30 : std::size_t(failAt);
        QVERIFY(std::equal(cellBlock.begin() + untouched, cellBlock.end(),
                           original.begin() + untouched));
    }
}

void CharsetTest::fromModule_data()
{
    QTest::addColumn<QList<int>>("codes"); // cellBlock starts with these; the rest is 255
    QTest::addColumn<QString>("source");
    QTest::addColumn<int>("byteCount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("unwritten intro reads as spaces")
        << QList<int>{} << QString(32, u' ') << 32 << QString(32, u' ');
    QTest::newRow("entry: 30 of a 35-character template")
        << QList<int>{4, 255, 15} << QString(35, u'.') << 30
        << u"Ł ó"_qs.leftJustified(30, u' ') + u"....."_qs;
    QTest::newRow("0 reads as code point 0")
        << QList<int>{0, 'A'} << u"  "_qs << 2 << QString(QChar(0)) + u"A"_qs;
    QTest::newRow("codes outside the table are code points")
        << QList<int>{31, 127, 142, 159, 200, 223, 231, 233, 254} << QString(9, u' ') << 9
        << u"\u001F\u007F\u008E\u009F\u00C8\u00DF\u00E7\u00E9\u00FE"_qs;
    QTest::newRow("short template is padded") << QList<int>{4, 15} << QString() << 3 << u"Łó "_qs;
    QTest::newRow("count beyond the buffer stops at 32")
        << QList<int>{} << QString(34, u'.') << 40 << QString(32, u' ') + u".."_qs;
    QTest::newRow("negative count changes nothing") << QList<int>{} << u"ab"_qs << -1 << u"ab"_qs;
}

void CharsetTest::fromModule()
{
    QFETCH(QList<int>, codes);
    QFETCH(QString, source);
    QFETCH(int, byteCount);
    QFETCH(QString, expected);
    CellBlock cellBlock;
    cellBlock.fill(255);
    std::copy(codes.begin(), codes.end(), cellBlock.begin());
    CellBlock expectedCells = cellBlock;

    QCOMPARE(fromModuleCodes(cellBlock, source, byteCount), expected);

    // The buffer itself keeps the spaces, inside the converted positions only.
    for (int i = 0; i < std::clamp(byteCount, 0, 32); ++i) {
        if (expectedCells[std::size_t(i)] == 255)
            expectedCells[std::size_t(i)] = ' ';
    }
    QCOMPARE(QList<int>(cellBlock.begin(), cellBlock.end()),
             QList<int>(expectedCells.begin(), expectedCells.end()));
}

QTEST_GUILESS_MAIN(CharsetTest)
#include "tst_charset.moc"
