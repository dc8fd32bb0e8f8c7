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
#include <QTemporaryDir>
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

// What the tests of each folder may use besides what the folder itself may: the
// module model that stands in for the hardware and the tests' own helpers. The
// emulator's tests run the model against the program's own exchanges.
const Graph& testAllowances()
{
    static const QSet<QString> core{"base",  "protocol", "device",  "directory",
                                    "files", "module",   "commands"};
    static const QSet<QString> doubles{"emulator", "support", "demo", "fake_ftd2xx"};
    static const Graph extra{
        {"emulator", core + doubles},
        {"support", core + doubles + QSet<QString>{"gui"}},
        // The test driver library stands in for the cable's driver on the emulator.
        {"fake_ftd2xx", allowedIncludes().value("emulator") + doubles},
        // The packaging tests check the installed files against the program's values.
        {"dist", core},
    };
    return extra;
}

QSet<QString> allowedFor(const QString& folder, bool test)
{
    QSet<QString> allowed = allowedIncludes().value(folder);
    if (test)
        allowed += testAllowances().value(folder, {"emulator", "support", "demo", "fake_ftd2xx"});
    return allowed;
}

bool knownFolder(const QString& folder, bool test)
{
    return allowedIncludes().contains(folder) || (test && testAllowances().contains(folder));
}

// The folder a source belongs to: the floor under core/, else the top folder.
// Tests mirror the tree (tests/core/module/… tests the module floor).
QString folderOf(const QString& relativePath)
{
    const QStringList parts = relativePath.split(u'/');
    return parts.first() == u"core" ? parts.value(1) : parts.first();
}

struct Include {
    QString file; // relative to the tree's root
    int line = 0;
    QString target; // the included path as written
    bool angled = false;
};

// Every #include line under root, in quotes or in angle brackets.
QList<Include> allIncludes(const QString& root)
{
    static const QRegularExpression includeLine(
        QStringLiteral("^\\s*#\\s*include\\s+([\"<])([^\">]+)[\">]"));
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
                found.append({relative, number, match.captured(2), match.captured(1) == u"<"});
        }
    }
    return found;
}

// The includes of the program's own files: every quoted one, and those in angle
// brackets that name one of the program's folders (<module/X.h> is as much a
// dependency as "module/X.h"; <sys/stat.h> is the system's).
QList<Include> projectIncludes(const QString& root, bool test)
{
    QList<Include> own;
    for (const Include& include : allIncludes(root)) {
        const QString first = include.target.section(u'/', 0, 0);
        if (!include.angled || knownFolder(first, test) || first == u"core")
            own.append(include);
    }
    return own;
}

// Every edge against the allowed direction, as "file:line: from -> to".
QStringList wrongDirections(const QList<Include>& includes, Graph& edges, bool test = false)
{
    QStringList wrong;
    for (const Include& include : includes) {
        const QString from = folderOf(include.file);
        const QString to = folderOf(include.target);
        if (!include.target.contains(u'/') || to.endsWith(u".moc"))
            continue; // a file beside it, or moc output
        if (from == to)
            continue;
        edges[from].insert(to);
        if (!knownFolder(from, test) || !allowedFor(from, test).contains(to))
            wrong.append(QStringLiteral("%1:%2: %3 -> %4")
                             .arg(include.file)
                             .arg(include.line)
                             .arg(from, include.target));
    }
    return wrong;
}

// The folder each of the program's libraries is built from. A library the
// table does not know is reported, so that a new one gets its floor.
QString folderOfLibrary(const QString& library)
{
    static const QMap<QString, QString> helpers{
        {"q540testsupport", "support"},
        {"q540simprocess", "support"},
        {"fake_ftd2xx_paths", "fake_ftd2xx"},
    };
    if (library == u"q540core" || library.startsWith(u"Qt6::"))
        return {};
    if (helpers.contains(library))
        return helpers.value(library);
    // q540gui, q540module…: each floor and top folder is a library of its name.
    return library.startsWith(u"q540") ? library.mid(4) : library;
}

// Every test target of one CMakeLists.txt (dir: its folder under tests/) whose
// libraries reach above the test's own floor, as "target: folder -> library".
QStringList wrongLinks(QString cmake, const QString& dir)
{
    static const QRegularExpression comment(QStringLiteral("#[^\n]*"));
    cmake.remove(comment);
    static const QRegularExpression addTest(
        QStringLiteral(R"re(q540_add_test\(\s*([^\s)]+)\s+([^\s)]+)([^)]*)\))re"));
    static const QRegularExpression addExecutable(
        QStringLiteral(R"re(add_executable\(\s*([^\s)]+)\s+([^\s)]+))re"));
    static const QRegularExpression linkLine(QStringLiteral(
        R"re(target_link_libraries\(\s*([^\s)]+)\s+(?:PRIVATE|PUBLIC|INTERFACE)?([^)]*)\))re"));
    const QString prefix = dir.isEmpty() ? QString() : dir + u'/';
    QMap<QString, QString> folderOfTarget;
    QMap<QString, QStringList> links;
    for (const QRegularExpression* declares : {&addTest, &addExecutable}) {
        for (auto it = declares->globalMatch(cmake); it.hasNext();) {
            const auto match = it.next();
            if (match.captured(1).startsWith(u'$'))
                continue; // the helper function's own body
            folderOfTarget[match.captured(1)] = folderOf(prefix + match.captured(2));
            const QString rest = match.lastCapturedIndex() >= 3 ? match.captured(3) : QString();
            const qsizetype libs = rest.indexOf(QStringLiteral("LIBS"));
            if (libs >= 0)
                links[match.captured(1)] += rest.mid(libs + 4).simplified().split(u' ');
        }
    }
    for (auto it = linkLine.globalMatch(cmake); it.hasNext();) {
        const auto match = it.next();
        links[match.captured(1)] += match.captured(2).simplified().split(u' ');
    }
    QStringList wrong;
    for (auto it = links.cbegin(); it != links.cend(); ++it) {
        if (!folderOfTarget.contains(it.key()))
            continue; // a library or helper, not a test
        const QString from = folderOfTarget.value(it.key());
        for (const QString& library : it.value()) {
            const QString to = folderOfLibrary(library);
            if (!to.isEmpty() && to != from && !allowedFor(from, true).contains(to))
                wrong.append(QStringLiteral("%1: %2 -> %3").arg(it.key(), from, library));
        }
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
        QTest::addColumn<bool>("test");

        const auto inc = [](const char* file, const char* target) {
            return Include{QString::fromLatin1(file), 1, QString::fromLatin1(target)};
        };
        QTest::newRow("downwards") << QList<Include>{inc("core/module/A.cpp", "device/Link.h"),
                                                     inc("gui/W.cpp", "module/A.h")}
                                   << 0 << false << false;
        QTest::newRow("beside and moc")
            << QList<Include>{inc("core/base/A.cpp", "A.h"), inc("gui/W.cpp", "W.moc")} << 0
            << false << false;
        QTest::newRow("core up to gui")
            << QList<Include>{inc("core/directory/N.cpp", "gui/W.h")} << 1 << false << false;
        QTest::newRow("floor upwards")
            << QList<Include>{inc("core/base/L.cpp", "module/M.h")} << 1 << false << false;
        QTest::newRow("emulator on the program")
            << QList<Include>{inc("emulator/E.cpp", "module/DirectoryWrite.h")} << 1 << false
            << false;
        QTest::newRow("old folder")
            << QList<Include>{inc("core/files/F.cpp", "ui/UserSink.h")} << 1 << false << false;
        QTest::newRow("two-folder cycle")
            << QList<Include>{inc("core/protocol/P.h", "device/Link.h"),
                              inc("core/device/L.h", "protocol/Protocol.h")}
            << 1 << true << false;
        QTest::newRow("module test on the window")
            << QList<Include>{inc("core/module/tst_i.cpp", "gui/main/ModuleStatusView.h")} << 1
            << false << true;
        QTest::newRow("module test on its doubles")
            << QList<Include>{inc("core/module/tst_i.cpp", "emulator/EmulatedLink.h"),
                              inc("core/module/tst_i.cpp", "support/Bytes.h")}
            << 0 << false << true;
        QTest::newRow("emulator test on the program")
            << QList<Include>{inc("emulator/tst_e.cpp", "core/module/TransferFixture.h")} << 0
            << false << true;
        QTest::newRow("device test on the module floor")
            << QList<Include>{inc("core/device/tst_t.cpp", "module/DirectoryRead.h")} << 1 << false
            << true;
    }

    void theCheckFindsWhatItMust()
    {
        QFETCH(QList<Include>, includes);
        QFETCH(int, wrongCount);
        QFETCH(bool, cycle);
        QFETCH(bool, test);
        Graph edges;
        QCOMPARE(wrongDirections(includes, edges, test).size(), wrongCount);
        QCOMPARE(!findCycle(edges).isEmpty(), cycle);
    }

    void linksAreCheckedLikeIncludes_data()
    {
        QTest::addColumn<QString>("cmake");
        QTest::addColumn<QString>("dir");
        QTest::addColumn<int>("wrongCount");
        QTest::newRow("module test on the window library")
            << "q540_add_test(tst_i module/tst_i.cpp LIBS q540gui)"
            << "core" << 1;
        QTest::newRow("window test on the window library")
            << "q540_add_test(tst_w tst_w.cpp LIBS q540gui)"
            << "gui" << 0;
        QTest::newRow("link on its own line")
            << "add_executable(tst_g tst_g.cpp)\ntarget_link_libraries(tst_g PRIVATE q540cli "
               "Qt6::Test)"
            << "gui" << 1;
        QTest::newRow("a library nobody placed")
            << "q540_add_test(tst_b base/tst_b.cpp LIBS q540new)"
            << "core" << 1;
        QTest::newRow("doubles and core")
            << "q540_add_test(tst_d device/tst_d.cpp LIBS fake_ftd2xx_paths q540core)"
            << "core" << 0;
    }

    void linksAreCheckedLikeIncludes()
    {
        QFETCH(QString, cmake);
        QFETCH(QString, dir);
        QFETCH(int, wrongCount);
        QCOMPARE(wrongLinks(cmake, dir).size(), wrongCount);
    }

    void readsBothKindsOfInclude()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("core/base")));
        QFile file(root.filePath(QStringLiteral("core/base/L.cpp")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#include <module/M.h>\n#  include \"base/X.h\"\n#include <sys/stat.h>\n"
                   "#include <QString>\n");
        file.close();
        QStringList targets;
        for (const Include& include : projectIncludes(root.path(), false))
            targets.append(include.target);
        QCOMPARE(targets, QStringList({"module/M.h", "base/X.h"}));
    }

    void testsNeedNothingAboveTheirFloor()
    {
        const QString root = QStringLiteral(Q540_TESTS_DIR);
        Graph edges;
        QStringList wrong = wrongDirections(projectIncludes(root, true), edges, true);
        QDirIterator it(root, {QStringLiteral("CMakeLists.txt")}, QDir::Files,
                        QDirIterator::Subdirectories);
        int files = 0;
        while (it.hasNext()) {
            QFile cmake(it.next());
            QVERIFY(cmake.open(QIODevice::ReadOnly));
            ++files;
            const QString dir = QDir(root).relativeFilePath(QFileInfo(cmake).path());
            wrong += wrongLinks(QString::fromUtf8(cmake.readAll()), dir == u"." ? QString() : dir);
        }
        QVERIFY(files > 5);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
    }

    void includesGoDownwardsOnly()
    {
        const QList<Include> includes = projectIncludes(QStringLiteral(Q540_SOURCE_DIR), false);
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
        QStringList wrong;
        int checked = 0;
        for (const Include& include : allIncludes(QStringLiteral(Q540_SOURCE_DIR))) {
            const QString folder = folderOf(include.file);
            if (!include.angled || folder == u"gui" || folder == u"app")
                continue;
            ++checked;
            // The printout paints with QtGui; widgets stay in the windows.
            const bool paints = folder == u"print";
            if (isToolkitHeader(QStringLiteral("QtWidgets"), include.target)
                || (!paints && isToolkitHeader(QStringLiteral("QtGui"), include.target)))
                wrong.append(include.file + QStringLiteral(": ") + include.target);
        }
        QVERIFY(checked > 100);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));
        // The header check itself recognises the toolkit.
        QVERIFY(isToolkitHeader(QStringLiteral("QtWidgets"), QStringLiteral("QWidget")));
        QVERIFY(!isToolkitHeader(QStringLiteral("QtWidgets"), QStringLiteral("QString")));
    }
};

QTEST_GUILESS_MAIN(TestLayering)
#include "tst_layering.moc"
