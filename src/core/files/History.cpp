#include "files/History.h"

#include "base/FixedTexts.h"
#include "base/PrivateFiles.h"
#include "base/UserSink.h"
#include "files/DirectoryFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

namespace q540 {

namespace {

constexpr auto kTimeFormat = "yyyy-MM-dd_HH-mm-ss";

const QRegularExpression& namePattern()
{
    static const QRegularExpression pattern(QStringLiteral(
        "^(\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d)_(read-checked|read|write)_K(\\d{1,2})_"
        "(\\d{1,4})(?:_\\d+)?\\.csv$"));
    return pattern;
}

HistoryOperation operationOfName(const QString& name)
{
    for (const HistoryOperation operation :
         {HistoryOperation::Read, HistoryOperation::Write, HistoryOperation::CheckedRead})
        if (historyOperationName(operation) == name)
            return operation;
    return HistoryOperation::Write;
}

std::optional<HistoryEntry> entryOf(const QDir& folder, const QString& name)
{
    const QRegularExpressionMatch m = namePattern().match(name);
    if (!m.hasMatch())
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(m.captured(1), QString::fromLatin1(kTimeFormat));
    if (!when.isValid())
        return std::nullopt;
    return HistoryEntry{folder.filePath(name), when, operationOfName(m.captured(2)),
                        m.captured(3).toInt(), m.captured(4).toInt()};
}

// A name no file has yet: a second transfer within the same second gets "_2".
QString freeName(const QDir& folder, const QString& stem)
{
    QString name = stem + QStringLiteral(".csv");
    for (int n = 2; QFileInfo::exists(folder.filePath(name)); ++n)
        name = stem + QStringLiteral("_%1.csv").arg(n);
    return name;
}

} // namespace

History::History(QString folder) : folder_(std::move(folder)) {}

QString historyOperationName(HistoryOperation operation)
{
    switch (operation) {
    case HistoryOperation::Read:
        return QStringLiteral("read");
    case HistoryOperation::CheckedRead:
        return QStringLiteral("read-checked");
    case HistoryOperation::Write:
        break;
    }
    return QStringLiteral("write");
}

QString History::defaultFolder(bool demo)
{
    // Not AppDataLocation itself: the window and the headless tool have
    // different application names (the window's holds its version), and
    // both must see one history that outlives an update.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(demo ? QStringLiteral("q540/demo-history")
                                    : QStringLiteral("q540/history"));
}

std::vector<HistoryEntry> History::entries() const
{
    const QDir folder(folder_);
    std::vector<HistoryEntry> found;
    for (const QString& name : folder.entryList({QStringLiteral("*.csv")}, QDir::Files)) {
        if (std::optional<HistoryEntry> entry = entryOf(folder, name))
            found.push_back(std::move(*entry));
    }
    // Names tell the second; within one (a read and the write after it) the
    // file's own time tells the order.
    std::sort(found.begin(), found.end(), [](const HistoryEntry& a, const HistoryEntry& b) {
        if (a.when != b.when)
            return a.when > b.when;
        const QDateTime am = QFileInfo(a.path).lastModified();
        const QDateTime bm = QFileInfo(b.path).lastModified();
        return am != bm ? am > bm : a.path > b.path;
    });
    return found;
}

History::Kept History::keep(const DirectoryDocument& document, HistoryOperation operation,
                            int moduleVariant, const QDateTime& now) const
{
    Kept kept;
    // Residents' names: no other account of the computer may read them.
    if (const std::optional<QString> problem = makePrivateFolder(folder_)) {
        kept.failure = FileFailure{FileFailure::Kind::Failed, *problem};
        return kept;
    }
    const QDir folder(folder_);
    const QString stem =
        QStringLiteral("%1_%2_K%3_%4")
            .arg(now.toString(QString::fromLatin1(kTimeFormat)), historyOperationName(operation))
            .arg(moduleVariant)
            .arg(entryCountOf(document.grid));
    const QString path = folder.filePath(freeName(folder, stem));
    const QByteArray bytes = directoryFileBytes(document);
    if ((kept.failure = saveFileSafely(path, bytes, {FileAccess::OwnerOnly})))
        return kept;
    // A copy that the write to disk reported as saved is not yet one that can
    // be opened: it counts once its bytes are read back as they were given.
    const FileRead back = readWholeFile(path, bytes.size());
    if (back.bytes != bytes) {
        kept.failure = back.bytes
                           ? FileFailure{FileFailure::Kind::Failed, QDir::toNativeSeparators(path)}
                           : back.failure;
        return kept;
    }
    kept.path = path;
    prune(now);
    return kept;
}

std::vector<QString> History::prune(const QDateTime& now) const
{
    const std::vector<HistoryEntry> all = entries();
    const QDateTime youngest = now.addDays(-kKeepDays);
    std::vector<QString> removed;
    for (std::size_t i = kKeepAtLeast; i < all.size(); ++i) {
        if (all[i].when < youngest && QFile::remove(all[i].path))
            removed.push_back(all[i].path);
    }
    return removed;
}

std::optional<HistoryEntry> History::newestOf(int moduleVariant) const
{
    for (HistoryEntry& entry : entries()) {
        if (entry.moduleVariant == moduleVariant)
            return std::move(entry);
    }
    return std::nullopt;
}

int entryCountOf(const DirectoryGrid& grid)
{
    int count = 0;
    for (int row = 1; row <= kGridRows; ++row)
        count += grid.isEntryEmpty(row) ? 0 : 1;
    return count;
}

QString History::failureText(const Kept& kept) const
{
    if (!kept.failure)
        return {};
    return kept.failure->reason.isEmpty() ? QDir::toNativeSeparators(folder_)
                                          : kept.failure->reason;
}

History::Kept keepInHistory(const History& history, const DirectoryDocument& document,
                            HistoryOperation operation, int moduleVariant, const QDateTime& now,
                            UserSink& sink, int language)
{
    const History::Kept kept = history.keep(document, operation, moduleVariant, now);
    if (kept.failure)
        sink.showMessage(
            fixedText(FixedText::HistoryNotKept, language).arg(history.failureText(kept)));
    return kept;
}

} // namespace q540
