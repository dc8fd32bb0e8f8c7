#include "base/Localisation.h"
#include "gui/main/MainWindow.h"
#include "gui/startup/Look.h"

#include <QApplication>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

// Run on a 1366x768 X screen (Xvfb): the laptop screen the window must fit.
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
