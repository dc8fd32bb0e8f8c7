// The program's own texts file as compiled in: its names are the program's keys and
// every one is used; every text is there in the three languages with the same
// placeholders. And the file's format, read all or nothing.
#include "base/FixedTexts.h"
#include "base/Localisation.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace q540;

namespace {

QSet<QString> matches(const QRegularExpression& pattern, const QString& text)
{
    QSet<QString> found;
    for (const QRegularExpressionMatch& m : pattern.globalMatch(text))
        found << m.captured(1);
    return found;
}

// Every key the program's sources name as FixedText::Name.
QSet<QString> keysNamedInSources()
{
    static const QRegularExpression use(QStringLiteral(R"(\bFixedText::(\w+))"));
    QSet<QString> keys;
    QDirIterator it(QStringLiteral(Q540_SOURCE_DIR),
                    {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            keys += matches(use, QString::fromUtf8(file.readAll()));
    }
    return keys;
}

QSet<QString> placeholders(const QString& text)
{
    static const QRegularExpression placeholder(QStringLiteral("(%\\d+)"));
    return matches(placeholder, text);
}

QString sorted(const QSet<QString>& names)
{
    QStringList list = names.values();
    list.sort();
    return list.join(QStringLiteral(", "));
}

} // namespace

class TestFixedTexts : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QFile file(QStringLiteral(":/texts/fixed-texts.tsv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        parsed_ = parseFixedTextTable(file.readAll());
        QVERIFY2(parsed_.error.isEmpty(), qPrintable(parsed_.error));
        for (const FixedTextRow& row : parsed_.rows)
            names_ << row.name;
    }

    // The build reads the names with its own pattern; it must find the lines the
    // program reads, in the same order.
    void namesAreTheKeys()
    {
        QStringList keys;
        for (std::string_view key : kFixedTextNames)
            keys << QString::fromLatin1(key.data(), qsizetype(key.size()));
        QCOMPARE(names_, keys);
    }

    // A key nothing uses is a text no one sees; a name in the sources that the file lacks
    // is a stale mention (the build refuses it in code).
    void everyKeyUsed()
    {
        const QSet<QString> inFile(names_.begin(), names_.end());
        const QSet<QString> inSources = keysNamedInSources();
        QVERIFY2((inFile - inSources).isEmpty(), qPrintable(sorted(inFile - inSources)));
        QVERIFY2((inSources - inFile).isEmpty(), qPrintable(sorted(inSources - inFile)));
    }

    void everyText_data()
    {
        QTest::addColumn<int>("key");
        for (int key = 0; key < int(names_.size()); ++key)
            QTest::newRow(qPrintable(names_[key])) << key;
    }
    // No text is empty, and a translation fills in what the others fill in.
    void everyText()
    {
        QFETCH(int, key);
        const QString english = fixedText(FixedText(key), 1);
        for (int language = 0; language < Localisation::kLanguageCount; ++language) {
            const QString text = fixedText(FixedText(key), language);
            QVERIFY2(!text.isEmpty(), qPrintable(QString::number(language)));
            QCOMPARE(placeholders(text), placeholders(english));
        }
    }

    // Texts whose spaces, dashes, quotes and line breaks the file must keep exactly.
    void exactTexts_data()
    {
        QTest::addColumn<FixedText>("key");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("expected");
        QTest::newRow("line break") << FixedText::IntroDiffers << 1
                                    << QStringLiteral("The module holds other intro screens than "
                                                      "were written; write them again:\n%1");
        QTest::newRow("double space")
            << FixedText::OverwriteFile << 0 << QStringLiteral("Nadpisać istniejący plik:  %1 ?");
        QTest::newRow("en dash") << FixedText::NoticeCut << 0
                                 << QStringLiteral("%1: %2 znaków, pole mieści %3 – nadmiar "
                                                   "pominięto.");
        QTest::newRow("German quotes")
            << FixedText::DifferenceLine << 2
            << QStringLiteral("%1: geschrieben „%2“, das Modul hält „%3“");
        QTest::newRow("spaces around") << FixedText::UnsupportedInEntry << 2
                                       << QStringLiteral("Zeichen ( %1 ) Im Top Nr: %2  ist mit "
                                                         "dem Modul nicht kompatibel!");
        QTest::newRow("language 3 is English") << FixedText::On << 3 << QStringLiteral("on");
        QTest::newRow("language -1 is English") << FixedText::Off << -1 << QStringLiteral("off");
    }
    void exactTexts()
    {
        QFETCH(FixedText, key);
        QFETCH(int, language);
        QFETCH(QString, expected);
        QCOMPARE(fixedText(key, language), expected);
    }

    void parseAcceptsFormat()
    {
        const FixedTextTableParse parsed =
            parseFixedTextTable("# comment\r\n\nSay1\t\"a\\nb\"\t\" x "
                                "\"\t\"q\"r\\\\\\t\"\r\nb\t\"\xc5\xbc\"\t\"-\"\t\"\"");
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
        QCOMPARE(parsed.rows.size(), std::size_t(2));
        QCOMPARE(parsed.rows[0].name, QStringLiteral("Say1"));
        const std::array<QString, 3> first{"a\nb", " x ", "q\"r\\\t"};
        QVERIFY(parsed.rows[0].cells == first);
        const std::array<QString, 3> second{QString::fromUtf8("\xc5\xbc"), "-", ""};
        QVERIFY(parsed.rows[1].cells == second);
    }

    void parseRejectsDamage_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("too few columns") << QByteArray("Name\t\"a\"\t\"b\"");
        QTest::newRow("too many columns") << QByteArray("Name\t\"a\"\t\"b\"\t\"c\"\t\"d\"");
        QTest::newRow("name with a digit first") << QByteArray("1Name\t\"a\"\t\"b\"\t\"c\"");
        QTest::newRow("name with an underscore") << QByteArray("A_b\t\"a\"\t\"b\"\t\"c\"");
        QTest::newRow("no name") << QByteArray("\t\"a\"\t\"b\"\t\"c\"");
        QTest::newRow("unquoted text") << QByteArray("Name\ta\t\"b\"\t\"c\"");
        QTest::newRow("lone quote") << QByteArray("Name\t\"a\"\t\"\t\"c\"");
        QTest::newRow("placeholder dash") << QByteArray("Name\t\"a\"\t\"b\"\t-");
        QTest::newRow("unknown escape") << QByteArray("Name\t\"a\\rb\"\t\"b\"\t\"c\"");
        QTest::newRow("backslash last") << QByteArray("Name\t\"a\"\t\"b\\\"\t\"c\"");
        QTest::newRow("not UTF-8") << QByteArray("Name\t\"Wyj\x9c"
                                                 "cie\"\t\"b\"\t\"c\"");
    }
    void parseRejectsDamage()
    {
        QFETCH(QByteArray, data);
        const FixedTextTableParse parsed = parseFixedTextTable("Ok\t\"a\"\t\"b\"\t\"c\"\n" + data);
        QVERIFY(!parsed.error.isEmpty());
        QVERIFY(parsed.rows.empty());
    }

private:
    FixedTextTableParse parsed_;
    QStringList names_;
};

QTEST_GUILESS_MAIN(TestFixedTexts)
#include "tst_fixedtexts.moc"
