#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "demo/DemoModule.h"
#include "device/Clock.h"
#include "emulator/EmulatedLink.h"
#include "emulator/ModuleEmulator.h"
#include "gui/main/MainWindow.h"
#include "protocol/Protocol.h"
#include "support/ModalDriver.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace q540;

class DemoTest : public QObject {
    Q_OBJECT

private slots:
    void demoModuleIsFoundAndReadsItsDirectory();
};

void DemoTest::demoModuleIsFoundAndReadsItsDirectory()
{
    QTemporaryDir settings;
    Localisation texts;
    texts.load();
    texts.setLanguage(1);
    sim::ModuleEmulator module;
    sim::loadDemoModule(module, texts);
    SystemClock clock;
    sim::EmulatedLink cable(module, clock);
    MainWindow window(texts, settings.filePath(QStringLiteral("Q540.ini")), kModuleOrderPolish);
    window.setHistoryFolder(settings.filePath(QStringLiteral("history")));
    window.attachModule(cable, clock);
    window.showDemoNote();
    window.show();

    QTRY_VERIFY_WITH_TIMEOUT(window.module().status().modulePresent(),
                             2 * protocol::kPollIntervalMs);
    QVERIFY(window.module().status().passwordConfirmed());
    QCOMPARE(window.module().status().entryCount, sim::kDemoEntryCount + 2);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("Label_demo"))->text(),
             fixedText(FixedText::DemoModuleNote, 1));

    test::ModalDriver driver;
    window.findChild<QPushButton*>(QStringLiteral("Button9b"))->click();
    QCOMPARE(driver.messages, QStringList{texts.text(textkey::kDataRead)});
    QCOMPARE(window.directory().list().count(), sim::kDemoEntryCount + 2);
    const DirectoryGrid expected = sim::demoDirectory();
    for (int row = 1; row <= kGridRows; ++row)
        QCOMPARE(window.directory().grid().entryText(row), expected.entryText(row));
}

QTEST_MAIN(DemoTest)
#include "tst_demo.moc"
