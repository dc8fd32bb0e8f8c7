#include "protocol/DisplayPreview.h"

#include <QTest>

using namespace q540;

Q_DECLARE_METATYPE(CellMark)

class DisplayPreviewTest : public QObject {
    Q_OBJECT

private slots:
    void cellOfATypedCharacter_data();
    void cellOfATypedCharacter();
    void rowsOfEntriesAndIntroScreens_data();
    void rowsOfEntriesAndIntroScreens();
    void notes_data();
    void notes();
};

void DisplayPreviewTest::cellOfATypedCharacter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<CellMark>("mark");
    QTest::newRow("Latin letter") << "K"
                                  << "K" << CellMark::None;
    QTest::newRow("Polish letter") << "Ł"
                                   << "Ł" << CellMark::None;
    QTest::newRow("German letter") << "ß"
                                   << "ß" << CellMark::None;
    QTest::newRow("Cyrillic letter of its own") << "Ж"
                                                << "Ж" << CellMark::None;
    QTest::newRow("Cyrillic Es reads back Latin") << "\u0421"
                                                  << "C" << CellMark::LookAlike;
    QTest::newRow("Cyrillic A reads back Latin") << "\u0410"
                                                 << "A" << CellMark::LookAlike;
    QTest::newRow("copyright shows as Cyrillic") << "©"
                                                 << "У" << CellMark::LookAlike;
    QTest::newRow("a grave shows as Cyrillic") << "à"
                                               << "Д" << CellMark::LookAlike;
    QTest::newRow("A grave shows as Cyrillic") << "À"
                                               << "ч" << CellMark::LookAlike;
    QTest::newRow("euro sign") << "€"
                               << "€" << CellMark::Unsupported;
    QTest::newRow("Greek omega") << "Ω"
                                 << "Ω" << CellMark::Unsupported;
    QTest::newRow("tab") << "\t"
                         << "\t" << CellMark::Unsupported;
    QTest::newRow("next line") << "\u0085"
                               << "\u0085" << CellMark::Unsupported;
}

// Each typed character in the first cell of both rows of an entry and of an
// intro screen.
void DisplayPreviewTest::cellOfATypedCharacter()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(CellMark, mark);
    for (const int row2Length : {kDisplayEntryRow2Length, kDisplayRowLength}) {
        const DisplayPreview preview = displayPreview(typed, typed, row2Length);
        for (const DisplayRow& row : preview) {
            QCOMPARE(row.front(), (DisplayCell{typed, shown.at(0), mark}));
            QCOMPARE(row[1], (DisplayCell{{}, u' ', CellMark::None}));
        }
    }
    QCOMPARE(textMark(QStringLiteral("Nowak ") + typed), mark);
}

void DisplayPreviewTest::rowsOfEntriesAndIntroScreens_data()
{
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<int>("row2Length");
    QTest::addColumn<QString>("shown1");
    QTest::addColumn<QString>("shown2");
    QTest::addColumn<QString>(
        "marks"); // per cell of both rows: . none, L look-alike, U unsupported
    QTest::newRow("entry, padded") << "Kowalski"
                                   << "m. 12" << 14 << "Kowalski        "
                                   << "m. 12         "
                                   << "................"
                                      "..............";
    QTest::newRow("entry, line 2 cut at 14") << "Żółć"
                                             << "1234567890ABCDEF" << 14 << "Żółć            "
                                             << "1234567890ABCD"
                                             << "................"
                                                "..............";
    QTest::newRow("intro, 16 and 16") << "Witamy"
                                      << "1234567890ABCDEF" << 16 << "Witamy          "
                                      << "1234567890ABCDEF"
                                      << "................"
                                         "................";
    QTest::newRow("look-alikes in place") << "Café ©"
                                          << "\u0421ity" << 14 << "Café У          "
                                          << "City          "
                                          << ".....L.........."
                                             "L.............";
    QTest::newRow("pair beyond 16 bits takes two cells") << "a😀b"
                                                         << "" << 16 << "a😀b            "
                                                         << "                "
                                                         << ".UU............."
                                                            "................";
}

void DisplayPreviewTest::rowsOfEntriesAndIntroScreens()
{
    QFETCH(QString, line1);
    QFETCH(QString, line2);
    QFETCH(int, row2Length);
    QFETCH(QString, shown1);
    QFETCH(QString, shown2);
    QFETCH(QString, marks);
    const DisplayPreview preview = displayPreview(line1, line2, row2Length);
    QCOMPARE(int(preview[0].size()), kDisplayRowLength);
    QCOMPARE(int(preview[1].size()), row2Length);
    QString shown;
    QString marked;
    for (const DisplayRow& row : preview) {
        for (qsizetype i = 0; i < qsizetype(row.size()); ++i) {
            const DisplayCell& cell = row[std::size_t(i)];
            // A pair's second cell repeats the first: the pair is shown once.
            const bool secondHalf =
                i > 0 && cell.typed.size() == 2 && row[std::size_t(i - 1)] == cell;
            shown += secondHalf               ? QString()
                     : cell.typed.size() == 2 ? cell.typed
                                              : QString(cell.shown);
            marked += QLatin1Char(".LU"[int(cell.mark)]);
        }
    }
    QCOMPARE(shown, shown1 + shown2);
    QCOMPARE(marked, marks);
}

void DisplayPreviewTest::notes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("notes");
    QTest::newRow("clean") << "Nowak" << 1 << "";
    QTest::newRow("look-alike, English") << "©" << 1 << "Typed “©”, the display shows “У”.";
    QTest::newRow("look-alike, Polish") << "à" << 0 << "Wpisano „à”, wyświetlacz pokaże „Д”.";
    QTest::newRow("look-alike, German")
        << "\u0421" << 2 << "Eingegeben „\u0421“, das Display zeigt „C“.";
    QTest::newRow("unsupported and control, English")
        << "€\t" << 1
        << "The module cannot show “€” (U+20AC): a write refuses this entry.\n"
           "Control character U+0009: the module cannot show it.";
    QTest::newRow("pair, German")
        << "😀" << 2
        << "Das Modul kann „😀“ (U+1F600) nicht anzeigen: ein Schreiben lehnt diesen Eintrag ab.";
}

void DisplayPreviewTest::notes()
{
    QFETCH(QString, text);
    QFETCH(int, language);
    QFETCH(QString, notes);
    QCOMPARE(textNotes(text, language), notes);
}

QTEST_GUILESS_MAIN(DisplayPreviewTest)
#include "tst_displaypreview.moc"
