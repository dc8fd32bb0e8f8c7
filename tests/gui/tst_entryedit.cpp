#include "directory/EditingRules.h"
#include "gui/main/EntryEdit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <memory>

using namespace q540;

namespace {

// The ways text gets into a field besides typing it.
enum class Path { Typed, CtrlV, ShiftInsert, ContextMenu, MiddleClick, Drop };

// A field with every text it ever announced, so that a text that broke the
// rules for a moment (and reached the directory through textChanged) shows.
struct Field {
    std::unique_ptr<EntryEdit> edit;
    QStringList announced;
    bool line1;

    explicit Field(bool isLine1, int maxLength = 16)
        : edit(std::make_unique<EntryEdit>(
            isLine1 ? EntryEdit::Rules::Line1 : EntryEdit::Rules::Line2, maxLength)),
          line1(isLine1)
    {
        QObject::connect(edit.get(), &QLineEdit::textChanged,
                         [this](const QString& t) { announced << t; });
        edit->show();
        edit->setFocus();
    }

    bool everObeyed() const
    {
        return std::all_of(announced.begin(), announced.end(),
                           [this](const QString& t) { return conformingText(t, line1) == t; });
    }
};

void enter(Field& f, Path path, const QString& text)
{
    EntryEdit* e = f.edit.get();
    switch (path) {
    case Path::Typed:
        QTest::keyClicks(e, text);
        return;
    case Path::CtrlV:
        QApplication::clipboard()->setText(text);
        QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
        return;
    case Path::ShiftInsert:
        QApplication::clipboard()->setText(text);
        QTest::keyClick(e, Qt::Key_Insert, Qt::ShiftModifier);
        return;
    case Path::ContextMenu: {
        QApplication::clipboard()->setText(text);
        std::unique_ptr<QMenu> menu(e->createStandardContextMenu());
        QAction* paste = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text().remove(u'&').startsWith(QStringLiteral("Paste")))
                paste = action;
        }
        QVERIFY(paste);
        paste->trigger();
        return;
    }
    case Path::MiddleClick:
        QApplication::clipboard()->setText(text, QClipboard::Selection);
        QTest::mouseClick(e, Qt::MiddleButton, {}, QPoint(2, e->height() / 2));
        return;
    case Path::Drop: {
        QMimeData data;
        data.setText(text);
        const QPointF at(2, e->height() / 2.0); // before the first character
        QDragEnterEvent enterEvent(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(e, &enterEvent);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(e, &drop);
        return;
    }
    }
}

} // namespace

Q_DECLARE_METATYPE(Path)

class EntryEditTest : public QObject {
    Q_OBJECT

private slots:
    // Every editing path with every kind of unwanted character, into an
    // empty field and in front of a name, in line-1 and the other fields.
    void everyPathObeysTheRules_data()
    {
        QTest::addColumn<Path>("path");
        QTest::addColumn<bool>("line1");
        QTest::addColumn<QString>("before"); // the field's text; the caret at its start
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const std::pair<Path, const char*> pastes[] = {{Path::CtrlV, "Ctrl+V"},
                                                       {Path::ShiftInsert, "Shift+Insert"},
                                                       {Path::ContextMenu, "context menu"},
                                                       {Path::MiddleClick, "middle click"},
                                                       {Path::Drop, "drop"}};
        struct Case {
            const char* name;
            bool line1;
            const char* before;
            QString input;
            const char* expected;
        };
        const Case cases[] = {
            {"TAB, LF and ESC, line 1", true, "", "No\twak\nJ\x1b", "NowakJ"},
            {"TAB, LF and ESC, line 2", false, "", "No\twak\nJ\x1b", "NowakJ"},
            {"leading space and digits, line 1", true, "", " 12 adam", "Adam"},
            {"leading space kept, line 2", false, "", " 12 adam", " 12 adam"},
            {"semicolons", false, "", "a;b;", "a,b,"},
            {"digit before a name, line 1", true, "Kowal", "7", "Kowal"},
            {"C1 control before a name", true, "Kowal", QStringLiteral("\u0085"), "Kowal"},
            {"small letter before a name", true, "owal", "k", "Kowal"},
        };
        for (const auto& [path, pathName] : pastes) {
            for (const Case& c : cases)
                QTest::addRow("%s, %s", pathName, c.name)
                    << path << c.line1 << QString::fromUtf8(c.before) << c.input
                    << QString::fromUtf8(c.expected);
        }
        // Typing goes key by key: only keys a keyboard gives.
        QTest::newRow("typed, space and digit first") << Path::Typed << true << ""
                                                      << " 1nowak"
                                                      << "Nowak";
        QTest::newRow("typed semicolon, line 2") << Path::Typed << false << ""
                                                 << "a;b"
                                                 << "a,b";
    }

    void everyPathObeysTheRules()
    {
        QFETCH(Path, path);
        QFETCH(bool, line1);
        QFETCH(QString, before);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        if (path == Path::MiddleClick && !QApplication::clipboard()->supportsSelection())
            QSKIP("this platform has no selection to paste");
        Field f(line1);
        f.edit->showText(before);
        f.edit->setCursorPosition(0);
        f.announced.clear();
        enter(f, path, input);
        QCOMPARE(f.edit->text(), expected);
        QVERIFY2(f.everObeyed(), qPrintable(f.announced.join(u'|')));
    }

    // Ctrl+Backspace deletes the word before the caret, leaving the rest:
    // line 1 must not be left starting with the space after it.
    void ctrlBackspaceAtTheStartOfLine1()
    {
        Field f(true);
        QTest::keyClicks(f.edit.get(), QStringLiteral("Jan Kowal"));
        f.edit->setCursorPosition(3);
        QTest::keyClick(f.edit.get(), Qt::Key_Backspace, Qt::ControlModifier);
        QCOMPARE(f.edit->text(), QStringLiteral("Kowal"));
        QVERIFY(f.everObeyed());
    }

    // The field's own undo and redo step through texts the rules allow, also
    // after a paste that the rules corrected.
    void undoAndRedoAfterACorrectedPaste()
    {
        Field f(true);
        QTest::keyClicks(f.edit.get(), QStringLiteral("Kowal"));
        f.edit->setCursorPosition(0);
        QApplication::clipboard()->setText(QStringLiteral(" \t9"));
        QTest::keyClick(f.edit.get(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f.edit->text(), QStringLiteral("Kowal"));
        f.edit->selectAll();
        QTest::keyClick(f.edit.get(), Qt::Key_Delete);
        QTest::keyClicks(f.edit.get(), QStringLiteral("x;y"));
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(f.edit.get(), Qt::Key_Z, Qt::ControlModifier);
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(f.edit.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.edit->text(), QStringLiteral("X,y"));
        QVERIFY2(f.everObeyed(), qPrintable(f.announced.join(u'|')));
    }

    // A value the program shows (from a file or the module) is shown as it
    // is: the write reports what the module cannot show.
    void shownValuesAreNotCorrected()
    {
        Field f(true);
        f.edit->showText(QStringLiteral(" a;\tb"));
        QCOMPARE(f.edit->text(), QStringLiteral(" a;\tb"));
    }
};

QTEST_MAIN(EntryEditTest)
#include "tst_entryedit.moc"
