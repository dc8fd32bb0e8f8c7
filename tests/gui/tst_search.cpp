// The name list's search field: typed without diacritics it filters the
// list; Enter or a double-click shows the entry's zone page with the cursor
// in its field; Ctrl+F goes to the field.

#include "base/Localisation.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "support/PlainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace q540;

namespace {

struct Window : test::PlainWindow {
    explicit Window(int language) : PlainWindow(language)
    {
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const std::pair<int, QString> entries[] = {{zoneRow(0, 3), "Nowak"},
                                                   {zoneRow(2, 77), "Łódź Żaneta"},
                                                   {zoneRow(3, 200), "Müller"},
                                                   {additionalNumberRow(2), "Portier"}};
        for (const auto& [row, text] : entries)
            for (int c = 0; c < text.size(); ++c)
                window->directory().grid().setCell(row, c + 1, Cell(text[c]));
        window->directory().page().refresh();
    }
    QLineEdit* search() const { return window->findChild<QLineEdit*>("Edit_szukaj"); }
    QTreeView* list() const { return window->findChild<QTreeView*>("ListView1"); }
};

} // namespace

class SearchTest : public QObject {
    Q_OBJECT

private slots:
    void findAndGo_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("placeholder");
        QTest::addColumn<int>("selector"); // the page shown afterwards
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("field"); // with the cursor
        QTest::newRow("Polish, lodz") << 0 << "lodz"
                                      << "Szukaj (Ctrl+F)" << 2 << 2 << 153;
        QTest::newRow("English, muller") << 1 << "muller"
                                         << "Search (Ctrl+F)" << 3 << 6 << 399;
        QTest::newRow("German, portier") << 2 << "PORTIER"
                                         << "Suchen (Strg+F)" << 4 << 0 << 524;
    }
    void findAndGo()
    {
        QFETCH(int, language);
        QFETCH(QString, query);
        QFETCH(QString, placeholder);
        QFETCH(int, selector);
        QFETCH(int, tab);
        QFETCH(int, field);
        Window w(language);
        QCOMPARE(w.list()->model()->rowCount(), 4);
        QCOMPARE(w.search()->placeholderText(), placeholder);
        QTest::keyClick(w.window.get(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(w.search()->hasFocus());
        QTest::keyClicks(w.search(), query);
        QCOMPARE(w.list()->model()->rowCount(), 1);
        QTest::keyClick(w.search(), Qt::Key_Return);
        QTRY_COMPARE(w.window->directory().page().selectorIndex(), selector);
        if (selector < 4)
            QCOMPARE(w.window->findChild<QTabWidget*>("PageControl1")->currentIndex(), tab);
        QTRY_COMPARE(QApplication::focusWidget(), w.window->edit(field));
        // The list keeps the search; emptied, it shows every row again.
        QCOMPARE(w.list()->model()->rowCount(), 1);
        w.search()->clear();
        QCOMPARE(w.list()->model()->rowCount(), 4);
    }

    // A double-click on a row, and the list that follows an edit.
    void doubleClickAndEdits()
    {
        Window w(1);
        QTest::keyClicks(w.search(), QStringLiteral("nowak"));
        const QModelIndex first = w.list()->model()->index(0, 0);
        // QTest's double-click comes without the press a real one begins with.
        const QPoint centre = w.list()->visualRect(first).center();
        QTest::mousePress(w.list()->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseRelease(w.list()->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTest::mouseDClick(w.list()->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        QTRY_COMPARE(QApplication::focusWidget(), w.window->edit(5));
        QCOMPARE(w.window->directory().page().selectorIndex(), 0);
        // Typing changes the entry: the list is rebuilt and searched again.
        QTest::keyClicks(w.window->edit(5), QStringLiteral("ski"));
        QCOMPARE(w.list()->model()->rowCount(), 1);
        QCOMPARE(w.list()->model()->index(0, 0).data().toString().trimmed(),
                 QStringLiteral("Nowakski"));
        w.window->edit(5)->clear();
        QCOMPARE(w.list()->model()->rowCount(), 0);
    }
};

QTEST_MAIN(SearchTest)
#include "tst_search.moc"
