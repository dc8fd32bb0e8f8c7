#include "TransferFixture.h"

#include "module/DirectoryRead.h"
#include "module/DirectoryWrite.h"
#include "module/IntroTransfer.h"

#include <QTest>

#include <optional>

using namespace q540;
using namespace q540::test;
using q540::sim::FaultKind;

namespace {

enum class Operation { Write, Read, IntroRead, IntroWrite };

// The longest a transfer of this size may take on virtual time, even when
// every reply it waits for fails to come.
constexpr std::int64_t kVirtualTimeBoundMs = 5000;

struct Fault {
    FaultKind kind;
    int exchange;
};

struct Run {
    QStringList messages;
    QByteArray sent;
    QList<QByteArray> writes; // every write call, in order
    bool endedCleanly = false;
    std::int64_t elapsedMs = 0;
    // Entries of the read's grid, or intro screens replaced by the intro read.
    int received = 0;
    Outcome outcome;
};

const std::vector<NameRow> kRows{entry("Adamski", "", 2, 2), entry("Baran", "Jan", 9, 1),
                                 entry("Cedro", "", 3, 5)};

// A small directory in the module (its first block in zone 2, so that a
// wrong first configuration byte leaves the nibbles as they are) and a
// small directory to write.
Run run(Operation operation, std::optional<Fault> fault, int cancelAfterSteps = -1)
{
    TransferFixture f;
    f.sink.cancelAfterSteps = cancelAfterSteps;
    for (int p = 0; p < int(kRows.size()); ++p) {
        const NameRow& row = kRows[std::size_t(p)];
        f.setBlock(p, row.text.toLatin1() + char(row.apartment) + char(row.zone - 1));
    }
    f.module.setEntryCount(int(kRows.size()));
    if (fault)
        f.module.injectFault(fault->kind, fault->exchange, 1);
    const std::int64_t start = f.clock.nowMs();
    int received = 0;
    Outcome outcome;
    switch (operation) {
    case Operation::Write:
        outcome = sendDirectory(f.context, kRows, f.password, f.status);
        break;
    case Operation::Read: {
        const DirectoryReadResult read =
            receiveDirectory(f.context, DirectoryGrid(), f.password, f.status);
        for (int row = 1; row <= kGridRows; ++row)
            received += read.grid.isEntryEmpty(row) ? 0 : 1;
        outcome = read.outcome;
        break;
    }
    case Operation::IntroRead: {
        const IntroLines before{"-", "-", "-", "-", "-", "-", "-", "-"};
        const IntroRead read = receiveIntro(f.context, before, f.status);
        for (std::size_t line = 0; line < read.lines.size(); line += 2)
            received += read.lines[line] != before[line] ? 1 : 0;
        outcome = read.outcome;
        break;
    }
    case Operation::IntroWrite:
        outcome = sendIntro(f.context, IntroLines{"Witamy", "Rynek 5"}, f.status);
        break;
    }
    Run result{f.sink.messages,  f.module.sentBytes(),    {},
               f.endedCleanly(), f.clock.nowMs() - start, received,
               outcome};
    for (const auto& e : f.module.transcript()) {
        if (e.kind == sim::TranscriptEntry::Kind::HostToModule)
            result.writes << e.bytes;
    }
    return result;
}

// What the host had sent once the frame of exchange k went out, and with
// withData the data block after it too.
QByteArray sentThroughFrame(const Run& clean, int k, bool withData = false)
{
    QByteArray sent;
    int frames = 0;
    for (qsizetype i = 0; i < clean.writes.size(); ++i) {
        const QByteArray& w = clean.writes[i];
        sent += w;
        if (w.size() == 3 && frames++ == k) {
            if (withData && i + 1 < clean.writes.size())
                sent += clean.writes[i + 1];
            break;
        }
    }
    return sent;
}

// What a write that stopped after `written` of `total` blocks says the module holds.
QString holds(Operation op, int written, int total)
{
    if (written == 0)
        return QStringLiteral("Nic nie zostało potwierdzone jako zapisane; jeśli zawartość modułu "
                              "wygląda źle, zapisz ją ponownie.");
    if (op == Operation::IntroWrite)
        return QStringLiteral("Zapisano ekrany intro od 1 do %1 z %2; zapisz je ponownie.")
            .arg(written)
            .arg(total);
    return QStringLiteral("Zapisano wpisy od 1 do %1 z %2; katalog w module jest niekompletny — "
                          "zapisz go ponownie.")
        .arg(written)
        .arg(total);
}

// Whether a fault at exchange k stops the operation, and with which message.
// Faults that the protocol cannot see (a changed data byte; any fault of the
// display-time query or of the closing frame, whose replies are not awaited
// or not required) leave the run as it would have been.
std::optional<QString> stopMessage(Operation op, int k, FaultKind kind, int exchanges)
{
    const QString transmission = QStringLiteral("Błąd transmisji!");
    // Only a block write's data is acknowledged: the directory's blocks and
    // configuration, and the intro's four screens (not the display time, whose
    // byte no reply follows).
    if (kind == FaultKind::DataNotAcknowledged) {
        const bool blockWrite = (op == Operation::Write && k >= 2)
                                || (op == Operation::IntroWrite && k < exchanges - 2);
        return blockWrite ? std::optional(transmission) : std::nullopt;
    }
    const bool directory = op == Operation::Write || op == Operation::Read;
    if (directory && k == 0)
        return QStringLiteral("Brak urządzenia!");
    // The module answered its hello, so its missing configuration is said as such.
    if (directory && k == 1)
        return kind == FaultKind::WrongByte
                   ? std::nullopt
                   : std::optional(QStringLiteral(
                       "Moduł odpowiedział, ale jego konfiguracja nie dotarła (błąd transmisji); "
                       "sprawdź kabel i spróbuj ponownie."));
    const bool reads = op == Operation::Read || op == Operation::IntroRead;
    if (reads && kind == FaultKind::WrongByte)
        return std::nullopt;
    if ((op == Operation::IntroRead || op == Operation::IntroWrite) && k == exchanges - 1)
        return std::nullopt;
    return transmission;
}

// The messages of a fault at exchange k that stops the operation: the
// transmission error, and after a write's first block went out what the
// module now holds. The directory write's blocks are exchanges 2 .. 4 and its
// configuration 5; the intro write's screens 0 .. 3 and its display time 4.
std::optional<QStringList> stopMessages(Operation op, int k, FaultKind kind, int exchanges)
{
    const std::optional<QString> first = stopMessage(op, k, kind, exchanges);
    if (!first)
        return std::nullopt;
    QStringList messages{*first};
    const int rows = int(kRows.size());
    if (op == Operation::Write && k >= 2)
        messages << holds(op, std::min(k - 2, rows), rows);
    if (op == Operation::IntroWrite)
        messages << holds(op, k, protocol::kIntroScreenCount);
    return messages;
}

} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(FaultKind)
Q_DECLARE_METATYPE(q540::Outcome)

class TransferFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void faultAtEveryExchange_data();
    void faultAtEveryExchange();
    void cancelAfterEveryBlock_data();
    void cancelAfterEveryBlock();
    void refusals_data();
    void refusals();
};

void TransferFaultsTest::faultAtEveryExchange_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("exchange");
    QTest::addColumn<FaultKind>("kind");
    QTest::addColumn<bool>("stops");
    QTest::addColumn<QStringList>("messages");
    const std::pair<Operation, const char*> operations[] = {{Operation::Write, "write"},
                                                            {Operation::Read, "read"},
                                                            {Operation::IntroRead, "intro read"},
                                                            {Operation::IntroWrite, "intro write"}};
    const std::pair<FaultKind, const char*> kinds[] = {
        {FaultKind::NoReply, "no reply"},
        {FaultKind::WrongByte, "wrong byte"},
        {FaultKind::ShortReply, "short reply"},
        {FaultKind::DataNotAcknowledged, "data not acknowledged"}};
    for (const auto& [op, opName] : operations) {
        const QList<QByteArray> writes = run(op, std::nullopt).writes;
        const int exchanges = int(std::count_if(writes.begin(), writes.end(),
                                                [](const QByteArray& w) { return w.size() == 3; }));
        for (int k = 0; k < exchanges; ++k) {
            for (const auto& [kind, kindName] : kinds) {
                const auto messages = stopMessages(op, k, kind, exchanges);
                QTest::addRow("%s, exchange %d, %s", opName, k, kindName)
                    << op << k << kind << messages.has_value() << messages.value_or(QStringList());
            }
        }
    }
}

void TransferFaultsTest::faultAtEveryExchange()
{
    QFETCH(Operation, operation);
    QFETCH(int, exchange);
    QFETCH(FaultKind, kind);
    QFETCH(bool, stops);
    QFETCH(QStringList, messages);
    const Run clean = run(operation, std::nullopt);
    const Run faulty = run(operation, Fault{kind, exchange});

    QVERIFY(faulty.endedCleanly);
    QVERIFY(faulty.elapsedMs < kVirtualTimeBoundMs);
    // The typed result: a fault the protocol cannot see ends as done; one
    // that stops the operation is a failure, except at the directory
    // transfers' hello, where no module answered.
    QCOMPARE(clean.outcome, Outcome::done());
    const bool directory = operation == Operation::Write || operation == Operation::Read;
    const Outcome expected = !stops ? Outcome::done()
                             : directory && exchange == 0
                                 ? Outcome::refused(Outcome::Refusal::NoModule)
                                 : Outcome::failed();
    QCOMPARE(faulty.outcome, expected);
    if (stops) {
        QCOMPARE(faulty.messages, messages);
        QCOMPARE(faulty.sent,
                 sentThroughFrame(clean, exchange, kind == FaultKind::DataNotAcknowledged));
        // What arrived before the failure stays.
        if (operation == Operation::Read)
            QCOMPARE(faulty.received, std::max(exchange - 2, 0));
        if (operation == Operation::IntroRead)
            QCOMPARE(faulty.received, exchange);
    } else {
        QCOMPARE(faulty.messages, clean.messages);
        QCOMPARE(faulty.sent, clean.sent);
        QCOMPARE(faulty.received, clean.received);
    }
}

// Cancel pressed while block n is under way: the block is finished, then the
// transfer stops with the device closed and the poll running again, and says
// how far it got; pressed during the last block it comes too late.
void TransferFaultsTest::cancelAfterEveryBlock_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("blocks"); // blocks done when the transfer looks
    QTest::addColumn<int>("writes"); // write calls that reach the module
    QTest::addColumn<QStringList>("messages");
    const int rows = int(kRows.size());
    const int screens = protocol::kIntroScreenCount;
    const QString writeCancelled = QStringLiteral("Zapis przerwano. ");
    const QString readCancelled =
        QStringLiteral("Odczyt przerwano; nic z odczytanych danych nie zachowano.");
    for (int n = 0; n < rows; ++n) {
        QTest::addRow("write, after %d blocks", n)
            << Operation::Write << n << 2 + 2 * n
            << QStringList{writeCancelled + holds(Operation::Write, n, rows)};
        QTest::addRow("read, after %d blocks", n)
            << Operation::Read << n << 2 + n << QStringList{readCancelled};
    }
    for (int n = 0; n < screens; ++n) {
        QTest::addRow("intro write, after %d screens", n)
            << Operation::IntroWrite << n << 2 * n
            << QStringList{writeCancelled + holds(Operation::IntroWrite, n, screens)};
        QTest::addRow("intro read, after %d screens", n)
            << Operation::IntroRead << n << n << QStringList{readCancelled};
    }
    QTest::newRow("write, too late") << Operation::Write << rows << -1 << QStringList();
    QTest::newRow("read, too late") << Operation::Read << rows << -1 << QStringList();
}

void TransferFaultsTest::cancelAfterEveryBlock()
{
    QFETCH(Operation, operation);
    QFETCH(int, blocks);
    QFETCH(int, writes);
    QFETCH(QStringList, messages);
    const Run clean = run(operation, std::nullopt);
    const Run cancelled = run(operation, std::nullopt, blocks);
    QVERIFY(cancelled.endedCleanly);
    if (writes < 0) {
        QCOMPARE(cancelled.outcome, Outcome::done());
        QCOMPARE(cancelled.messages, clean.messages);
        return;
    }
    QCOMPARE(cancelled.outcome, Outcome::cancelled());
    QCOMPARE(cancelled.messages, messages);
    QCOMPARE(cancelled.writes, clean.writes.mid(0, writes));
    // A cancelled read keeps nothing.
    if (operation == Operation::Read || operation == Operation::IntroRead)
        QCOMPARE(cancelled.received, 0);
}

// Each operation's refusals: nothing of the directory or intro is sent, and
// the outcome says why.
void TransferFaultsTest::refusals_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<Outcome>("expected");
    const std::pair<Operation, const char*> operations[] = {{Operation::Write, "write"},
                                                            {Operation::Read, "read"},
                                                            {Operation::IntroRead, "intro read"},
                                                            {Operation::IntroWrite, "intro write"}};
    const auto refused = [](Outcome::Refusal why) { return Outcome::refused(why); };
    for (const auto& [op, name] : operations) {
        const auto row = [&, op = op, name = name](const char* situation, Outcome expected) {
            QTest::addRow("%s, %s", name, situation)
                << op << QString::fromLatin1(situation) << expected;
        };
        row("wrong password", refused(Outcome::Refusal::WrongPassword));
        row("unplugged", refused(Outcome::Refusal::NoModule));
        if (op == Operation::Write || op == Operation::IntroWrite)
            row("a character the module cannot show", refused(Outcome::Refusal::Content));
    }
    QTest::newRow("write, erase declined")
        << Operation::Write << QStringLiteral("erase declined") << Outcome::cancelled();
}

void TransferFaultsTest::refusals()
{
    QFETCH(Operation, operation);
    QFETCH(QString, situation);
    QFETCH(Outcome, expected);
    TransferFixture f;
    std::vector<NameRow> rows = kRows;
    IntroLines lines{QStringLiteral("Witamy")};
    if (situation == u"wrong password")
        f.password = QStringLiteral("0000");
    if (situation == u"unplugged")
        f.module.setPlugged(false);
    if (situation.startsWith(u"a character")) {
        rows[0].text.replace(0, 1, QChar(0x263A));
        lines[0] = QStringLiteral("Wi\u263Atamy");
    }
    if (situation == u"erase declined") {
        rows.clear();
        f.sink.answerYes = false;
    }
    // The poll's identification, as before a command of the window.
    f.status.configurationKnown = false;
    identifyAndApply(f.status, f.link, f.clock, f.password, f.texts, f.sink);
    f.module.clearTranscript();
    Outcome outcome;
    switch (operation) {
    case Operation::Write:
        outcome = sendDirectory(f.context, rows, f.password, f.status);
        break;
    case Operation::Read:
        outcome = receiveDirectory(f.context, DirectoryGrid(), f.password, f.status).outcome;
        break;
    case Operation::IntroRead:
        outcome = receiveIntro(f.context, lines, f.status).outcome;
        break;
    case Operation::IntroWrite:
        outcome = sendIntro(f.context, lines, f.status);
        break;
    }
    QCOMPARE(outcome, expected);
    // At most the identification went out: no block was written or read.
    for (const QByteArray& frame : f.frames())
        QVERIFY2(frame.at(0) == 17 || frame.at(0) == 13, frame.toHex().constData());
    // The device is closed, and the poll runs again if the operation stopped it.
    QVERIFY(!f.link.isOpen() && !f.module.isOpen() && !f.sink.progressVisible);
    QVERIFY(f.poll.events.isEmpty() || f.poll.events == QStringList({"suspend", "resume"}));
}

QTEST_GUILESS_MAIN(TransferFaultsTest)
#include "tst_transferfaults.moc"
