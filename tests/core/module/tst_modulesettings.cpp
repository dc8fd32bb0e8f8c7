#include "base/TextKeys.h"
#include "support/Bytes.h"
#include "support/MonitorBench.h"

#include <QTest>

Q_DECLARE_METATYPE(q540::Outcome)

using namespace q540;
using q540::sim::FaultKind;

namespace {

using test::bytes;

struct Bench : test::MonitorBench {
    // Identifies the module so that the status says present and whether
    // the program's password matches; then forgets what was sent so far.
    void identify()
    {
        monitor.identifyNow();
        module.clearTranscript();
    }
    QByteArray sent() const { return module.sentBytes(); }
    QString text(int key) const { return texts.text(key); }
};

} // namespace

class ModuleSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void passwordEntry_data();
    void passwordEntry();
    void passwordStoreWithoutEndByte();
    void languageRead_data();
    void languageRead();
    void languageWrite();
    void resetLock_data();
    void resetLock();
    void operationsResumeThePoll();
    void deviceHeldElsewhere_data();
    void deviceHeldElsewhere();
    void changeNotConfirmed_data();
    void changeNotConfirmed();
    void outcomes_data();
    void outcomes();
};

void ModuleSettingsTest::passwordEntry_data()
{
    QTest::addColumn<QString>("entered");
    QTest::addColumn<bool>("confirmed"); // the module's password matched before the entry
    QTest::addColumn<QString>("padded");
    QTest::addColumn<QByteArray>("sent");

    const QByteArray store = bytes({13, 4, 18});
    QTest::newRow("two digits, stored") << "42" << true << "0042" << store + bytes({0, 42});
    QTest::newRow("empty, stored") << "" << true << "0000" << store + bytes({0, 0});
    QTest::newRow("one digit") << "7" << true << "0007" << store + bytes({0, 7});
    QTest::newRow("three digits") << "123" << true << "0123" << store + bytes({1, 23});
    QTest::newRow("four digits") << "1999" << true << "1999" << store + bytes({19, 99});
    QTest::newRow("not confirmed: nothing sent") << "8264" << false << "8264" << QByteArray();
}

void ModuleSettingsTest::passwordEntry()
{
    QFETCH(QString, entered);
    QFETCH(bool, confirmed);
    QFETCH(QString, padded);
    QFETCH(QByteArray, sent);
    Bench b;
    if (!confirmed)
        b.module.setPasswordFirstHalf(11);
    const std::int64_t identifying = b.clock.nowMs();
    b.identify();
    const std::int64_t identificationMs = b.clock.nowMs() - identifying;
    QCOMPARE(b.monitor.status().passwordConfirmed(), confirmed);
    if (!confirmed)
        b.module.setPasswordFirstHalf(82); // the entry names the module's real password

    const std::int64_t before = b.clock.nowMs();
    QCOMPARE(b.monitor.enterPassword(entered), padded);
    // The store's 5 ms reply delay and the configuration read back to confirm
    // it, then the entry's own 300 ms pause, stored or not.
    QCOMPARE(b.clock.nowMs() - before,
             confirmed ? 5 + protocol::kConfirmationSettleMs + identificationMs + 300 : 300);

    QCOMPARE(b.monitor.password(), padded);
    // Hello, then the configuration read.
    const QByteArray confirmation = confirmed ? bytes({17, 22, 40, 13, 1, 15}) : QByteArray();
    QCOMPARE(b.sent(), sent + confirmation);
    QCOMPARE(b.monitor.status().configurationKnown, false);
    QCOMPARE(b.monitor.status().moduleLanguage, 0);
    QCOMPARE(b.sink.messages,
             confirmed ? QStringList{b.text(textkey::kPasswordStored)} : QStringList{});
    // The next configuration read judges the password the program now holds.
    b.monitor.identifyNow();
    QVERIFY(b.monitor.status().passwordConfirmed());
    QCOMPARE(b.monitor.status().passwordCheck, PasswordCheck::Matches);
}

void ModuleSettingsTest::passwordStoreWithoutEndByte()
{
    Bench b;
    b.identify();
    b.module.injectFault(FaultKind::NoReply);
    b.monitor.enterPassword(QStringLiteral("1111"));
    // The two pairs never follow a frame the module did not acknowledge.
    QCOMPARE(b.sent(), bytes({13, 4, 18}));
    QCOMPARE(b.sink.messages, QStringList{b.text(textkey::kWriteFailed)});
    QVERIFY(!b.module.isOpen());
    QCOMPARE(b.module.passwordFirstHalf(), 82);
}

void ModuleSettingsTest::languageRead_data()
{
    QTest::addColumn<int>("moduleCode");
    QTest::addColumn<int>("codeByteA");
    QTest::addColumn<int>("codeByteB");
    QTest::addColumn<int>("fault"); // a FaultKind, -1 for none
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("hint");

    const int none = -1;
    QTest::newRow("code 9 reads as PL") << 9 << 5 << 12 << none << 1 << "12 05";
    QTest::newRow("code bytes above 99") << 2 << 150 << 7 << none << 2 << "07 00";
    QTest::newRow("German") << 5 << 0 << 99 << none << 5 << "99 00";
    QTest::newRow("wrong check byte")
        << 5 << 1 << 2 << int(FaultKind::BadCheckByte) << 0 << "02 01";
    // 31 + 5 + 200 + 19 + 1 is 256: the check byte that never came reads as
    // the 0 that would check. Four bytes are not a reply.
    QTest::newRow("short reply whose missing byte would check")
        << 5 << 200 << 19 << int(FaultKind::ShortReply) << 0 << "19 00";
}

void ModuleSettingsTest::languageRead()
{
    QFETCH(int, moduleCode);
    QFETCH(int, codeByteA);
    QFETCH(int, codeByteB);
    QFETCH(int, fault);
    QFETCH(int, code);
    QFETCH(QString, hint);
    Bench b;
    b.module.setLanguageCode(moduleCode);
    b.module.setLanguageCodeBytes(std::uint8_t(codeByteA), std::uint8_t(codeByteB));
    if (fault >= 0)
        b.module.injectFault(FaultKind(fault));

    const std::optional<LanguageReading> reading = b.monitor.readLanguage();

    QVERIFY(reading);
    QCOMPARE(reading->code, code);
    QCOMPARE(reading->codeHint, hint);
    QCOMPARE(b.sent(), bytes({14, 0, 15}));
    QVERIFY(b.sink.messages.isEmpty());
    QVERIFY(!b.module.isOpen());
}

void ModuleSettingsTest::languageWrite()
{
    Bench b;
    b.identify();
    b.monitor.writeLanguage(5);
    // The frame, then hello and the configuration read that confirm it.
    QCOMPARE(b.sent(), bytes({14, 5, 20, 17, 22, 40, 13, 1, 15}));
    QCOMPARE(b.sink.messages, QStringList{b.text(textkey::kResetAfterLanguage)});
    QCOMPARE(b.monitor.status().moduleLanguage, 0);
    QCOMPARE(b.module.languageCode(), 5);

    // Without a cable nothing is sent and the transmission failure is told.
    b.module.setPlugged(false);
    b.module.clearTranscript();
    b.sink.messages.clear();
    QVERIFY(!b.monitor.readLanguage());
    b.monitor.writeLanguage(3);
    QCOMPARE(b.sent(), QByteArray());
    QCOMPARE(b.sink.messages, QStringList(2, b.text(textkey::kUsbTransmissionFailure)));
}

void ModuleSettingsTest::resetLock_data()
{
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<bool>("passwordMatches");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QByteArray>("lockFrame");
    QTest::addColumn<int>("message"); // text key, 0 for none

    QTest::newRow("lock on") << true << true << true << bytes({13, 127, 141}) << 0;
    QTest::newRow("lock off") << true << true << false << bytes({13, 128, 142}) << 0;
    QTest::newRow("wrong password")
        << true << false << true << QByteArray() << textkey::kWrongPassword;
    QTest::newRow("no module: silent") << false << true << true << QByteArray() << 0;
}

void ModuleSettingsTest::resetLock()
{
    QFETCH(bool, plugged);
    QFETCH(bool, passwordMatches);
    QFETCH(bool, ticked);
    QFETCH(QByteArray, lockFrame);
    QFETCH(int, message);
    Bench b;
    b.module.setResetAllowed(ticked); // the module's lock is the opposite of the new tick
    if (!passwordMatches)
        b.module.setPasswordSecondHalf(65);
    b.identify();
    b.module.setPlugged(plugged);

    b.monitor.changeResetLock(ticked);

    // The click polls first: one hello, then the lock frame and its
    // confirmation (hello, configuration read), or nothing.
    const QByteArray hello = plugged ? bytes({17, 22, 40}) : QByteArray();
    const QByteArray confirmation =
        lockFrame.isEmpty() ? QByteArray() : bytes({17, 22, 40, 13, 1, 15});
    QCOMPARE(b.sent(), hello + lockFrame + confirmation);
    QCOMPARE(b.sink.messages, message ? QStringList{b.text(message)} : QStringList{});
    QCOMPARE(b.monitor.status().chosen.resetLock, ticked);
    if (!lockFrame.isEmpty())
        QCOMPARE(b.module.resetAllowed(), !ticked);
    QVERIFY(!b.module.isOpen());
}

// A change the module acknowledges but does not keep, or whose configuration
// does not come back, is not reported as made: the user hears what the module
// holds, or that it could not be confirmed, instead of the change's message.
void ModuleSettingsTest::changeNotConfirmed_data()
{
    QTest::addColumn<int>("setting"); // 0 password, 1 language, 2 reset lock
    QTest::addColumn<bool>("replyMissing");
    QTest::addColumn<QString>("message");
    QTest::newRow("password not kept")
        << 0 << false
        << "The module did not take the change: installer password sent 0042, its "
           "configuration holds 8264.";
    QTest::newRow("language not kept")
        << 1 << false
        << "The module did not take the change: module language sent 5 DE, its configuration "
           "holds 1 PL.";
    QTest::newRow("reset lock not kept")
        << 2 << false
        << "The module did not take the change: reset lock sent on, its configuration holds off.";
    QTest::newRow("password, no configuration back")
        << 0 << true
        << "The installer password was sent, but the module's configuration could not be read "
           "back to confirm it.";
    QTest::newRow("language, no configuration back")
        << 1 << true
        << "The module language was sent, but the module's configuration could not be read back "
           "to confirm it.";
    QTest::newRow("reset lock, no configuration back")
        << 2 << true
        << "The reset lock was sent, but the module's configuration could not be read back to "
           "confirm it.";
}

void ModuleSettingsTest::changeNotConfirmed()
{
    QFETCH(int, setting);
    QFETCH(bool, replyMissing);
    QFETCH(QString, message);
    Bench b;
    b.texts.setLanguage(1);
    b.module.setLanguageCode(1);
    b.identify();
    if (replyMissing) {
        // The change's own exchanges go through; the configuration read after
        // them gets no answer.
        const int changeExchanges = setting == 2 ? 2 : 1;
        b.module.injectFault(sim::FaultKind::NoReply, changeExchanges + 1);
    } else {
        b.module.ignoreSettingChanges(true);
    }
    Outcome outcome = Outcome::done();
    switch (setting) {
    case 0:
        b.monitor.enterPassword(QStringLiteral("42"));
        break;
    case 1:
        outcome = b.monitor.writeLanguage(5);
        break;
    case 2:
        b.monitor.changeResetLock(true);
        break;
    }
    QCOMPARE(b.sink.messages, QStringList{message});
    if (setting == 1)
        QCOMPARE(outcome, Outcome::failed());
    QVERIFY(!b.module.isOpen());
}

void ModuleSettingsTest::deviceHeldElsewhere_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("message"); // text key, 0 for none
    QTest::newRow("password store: silent") << 0 << 0;
    QTest::newRow("language read") << 1 << textkey::kUsbTransmissionFailure;
    QTest::newRow("language write") << 2 << textkey::kUsbTransmissionFailure;
    QTest::newRow("reset lock") << 3 << textkey::kUsbTransmissionFailure;
}

// Another program holds the port: each exchange says so in its own words,
// and nothing reaches the module.
void ModuleSettingsTest::deviceHeldElsewhere()
{
    QFETCH(int, operation);
    QFETCH(int, message);
    Bench b;
    sim::EmulatedLink other(b.module, b.clock);
    QVERIFY(other.open());
    b.module.clearTranscript();
    switch (operation) {
    case 0:
        QCOMPARE(storePassword(b.device, b.clock, QStringLiteral("1234"), b.sink, b.texts),
                 Outcome::failed());
        break;
    case 1:
        QVERIFY(!readModuleLanguage(b.device, b.clock, b.sink, b.texts));
        break;
    case 2:
        QCOMPARE(writeModuleLanguage(b.device, b.clock, 3, b.sink, b.texts), Outcome::failed());
        break;
    case 3:
        QCOMPARE(sendResetLock(b.device, true, true, true, b.sink, b.texts), Outcome::failed());
        break;
    }
    QCOMPARE(b.sink.messages, message ? QStringList{b.text(message)} : QStringList());
    QCOMPARE(b.sent(), QByteArray());
    QVERIFY(!b.device.isOpen());
}

void ModuleSettingsTest::operationsResumeThePoll()
{
    Bench b;
    b.monitor.resume();
    b.module.setPlugged(false);
    b.monitor.changeResetLock(true);
    QVERIFY(b.monitor.isTimerActive());
    b.monitor.writeLanguage(2);
    QVERIFY(b.monitor.isTimerActive());
    b.monitor.enterPassword(QStringLiteral("1"));
    QVERIFY(b.monitor.isTimerActive());
}

// Each settings exchange's endings as the CLI decides by them.
void ModuleSettingsTest::outcomes_data()
{
    QTest::addColumn<QString>("exchange");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<Outcome>("expected");
    const Outcome done = Outcome::done();
    const Outcome failed = Outcome::failed();
    const auto refused = [](Outcome::Refusal why) { return Outcome::refused(why); };
    const auto row = [](const char* exchange, const char* situation, Outcome expected) {
        QTest::newRow(qPrintable(QStringLiteral("%1: %2").arg(exchange, situation)))
            << QString::fromLatin1(exchange) << QString::fromLatin1(situation) << expected;
    };
    row("password", "stored", done);
    row("password", "no end byte", failed);
    row("password", "unplugged", failed);
    row("language", "sent", done);
    row("language", "code 8", refused(Outcome::Refusal::Content));
    row("language", "unplugged", failed);
    row("reset lock", "sent", done);
    row("reset lock", "no module", refused(Outcome::Refusal::NoModule));
    row("reset lock", "wrong password", refused(Outcome::Refusal::WrongPassword));
    row("reset lock", "unplugged", failed);
}

void ModuleSettingsTest::outcomes()
{
    QFETCH(QString, exchange);
    QFETCH(QString, situation);
    QFETCH(Outcome, expected);
    Bench b;
    if (situation == u"unplugged")
        b.module.setPlugged(false);
    if (situation == u"no end byte")
        b.module.injectFault(FaultKind::NoReply);
    Outcome outcome;
    if (exchange == u"password") {
        outcome = storePassword(b.device, b.clock, QStringLiteral("1234"), b.sink, b.texts);
    } else if (exchange == u"language") {
        outcome =
            writeModuleLanguage(b.device, b.clock, situation == u"code 8" ? 8 : 3, b.sink, b.texts);
    } else {
        outcome = sendResetLock(b.device, situation != u"no module", situation != u"wrong password",
                                true, b.sink, b.texts);
    }
    QCOMPARE(outcome, expected);
    // Only a done exchange changes the module: a refusal sends no command.
    if (outcome.kind == Outcome::Kind::Refused)
        QCOMPARE(b.sent(), QByteArray());
    QVERIFY(!b.device.isOpen());
}

QTEST_GUILESS_MAIN(ModuleSettingsTest)
#include "tst_modulesettings.moc"
