// Times the name-list rebuild of a full directory (1028 entries with Polish
// names, sorted): after a one-entry change, cold (no cached sort keys), and a
// plain rebuild that sorts with QString::localeAwareCompare, and prints the
// medians and the ratio. Run: build/bench/bench_namelist [iterations]

#include "base/Localisation.h"
#include "base/UserSink.h"
#include "directory/DirectoryEditor.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <functional>
#include <random>
#include <vector>

using namespace q540;

namespace {

class SilentSink final : public UserSink {
public:
    void showMessage(const QString&) override {}
    bool askYesNo(const QString&, const QString&) override { return false; }
    void showProgress(int) override {}
    void stepProgress() override {}
    void hideProgress() override {}
};

const QStringList kSurnames{
    QStringLiteral("Nowak"),          QStringLiteral("Kowalski"),   QStringLiteral("Wiśniewski"),
    QStringLiteral("Wójcik"),         QStringLiteral("Kowalczyk"),  QStringLiteral("Kamiński"),
    QStringLiteral("Lewandowski"),    QStringLiteral("Zieliński"),  QStringLiteral("Szymański"),
    QStringLiteral("Woźniak"),        QStringLiteral("Dąbrowski"),  QStringLiteral("Kozłowski"),
    QStringLiteral("Jankowski"),      QStringLiteral("Mazur"),      QStringLiteral("Kwiatkowski"),
    QStringLiteral("Krawczyk"),       QStringLiteral("Piotrowski"), QStringLiteral("Grabowski"),
    QStringLiteral("Nowakowski"),     QStringLiteral("Pawłowski"),  QStringLiteral("Michalski"),
    QStringLiteral("Król"),           QStringLiteral("Wieczorek"),  QStringLiteral("Jabłoński"),
    QStringLiteral("Wróbel"),         QStringLiteral("Majewski"),   QStringLiteral("Olszewski"),
    QStringLiteral("Stępień"),        QStringLiteral("Malinowski"), QStringLiteral("Jaworski"),
    QStringLiteral("Adamczyk"),       QStringLiteral("Dudek"),      QStringLiteral("Nowicki"),
    QStringLiteral("Pietrzak"),       QStringLiteral("Żak"),        QStringLiteral("Łukasik"),
    QStringLiteral("Ćwik"),           QStringLiteral("Śliwa"),      QStringLiteral("Górski"),
    QStringLiteral("Rutkowski-Zając")};
const QStringList kFirstNames{
    QStringLiteral("Anna"),  QStringLiteral("Piotr"),  QStringLiteral("Krzysztof"),
    QStringLiteral("Maria"), QStringLiteral("Łukasz"), QStringLiteral("Małgorzata"),
    QStringLiteral("Józef"), QStringLiteral("Ewa"),    QStringLiteral("Paweł"),
    QStringLiteral("Zofia"), QStringLiteral("Michał"), QStringLiteral("Agnieszka")};

void fill(DirectoryGrid& grid)
{
    std::mt19937 random(540);
    for (int row = 1; row <= kGridRows; ++row) {
        const QString line1 = kSurnames[int(random() % kSurnames.size())].left(kLine1Length);
        const QString line2 = (kFirstNames[int(random() % kFirstNames.size())]
                               + QStringLiteral(" m.%1").arg(row % 200))
                                  .left(kLine2Length);
        for (int i = 0; i < line1.size(); ++i)
            grid.setCell(row, 1 + i, Cell(line1.at(i)));
        for (int i = 0; i < line2.size(); ++i)
            grid.setCell(row, kLine2FirstColumn + i, Cell(line2.at(i)));
    }
}

// The straightforward rebuild: every text built anew and sorted with the
// locale-aware comparison of QString.
std::vector<NameRow> plainRebuild(const DirectoryGrid& grid)
{
    std::vector<NameRow> rows;
    for (int row = 1; row <= kGridRows; ++row) {
        if (!grid.isEntryEmpty(row))
            rows.push_back({grid.entryText(row), row, 1});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const NameRow& a, const NameRow& b) {
        return QString::localeAwareCompare(a.text, b.text) < 0;
    });
    return rows;
}

double medianMicroseconds(int iterations, const std::function<void()>& prepare,
                          const std::function<void()>& run)
{
    std::vector<double> times;
    times.reserve(std::size_t(iterations));
    for (int i = 0; i < iterations; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        run();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int iterations = argc > 1 ? std::max(1, atoi(argv[1])) : 201;
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    Localisation texts;
    texts.load();
    SilentSink sink;

    DirectoryEditor editor(sink, texts, kModuleOrderPolish);
    fill(editor.grid());
    editor.rebuild();

    int changed = 0;
    const double afterChange = medianMicroseconds(
        iterations,
        [&] {
            // One entry's first letter changes, as one keystroke does.
            const int row = 1 + (changed++ * 37) % kGridRows;
            const Cell c = editor.grid().cell(row, 1);
            editor.grid().setCell(row, 1, Cell(c.unit() == u'Z' ? u'A' : char16_t(c.unit() + 1)));
        },
        [&] { editor.rebuild(); });

    std::unique_ptr<NameList> cold;
    const double coldRebuild = medianMicroseconds(
        iterations, [&] { cold = std::make_unique<NameList>(editor.grid(), QStringLiteral("pl")); },
        [&] { cold->rebuild(0, sink, texts); });

    std::vector<NameRow> plain;
    const double plainSort = medianMicroseconds(
        iterations, [] {}, [&] { plain = plainRebuild(editor.grid()); });

    QTextStream out(stdout);
    out << "name list of " << editor.list().count() << " entries, sorted, median of " << iterations
        << " runs\n";
    out << QStringLiteral("  rebuild after a one-entry change: %1 us\n")
               .arg(afterChange, 0, 'f', 1);
    out << QStringLiteral("  cold rebuild (no cached keys):    %1 us\n")
               .arg(coldRebuild, 0, 'f', 1);
    out << QStringLiteral("  plain localeAwareCompare rebuild: %1 us\n").arg(plainSort, 0, 'f', 1);
    out << QStringLiteral("  plain / after a change: %1x, plain / cold: %2x\n")
               .arg(plainSort / afterChange, 0, 'f', 1)
               .arg(plainSort / coldRebuild, 0, 'f', 1);
    return 0;
}
