// The module workflows over the emulator and the fault seams: each safety
// step fails closed, and each ending says what the module holds.

#include "base/FixedTexts.h"
#include "commands/ModuleWorkflows.h"
#include "core/module/TransferFixture.h"
#include "files/DirectoryStore.h"
#include "files/History.h"
#include "support/FileSizeLimit.h"
#include "support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace q540;
using Choice = WorkflowQuestions::KeepChoice;

namespace {

const QDateTime kNow(QDate(2026, 12, 10), QTime(6, 0));

struct ScriptedQuestions final : WorkflowQuestions {
    Choice keep = Choice::ReadAndKeep;
    int writeAgainTimes = 1;
    QStringList asked;
    Choice keepFirst(int entries, int) override
    {
        asked << QStringLiteral("keep %1").arg(entries);
        return keep;
    }
    bool writeAgain(const VerifyResult&, int, int attempt) override
    {
        asked << QStringLiteral("again");
        return attempt <= writeAgainTimes;
    }
};

// A module of the fixture (English) holding "Stary 1".."Stary 3" in zone 1,
// a history folder of its own, and five new entries to write.
struct Flow : test::TransferFixture {
    QTemporaryDir dir;
    QString folder = dir.filePath(QStringLiteral("history"));
    History history{folder};
    ModuleWorkflow workflow{context, password, history, [] { return kNow; }};
    ScriptedQuestions questions;

    Flow() : TransferFixture(1)
    {
        for (int p = 0; p < 3; ++p) {
            QByteArray block = test::asciiText(QStringLiteral("Stary %1").arg(p + 1), 30);
            block += char(p + 1);
            block += char(0);
            setBlock(p, block);
        }
        module.setEntryCount(3);
    }
    static std::vector<NameRow> rows(int count = 5)
    {
        std::vector<NameRow> r;
        for (int i = 1; i <= count; ++i)
            r.push_back(test::entry(QStringLiteral("Nowak %1").arg(i), {}, i, 1));
        return r;
    }
    DirectoryWriteResult write(bool keepFirst = true)
    {
        DirectoryWriteRequest request;
        request.rows = rows();
        request.keepFirst = keepFirst;
        request.verify = true;
        return writeDirectoryToModule(workflow, request, status, questions);
    }
    QString text(int position) const { return QString::fromLatin1(block(position).left(7)); }
    bool anyBlockWritten() const
    {
        for (const QByteArray& f : frames())
            if (quint8(f[0]) == protocol::kBankWriteCommands[0])
                return true;
        return false;
    }
    // A copy of the module's directory as a read keeps it, filed earlier.
    QString keepCopy(const QString& firstName)
    {
        DirectoryDocument document;
        for (int a = 1; a <= 3; ++a) {
            const QString text = (a == 1 ? firstName : QStringLiteral("Stary %1").arg(a));
            for (int c = 0; c < kEntryTextLength; ++c)
                document.grid.setCell(zoneRow(0, a), c + 1,
                                      Cell(c < text.size() ? text.at(c) : QChar(u' ')));
        }
        return *history.keep(document, HistoryOperation::Read, status.variant, kNow.addSecs(-60))
                    .path;
    }
};

enum class Fault { None, BackupReadFails, FullDisk, FileForFolder, CheckReadFails };

} // namespace

class ModuleWorkflowsTest : public QObject {
    Q_OBJECT

private slots:
    void writeDirectory_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("keep");        // Choice at the offer
        QTest::addColumn<int>("cancelPhase"); // TransferPhase, -1 none
        QTest::addColumn<int>("corrupt");     // the block the module keeps wrongly, -1 none
        QTest::addColumn<int>("kind");        // Outcome::Kind
        QTest::addColumn<int>("failed");      // WorkflowStep
        QTest::addColumn<int>("holds");       // ModuleHolds
        QTest::addColumn<int>("copies");      // history files afterwards
        QTest::addColumn<QString>("ending");  // the start of the last message

        const int none = -1;
        const int read = int(Choice::ReadAndKeep);
        const int done = int(Outcome::Kind::Done);
        const int failed = int(Outcome::Kind::Failed);
        const int cancelled = int(Outcome::Kind::Cancelled);
        const QString verified = fixedText(FixedText::WrittenAndVerified, 1).arg(5);
        const QString notWritten = fixedText(FixedText::BackupNotSaved, 1).section(u'(', 0, 0);
        const auto step = [](WorkflowStep s) { return int(s); };
        const auto holds = [](ModuleHolds h) { return int(h); };
        const auto phase = [](TransferPhase p) { return int(p); };

        QTest::newRow("kept first, written, checked")
            << int(Fault::None) << read << none << none << done << step(WorkflowStep::None)
            << holds(ModuleHolds::AsWritten) << 2 << verified;
        QTest::newRow("written without keeping")
            << int(Fault::None) << int(Choice::WriteWithoutKeeping) << none << none << done
            << step(WorkflowStep::None) << holds(ModuleHolds::AsWritten) << 1 << verified;
        QTest::newRow("cancelled at the offer")
            << int(Fault::None) << int(Choice::Cancel) << none << none << cancelled
            << step(WorkflowStep::KeepingFirst) << holds(ModuleHolds::Unchanged) << 0 << QString();
        QTest::newRow("backup read fails: nothing written")
            << int(Fault::BackupReadFails) << read << none << none << failed
            << step(WorkflowStep::KeepingFirst) << holds(ModuleHolds::Unchanged) << 0
            << fixedText(FixedText::BackupNotRead, 1);
        QTest::newRow("backup not saved, full disk: nothing written")
            << int(Fault::FullDisk) << read << none << none << failed
            << step(WorkflowStep::KeepingFirst) << holds(ModuleHolds::Unchanged) << 0 << notWritten;
        QTest::newRow("backup not saved, a file for the folder: nothing written")
            << int(Fault::FileForFolder) << read << none << none << failed
            << step(WorkflowStep::KeepingFirst) << holds(ModuleHolds::Unchanged) << 0 << notWritten;
        QTest::newRow("cancel while keeping first")
            << int(Fault::None) << read << phase(TransferPhase::KeepingFirst) << none << cancelled
            << step(WorkflowStep::KeepingFirst) << holds(ModuleHolds::Unchanged) << 0
            << fixedText(FixedText::ReadCancelled, 1);
        QTest::newRow("cancel while writing")
            << int(Fault::None) << read << phase(TransferPhase::Writing) << none << cancelled
            << step(WorkflowStep::Writing) << holds(ModuleHolds::Incomplete) << 1
            << fixedText(FixedText::WriteCancelled, 1);
        QTest::newRow("the check's read fails: written, unchecked")
            << int(Fault::CheckReadFails) << read << none << none << done
            << step(WorkflowStep::Checking) << holds(ModuleHolds::Unchecked) << 2
            << fixedText(FixedText::WrittenUnchecked, 1);
        QTest::newRow("cancel while checking")
            << int(Fault::None) << read << phase(TransferPhase::Checking) << none << done
            << step(WorkflowStep::Checking) << holds(ModuleHolds::Unchecked) << 2
            << fixedText(FixedText::WrittenUnchecked, 1);
        QTest::newRow("a block kept wrongly for good")
            << int(Fault::None) << read << none << 1 << done << step(WorkflowStep::None)
            << holds(ModuleHolds::WithDifferences) << 2
            << fixedText(FixedText::WrittenWithDifferences, 1).arg(1).section(u';', 0, 0);
        QTest::newRow("cancel while writing again")
            << int(Fault::None) << read << phase(TransferPhase::WritingAgain) << 1 << done
            << step(WorkflowStep::WritingAgain) << holds(ModuleHolds::WithDifferences) << 2
            << fixedText(FixedText::WriteAgainCancelled, 1).arg(0).arg(1);
    }

    void writeDirectory()
    {
        QFETCH(int, fault);
        QFETCH(int, keep);
        QFETCH(int, cancelPhase);
        QFETCH(int, corrupt);
        QFETCH(int, kind);
        QFETCH(int, failed);
        QFETCH(int, holds);
        QFETCH(int, copies);
        QFETCH(QString, ending);
        Flow f;
        f.questions.keep = Choice(keep);
        f.module.corruptStoredBlock(corrupt);
        if (cancelPhase >= 0) {
            // Before the first of the one difference, or after a block of the rest.
            f.sink.cancelInPhase = TransferPhase(cancelPhase);
            f.sink.cancelAfterSteps =
                TransferPhase(cancelPhase) == TransferPhase::WritingAgain ? 0 : 1;
        }
        // A fault of a phase's read: after its two identification exchanges.
        f.sink.onPhase = [&](TransferPhase p) {
            if ((p == TransferPhase::KeepingFirst && Fault(fault) == Fault::BackupReadFails)
                || (p == TransferPhase::Checking && Fault(fault) == Fault::CheckReadFails))
                f.module.injectFault(sim::FaultKind::NoReply, 2, 1);
        };
        if (Fault(fault) == Fault::FileForFolder) {
            QFile file(f.folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        std::optional<test::FileSizeLimit> full;
        if (Fault(fault) == Fault::FullDisk)
            full.emplace(rlim_t(1000));

        const DirectoryWriteResult result = f.write();
        full.reset();

        QCOMPARE(int(result.outcome.kind), kind);
        QCOMPARE(int(result.failed), failed);
        QCOMPARE(int(result.holds), holds);
        QCOMPARE(int(f.history.entries().size()), copies);
        QCOMPARE(f.questions.asked.first(), QStringLiteral("keep 3"));
        // A backup that could not be kept is not read first.
        QCOMPARE(f.sink.phases.contains(TransferPhase::KeepingFirst),
                 Fault(fault) != Fault::FileForFolder && keep == int(Choice::ReadAndKeep));
        if (ending.isEmpty())
            QVERIFY(f.sink.messages.isEmpty());
        else
            QVERIFY2(f.sink.messages.last().startsWith(ending), qPrintable(f.sink.messages.last()));
        // What the module holds is what the result says.
        const bool unchanged = ModuleHolds(holds) == ModuleHolds::Unchanged;
        QCOMPARE(f.anyBlockWritten(), !unchanged);
        QCOMPARE(f.text(0), unchanged ? QStringLiteral("Stary 1") : QStringLiteral("Nowak 1"));
        QCOMPARE(f.module.entryCount(), unchanged ? 3 : 5);
        // Success is said once, last, and only after the check found it so.
        const QString verified = fixedText(FixedText::WrittenAndVerified, 1).arg(5);
        QCOMPARE(f.sink.messages.count(verified),
                 ModuleHolds(holds) == ModuleHolds::AsWritten ? 1 : 0);
        QVERIFY(!f.link.isOpen());
        QVERIFY(!f.sink.progressVisible);
        QCOMPARE(f.poll.events, QStringList({"suspend", "resume"}));
        if (result.backup)
            QVERIFY(QFileInfo::exists(*result.backup));
    }

    // A write the module will refuse reads nothing and offers nothing first.
    void refusedWriteKeepsNothingFirst()
    {
        Flow f;
        f.module.setPasswordSecondHalf(35);
        const DirectoryWriteResult result = f.write();
        QCOMPARE(result.outcome, Outcome::refused(Outcome::Refusal::WrongPassword));
        QCOMPARE(result.failed, WorkflowStep::Identification);
        QVERIFY(f.questions.asked.isEmpty());
        QCOMPARE(f.sink.messages, QStringList{f.texts.text(textkey::kWrongPassword)});
        QVERIFY(!f.anyBlockWritten());
        QVERIFY(f.history.entries().empty());
    }

    // "Held in the history" is decided by what the module holds, read and
    // compared, never by its count.
    void keptIsProvenByContent_data()
    {
        QTest::addColumn<QString>("firstName"); // in the history's copy
        QTest::addColumn<bool>("proven");
        QTest::newRow("the same directory: no second copy") << "Stary 1" << true;
        QTest::newRow("another building, the same count: read and kept") << "Inny 1" << false;
    }
    void keptIsProvenByContent()
    {
        QFETCH(QString, firstName);
        QFETCH(bool, proven);
        Flow f;
        const QString earlier = f.keepCopy(firstName);
        const DirectoryWriteResult result = f.write();
        QCOMPARE(result.holds, ModuleHolds::AsWritten);
        // No offer: with a copy of the same count the module is read anyway.
        QVERIFY(!f.questions.asked.contains(QStringLiteral("keep 3")));
        QVERIFY(result.backup);
        QCOMPARE(*result.backup == earlier, proven);
        const std::vector<HistoryEntry> copies = f.history.entries();
        QCOMPARE(int(copies.size()), proven ? 2 : 3);
        const std::optional<DirectoryDocument> backup = loadDirectoryFile(*result.backup).document;
        QVERIFY(backup);
        QCOMPARE(backup->grid.entryText(zoneRow(0, 1)).trimmed(), QStringLiteral("Stary 1"));
    }

    // Read twice: both agree; or a block read wrongly once is decided by a
    // third read. The copy in the history says whether it was checked.
    void readTwice_data()
    {
        QTest::addColumn<bool>("twice");
        QTest::addColumn<bool>("glitch"); // one block of the second read arrives changed
        QTest::addColumn<QString>("note");
        QTest::addColumn<int>("operation");
        QTest::newRow("once") << false << false << QString() << int(HistoryOperation::Read);
        QTest::newRow("twice, agreeing") << true << false << fixedText(FixedText::ReadsAgreed, 1)
                                         << int(HistoryOperation::CheckedRead);
        QTest::newRow("twice, a third read decides")
            << true << true << fixedText(FixedText::ReadsDecided, 1).arg(1)
            << int(HistoryOperation::CheckedRead);
    }
    void readTwice()
    {
        QFETCH(bool, twice);
        QFETCH(bool, glitch);
        QFETCH(QString, note);
        QFETCH(int, operation);
        Flow f;
        bool glitched = false;
        f.sink.onPhase = [&](TransferPhase p) {
            // Hello, configuration, then block 0 and block 1: block 1 changed.
            if (p == TransferPhase::ReadingAgain && glitch && !glitched)
                f.module.injectFault(sim::FaultKind::WrongByte, 3, 1);
            glitched = glitched || p == TransferPhase::ReadingAgain;
        };
        const DirectoryReadOutcome read =
            readDirectoryFromModule(f.workflow, {DirectoryGrid{}, twice}, f.status);
        QVERIFY(read.read.outcome.isDone());
        QCOMPARE(read.checked, twice);
        // Nothing is said before the front shows the grid: the ending is returned.
        QVERIFY(f.sink.messages.isEmpty());
        const QString dataRead = f.texts.text(textkey::kDataRead);
        QCOMPARE(read.message, note.isEmpty() ? dataRead : dataRead + u'\n' + note);
        for (int a = 1; a <= 3; ++a)
            QCOMPARE(read.read.grid.entryText(zoneRow(0, a)).trimmed(),
                     QStringLiteral("Stary %1").arg(a));
        QCOMPARE(int(f.history.entries().front().operation), operation);
        QVERIFY(f.endedCleanly());
    }

    // What a read would keep is checked before the read starts: a history
    // folder that is a file, an output folder that is a file, a disk with
    // room for one full directory but not for the file and its copy; a save
    // that fails although the room was there is told after the read.
    void readRoom_data()
    {
        QTest::addColumn<QString>("historyIn"); // "file", "disk" or ""
        QTest::addColumn<QString>("savedTo");   // under the test's folder
        QTest::addColumn<int>("fileLimit");     // bytes any file may grow to, 0 none
        QTest::addColumn<int>("failed");        // WorkflowStep
        QTest::addColumn<int>("ending");        // FixedText of the message, -1 none
        const int notStarted = int(FixedText::ReadNotStarted);
        const int room = int(WorkflowStep::CheckingRoom);
        QTest::newRow("history folder is a file") << "file"
                                                  << "" << 0 << room << notStarted;
        QTest::newRow("output folder is a file")
            << ""
            << "history-file/out.csv" << 0 << room << notStarted;
        QTest::newRow("disk holds one copy, not two") << "disk"
                                                      << "disk/out.csv" << 0 << room << notStarted;
        QTest::newRow("disk holds the copy") << "disk"
                                             << "" << 0 << int(WorkflowStep::None) << -1;
        QTest::newRow("room, but the save fails")
            << ""
            << "" << 1000 << int(WorkflowStep::Keeping) << int(FixedText::HistoryNotKept);
    }
    void readRoom()
    {
        QFETCH(QString, historyIn);
        QFETCH(QString, savedTo);
        QFETCH(int, fileLimit);
        QFETCH(int, failed);
        QFETCH(int, ending);
        Flow f;
        QFile file(f.dir.filePath(QStringLiteral("history-file")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(QDir(f.dir.path()).mkdir(QStringLiteral("disk")));
        // A full directory file takes at most about 106 kB: room for one, not two.
        const test::SmallDisk disk(f.dir.filePath(QStringLiteral("disk")), 160);
        if (!disk.mounted())
            QSKIP("mounting a small disk needs root");
        History history(historyIn == u"file"   ? file.fileName()
                        : historyIn == u"disk" ? f.dir.filePath(QStringLiteral("disk/history"))
                                               : f.folder);
        const ModuleWorkflow workflow{f.context, f.password, history, [] { return kNow; }};
        QStringList outputs;
        if (!savedTo.isEmpty())
            outputs << f.dir.filePath(savedTo);
        std::optional<test::FileSizeLimit> limit;
        if (fileLimit > 0)
            limit.emplace(fileLimit);
        const DirectoryReadOutcome read =
            readDirectoryFromModule(workflow, {DirectoryGrid{}, false, outputs}, f.status);
        limit.reset();
        QCOMPARE(int(read.failed), failed);
        const bool started = failed != int(WorkflowStep::CheckingRoom);
        QCOMPARE(read.read.outcome.isDone(), started);
        QCOMPARE(f.frames().isEmpty(), !started);
        QCOMPARE(bool(read.kept), failed == int(WorkflowStep::None));
        QCOMPARE(f.sink.messages.size(), ending < 0 ? 0 : 1);
        if (ending >= 0)
            QVERIFY(f.sink.messages[0].startsWith(fixedText(FixedText(ending), 1).left(20)));
    }

    // Entry by entry: the third read sides with the first or the second;
    // where it sides with neither, the entry is named.
    void decideReads_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("third");
        QTest::addColumn<QString>("decided");
        QTest::addColumn<bool>("disagree");
        QTest::newRow("all agree") << "Nowak"
                                   << "Nowak"
                                   << "Nowak"
                                   << "Nowak" << false;
        QTest::newRow("the third sides with the second") << "Mowak"
                                                         << "Nowak"
                                                         << "Nowak"
                                                         << "Nowak" << false;
        QTest::newRow("the third sides with the first") << "Nowak"
                                                        << "Mowak"
                                                        << "Nowak"
                                                        << "Nowak" << false;
        QTest::newRow("three different") << "Nowak"
                                         << "Mowak"
                                         << "Lowak"
                                         << "Nowak" << true;
    }
    void decideReads()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, third);
        QFETCH(QString, decided);
        QFETCH(bool, disagree);
        const int row = zoneRow(2, 17);
        const auto grid = [&](const QString& text) {
            DirectoryGrid g;
            for (int c = 0; c < text.size(); ++c)
                g.setCell(row, c + 1, Cell(text.at(c)));
            return g;
        };
        const DecidedReads result = q540::decideReads(grid(first), grid(second), grid(third));
        QCOMPARE(result.grid.entryText(row).trimmed(), decided);
        QCOMPARE(result.disagreeing, disagree ? std::vector<int>{row} : std::vector<int>{});
    }
};

QTEST_GUILESS_MAIN(ModuleWorkflowsTest)
#include "tst_moduleworkflows.moc"
