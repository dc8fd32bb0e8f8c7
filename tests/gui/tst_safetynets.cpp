// The window's safety nets over the emulated module: verify after writing
// and its repair, compare with the module, the history and its window, and
// the offer to keep a module's directory before it is overwritten.

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "files/DirectoryStore.h"
#include "files/SettingsFile.h"
#include "gui/dialogs/CompareWindow.h"
#include "gui/dialogs/HistoryWindow.h"
#include "support/EmulatedWindow.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace q540;

namespace {

struct Window : test::EmulatedWindow {
    // entries: what the module's configuration says it holds before the
    // first poll (unwritten, it says 4096).
    explicit Window(int language = 1, bool verify = false, int entries = 0)
        : EmulatedWindow(language, verify)
    {
        // Entries "Stary 1".. in zone 1, as a write leaves them; blocks 0..15
        // keep a configuration nibble in their zone byte's high half.
        for (int p = 0; p < entries; ++p) {
            std::array<std::uint8_t, protocol::kBlockSize> block{};
            const QByteArray text =
                QStringLiteral("Stary %1").arg(p + 1).leftJustified(30).toLatin1();
            std::copy(text.begin(), text.end(), block.begin());
            block[protocol::kApartmentByte] = std::uint8_t(p + 1);
            block[protocol::kZoneByte] = module.block(p)[protocol::kZoneByte] & 0xF0;
            module.setBlock(p, block);
        }
        if (entries > 0)
            module.setEntryCount(entries);
        poll();
    }
    void press(const char* button) { child<QPushButton>(button)->click(); }
    void setEntry(int row, const QString& text)
    {
        const QString cells = text.leftJustified(kEntryTextLength);
        for (int c = 1; c <= kEntryTextLength; ++c)
            window->directory().grid().setCell(row, c, Cell(cells.at(c - 1)));
        window->directory().page().refresh();
    }
    // Ten entries across zone 1 and zone 4.
    void fill()
    {
        for (int i = 1; i <= 10; ++i)
            setEntry(i <= 5 ? zoneRow(0, i) : zoneRow(3, i), QStringLiteral("Kowalski %1").arg(i));
    }
    std::vector<HistoryEntry> history() const { return window->history().entries(); }
};

} // namespace

class SafetyNetsTest : public QObject {
    Q_OBJECT

private slots:
    // On by default, and the choice goes to the settings file.
    void verifySwitchIsRemembered()
    {
        Window w(1, true);
        auto* box = w.child<QCheckBox>("CheckBox_weryfikacja");
        QVERIFY(box->isChecked());
        QCOMPARE(box->text(), QStringLiteral("Verify after writing"));
        box->click();
        QVERIFY(!SettingsFile(w.settings.filePath("Q540.ini")).readVerifyAfterWriting());
    }

    // A block the module keeps wrongly is named; written again where the
    // module keeps blocks well, the verify then finds everything.
    void verifyFindsAndWritesAgain_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("difference");
        QTest::newRow("English") << 1
                                 << "zone 1, apartment 2: written “Kowalski 2”, the module "
                                    "holds “Jowalski 2”";
        QTest::newRow("German") << 2
                                << "Zone 1, Wohnung 2: geschrieben „Kowalski 2“, das Modul hält "
                                   "„Jowalski 2“";
    }
    void verifyFindsAndWritesAgain()
    {
        QFETCH(int, language);
        QFETCH(QString, difference);
        Window w(language, true);
        w.fill();
        // Sorted by name ("Kowalski 1", "Kowalski 10", "Kowalski 2"), the third
        // block is zone 1's apartment 2.
        w.module.corruptStoredBlock(2);
        QStringList listed;
        test::ModalDriver driver([&](QWidget* modal) {
            auto* list = modal->findChild<QListWidget*>(QStringLiteral("VerifyDifferences"));
            for (int i = 0; list && i < list->count(); ++i)
                listed << list->item(i)->text();
            w.module.corruptStoredBlock(-1);
            modal->findChild<QPushButton*>(QStringLiteral("WriteAgain"))->click();
        });
        w.press("Button0b");
        QCOMPARE(listed, QStringList{difference});
        // One ending, after the last check: nothing said "written" before it.
        QCOMPARE(driver.messages,
                 QStringList{fixedText(FixedText::WrittenAgainAndVerified, language).arg(1)});
        QVERIFY(!w.module.isOpen());
        QVERIFY(w.window->module().isTimerActive());
    }

    // The read's "read" comes when the window shows what was read: the list
    // filled, the progress gone, the device closed.
    void readSaysReadOnceItIsShown()
    {
        Window w(1, false, 3);
        bool seen = false;
        QTimer watcher;
        watcher.setInterval(2);
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            QCOMPARE(box->text(), w.texts.text(textkey::kDataRead));
            QCOMPARE(w.window->directory().list().count(), 3);
            QVERIFY(!w.child<QProgressBar>("ProgressBar1")->isVisible());
            QVERIFY(!w.module.isOpen());
            seen = true;
            box->button(QMessageBox::Ok)->click();
        });
        watcher.start();
        w.press("Button9b");
        QVERIFY(seen);
    }

    // A backup that could not be read stops the write: the window writes nothing.
    void backupNotReadWritesNothing()
    {
        Window w(1, false, 3);
        w.fill();
        // The write's identification and the backup read's identification
        // go through; its first block does not.
        w.module.injectFault(sim::FaultKind::NoReply, 4);
        test::ModalDriver driver;
        driver.offerRole = QMessageBox::AcceptRole;
        w.press("Button0b");
        QCOMPARE(driver.offers.size(), 1);
        QCOMPARE(driver.messages.last(), fixedText(FixedText::BackupNotRead, 1));
        QCOMPARE(w.module.entryCount(), 3);
        QVERIFY(w.history().empty());
        QVERIFY(!w.module.isOpen());
        QVERIFY(w.window->module().isTimerActive());
    }

    // Nothing to verify after a write that did not happen.
    void noVerifyAfterAFailedWrite()
    {
        Window w(1, true);
        w.fill();
        w.module.setPlugged(false);
        test::ModalDriver driver;
        w.press("Button0b");
        QCOMPARE(driver.messages, QStringList{w.texts.text(textkey::kNoDevice)});
        QVERIFY(w.history().empty());
    }

    // The compare window after a write and one change in the window: the
    // change as a row, filtered by kind and by text, in each language.
    void compareShowsTheChange_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("Polish") << 0
                                << QStringList{"zmieniony", "strefa 4, lokal 7", "Nowak",
                                               "Kowalski 7"};
        QTest::newRow("English") << 1
                                 << QStringList{"changed", "zone 4, apartment 7", "Nowak",
                                                "Kowalski 7"};
        QTest::newRow("German") << 2
                                << QStringList{"geändert", "Zone 4, Wohnung 7", "Nowak",
                                               "Kowalski 7"};
    }
    void compareShowsTheChange()
    {
        QFETCH(int, language);
        QFETCH(QStringList, row);
        Window w(language);
        w.fill();
        {
            test::ModalDriver driver;
            w.press("Button0b");
        }
        w.setEntry(zoneRow(3, 7), QStringLiteral("Nowak"));
        w.setEntry(zoneRow(1, 1), QStringLiteral("Zieliński"));
        QList<QStringList> all, changedOnly, searched;
        test::ModalDriver driver([&](QWidget* modal) {
            auto* window = qobject_cast<CompareWindow*>(modal);
            QVERIFY(window);
            all = window->shownRows();
            window->kinds()->setCurrentIndex(3); // changed
            changedOnly = window->shownRows();
            window->kinds()->setCurrentIndex(0);
            window->filter()->setText(QStringLiteral("zieliń"));
            searched = window->shownRows();
            window->reject();
        });
        w.press("Button_porownaj");
        QCOMPARE(all.size(), 2);
        QCOMPARE(changedOnly, QList<QStringList>{row});
        QCOMPARE(searched.size(), 1);
        QCOMPARE(searched[0][2], QStringLiteral("Zieliński"));
        // Zone 2's new entry sorts before zone 4's change.
        QCOMPARE(all[1], row);
        QVERIFY(!w.module.isOpen());
    }

    // A write and a read each leave a file; the history window opens one as
    // a new document, unsaved and without a name.
    void historyOpensACopy()
    {
        Window w;
        w.fill();
        test::ModalDriver writing;
        w.press("Button0b");
        const DirectoryGrid written = w.window->directory().grid();
        w.window->fileActions().Nowy1Click();
        w.press("Button9b");
        const std::vector<HistoryEntry> kept = w.history();
        QCOMPARE(kept.size(), std::size_t(2));
        QCOMPARE(kept[0].operation, HistoryOperation::Read);
        QCOMPARE(kept[1].operation, HistoryOperation::Write);
        QCOMPARE(kept[0].entries, 10);

        w.window->fileActions().Nowy1Click();
        int rows = 0;
        test::ModalDriver driver([&](QWidget* modal) {
            auto* window = qobject_cast<HistoryWindow*>(modal);
            QVERIFY(window);
            rows = window->table()->rowCount();
            window->table()->selectRow(1); // the write
            window->openButton()->click();
        });
        w.window->fileActions().historyClick();
        QCOMPARE(rows, 2);
        for (int r = 1; r <= kGridRows; ++r)
            QCOMPARE(w.window->directory().grid().entryText(r).trimmed(),
                     written.entryText(r).trimmed());
        QVERIFY(w.window->isModified());
        QCOMPARE(w.window->windowTitle(), w.window->windowTitle().section(u' ', 0, 1));
    }

    // A module holding entries that the history has no copy of: keep them
    // first (a read, then the write), or write without; cancel writes nothing.
    void offerToKeepBeforeWriting_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<int>("kept"); // history files afterwards
        QTest::addColumn<bool>("written");
        QTest::newRow("read and keep") << int(QMessageBox::AcceptRole) << 2 << true;
        QTest::newRow("write without") << int(QMessageBox::DestructiveRole) << 1 << true;
        QTest::newRow("cancel") << int(QMessageBox::RejectRole) << 0 << false;
    }
    void offerToKeepBeforeWriting()
    {
        QFETCH(int, role);
        QFETCH(int, kept);
        QFETCH(bool, written);
        Window w(1, false, 3);
        w.fill();
        test::ModalDriver driver;
        driver.offerRole = QMessageBox::ButtonRole(role);
        w.press("Button0b");
        QCOMPARE(driver.offers.size(), 1);
        QVERIFY2(driver.offers[0].startsWith("The module holds 3 entries that the history has not "
                                             "kept."),
                 qPrintable(driver.offers[0]));
        QCOMPARE(int(w.history().size()), kept);
        QCOMPARE(w.module.entryCount(), written ? 10 : 3);
        if (kept == 2) {
            QCOMPARE(w.history()[1].operation, HistoryOperation::Read);
            const std::optional<DirectoryDocument> copy =
                loadDirectoryFile(w.history()[1].path).document;
            QVERIFY(copy);
            QCOMPARE(copy->grid.entryText(zoneRow(0, 3)).trimmed(), QStringLiteral("Stary 3"));
        }
        // Now the history holds what the module holds: no second offer.
        if (written) {
            w.press("Button0b");
            QCOMPARE(driver.offers.size(), 1);
        }
    }
};

QTEST_MAIN(SafetyNetsTest)
#include "tst_safetynets.moc"
