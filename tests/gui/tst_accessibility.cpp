// What a keyboard and a screen reader meet: every focusable control named,
// uniquely within its window, in each language; the standard shortcuts and
// menu mnemonics; Enter, Down and Up between entries.
#include "base/Localisation.h"
#include "directory/DirectoryPage.h"
#include "files/History.h"
#include "files/SettingsFile.h"
#include "gui/actions/ViewActions.h"
#include "gui/dialogs/CompareWindow.h"
#include "gui/dialogs/HistoryWindow.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "gui/main/SettingsPanel.h"
#include "gui/startup/LanguageWindow.h"
#include "gui/startup/Look.h"
#include "gui/support/ConnectionCheckWindow.h"
#include "gui/support/ContactWindow.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "support/RecordingSink.h"

using namespace q540;

namespace {

// The controls of a window that Tab reaches, and their names as a screen
// reader reads them; "" for a control without one.
QList<std::pair<QWidget*, QString>> focusableNames(QWidget& window)
{
    QList<std::pair<QWidget*, QString>> names;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled())
            continue;
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(w);
        names.append({w, face ? face->text(QAccessible::Name).trimmed() : QString()});
    }
    return names;
}

// Alt+letter of a caption: the letter after a single "&".
QChar mnemonicOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == u'&' && caption[i + 1] == u'&')
            ++i;
        else if (caption[i] == u'&')
            return caption[i + 1].toLower();
    }
    return {};
}

// Faults of a window's names: a control without one, two alike.
QStringList nameFaults(QWidget& window)
{
    QMap<QString, QString> seen; // name -> the control's object name and class
    QStringList faults;
    for (const auto& [widget, name] : focusableNames(window)) {
        const QString who = widget->objectName() + u'/' + widget->metaObject()->className();
        if (name.isEmpty())
            faults << who + QStringLiteral(" has no name");
        else if (seen.contains(name))
            faults << QStringLiteral("%1 and %2: %3").arg(seen[name], who, name);
        seen.insert(name, who);
    }
    return faults;
}

struct Window {
    QTemporaryDir dir;
    Localisation texts;
    std::unique_ptr<MainWindow> window;

    explicit Window(int language)
    {
        texts.load();
        texts.setLanguage(language);
        window = std::make_unique<MainWindow>(texts, dir.filePath(QStringLiteral("Q540.ini")),
                                              kModuleOrderPolish);
        window->show();
    }
};

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void namedOnEveryPage_data()
    {
        QTest::addColumn<int>("language");
        for (int language = 0; language < 3; ++language)
            QTest::addRow("language %d", language) << language;
    }
    void namedOnEveryPage()
    {
        QFETCH(int, language);
        Window w(language);
        for (int page = 0; page < kSelectorCount; ++page) {
            w.window->viewActions().RadioGroup_StrefaClick(page);
            const QStringList faults = nameFaults(*w.window);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"\n")));
        }
        // The settings panel in each of its modes, the connection check and
        // the contact window.
        auto* panel = w.window->findChild<SettingsPanel*>();
        for (const int mode : {SettingsPanel::kVersionMode, SettingsPanel::kPasswordMode,
                               SettingsPanel::kLanguageMode}) {
            panel->Ustaw_Formatke_Panelow_Edycji(mode);
            const QStringList faults = nameFaults(*panel);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"\n")));
        }
        ConnectionCheckWindow check([] { return ConnectionReport{}; }, language);
        ContactWindow contact(language, [](const QUrl&) {});
        const History history(w.dir.filePath(QStringLiteral("history")));
        HistoryWindow historyWindow(history, language);
        int programLanguage = language, moduleLanguage = 0;
        SettingsFile settings(w.dir.filePath(QStringLiteral("Q540.ini")));
        test::RecordingSink sink;
        LanguageWindow languages(w.texts, programLanguage, moduleLanguage, settings, sink, [] {});
        CompareWindow compare({}, language);
        for (QWidget* window : std::initializer_list<QWidget*>{&check, &contact, &historyWindow,
                                                               &languages, &compare}) {
            const QStringList faults = nameFaults(*window);
            QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"\n")));
        }
    }

    // A message box is at least as wide as its title.
    void messageTitleWhole()
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Q540 directory configuration 1.3"),
                        QStringLiteral("OK?"));
        keepTitleWhole(box);
        box.show();
        QVERIFY(box.width() > box.fontMetrics().horizontalAdvance(box.windowTitle()));
    }

    // Each menu's items have Alt+letters of their own, in every language.
    void mnemonicsUnique_data() { namedOnEveryPage_data(); }
    void mnemonicsUnique()
    {
        QFETCH(int, language);
        Window w(language);
        QList<QList<QAction*>> menus{w.window->menuBar()->actions()};
        for (QMenu* menu : w.window->menuBar()->findChildren<QMenu*>())
            menus << menu->actions();
        for (const QList<QAction*>& actions : menus) {
            QSet<QChar> letters;
            for (const QAction* action : actions) {
                if (action->isSeparator())
                    continue;
                const QChar letter = mnemonicOf(action->text());
                QVERIFY2(!letter.isNull() && !letters.contains(letter), qPrintable(action->text()));
                letters.insert(letter);
            }
        }
    }

    // The platform's standard keys reach their commands.
    void standardShortcuts_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("key");
        QTest::addColumn<QKeySequence>("otherwise"); // where the platform names none
        QTest::newRow("new") << "Nowy1" << int(QKeySequence::New) << QKeySequence();
        QTest::newRow("open") << "Otwrz1" << int(QKeySequence::Open) << QKeySequence();
        QTest::newRow("save") << "Zapisz1" << int(QKeySequence::Save) << QKeySequence();
        QTest::newRow("save as") << "Zapiszjako1" << int(QKeySequence::SaveAs)
                                 << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S);
        QTest::newRow("print") << "Drukuj1" << int(QKeySequence::Print) << QKeySequence();
        QTest::newRow("quit") << "Wyjcie1" << int(QKeySequence::Quit)
                              << QKeySequence(Qt::CTRL | Qt::Key_Q);
        QTest::newRow("undo") << "Cofnij1" << int(QKeySequence::Undo) << QKeySequence();
        QTest::newRow("redo") << "Ponow1" << int(QKeySequence::Redo) << QKeySequence();
    }
    void standardShortcuts()
    {
        QFETCH(QString, action);
        QFETCH(int, key);
        Window w(1);
        auto* item = w.window->findChild<QAction*>(action);
        QVERIFY(item);
        QFETCH(QKeySequence, otherwise);
        const QList<QKeySequence> bound = QKeySequence::keyBindings(QKeySequence::StandardKey(key));
        QVERIFY(item->shortcuts().contains(bound.isEmpty() ? otherwise : bound.front()));
    }

    // Enter and Down go to the same line of the next entry on the sheet, Up
    // to the previous; not past the sheet.
    void enterAndArrows()
    {
        Window w(1);
        QVERIFY(QTest::qWaitForWindowActive(w.window.get()));
        const auto line1 = [&w](int apartment) {
            return w.window->edit(line1EditNumber(0, apartment));
        };
        line1(1)->setFocus();
        QTest::keyClick(line1(1), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), line1(2));
        QTest::keyClick(line1(2), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), line1(3));
        QTest::keyClick(line1(3), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(QApplication::focusWidget(), line1(4));
        QTest::keyClick(line1(4), Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), line1(3));
        line1(30)->setFocus();
        QTest::keyClick(line1(30), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), line1(30));
        // Ctrl+F: the search field.
        QTest::keyClick(line1(30), Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Edit_szukaj"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
