#include "base/Localisation.h"
#include "gui/main/MainWindow.h"
#include "gui/main/ZonePages.h"
#include "gui/startup/Look.h"

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

// Run on X screens (Xvfb) of the sizes laptops leave free under a 40-pixel
// panel, at 100 % (1280x680, 1366x728) and at 150 % and 200 % of 1920x1040:
// the build registers this test once for each (QT_SCALE_FACTOR).
class WindowGeometryTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion"))); }

    // Whatever page is shown and whichever language is chosen, the window
    // keeps one size, and that size fits the screen.
    void oneSizeOnEveryPageInEveryLanguage_data()
    {
        QTest::addColumn<int>("startLanguage");
        for (int language = 0; language < 3; ++language)
            QTest::addRow("starting in language %d", language) << language;
    }

    void oneSizeOnEveryPageInEveryLanguage()
    {
        QFETCH(int, startLanguage);
        QTemporaryDir dir;
        Localisation texts;
        texts.load();
        texts.setLanguage(startLanguage);
        MainWindow window(texts, dir.filePath(QStringLiteral("Q540.ini")), kModuleOrderPolish);
        showCentred(window);
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize size = window.size();
        const QRect screen = window.screen()->availableGeometry();
        QVERIFY2(screen.contains(window.frameGeometry()),
                 qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        // Opens centred, to within the rounding of an odd difference.
        QVERIFY(qAbs(window.geometry().center().x() - screen.center().x()) <= 1);
        QVERIFY(qAbs(window.geometry().center().y() - screen.center().y()) <= 1);

        // Read and Write in full view; a read's lamps and the progress row
        // of a transfer move nothing.
        const auto buttonsInView = [&window] {
            for (const char* name : {"Button9b", "Button0b"}) {
                const auto* button = window.findChild<QPushButton*>(QLatin1String(name));
                QVERIFY(button && button->isVisible());
                QCOMPARE(button->visibleRegion().boundingRect(), button->rect());
            }
        };
        buttonsInView();
        auto* pages = window.findChild<ZonePages*>();
        const QRect pagesInView = pages->visibleRegion().boundingRect();
        std::array<bool, kTabPageCount> lit;
        lit.fill(true);
        pages->showLamps(lit);
        window.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"))->show();
        window.findChild<QPushButton*>(QStringLiteral("CancelTransfer"))->show();
        QTest::qWait(20);
        QCOMPARE(window.size(), size);
        QCOMPARE(pages->visibleRegion().boundingRect(), pagesInView);
        buttonsInView();

        for (int page = 0; page < kSelectorCount; ++page) {
            for (int language : {0, 1, 2, startLanguage}) {
                window.viewActions().RadioGroup_StrefaClick(page);
                QTest::qWait(1);
                texts.setLanguage(language);
                window.viewActions().Ustaw_WJ_na_komponentach();
                QTest::qWait(1);
                window.viewActions().RadioGroup_StrefaClick(0);
                QTest::qWait(1);
                QCOMPARE(window.size(), size);
            }
        }
    }
};

QTEST_MAIN(WindowGeometryTest)
#include "tst_windowgeometry.moc"
