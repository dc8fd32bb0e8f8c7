#include "sim/EmulatedLink.h"
#include "sim/ModuleEmulator.h"
#include "sim/VirtualClock.h"
#include "support/EmulatedWindow.h"
#include "support/ModalDriver.h"
#include "ui/EntryEdit.h"
#include "ui/Localisation.h"
#include "ui/MainWindow.h"
#include "ui/TextKeys.h"

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

namespace {

struct Window : test::EmulatedWindow {
    Window() { poll(); }
    void press(const char* button) { child<QPushButton>(button)->click(); }
    // Every entry of the four zones, line 1 and line 2, with Polish letters.
    void fillDirectory()
    {
        DirectoryGrid& grid = window->directory().grid();
        for (int row = 1; row <= kFirstAdditionalRow - 1; ++row) {
            const QString text = QStringLiteral("Żółć %1").arg(row).leftJustified(kLine1Length)
                                 + QStringLiteral("ąę %1").arg(row * 7);
            for (int column = 1; column <= text.size(); ++column)
                grid.setCell(row, column, Cell(text.at(column - 1)));
        }
        window->directory().page().refresh();
    }
};

} // namespace

class GuiTransfersTest : public QObject {
    Q_OBJECT

private slots:
    void fullDirectoryWrittenAndReadBack();
    void introScreensWrittenAndReadBack();
    void withoutModuleNothingIsSent();
};

void GuiTransfersTest::fullDirectoryWrittenAndReadBack()
{
    Window w;
    w.fillDirectory();
    QCOMPARE(w.window->directory().list().rows().size(), std::size_t(1020));
    const DirectoryGrid written = w.window->directory().grid();
    test::ModalDriver driver;
    w.press("Button0b");
    QCOMPARE(driver.messages, QStringList{w.texts.text(textkey::kDataWritten)});
    QCOMPARE(w.module.entryCount(), 1020);
    QVERIFY(!w.window->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->isVisible());
    QVERIFY(w.window->module().isTimerActive());

    w.window->Nowy1Click();
    QVERIFY(w.window->directory().list().rows().empty());
    driver.messages.clear();
    w.press("Button9b");
    QCOMPARE(driver.messages, QStringList{w.texts.text(textkey::kDataRead)});
    // The module keeps 30 characters an entry: empty cells come back as spaces.
    for (int row = 1; row <= kGridRows; ++row)
        QCOMPARE(w.window->directory().grid().entryText(row), written.entryText(row));
    QCOMPARE(w.window->directory().list().rows().size(), std::size_t(1020));
    QVERIFY(!w.module.isOpen());
}

void GuiTransfersTest::introScreensWrittenAndReadBack()
{
    Window w;
    const QStringList lines{"Witamy", "Ul. Długa 5", "", "Wejście A", "Kod", "", "Żegnamy", ""};
    for (int i = 0; i < lines.size(); ++i)
        w.window->edit(511 + i)->setText(lines[i]);
    w.window->findChild<QComboBox*>(QStringLiteral("ComboBox_czas"))->setCurrentIndex(6);
    test::ModalDriver driver;
    w.press("Button2");
    QCOMPARE(w.module.introTime(), 7);

    w.window->Nowy1Click();
    w.press("Button1");
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(w.window->edit(511 + i)->text(), lines[i]);
    QCOMPARE(w.window->findChild<QComboBox*>(QStringLiteral("ComboBox_czas"))->currentIndex(), 6);
    QVERIFY(w.window->module().isTimerActive());
}

void GuiTransfersTest::withoutModuleNothingIsSent()
{
    Window w;
    w.module.setPlugged(false);
    w.fillDirectory();
    w.module.clearTranscript();
    test::ModalDriver driver;
    w.press("Button0b");
    QCOMPARE(driver.messages, QStringList{w.texts.text(textkey::kNoDevice)});
    QVERIFY(w.module.sentBytes().isEmpty());
    QVERIFY(w.window->module().isTimerActive());
}

QTEST_MAIN(GuiTransfersTest)
#include "tst_guitransfers.moc"
