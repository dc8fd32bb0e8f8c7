#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "device/SerialLink.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "emulator/VirtualClock.h"
#include "gui/main/MainWindow.h"
#include "gui/main/ModuleStatusView.h"
#include "gui/main/SettingsPanel.h"
#include "support/Bytes.h"
#include "support/EmulatedWindow.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace q540;
using q540::test::bytes;

namespace {

struct Window : test::EmulatedWindow {
    using EmulatedWindow::EmulatedWindow;
    QString status() { return child<QLineEdit>("Edit_Status")->text(); }
    int imageIndex() { return child<QToolButton>("ToolButton8")->property("ImageIndex").toInt(); }
    QColor passwordColour()
    {
        return child<QLineEdit>("Edit_haslo")->palette().color(QPalette::Disabled, QPalette::Base);
    }
    void poll() { QVERIFY(EmulatedWindow::poll()); }
};

// Runs the panel's part of a test once the panel is shown.
struct ModalDriver : test::ModalDriver {
    explicit ModalDriver(std::function<void(SettingsPanel*)> onPanel)
        : test::ModalDriver([onPanel](QWidget* modal) {
              if (auto* panel = qobject_cast<SettingsPanel*>(modal))
                  onPanel(panel);
          })
    {
    }
};

} // namespace

class ModuleToolBarTest : public QObject {
    Q_OBJECT

private slots:
    void stateIsShown_data();
    void stateIsShown();
    void portProblemIsShown_data();
    void portProblemIsShown();
    void moduleFoundWithinTwoPollPeriods();
    void enterCancelsThePasswordPanel();
    void newPasswordIsStored();
    void languagePanelReadsAndWrites();
    void resetLockClickSendsTheLock_data();
    void resetLockClickSendsTheLock();
    void pollChangingTheLockTickSendsNothing();
};

void ModuleToolBarTest::stateIsShown_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("state");
    QTest::addColumn<int>("image");
    QTest::addColumn<int>("tag");
    QTest::addColumn<int>("textKey");
    QTest::addColumn<QString>("suffix");
    for (int language = 0; language < 3; ++language) {
        const QByteArray l = QByteArray::number(language);
        QTest::newRow("no cable " + l)
            << language << "unplugged" << 5 << -1 << textkey::kCableNotFound << "";
        QTest::newRow("silent " + l)
            << language << "silent" << 7 << -1 << textkey::kCableFound << "";
        QTest::newRow("unsupported " + l)
            << language << "unsupported" << 7 << -1 << textkey::kDeviceUnsupported << "";
        QTest::newRow("module " + l) << language << "present" << 6 << 70
                                     << textkey::kModuleConnected << " Q540 v.7.0 K-3 DE";
    }
}

void ModuleToolBarTest::stateIsShown()
{
    QFETCH(int, language);
    QFETCH(QString, state);
    QFETCH(int, image);
    QFETCH(int, tag);
    QFETCH(int, textKey);
    QFETCH(QString, suffix);
    Window w(language);
    QCOMPARE(w.imageIndex(), int(ModuleStatusView::kImageNoState));
    w.module.setEntryCount(20);
    w.module.setVariantDigit(3);
    w.module.setLanguageCode(5);
    if (state == QLatin1String("unplugged"))
        w.module.setPlugged(false);
    else if (state == QLatin1String("silent"))
        w.module.injectFault(sim::FaultKind::NoReply);
    else if (state == QLatin1String("unsupported"))
        w.module.setDeviceCode(99);

    w.poll();

    QCOMPARE(w.imageIndex(), image);
    QCOMPARE(w.child<QToolButton>("ToolButton8")->property("Tag").toInt(), tag);
    QCOMPARE(w.status(), w.texts.text(textKey) + suffix);
    QCOMPARE(w.child<QLineEdit>("Edit520")->text(), image == 6 ? QStringLiteral("20") : QString());
    const QColor expected =
        image == 6 ? QColor(0, 255, 0)
                   : w.window->style()->standardPalette().color(QPalette::Disabled, QPalette::Base);
    QCOMPARE(w.passwordColour(), expected);
}

void ModuleToolBarTest::portProblemIsShown_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("port"); // "@" stands for a folder of the test
    QTest::addColumn<QString>("status");
    QTest::newRow("missing, pl") << 0 << "/dev/q540-none"
                                 << "Stan połączenia: port /dev/q540-none nie istnieje";
    QTest::newRow("missing, en") << 1 << "/dev/q540-none"
                                 << "Connection status: port /dev/q540-none does not exist";
    QTest::newRow("folder, de") << 2 << "@"
                                << "Verbindungsstand: @ ist keine serielle Schnittstelle";
}

// The window polls a port that cannot be a cable and says why, in place of
// "device not found".
void ModuleToolBarTest::portProblemIsShown()
{
    QFETCH(int, language);
    QFETCH(QString, port);
    QFETCH(QString, status);
    QTemporaryDir dir;
    port.replace(u'@', dir.path());
    status.replace(u'@', dir.path());
    Window w(language);
    SerialLink serial(port);
    SystemClock clock;
    w.window->attachModule(serial, clock);
    w.poll();
    QCOMPARE(w.status(), status);
    QCOMPARE(w.imageIndex(), int(ModuleStatusView::kImageNoCable));
}

void ModuleToolBarTest::moduleFoundWithinTwoPollPeriods()
{
    Window w;
    w.module.setPasswordSecondHalf(65); // not the program's password
    // Timer1 itself, on real time: the first poll comes one period after the start.
    QTRY_COMPARE_WITH_TIMEOUT(w.imageIndex(), int(ModuleStatusView::kImageModulePresent),
                              2 * protocol::kPollIntervalMs);
    QCOMPARE(w.passwordColour(), QColor(255, 0, 0));
}

void ModuleToolBarTest::enterCancelsThePasswordPanel()
{
    Window w;
    w.poll();
    w.module.clearTranscript();
    ModalDriver driver([](SettingsPanel* panel) {
        auto* edit =
            panel->findChild<QLineEdit*>(QStringLiteral("D1_Edit_Parametry_Haslo_Instalatora"));
        QCOMPARE(edit->text(), QStringLiteral("8264"));
        QTest::keyClicks(edit, QStringLiteral("x1"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    w.child<QPushButton>("Button_zmien_haslo")->click();
    QCOMPARE(w.child<QLineEdit>("Edit_haslo")->text(), QStringLiteral("8264"));
    QVERIFY(!w.module.sentBytes().contains(bytes({13, 4, 18})));
    QVERIFY(driver.messages.isEmpty());
}

void ModuleToolBarTest::newPasswordIsStored()
{
    Window w;
    w.poll();
    QVERIFY(w.window->module().status().passwordConfirmed());
    w.module.clearTranscript();
    ModalDriver driver([&w](SettingsPanel* panel) {
        QCOMPARE(panel->windowTitle(), w.texts.text(153));
        QCOMPARE(panel->findChild<QLabel*>(QStringLiteral("Label239"))->text(), w.texts.text(152));
        auto* edit =
            panel->findChild<QLineEdit*>(QStringLiteral("D1_Edit_Parametry_Haslo_Instalatora"));
        edit->clear();
        QTest::keyClicks(edit, QStringLiteral("4a2"));
        QCOMPARE(edit->text(), QStringLiteral("42"));
        panel->findChild<QPushButton*>(QStringLiteral("D1_Button_Zatwierdz_zmiane_Parametrow"))
            ->click();
    });
    w.child<QPushButton>("Button_zmien_haslo")->click();
    QCOMPARE(w.module.sentBytes().left(5), bytes({13, 4, 18, 0, 42}));
    QCOMPARE(driver.messages, QStringList{w.texts.text(textkey::kPasswordStored)});
    QCOMPARE(w.child<QLineEdit>("Edit_haslo")->text(), QStringLiteral("0042"));
    // The poll right after the panel reads the configuration again: the module agrees.
    QTRY_VERIFY_WITH_TIMEOUT(w.window->module().status().configurationKnown, 5000);
    QCOMPARE(w.passwordColour(), QColor(0, 255, 0));
}

void ModuleToolBarTest::languagePanelReadsAndWrites()
{
    Window w;
    w.module.setLanguageCode(2);
    w.module.setLanguageCodeBytes(5, 12);
    w.poll();
    QCOMPARE(w.window->jezyk_modulu(), 2);
    ModalDriver driver([&w](SettingsPanel* panel) {
        auto* combo = panel->findChild<QComboBox*>(QStringLiteral("ComboBox_jezyk_modulu"));
        auto* write =
            panel->findChild<QPushButton*>(QStringLiteral("Button_zapis_jezyka_do_modulu"));
        QCOMPARE(combo->currentText(), QStringLiteral("EN"));
        panel->findChild<QPushButton*>(QStringLiteral("Button_Odczyt_jezyka"))->click();
        // The language the module already has cannot be written again.
        QCOMPARE(combo->currentText(), QStringLiteral("EN"));
        QVERIFY(!write->isEnabled());
        QCOMPARE(panel->findChild<QLabel*>(QStringLiteral("Label_kod"))->toolTip(),
                 QStringLiteral("12 05"));
        combo->setCurrentIndex(5);
        emit combo->activated(5);
        QVERIFY(write->isEnabled());
        write->click();
        QVERIFY(!write->isEnabled());
        panel->findChild<QPushButton*>(QStringLiteral("Button_zamknij"))->click();
    });
    w.window->moduleActions().Zmien_jezykClick();
    QVERIFY(w.module.sentBytes().contains(bytes({14, 5, 20})));
    QCOMPARE(driver.messages, QStringList{w.texts.text(textkey::kResetAfterLanguage)});
    QCOMPARE(w.module.languageCode(), 5);
    QVERIFY(!w.window->module().status().configurationKnown);
}

void ModuleToolBarTest::resetLockClickSendsTheLock_data()
{
    QTest::addColumn<bool>("taken");
    QTest::newRow("the module takes it") << true;
    QTest::newRow("the module keeps its lock off") << false;
}

// The lock is sent, then confirmed by the module's configuration: a lock the
// module did not take is said, and the tick shows what the module holds.
void ModuleToolBarTest::resetLockClickSendsTheLock()
{
    QFETCH(bool, taken);
    Window w;
    w.module.setResetAllowed(true);
    w.module.ignoreSettingChanges(!taken);
    w.poll();
    auto* lock = w.child<QCheckBox>("CheckBox_blokada_resetu");
    QVERIFY(!lock->isChecked());
    w.module.clearTranscript();
    test::ModalDriver driver;
    lock->click();
    QVERIFY(w.module.sentBytes().contains(bytes({13, 127, 141})));
    QCOMPARE(w.module.resetAllowed(), !taken);
    QCOMPARE(driver.messages.size(), taken ? 0 : 1);
    if (!taken)
        QVERIFY(driver.messages[0].contains(
            fixedText(FixedText::ConfigurationResetLock, w.texts.language())));
    w.poll();
    QTRY_COMPARE(lock->isChecked(), taken);
}

// The poll ticks and unticks the box as the module's lock stands; only the
// user's click may send the lock, never the poll's own change of the tick.
void ModuleToolBarTest::pollChangingTheLockTickSendsNothing()
{
    Window w;
    w.module.setResetAllowed(false);
    auto* lock = w.child<QCheckBox>("CheckBox_blokada_resetu");
    w.poll();
    QVERIFY(lock->isChecked());
    // Another module, its reset allowed: unplugging makes the poll read the
    // configuration again.
    w.module.setPlugged(false);
    w.poll();
    w.module.setResetAllowed(true);
    w.module.setPlugged(true);
    w.poll();
    QVERIFY(!lock->isChecked());
    const QByteArray sent = w.module.sentBytes();
    QVERIFY(!sent.contains(bytes({13, 127, 141})));
    QVERIFY(!sent.contains(bytes({13, 128, 142})));
    QVERIFY(w.module.resetAllowed());
}

QTEST_MAIN(ModuleToolBarTest)
#include "tst_moduletoolbar.moc"
