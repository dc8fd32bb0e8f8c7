// Times one keystroke in a line-1 field of a full directory (1020 entries,
// sorted: one more and every rebuild would warn in a message box) until the name list is repainted,
// in the real main window on the offscreen platform, and prints the median. Run:
// build/bench/bench_keystroke [keystrokes]

#include "base/Localisation.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/MainWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeView>

#include <algorithm>
#include <chrono>
#include <vector>

using namespace q540;

namespace {

void fill(DirectoryGrid& grid)
{
    const QStringList names{QStringLiteral("Nowak"),       QStringLiteral("Wiśniewski"),
                            QStringLiteral("Dąbrowski"),   QStringLiteral("Łukasik"),
                            QStringLiteral("Żak"),         QStringLiteral("Kowalczyk"),
                            QStringLiteral("Ćwik"),        QStringLiteral("Zieliński"),
                            QStringLiteral("Śliwa-Nowak"), QStringLiteral("Wójcik")};
    for (int row = 1; row <= kEntryCapacity; ++row) {
        const QString text = (names[row % names.size()] + QStringLiteral(" %1").arg(row))
                                 .leftJustified(kEntryTextLength);
        for (int c = 1; c <= kEntryTextLength; ++c)
            grid.setCell(row, c, Cell(text.at(c - 1)));
    }
}

void press(QWidget* field, Qt::Key key, const QString& text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(field, &up);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int keystrokes = argc > 1 ? std::max(2, atoi(argv[1])) : 201;
    Localisation texts;
    texts.load();
    QTemporaryDir settings;
    MainWindow window(texts, settings.filePath(QStringLiteral("Q540.ini")), kModuleOrderPolish);
    window.show();
    fill(window.directory().grid());
    window.viewActions().RadioGroup_StrefaClick(0);
    QApplication::processEvents();
    auto* list = window.findChild<QTreeView*>(QStringLiteral("ListView1"));
    EntryEdit* field = window.edit(1);
    field->setFocus();
    field->end(false);

    std::vector<double> times;
    for (int i = 0; i < keystrokes; ++i) {
        const auto start = std::chrono::steady_clock::now();
        // Alternately type a letter and take it back, so the field stays within its length.
        if (i % 2 == 0)
            press(field, Qt::Key_A, QStringLiteral("a"));
        else
            press(field, Qt::Key_Backspace, QStringLiteral("\b"));
        list->viewport()->repaint();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    QTextStream(stdout) << "keystroke in a line-1 field to the repainted list, "
                        << window.directory().list().count() << " entries sorted: median "
                        << QString::number(times[times.size() / 2], 'f', 2) << " ms, worst "
                        << QString::number(times.back(), 'f', 2) << " ms over " << keystrokes
                        << " keystrokes\n";
    return 0;
}
