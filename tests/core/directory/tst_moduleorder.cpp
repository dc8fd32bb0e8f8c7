#include "base/Localisation.h"
#include "directory/DirectoryEditor.h"
#include "directory/ModuleOrder.h"
#include "support/RecordingSink.h"

#include <QTest>

#include <optional>

using namespace q540;

namespace {

// The same names in each locale's word order, filled into zone 1 back to
// front so that no order comes from the grid.
QStringList sortedLines(int choice, const QStringList& names)
{
    Localisation texts;
    texts.load();
    test::RecordingSink sink;
    DirectoryEditor editor(sink, texts);
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString& name = names[names.size() - 1 - i];
        for (qsizetype c = 0; c < name.size(); ++c)
            editor.grid().setCell(zoneRow(0, int(i) + 1), int(c) + 1, Cell(name.at(c)));
    }
    editor.setModuleOrder(choice);
    QStringList lines;
    for (const NameRow& row : editor.list().rows())
        lines << row.text.left(kLine1Length).trimmed();
    return lines;
}

const QStringList kPolishOrder{"Lodz", "Lwów", "Łódź", "Zosia", "Zośka", "Żak"};
const QStringList kEnglishOrder{"Lodz", "Łódź", "Lwów", "Żak", "Zosia", "Zośka"};

} // namespace

class ModuleOrderTest : public QObject {
    Q_OBJECT

private slots:
    void orderOfEachChoice_data();
    void orderOfEachChoice();
    void defaultFollowsTheSystem();
    void commandLineNames_data();
    void commandLineNames();
    void writeNote_data();
    void writeNote();
};

void ModuleOrderTest::orderOfEachChoice_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Polish: Ł after L, Ż after Z") << 1 << kPolishOrder;
    QTest::newRow("English: Ł among the Ls") << 2 << kEnglishOrder;
    QTest::newRow("German: Ö with O, ß as ss")
        << 3 << QStringList{"Oelmann", "Olmann", "Ölmann", "Strasse", "Straße", "Zoller"};
    QTest::newRow("Norwegian: Æ Ø Å after Z, Aa as Å")
        << 4 << QStringList{"Abel", "Zahl", "Ærø", "Østby", "Aas", "Åsen"};
    QTest::newRow("Swedish: Å Ä Ö after Z")
        << 5 << QStringList{"Aas", "Zahl", "Åsa", "Ängel", "Örn"};
    QTest::newRow("Czech: Č after C, Ch after H")
        << 6 << QStringList{"Cerny", "Čapek", "Hora", "Chalupa", "Ivan"};
    QTest::newRow("Russian: Cyrillic before Latin")
        << 7 << QStringList{"Абрамов", "Ёлкин", "Жуков", "Adams", "Zahl"};
    QTest::newRow("English: Latin before Cyrillic")
        << 2 << QStringList{"Adams", "Zahl", "Абрамов", "Ёлкин", "Жуков"};
}

void ModuleOrderTest::orderOfEachChoice()
{
    QFETCH(int, choice);
    QFETCH(QStringList, order);
    QCOMPARE(sortedLines(choice, order), order);
}

// main() starts the test in a Polish system locale.
void ModuleOrderTest::defaultFollowsTheSystem()
{
    QCOMPARE(moduleOrderEffectiveLocale(kModuleOrderSystem), QStringLiteral("pl_PL"));
    QCOMPARE(sortedLines(kModuleOrderSystem, kEnglishOrder), kPolishOrder);
    QCOMPARE(sortedLines(2, kPolishOrder), kEnglishOrder);
    QCOMPARE(moduleOrderName(kModuleOrderSystem, 1), QStringLiteral("System default (pl_PL)"));
}

void ModuleOrderTest::commandLineNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("choice");
    QTest::newRow("system") << "system" << 0;
    QTest::newRow("pl") << "pl" << 1;
    QTest::newRow("pl_PL") << "pl_PL" << 1;
    QTest::newRow("en_GB") << "en_GB" << 2;
    QTest::newRow("de-AT") << "de-AT" << 3;
    QTest::newRow("no") << "no" << 4;
    QTest::newRow("nb_NO") << "nb_NO" << 4;
    QTest::newRow("sv") << "sv" << 5;
    QTest::newRow("cs_CZ") << "cs_CZ" << 6;
    QTest::newRow("ru") << "ru" << 7;
    QTest::newRow("French is none") << "fr" << -1;
    QTest::newRow("not a locale") << "xyz" << -1;
    QTest::newRow("empty") << "" << -1;
}

void ModuleOrderTest::commandLineNames()
{
    QFETCH(QString, name);
    QFETCH(int, choice);
    QCOMPARE(moduleOrderOfLocaleName(name).value_or(-1), choice);
}

void ModuleOrderTest::writeNote_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("note");
    QTest::newRow("Polish order, Polish program") << 1 << 0 << "";
    QTest::newRow("Polish order, English program") << 1 << 1 << "Alphabetical order: Polish.";
    QTest::newRow("English order, English program") << 2 << 1 << "";
    QTest::newRow("Russian order, German program")
        << 7 << 2 << "Alphabetische Reihenfolge: Russisch.";
    QTest::newRow("German order, Polish program") << 3 << 0 << "Kolejność alfabetyczna: Niemiecka.";
    QTest::newRow("system (Polish), Polish program") << 0 << 0 << "";
    QTest::newRow("system (Polish), German program")
        << 0 << 2 << "Alphabetische Reihenfolge: Polnisch.";
}

void ModuleOrderTest::writeNote()
{
    QFETCH(int, choice);
    QFETCH(int, language);
    QFETCH(QString, note);
    QCOMPARE(moduleOrderNote(choice, language), note);
}

int main(int argc, char** argv)
{
    // Read by QLocale::system() on its first use.
    qputenv("LC_ALL", "pl_PL.UTF-8");
    qputenv("LANG", "pl_PL.UTF-8");
    QCoreApplication app(argc, argv);
    ModuleOrderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_moduleorder.moc"
