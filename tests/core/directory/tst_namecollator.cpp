#include "directory/DirectoryGrid.h"
#include "directory/NameCollator.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

#include <algorithm>
#include <array>
#include <random>
#include <string_view>

using namespace q540;
using namespace Qt::StringLiterals;

namespace {

// An entry text as the name list holds it: line 1 and line 2 padded with spaces.
QString entry(const QString& line1, const QString& line2 = {})
{
    return line1.leftJustified(kLine1Length) + line2.leftJustified(kLine2Length);
}

// Entry texts from "line 1|line 2" pairs; without a bar the whole name is line 1.
QStringList entries(const QStringList& names)
{
    QStringList texts;
    for (const QString& name : names)
        texts << entry(name.section(u'|', 0, 0), name.section(u'|', 1));
    return texts;
}

QStringList padded(const QStringList& names)
{
    QStringList texts;
    for (const QString& name : names)
        texts << name.leftJustified(kEntryTextLength);
    return texts;
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

int keyOrder(const NameCollator& collator, const QString& a, const QString& b)
{
    const QByteArray keyA = collator.sortKey(a);
    const QByteArray keyB = collator.sortKey(b);
    return keyA < keyB ? -1 : keyB < keyA ? 1 : 0;
}

const QStringList kPolishExample = {
    "10abc", "1abc",    "9abc",   "A B",    "A&B",   "AA",      "AAA",      "aab",   "ab",
    "AB",    "abc",     "aBc",    "Abc",    "ABC",   "az",      "ąb",       "cma",   "coop",
    "coo-p", "co-op",   "Coop",   "Co-op",  "ćma",   "Dr Lang", "Dr. Lang", "Lodz",  "Lwów",
    "Łódź",  "Mueller", "Muller", "Müller", "Oneil", "ONeil",   "O'Neil",   "Zosia", "Zośka"};

// Padding makes every text 30 characters, so a text that drops a hyphen or apostrophe is one
// character shorter and comes before its twins.
const QStringList kPolishExamplePadded = {
    "10abc", "1abc",    "9abc",   "A B",    "A&B",    "AA",      "AAA",      "aab",   "ab",
    "AB",    "abc",     "aBc",    "Abc",    "ABC",    "az",      "ąb",       "cma",   "coo-p",
    "co-op", "Co-op",   "coop",   "Coop",   "ćma",    "Dr Lang", "Dr. Lang", "Lodz",  "Lwów",
    "Łódź",  "Mueller", "Muller", "Müller", "O'Neil", "Oneil",   "ONeil",    "Zosia", "Zośka"};

const QStringList kEnglishExample = {
    "10abc", "1abc",    "9abc",   "A B",    "A&B",   "AA",      "AAA",      "aab",   "ab",
    "AB",    "ąb",      "abc",    "aBc",    "Abc",   "ABC",     "az",       "cma",   "ćma",
    "coop",  "coo-p",   "co-op",  "Coop",   "Co-op", "Dr Lang", "Dr. Lang", "Lodz",  "Łódź",
    "Lwów",  "Mueller", "Muller", "Müller", "Oneil", "ONeil",   "O'Neil",   "Zosia", "Zośka"};

const QStringList kGermanEntries = {
    "Ćwik",   "Cwikla", "D'Angelo",      "Dangelo",      "Dr Oz",           "Dr. Öz",  "Mueller",
    "Muller", "Müller", "Müller|2. OG",  "Müller Lang",  "Müller-Lang",     "Müllers", "Oelmann",
    "Olmann", "Ölmann", "Roth|Hof-Haus", "Roth|Hofhaus", "Roth|Vorderhaus", "Zoller",  "Zöllner"};

// Empty and mark-only texts, soft hyphens, decomposed accents and a no-break space.
const QStringList kTrickyTexts = {
    "",           " ",           "-",     "'",     "\u00AD", "--",     "'-",
    "-'",         "coop",        "co-op", "Co-op", "coo-p",  "co'op",  "Coop",
    "co\u00ADop", "u\u0308ller", "üller", "uller", "\u00A0", "Müller", "Muller",
    "Mueller",    "ąb",          "ab",    "AB",    "Łódź",   "Lodz"};

} // namespace

class NameCollatorTest : public QObject {
    Q_OBJECT

private slots:
    void listOrder_data();
    void listOrder();
    void pairOrder_data();
    void pairOrder();
    void dashesOnlyBreakTies_data();
    void dashesOnlyBreakTies();
    void symbolsBeforeDigitsBeforeLetters_data();
    void symbolsBeforeDigitsBeforeLetters();
    void strictWeakOrderAgreeingWithKeys_data();
    void strictWeakOrderAgreeingWithKeys();
};

void NameCollatorTest::listOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("pl example") << "pl" << kPolishExample;
    QTest::newRow("pl example padded") << "pl" << padded(kPolishExamplePadded);
    QTest::newRow("en example") << "en" << kEnglishExample;
    QTest::newRow("de example") << "de" << kEnglishExample;
    QTest::newRow("pl entries") << "pl"
                                << entries({"Cwikla", "Ćwik", "Kowalska-Nowak", "Kowalski",
                                            "Kowalski|m. 12", "Lwowski", "Łukasz", "Zyta",
                                            "Źrebiec", "Żak"});
    // A hyphen or apostrophe in line 1 moves line 2 one place left, where it meets the other
    // text's padding: "O'Brien / Flat 3" sorts after "OBrien / Flat 3".
    QTest::newRow("en entries") << "en"
                                << entries({"|Flat 2",       "12 Baker St",    "1A Baker St",
                                            "2 Baker St",    "Adams & Co",     "Adams J",
                                            "Adams, J.",     "Adamson",        "Adams-Smith",
                                            "Muller",        "Müller",         "Mullins",
                                            "O'Brien",       "Obrien",         "OBrien",
                                            "OBrien|Flat 3", "O'Brien|Flat 3", "Smith Jones",
                                            "Smith, Anne",   "Smithers",       "Smith-Jones"});
    QTest::newRow("de entries") << "de" << entries(kGermanEntries);
}

void NameCollatorTest::listOrder()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, order);
    const NameCollator collator(locale);

    for (qsizetype i = 1; i < order.size(); ++i)
        QVERIFY2(collator.sortKey(order[i - 1]) != collator.sortKey(order[i]),
                 qPrintable(order[i - 1] + " ties with " + order[i]));

    std::mt19937 random(1028);
    QStringList byKey = order;
    std::shuffle(byKey.begin(), byKey.end(), random);
    std::vector<std::pair<QByteArray, QString>> keyed;
    for (const QString& text : byKey)
        keyed.emplace_back(collator.sortKey(text), text);
    std::sort(keyed.begin(), keyed.end());
    byKey.clear();
    for (const auto& [key, text] : keyed)
        byKey << text;
    QCOMPARE(byKey, order);

    QStringList byCompare = order;
    std::shuffle(byCompare.begin(), byCompare.end(), random);
    std::sort(byCompare.begin(), byCompare.end(),
              [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    QCOMPARE(byCompare, order);
}

void NameCollatorTest::pairOrder_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");
    struct Pair {
        const char* name;
        const char* locale;
        const char* a;
        const char* b;
        int order;
    };
    const Pair pairs[] = {
        {"soft hyphen ignored", "pl", "co\u00ADop", "coop", 0},
        {"soft hyphen alone is empty", "pl", "\u00AD", "", 0},
        {"soft hyphen takes no position", "pl", "c\u00ADoo-p", "coo-p", 0},
        {"apostrophe before hyphen", "pl", "co'op", "co-op", -1},
        {"marks compared in text order", "en", "co'-op", "co-'op", -1},
        {"shorter special section first", "en", "co-op", "co-o-p", -1},
        {"lone hyphen before a space", "en", "-", " ", -1},
        {"lone hyphen after nothing", "en", "", "-", -1},
        {"spaces are not ignored", "de", "ab c", "abc", -1},
        {"accent before case", "de", "Muller", "müller", -1},
        {"pl ogonek is a letter", "pl", "azz", "ąa", -1},
        {"en ogonek is an accent", "en", "ąa", "azz", -1},
        {"pl stroke is a letter", "pl", "lz", "łb", -1},
        {"de stroke is an accent", "de", "łb", "lz", -1},
    };
    for (const Pair& pair : pairs)
        QTest::newRow(pair.name) << QString(pair.locale) << QString(pair.a) << QString(pair.b)
                                 << pair.order;
    // Keys longer than any entry text.
    const QString ogoneks(300, u'ą');
    QTest::newRow("long texts") << "pl" << ogoneks + "-b" << ogoneks + "c" << -1;
    QTest::newRow("long equal texts") << "pl" << ogoneks + "-" << ogoneks + "-" << 0;
}

void NameCollatorTest::pairOrder()
{
    QFETCH(QString, locale);
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    const NameCollator collator(locale);
    QCOMPARE(sign(collator.compare(a, b)), order);
    QCOMPARE(sign(collator.compare(b, a)), -order);
    QCOMPARE(keyOrder(collator, a, b), order);
    if (order == 0)
        QCOMPARE(collator.sortKey(a), collator.sortKey(b));
}

void NameCollatorTest::dashesOnlyBreakTies_data()
{
    QTest::addColumn<QChar>("mark");
    for (const char16_t mark :
         std::u16string_view(u"'-\u2010\u2011\u2012\u2013\u2014\u2212\uFF07\uFF0D"))
        QTest::addRow("U+%04X", int(mark)) << QChar(mark);
}

void NameCollatorTest::dashesOnlyBreakTies()
{
    QFETCH(QChar, mark);
    const NameCollator collator("en");
    const QString marked = QString("co") + mark + "op";
    QCOMPARE(keyOrder(collator, "coop", marked), -1);
    QCOMPARE(keyOrder(collator, marked, "Coop"), -1);
    QCOMPARE(sign(collator.compare("coop", marked)), -1);
    QCOMPARE(sign(collator.compare(marked, "Coop")), -1);
}

void NameCollatorTest::symbolsBeforeDigitsBeforeLetters_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("pl") << "pl";
    QTest::newRow("en") << "en";
    QTest::newRow("de") << "de";
    // Thai's own collation leaves spaces and punctuation out of the comparison.
    QTest::newRow("th") << "th";
}

void NameCollatorTest::symbolsBeforeDigitsBeforeLetters()
{
    QFETCH(QString, locale);
    const NameCollator collator(locale);
    const QString order = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>09a";
    for (qsizetype i = 1; i < order.size(); ++i) {
        const QString before = QString("x") + order[i - 1] + "b";
        const QString after = QString("x") + order[i] + "a";
        QVERIFY2(keyOrder(collator, before, after) < 0, qPrintable(before + " vs " + after));
        QVERIFY2(collator.compare(before, after) < 0, qPrintable(before + " vs " + after));
    }
}

void NameCollatorTest::strictWeakOrderAgreeingWithKeys_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("pl") << "pl";
    QTest::newRow("en") << "en";
    QTest::newRow("de") << "de";
}

void NameCollatorTest::strictWeakOrderAgreeingWithKeys()
{
    QFETCH(QString, locale);
    const NameCollator collator(locale);

    QStringList pool = kTrickyTexts;
    pool << QString(QChar(0xD83D)) << QString(QChar(0xDE00)) + "a" << u"\xD83D\xDE00"_s;
    pool += padded(pool);
    const QString alphabet = u"aAąĄbBzZżŻlłŁuüU\u0308 -'\u00AD.,&09\u2013\uFF07\xD83D\xDE00"_s;
    QRandomGenerator random(540);
    while (pool.size() < 400) {
        QString text;
        for (int n = random.bounded(9); n > 0; --n)
            text += alphabet[random.bounded(int(alphabet.size()))];
        pool << (random.bounded(3) == 0 ? text.leftJustified(kEntryTextLength) : text);
    }

    QHash<QString, QByteArray> keys;
    for (const QString& text : pool)
        keys.insert(text, collator.sortKey(text));
    const auto keyOrderOf = [&](const QString& a, const QString& b) {
        return keys.value(a) < keys.value(b) ? -1 : keys.value(b) < keys.value(a) ? 1 : 0;
    };

    for (int round = 0; round < 5000; ++round) {
        const std::array<QString, 3> t = {pool[random.bounded(int(pool.size()))],
                                          pool[random.bounded(int(pool.size()))],
                                          pool[random.bounded(int(pool.size()))]};
        const QByteArray triple = (t[0] + " | " + t[1] + " | " + t[2]).toUtf8();
        int s[3][3];
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                s[i][j] = sign(collator.compare(t[i], t[j]));
                QVERIFY2(s[i][j] == keyOrderOf(t[i], t[j]), triple.constData());
            }
            QVERIFY2(s[i][i] == 0, triple.constData());
        }
        for (const auto& [i, j, k] :
             {std::array{0, 1, 2}, std::array{0, 2, 1}, std::array{1, 0, 2}, std::array{1, 2, 0},
              std::array{2, 0, 1}, std::array{2, 1, 0}}) {
            QVERIFY2(s[i][j] == -s[j][i], triple.constData());
            if (s[i][j] <= 0 && s[j][k] <= 0)
                QVERIFY2(s[i][k] <= 0 && (s[i][k] < 0) == (s[i][j] < 0 || s[j][k] < 0),
                         triple.constData());
        }
    }
}

QTEST_GUILESS_MAIN(NameCollatorTest)
#include "tst_namecollator.moc"
