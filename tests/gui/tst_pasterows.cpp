// Rows pasted into an entry field, by every path text gets in: they fill
// that entry and the following ones, with the report when a row does not fit.

#include "base/Localisation.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "support/ModalDriver.h"
#include "support/PlainWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

namespace {

struct Window : test::PlainWindow {
    QString entry(int zone, int apartment) const
    {
        return window->directory().grid().entryText(zoneRow(zone - 1, apartment)).trimmed();
    }
};

// Pastes text into the field by one path.
void paste(EntryEdit* field, const QString& path, const QString& text)
{
    field->setFocus();
    if (path == u"drop") {
        QMimeData data;
        data.setText(text);
        // A drop follows the drag's entry, as a drag delivers it.
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        return;
    }
    if (path == u"middle click") {
        QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
        QTest::mouseClick(field, Qt::MiddleButton, Qt::NoModifier, QPoint(5, 5));
        return;
    }
    QGuiApplication::clipboard()->setText(text);
    if (path == u"Ctrl+V")
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    else if (path == u"Shift+Insert")
        QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
    else if (path == u"context menu") {
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    field->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(field, &menuEvent);
        QMenu* menu = nullptr;
        QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())));
        QAction* pasteAction = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().startsWith(QStringLiteral("&Paste")))
                pasteAction = action;
            // The window's Edit menu undoes; the field's own would not be a step.
            QVERIFY(!action->isVisible() || !action->text().startsWith(QStringLiteral("&Undo")));
            QVERIFY(!action->isVisible() || !action->text().startsWith(QStringLiteral("&Redo")));
        }
        QVERIFY(pasteAction);
        pasteAction->trigger();
        menu->close();
    }
}

} // namespace

class PasteRowsTest : public QObject {
    Q_OBJECT

private slots:
    void rows_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("field");           // pasted into; Edit9 is line 1 of apartment 5
        QTest::addColumn<QStringList>("entries"); // apartments 5..8 afterwards
        QTest::addColumn<QString>("fieldText");   // the field's own text afterwards
        QTest::addColumn<QString>("undo");        // the Edit menu's Undo afterwards
        for (const char* path :
             {"Ctrl+V", "Shift+Insert", "context menu", "drop", "middle click"}) {
            QTest::addRow("one column, %s", path)
                << path << "Nowak\nKowal\nZieliński\n"
                << 9 << QStringList{"Nowak", "Kowal", "Zieliński", ""} << "Nowak"
                << "Undo pasted rows from zone 1, apartment 5";
            QTest::addRow("two columns into line 2, %s", path)
                << path << "Nowak\tJan\r\nKowal\tEwa\r\n"
                << 10 << QStringList{"Nowak           Jan", "Kowal           Ewa", "", ""} << "Jan"
                << "Undo pasted rows from zone 1, apartment 5";
            QTest::addRow("one cell is a plain paste, %s", path)
                << path << "Nowak\n"
                << 9 << QStringList{"Nowak", "", "", ""} << "Nowak"
                << "Undo paste into zone 1, apartment 5";
        }
    }
    void rows()
    {
        QFETCH(QString, path);
        QFETCH(QString, text);
        QFETCH(int, field);
        QFETCH(QStringList, entries);
        QFETCH(QString, fieldText);
        QFETCH(QString, undo);
        if (path == u"middle click" && !QGuiApplication::clipboard()->supportsSelection())
            QSKIP("no selection clipboard on this platform; the X server run has one");
        Window w;
        // Line 2 is open only while line 1 holds something.
        if (field % 2 == 0)
            w.window->edit(field - 1)->setText(QStringLiteral("X"));
        paste(w.window->edit(field), path, text);
        QStringList found;
        for (int apartment = 5; apartment <= 8; ++apartment)
            found << w.entry(1, apartment);
        QCOMPARE(found, entries);
        QCOMPARE(w.window->edit(field)->text(), fieldText);
        QVERIFY(w.window->isModified());
        // Whichever way it came in, the paste is one step of its own.
        auto* undoAction = w.window->findChild<QAction*>(QStringLiteral("Cofnij1"));
        QCOMPARE(undoAction->text().remove(u'&'), undo);
        undoAction->trigger();
        QCOMPARE(w.entry(1, 5), field % 2 == 0 ? QStringLiteral("X") : QString());
        QCOMPARE(w.entry(1, 6), QString());
    }

    // Rows that would replace text, or fill entries on the next tab, ask first.
    void overwriteAsks_data()
    {
        QTest::addColumn<int>("apartment"); // pasted into, zone 1
        QTest::addColumn<int>("filled");    // an apartment holding "Stary" before, or 0
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("question");
        const QString acrossTab = "The paste will replace 2 entries that are not empty or lie "
                                  "beyond the page shown: from zone 1, apartment 31 to zone 1, "
                                  "apartment 32. Paste?";
        const QString overText = "The paste will replace 1 entries that are not empty or lie "
                                 "beyond the page shown: from zone 1, apartment 7 to zone 1, "
                                 "apartment 7. Paste?";
        QTest::newRow("across the tab, Yes") << 29 << 0 << true << acrossTab;
        QTest::newRow("across the tab, No") << 29 << 0 << false << acrossTab;
        QTest::newRow("over an entry, Yes") << 5 << 7 << true << overText;
        QTest::newRow("over an entry, No") << 5 << 7 << false << overText;
        QTest::newRow("empty entries on the page") << 5 << 0 << true << QString();
    }
    void overwriteAsks()
    {
        QFETCH(int, apartment);
        QFETCH(int, filled);
        QFETCH(bool, yes);
        QFETCH(QString, question);
        Window w;
        if (filled)
            w.window->edit(2 * filled - 1)->setText(QStringLiteral("Stary"));
        const DirectoryGrid before = w.window->directory().grid();
        test::ModalDriver driver;
        driver.answerYes = yes;
        paste(w.window->edit(2 * apartment - 1), QStringLiteral("Ctrl+V"), "A\nB\nC\nD\n");
        QCOMPARE(driver.messages, question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(w.entry(1, apartment + 3), yes ? QStringLiteral("D") : QString());
        if (yes)
            w.window->findChild<QAction*>(QStringLiteral("Cofnij1"))->trigger();
        QVERIFY(w.window->directory().grid() == before);
    }

    // Rows that do not fit: the report first, then Paste or Cancel.
    void report_data()
    {
        QTest::addColumn<bool>("pasted");
        QTest::newRow("Paste") << true;
        QTest::newRow("Cancel") << false;
    }
    void report()
    {
        QFETCH(bool, pasted);
        Window w;
        QString report;
        bool replaceOffered = true;
        test::ModalDriver driver([&](QWidget* modal) {
            report =
                modal->findChild<QPlainTextEdit*>(QStringLiteral("TableReport"))->toPlainText();
            replaceOffered = modal->findChild<QPushButton*>(QStringLiteral("TableReplace"));
            if (pasted)
                modal->findChild<QPushButton*>(QStringLiteral("TableMerge"))->click();
            else
                qobject_cast<QDialog*>(modal)->reject();
        });
        // Apartment 254 of zone 1: the third row would be 256.
        w.window->viewActions().RadioGroup_StrefaClick(0);
        QApplication::clipboard()->setText(QStringLiteral("Kowalska-Nowakowska\nNowak\nKowal\n"));
        EntryEdit* field = w.window->edit(2 * 254 - 1);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QTRY_VERIFY(!report.isEmpty());
        QVERIFY(!replaceOffered);
        QCOMPARE(report, QStringLiteral("row 1 (zone 1, apartment 254): line 1 is longer than 16 "
                                        "characters; the rest was cut\n"
                                        "row 3: number “256” is outside the zone's range; left "
                                        "out\n"
                                        "Rows: 3, entries taken: 2, findings: 2 (encoding "
                                        "UTF-16)."));
        QCOMPARE(w.entry(1, 254), pasted ? QStringLiteral("Kowalska-Nowakow") : QString());
        QCOMPARE(w.entry(1, 255), pasted ? QStringLiteral("Nowak") : QString());
        QCOMPARE(w.window->isModified(), pasted);
    }
};

QTEST_MAIN(PasteRowsTest)
#include "tst_pasterows.moc"
