#include "base/Localisation.h"

#include <QTest>
#include <memory>

using namespace q540;

class TestLocalisation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { texts_.load(); }

    void emptyUntilFilled()
    {
        const auto fresh = std::make_unique<Localisation>();
        QCOMPARE(fresh->language(), 0);
        for (const TextColumn& column : fresh->columns()) {
            for (const QString& cell : column.texts)
                QVERIFY(cell.isEmpty());
        }
    }

    // Counted over all 801 keys, so an unlisted key that is not empty shows up as well.
    void columnCounts_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("expectedTexts");
        QTest::addColumn<int>("expectedPlaceholders");
        QTest::addColumn<int>("expectedEmpty");
        QTest::newRow("Polish") << 0 << 152 << 0 << 649;
        QTest::newRow("English") << 1 << 153 << 0 << 648;
        QTest::newRow("German") << 2 << 152 << 0 << 649;
        QTest::newRow("reserved Test") << 3 << 1 << 154 << 646;
        QTest::newRow("reserved Czech") << 4 << 0 << 155 << 646;
        QTest::newRow("Slovak") << 5 << 32 << 123 << 646;
    }
    // Every text the program can show in English or German is a text, not
    // the "?key" placeholder: walks every key of the table.
    void noPlaceholderInEnglishOrGerman()
    {
        QStringList placeholders;
        for (int key = 0; key < kTextKeyCount; ++key) {
            for (const int column : {1, 2}) {
                if (texts_.text(column, key) == u'?' + QString::number(key))
                    placeholders << QStringLiteral("%1 in column %2").arg(key).arg(column);
            }
        }
        QVERIFY2(placeholders.isEmpty(), qPrintable(placeholders.join(QStringLiteral(", "))));
    }
    void columnCounts()
    {
        QFETCH(int, column);
        QFETCH(int, expectedTexts);
        QFETCH(int, expectedPlaceholders);
        QFETCH(int, expectedEmpty);
        int texts = 0, placeholders = 0, empty = 0;
        for (int key = 0; key < kTextKeyCount; ++key) {
            const QString& cell = texts_.columns()[column].texts[key];
            if (cell.isEmpty())
                ++empty;
            else if (cell == u'?' + QString::number(key))
                ++placeholders;
            else
                ++texts;
        }
        QCOMPARE(texts, expectedTexts);
        QCOMPARE(placeholders, expectedPlaceholders);
        QCOMPARE(empty, expectedEmpty);
    }

    void cells_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, int column, int key, const char* expected) {
            QTest::newRow(name) << column << key << QString::fromUtf8(expected);
        };
        row("47 Polish", 0, 47, " ADRESY ODBIORNIKÓW  ");
        row("47 English", 1, 47, "INSIDE UNIT'S ADDRESS");
        row("47 German", 2, 47, "INNENSTATION ADRESSE ");
        row("trailing spaces 140", 0, 140, "Czy skasować całą zawartość pamięci?   ");
        row("leading spaces 48", 1, 48, "      Lock reset");
        row("double space 35", 0, 35, "Obsługa modułu  WEX");
        row("padded 771", 1, 771, "Connection status: Disconnected  ");
        row("English 41", 1, 41, "Undo");
        row("English 65", 1, 65, "Write error!");
        row("English 140", 1, 140, "Erase the whole memory?   ");
        row("German 140", 2, 140, "Den gesamten Speicher löschen?   ");
        row("German 135", 2, 135, "Die Daten wurden gelöscht.");
        row("German 752", 2, 752, "Möchten Sie das Programm wirklich beenden?");
        row("empty Polish 31", 0, 31, "");
        row("empty Polish 138", 0, 138, "");
        row("empty Polish 139", 0, 139, "");
        row("empty English 138", 1, 138, "");
        row("empty German 71", 2, 71, "");
        row("German 70", 2, 70, "Introanzeigezeit");
        row("Test 24", 3, 24, "Test");
        row("reserved 3 key 25", 3, 25, "?25");
        row("reserved 4 key 24", 4, 24, "?24");
        row("Slovak 24", 5, 24, "Rusky");
        row("Slovak 1", 5, 1, "Nowy");
        row("Slovak 21", 5, 21, "Poľsky");
        row("Slovak 770", 5, 770, "Stav Pripojenie: Pripojený");
        row("Slovak none 3", 5, 3, "?3");
        row("typo 13", 0, 13, "Sprawdź wesję");
        row("typo 165", 0, 165, "Nry dodarkowe");
        row("typo 168", 0, 168,
            "Po zmienię języka należy zresetować moduł do ustawień fabrycznych.");
        row("Polish 6", 0, 6, "Wyjście");
        row("Polish 15", 0, 15, "Zmień język modułu");
        row("Polish 34", 0, 34, "Stan połączenia: nie znaleziono urządzenia KOR-USB");
        row("Polish 83", 0, 83, "NIEZGODNOŚĆ!");
        row("Polish 95", 0, 95, "Zmniejsz ilość wpisów - Koniec pamięci! ");
        row("German 2", 2, 2, "Öffnen");
        row("German 6", 2, 6, "Schließen");
        row("German 15", 2, 15, "Ändern Sie die Sprachmodul");
        row("German 51", 2, 51, "USB Übertragungsfehler!");
        row("German 82", 2, 82, "Überprüfung der alphabetischen Ordnung... ");
        row("German 32", 2, 32, "Verbindungsstand: Gerät nicht unterstütztes");
    }
    void cells()
    {
        QFETCH(int, column);
        QFETCH(int, key);
        QFETCH(QString, expected);
        QCOMPARE(texts_.text(column, key).toUtf8(), expected.toUtf8());
    }

    void unlistedKeysEmpty_data()
    {
        QTest::addColumn<int>("key");
        for (int key : {7, 9, 16, 19, 89, 99, 114, 157, 169, 500, 750, 753, 769, 772, 800})
            QTest::addRow("%d", key) << key;
    }
    void unlistedKeysEmpty()
    {
        QFETCH(int, key);
        for (int column = 0; column < kLanguageColumnCount; ++column)
            QVERIFY2(texts_.text(column, key).isEmpty(), qPrintable(QString::number(column)));
    }

    void outOfRangeIsEmpty_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("key");
        QTest::newRow("key -1") << 0 << -1;
        QTest::newRow("key 801") << 0 << 801;
        QTest::newRow("column -1") << -1 << 0;
        QTest::newRow("column 6") << 6 << 0;
    }
    void outOfRangeIsEmpty()
    {
        QFETCH(int, column);
        QFETCH(int, key);
        QVERIFY(texts_.text(column, key).isEmpty());
        if (column == 0)
            QVERIFY(texts_.text(key).isEmpty());
    }

    // Indices the table cannot select keep the previous language.
    void lookupFollowsLanguage_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("expectedIndex");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Polish") << 0 << 0 << QStringLiteral("Adres:");
        QTest::newRow("English") << 1 << 1 << QStringLiteral("Address:");
        QTest::newRow("German") << 2 << 2 << QStringLiteral("Adresse:");
        QTest::newRow("3 ignored") << 3 << 1 << QStringLiteral("Address:");
        QTest::newRow("-1 ignored") << -1 << 1 << QStringLiteral("Address:");
    }
    void lookupFollowsLanguage()
    {
        QFETCH(int, index);
        QFETCH(int, expectedIndex);
        QFETCH(QString, expected);
        Localisation texts;
        texts.load();
        texts.setLanguage(1);
        texts.setLanguage(index);
        QCOMPARE(texts.language(), expectedIndex);
        QCOMPARE(texts.text(162), expected);
        QCOMPARE(texts.text(5, 24), QStringLiteral("Rusky"));
    }

    void parseAcceptsFormat()
    {
        const TextTableParse parsed = parseTextTable(
            "# comment\r\n\n5\t\"\"\t-\t\" a "
            "\"\t\"x\"y\"\t-\t\"\xc5\xbc\"\r\n800\t\"\"\t\"\"\t\"\"\t\"\"\t\"\"\t\"\"");
        QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
        QCOMPARE(parsed.rows.size(), std::size_t(2));
        const std::array<QString, kLanguageColumnCount> expected{
            "", "?5", " a ", "x\"y", "?5", QString::fromUtf8("\xc5\xbc")};
        QCOMPARE(parsed.rows[0].key, 5);
        QVERIFY(parsed.rows[0].cells == expected);
        QCOMPARE(parsed.rows[1].key, 800);
    }

    void parseRejectsDamage_data()
    {
        QTest::addColumn<QByteArray>("data");
        const QByteArray cells = "\t\"a\"\t-\t-\t-\t-\t-";
        QTest::newRow("too few columns") << QByteArray("1\t\"a\"\t-\t-\t-\t-");
        QTest::newRow("too many columns") << "1" + cells + "\t-";
        QTest::newRow("key 801") << "801" + cells;
        QTest::newRow("key -1") << "-1" + cells;
        QTest::newRow("key not a number") << "x" + cells;
        QTest::newRow("unquoted text") << QByteArray("1\tPlik\t-\t-\t-\t-\t-");
        QTest::newRow("lone quote") << QByteArray("1\t\"\t-\t-\t-\t-\t-");
        QTest::newRow("duplicate key") << "3" + cells + "\n3" + cells;
        QTest::newRow("descending keys") << "4" + cells + "\n3" + cells;
        QTest::newRow("not UTF-8") << QByteArray("1\t\"Wyj\x9c"
                                                 "cie\"\t-\t-\t-\t-\t-");
    }
    void parseRejectsDamage()
    {
        QFETCH(QByteArray, data);
        const TextTableParse parsed =
            parseTextTable("0" + QByteArray("\t\"ok\"\t-\t-\t-\t-\t-\n") + data);
        QVERIFY(!parsed.error.isEmpty());
        QVERIFY(parsed.rows.empty());
    }

private:
    Localisation texts_;
};

QTEST_GUILESS_MAIN(TestLocalisation)
#include "tst_localisation.moc"
