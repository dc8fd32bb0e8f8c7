// The name list's search: queries typed without case or diacritics find
// entries in Polish, German, Nordic and Cyrillic, by either line or number.

#include "base/Localisation.h"
#include "directory/NameList.h"
#include "directory/NameListModel.h"
#include "directory/NameListSearch.h"
#include "support/RecordingSink.h"

#include <QTest>

using namespace q540;

namespace {

const QStringList kEntries{
    "Łódź Żaneta     Biuro", "Lodowski        Jan",   "Müller          Hans",
    "Straße          Anna",  "Ørsted          Søren", "Åberg           Ærø",
    "Жуков           Пётр",  "ЖУРАВЛЁВ        Олег",  "Kowalski        Lódka",
};

} // namespace

class NameListSearchTest : public QObject {
    Q_OBJECT

private slots:
    void folding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("folded");
        QTest::newRow("Polish") << "Łódź Żółć Ęą"
                                << "lodz zolc ea";
        QTest::newRow("German") << "Müller Straße ÄÖÜ"
                                << "muller strasse aou";
        QTest::newRow("Nordic") << "Ørsted Åberg Æbeltoft"
                                << "orsted aberg aebeltoft";
        QTest::newRow("Cyrillic") << "ЖУКОВ Пётр"
                                  << "жуков петр";
        QTest::newRow("digits and signs") << "Nr 17 - A/B"
                                          << "nr 17 - a/b";
    }
    void folding()
    {
        QFETCH(QString, text);
        QFETCH(QString, folded);
        QCOMPARE(searchFolded(text), folded);
    }

    // The rows each query leaves, by their apartment numbers (row i is i + 1).
    void filter_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("apartments");
        QTest::newRow("nothing typed")
            << "" << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9"};
        QTest::newRow("lodz finds Łódź") << "lodz" << QStringList{"1"};
        QTest::newRow("lod finds three") << "lod" << QStringList{"1", "2", "9"};
        QTest::newRow("muller finds Müller") << "muller" << QStringList{"3"};
        QTest::newRow("strasse finds Straße") << "STRASSE" << QStringList{"4"};
        QTest::newRow("orsted finds Ørsted") << "orsted" << QStringList{"5"};
        QTest::newRow("line 2: soren") << "soren" << QStringList{"5"};
        QTest::newRow("aero finds Ærø") << "aero" << QStringList{"6"};
        QTest::newRow("жуков in lower case") << "жуков" << QStringList{"7"};
        QTest::newRow("журавлев without ё") << "журавлев" << QStringList{"8"};
        QTest::newRow("two words, both lines") << "lodz biuro" << QStringList{"1"};
        QTest::newRow("no word across the lines") << "zanetabiuro" << QStringList{};
        QTest::newRow("apartment number") << "  7 " << QStringList{"7"};
        QTest::newRow("nothing found") << "xyz" << QStringList{};
    }
    void filter()
    {
        QFETCH(QString, query);
        QFETCH(QStringList, apartments);
        DirectoryGrid grid;
        for (int i = 0; i < kEntries.size(); ++i)
            for (int c = 0; c < kEntries[i].size(); ++c)
                grid.setCell(zoneRow(0, i + 1), c + 1, Cell(kEntries[i][c]));
        Localisation texts;
        texts.load();
        test::RecordingSink sink;
        NameList list(grid);
        list.setSorted(false);
        list.rebuild(0, sink, texts);
        NameListModel model(list, texts);
        NameListSearch search;
        search.setSourceModel(&model);
        search.setQuery(query);
        QStringList found;
        for (int r = 0; r < search.rowCount(); ++r)
            found << search.index(r, NameListModel::ApartmentColumn).data().toString();
        QCOMPARE(found, apartments);
        // A rebuilt list is searched afresh.
        if (query == u"muller") {
            grid.setCell(zoneRow(0, 3), 2, Cell(u'a'));
            list.rebuild(0, sink, texts);
            model.listRebuilt();
            QCOMPARE(search.rowCount(), 0);
            // Rebuilt while no query is typed: folded when one is.
            search.setQuery({});
            grid.setCell(zoneRow(0, 3), 2, Cell(u'ü'));
            list.rebuild(0, sink, texts);
            model.listRebuilt();
            search.setQuery(query);
            QCOMPARE(search.rowCount(), 1);
        }
    }
};

QTEST_GUILESS_MAIN(NameListSearchTest)
#include "tst_namelistsearch.moc"
