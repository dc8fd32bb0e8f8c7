#include "base/Localisation.h"
#include "directory/DirectoryEditor.h"
#include "directory/NameListModel.h"
#include "support/RecordingSink.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace q540;

class NameListModelTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheRowsOfTheList();
    void captionsFollowTheLanguage_data();
    void captionsFollowTheLanguage();
};

void NameListModelTest::showsTheRowsOfTheList()
{
    Localisation texts;
    texts.load();
    test::RecordingSink sink;
    DirectoryEditor editor(sink, texts, kModuleOrderPolish);
    NameListModel model(editor.list(), texts);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    editor.page().refresh();
    model.listRebuilt();
    QCOMPARE(model.rowCount(), 0);

    editor.page().selectPage(kSelectorAdditionalNumbers);
    editor.page().line1Changed(3, QStringLiteral("Zenon"));
    editor.page().selectPage(1);
    editor.page().line1Changed(7, QStringLiteral("Adam"));
    model.listRebuilt();

    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), 3);
    QCOMPARE(model.index(0, 0).data().toString(), QStringLiteral("Adam").leftJustified(30));
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("7"));
    QCOMPARE(model.index(0, 2).data().toString(), QStringLiteral("2"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("3"));
    QCOMPARE(model.index(1, 2).data().toString(), QStringLiteral("5"));
}

void NameListModelTest::captionsFollowTheLanguage_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("Polish") << 0 << QStringList{"Opis", "Aparat", "Strefa"};
    QTest::newRow("English") << 1 << QStringList{"Description", "Pos. no", "Zone"};
    QTest::newRow("German") << 2 << QStringList{"Beschreibung", "Position", "Zone"};
}

void NameListModelTest::captionsFollowTheLanguage()
{
    QFETCH(int, language);
    QFETCH(QStringList, captions);
    Localisation texts;
    texts.load();
    test::RecordingSink sink;
    DirectoryEditor editor(sink, texts);
    NameListModel model(editor.list(), texts);
    QSignalSpy spy(&model, &QAbstractItemModel::headerDataChanged);

    texts.setLanguage(language);
    model.languageChanged();

    QCOMPARE(spy.count(), 1);
    QStringList got;
    for (int c = 0; c < model.columnCount(); ++c)
        got << model.headerData(c, Qt::Horizontal).toString();
    QCOMPARE(got, captions);
}

QTEST_GUILESS_MAIN(NameListModelTest)
#include "tst_namelistmodel.moc"
