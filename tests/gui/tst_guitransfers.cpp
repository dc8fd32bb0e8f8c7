#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"
#include "support/EmulatedWindow.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    void anotherModuleDuringTheEraseQuestionGetsNothing_data();
    void anotherModuleDuringTheEraseQuestionGetsNothing();
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

    w.window->fileActions().Nowy1Click();
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

    w.window->fileActions().Nowy1Click();
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

void GuiTransfersTest::anotherModuleDuringTheEraseQuestionGetsNothing_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("answered No") << false;
    QTest::newRow("answered Yes") << true;
}

// While the erase question waits, the cable is moved to a module with another
// password and the poll sees it. Neither the erase nor a reset-lock click
// afterwards may reach that module, and the tool bar shows the poll's finding.
void GuiTransfersTest::anotherModuleDuringTheEraseQuestionGetsNothing()
{
    QFETCH(bool, yes);
    Window w;
    QVERIFY(w.window->module().status().passwordConfirmed());
    QStringList questions;
    bool polled = false;
    QTimer answerer;
    answerer.setInterval(5);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (!box->button(QMessageBox::Ok) && !box->button(QMessageBox::Yes)) {
            // The offer to keep the module's directory first: not this test's matter.
            for (QAbstractButton* button : box->buttons())
                if (box->buttonRole(button) == QMessageBox::DestructiveRole)
                    return button->click();
        }
        if (box->button(QMessageBox::Yes) && !polled) {
            polled = true;
            w.module.setPlugged(false);
            w.poll();
            w.module.setPasswordFirstHalf(11);
            w.module.setPlugged(true);
            w.poll();
        }
        questions << box->text();
        QAbstractButton* ok = box->button(QMessageBox::Ok);
        box->button(ok ? QMessageBox::Ok : (yes ? QMessageBox::Yes : QMessageBox::No))->click();
    });
    answerer.start();
    w.module.clearTranscript();
    w.press("Button0b");
    QVERIFY(polled);
    QVERIFY(!w.window->module().status().passwordConfirmed());

    w.child<QCheckBox>("CheckBox_blokada_resetu")->click();
    QTRY_VERIFY(!w.window->module().link().isOpen());
    // Only polls and identifications went out: hello and configuration reads.
    const auto asBytes = [](const protocol::Frame& f) {
        return QByteArray(reinterpret_cast<const char*>(f.data()), qsizetype(f.size()));
    };
    const QByteArray sent = w.module.sentBytes();
    QCOMPARE(sent.size() % 3, 0);
    for (qsizetype i = 0; i < sent.size(); i += 3) {
        const QByteArray frame = sent.mid(i, 3);
        QVERIFY2(frame == asBytes(protocol::frame(protocol::kHello))
                     || frame == asBytes(protocol::frame(protocol::kReadConfiguration)),
                 frame.toHex(' ').constData());
    }
    QCOMPARE(w.child<QLineEdit>("Edit_haslo")->palette().color(QPalette::Disabled, QPalette::Base),
             QColor(255, 0, 0));
    QVERIFY(questions.contains(w.texts.text(textkey::kWrongPassword)));
}

QTEST_MAIN(GuiTransfersTest)
#include "tst_guitransfers.moc"
