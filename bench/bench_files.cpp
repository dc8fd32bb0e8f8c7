// Times saving and opening a full directory file: 1028 entries of Polish
// names, the intro and the fields, through the program's own routines. Save:
// the bytes, the safe save (unbuffered, checked, then the rename) and the
// parse of what was saved that the window shows afterwards. Open: the
// whole-file read and the parse. Run: build/bench/bench_files [iterations]

#include "files/DirectoryFile.h"
#include "files/DirectoryStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace q540;

namespace {

DirectoryDocument fullDocument()
{
    DirectoryDocument d;
    d.fields.address = QStringLiteral("ul. Źródlana 12");
    for (int i = 0; i < kIntroLineCount; ++i)
        d.fields.intro[std::size_t(i)] = QStringLiteral("Wejście %1 ąęś").arg(i);
    for (int row = 1; row <= kGridRows; ++row) {
        const QString text = QStringLiteral("Żółkiewski %1").arg(row).leftJustified(kLine1Length)
                             + QStringLiteral("Łucja ęą %1").arg(row % 9);
        for (int c = 0; c < text.size(); ++c)
            d.grid.setCell(row, c + 1, Cell(text.at(c)));
    }
    return d;
}

double medianMs(int iterations, const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < iterations; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("full.csv"));
    const DirectoryDocument document = fullDocument();

    // The program's own save and open, as Save as and Open run them.
    const double save = medianMs(iterations, [&] {
        const DirectoryFileSave saved = saveDirectoryFile(path, document);
        if (saved.failure || !saved.saved || !(*saved.saved == document))
            std::exit(1);
    });
    const double open = medianMs(iterations, [&] {
        const DirectoryFileLoad load = loadDirectoryFile(path);
        if (!load.document || !(*load.document == document))
            std::exit(1);
    });
    QTextStream(stdout) << "full directory file, " << QFile(path).size() << " bytes, " << iterations
                        << " runs each\n"
                        << "save: " << QString::number(save, 'f', 2) << " ms median\n"
                        << "open: " << QString::number(open, 'f', 2) << " ms median\n";
    return 0;
}
