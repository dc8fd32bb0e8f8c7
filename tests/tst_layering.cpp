// The direction of the floors: every #include line of src/ goes from a folder
// to itself or to a folder below it, the folders form no cycle, and only the
// windows and the program that starts them include the widget toolkit.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include <functional>

namespace {

using Graph = QMap<QString, QSet<QString>>;

// Which folders each folder may include from, besides itself.
const Graph& allowedIncludes()
{
    static const QSet<QString> core{"base",  "protocol", "device",  "directory",
                                    "files", "module",   "commands"};
    static const Graph allowed{
        {"base", {}},
        {"protocol", {"base"}},
        {"device", {"protocol", "base"}},
        {"directory", {"base"}},
        {"files", {"directory", "protocol", "base"}},
        {"module", {"device", "protocol", "directory", "base"}},
        {"commands", {"files", "module", "directory", "base"}},
        {"emulator", {"protocol", "device"}},
        {"print", core},
        {"gui", core + QSet<QString>{"print"}},
        {"cli", core + QSet<QString>{"print"}},
        {"app", core + QSet<QString>{"gui", "demo"}},
        {"demo", core + QSet<QString>{"emulator"}},
        {"simtool", core + QSet<QString>{"emulator", "demo"}},
    };
    return allowed;
}

// The folder a source belongs to: the floor under core/, else the top folder.
QString folderOf(const QString& relativePath)
{
    const QStringList parts = relativePath.split(u'/');
    return parts.first() == u"core" ? parts.value(1) : parts.first();
}

struct Include {
    QString file; // relative to src/
    int line = 0;
    QString target; // the included path as written
};

QList<Include> projectIncludes(const QString& root)
{
    static const QRegularExpression includeLine(QStringLiteral(R"(^\s*#\s*include\s+"([^"]+)\")"));
    QList<Include> found;
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp"), QStringLiteral("*.in")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        const QString relative = QDir(root).relativeFilePath(path);
        int number = 0;
        while (!file.atEnd()) {
            ++number;
            const auto match = includeLine.match(QString::fromUtf8(file.readLine()));
            if (match.hasMatch())
                found.append({relative, number, match.captured(1)});
        }
    }
    return found;
}

// Every edge against the allowed direction, as "file:line: from -> to".
QStringList wrongDirections(const QList<Include>& includes, Graph& edges)
{
    QStringList wrong;
    for (const Include& include : includes) {
        const QString from = folderOf(include.file);
        const QString to = include.target.section(u'/', 0, 0);
        if (!include.target.contains(u'/') || to.endsWith(u".moc"))
            continue; // a file beside it, or moc output
        if (from == to)
            continue;
        edges[from].insert(to);
        const auto allowed = allowedIncludes().constFind(from);
        if (allowed == allowedIncludes().cend() || !allowed->contains(to))
            wrong.append(QStringLiteral("%1:%2: %3 -> %4")
                             .arg(include.file)
                             .arg(include.line)
                             .arg(from, include.target));
    }
    return wrong;
}

// One cycle of the graph as "a -> b -> a", or empty when it has none.
QString findCycle(const Graph& graph)
{
    QMap<QString, int> state; // 1 on the path, 2 done
    QStringList path;
    std::function<QString(const QString&)> visit = [&](const QString& node) -> QString {
        state[node] = 1;
        path.append(node);
        for (const QString& next : graph.value(node)) {
            if (state.value(next) == 1)
                return (path.mid(path.indexOf(next)) << next).join(QStringLiteral(" -> "));
            if (state.value(next) == 0) {
                const QString cycle = visit(next);
                if (!cycle.isEmpty())
                    return cycle;
            }
        }
        path.removeLast();
        state[node] = 2;
        return {};
    };
    for (auto it = graph.cbegin(); it != graph.cend(); ++it) {
        if (state.value(it.key()) == 0) {
            const QString cycle = visit(it.key());
            if (!cycle.isEmpty())
                return cycle;
        }
    }
    return {};
}

bool isToolkitHeader(const QString& module, const QString& header)
{
    const QString headers = QLibraryInfo::path(QLibraryInfo::HeadersPath);
    return header.startsWith(module + u'/')
           || QFileInfo::exists(headers + u'/' + module + u'/' + header);
}

} // namespace

Q_DECLARE_METATYPE(QList<Include>)

class TestLayering : public QObject {
    Q_OBJECT

private slots:
    void theCheckFindsWhatItMust_data()
    {
        QTest::addColumn<QList<Include>>("includes");
        QTest::addColumn<int>("wrongCount");
        QTest::addColumn<bool>("cycle");

        const auto inc = [](const char* file, const char* target) {
            return Include{QString::fromLatin1(file), 1, QString::fromLatin1(target)};
        };
        QTest::newRow("downwards") << QList<Include>{inc("core/module/A.cpp", "device/Link.h"),
                                                     inc("gui/W.cpp", "module/A.h")}
                                   << 0 << false;
        QTest::newRow("beside and moc")
            << QList<Include>{inc("core/base/A.cpp", "A.h"), inc("gui/W.cpp", "W.moc")} << 0
            << false;
        QTest::newRow("core up to gui")
            << QList<Include>{inc("core/directory/N.cpp", "gui/W.h")} << 1 << false;
        QTest::newRow("floor upwards")
            << QList<Include>{inc("core/base/L.cpp", "module/M.h")} << 1 << false;
        QTest::newRow("emulator on the program")
            << QList<Include>{inc("emulator/E.cpp", "module/DirectoryWrite.h")} << 1 << false;
        QTest::newRow("old folder")
            << QList<Include>{inc("core/files/F.cpp", "ui/UserSink.h")} << 1 << false;
        QTest::newRow("two-folder cycle")
            << QList<Include>{inc("core/protocol/P.h", "device/Link.h"),
                              inc("core/device/L.h", "protocol/Protocol.h")}
            << 1 << true;
    }

    void theCheckFindsWhatItMust()
    {
        QFETCH(QList<Include>, includes);
        QFETCH(int, wrongCount);
        QFETCH(bool, cycle);
        Graph edges;
        QCOMPARE(wrongDirections(includes, edges).size(), wrongCount);
        QCOMPARE(!findCycle(edges).isEmpty(), cycle);
    }

    void includesGoDownwardsOnly()
    {
        const QList<Include> includes = projectIncludes(QStringLiteral(Q540_SOURCE_DIR));
        QVERIFY(includes.size() > 100);
        Graph edges;
        const QStringList wrong = wrongDirections(includes, edges);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        const QString cycle = findCycle(edges);
        QVERIFY2(cycle.isEmpty(), qPrintable(cycle));
        // Every folder of the tree is known to the rule.
        for (auto it = edges.cbegin(); it != edges.cend(); ++it)
            QVERIFY2(allowedIncludes().contains(it.key()), qPrintable(it.key()));
    }

    void onlyTheWindowsIncludeTheToolkit()
    {
        static const QRegularExpression systemInclude(
            QStringLiteral(R"(^\s*#\s*include\s+<([^>]+)>)"));
        QStringList wrong;
        QDirIterator it(QStringLiteral(Q540_SOURCE_DIR),
                        {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                        QDirIterator::Subdirectories);
        int checked = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            const QString folder =
                folderOf(QDir(QStringLiteral(Q540_SOURCE_DIR)).relativeFilePath(path));
            if (folder == u"gui" || folder == u"app")
                continue;
            // The printout paints with QtGui; widgets stay in the windows.
            const bool paints = folder == u"print";
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++checked;
            while (!file.atEnd()) {
                const auto match = systemInclude.match(QString::fromUtf8(file.readLine()));
                const QString header = match.captured(1);
                if (match.hasMatch()
                    && (isToolkitHeader(QStringLiteral("QtWidgets"), header)
                        || (!paints && isToolkitHeader(QStringLiteral("QtGui"), header))))
                    wrong.append(path + QStringLiteral(": ") + header);
            }
        }
        QVERIFY(checked > 50);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        // The header check itself recognises the toolkit.
        QVERIFY(isToolkitHeader(QStringLiteral("QtWidgets"), QStringLiteral("QWidget")));
        QVERIFY(!isToolkitHeader(QStringLiteral("QtWidgets"), QStringLiteral("QString")));
    }
};

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
