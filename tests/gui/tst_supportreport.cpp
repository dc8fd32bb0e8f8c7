// "Save support report…" from the contact window: what the file holds, with
// the residents' names masked unless the user includes the directory.

#include "base/AppInfo.h"
#include "device/SystemProbe.h"
#include "gui/support/ContactWindow.h"
#include "support/EmulatedWindow.h"
#include "support/FakeFileDialogs.h"
#include "support/ModalDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace q540;

namespace {

// A module holding one resident, "KOWALSKI" in zone 1, apartment 7.
void holdResident(sim::ModuleEmulator& module)
{
    std::array<std::uint8_t, protocol::kBlockSize> block{};
    block.fill(' ');
    const QByteArray name("KOWALSKI");
    std::copy(name.begin(), name.end(), block.begin());
    block[protocol::kApartmentByte] = 7;
    block[protocol::kZoneByte] = 1;
    module.setBlock(0, block);
    module.setEntryCount(1);
}

} // namespace

class SupportReportTest : public QObject {
    Q_OBJECT

private slots:
    void reportFromTheContactWindow_data()
    {
        QTest::addColumn<bool>("include");
        QTest::addColumn<bool>("namesInTheFile");
        QTest::newRow("names masked by default") << false << false;
        QTest::newRow("directory included") << true << true;
    }

    void reportFromTheContactWindow()
    {
        QFETCH(bool, include);
        QFETCH(bool, namesInTheFile);
        test::EmulatedWindow w(1);
        w.window->reportActions().setSystemProbe(nullptr);
        holdResident(w.module);
        QVERIFY(w.poll());
        auto dialogs = std::make_unique<test::FakeFileDialogs>();
        const QString path = w.settings.filePath(QStringLiteral("support.txt"));
        dialogs->answers << path;
        w.window->setFileDialogs(std::move(dialogs));
        // The directory read puts the name on the wire.
        {
            test::ModalDriver reading;
            w.window->moduleActions().Buttonz9Click();
        }

        test::ModalDriver driver([&](QWidget* modal) {
            if (auto* contact = qobject_cast<ContactWindow*>(modal)) {
                auto* link = contact->findChild<QLabel*>(QStringLiteral("Label_raport"));
                QVERIFY(link && link->isVisible());
                QCOMPARE(link->text(), QStringLiteral("Save support report…"));
                const QPoint centre = link->rect().center();
                QMouseEvent press(QEvent::MouseButtonPress, centre, link->mapToGlobal(centre),
                                  Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
                QMouseEvent release(QEvent::MouseButtonRelease, centre, link->mapToGlobal(centre),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(link, &press);
                QApplication::sendEvent(link, &release);
            }
        });
        // The options dialog comes after the contact window has closed.
        QTimer answer;
        answer.setInterval(5);
        connect(&answer, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog->objectName() != u"SupportReportDialog")
                return;
            auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("IncludeDirectory"));
            QVERIFY(box && !box->isChecked());
            box->setChecked(include);
            dialog->findChild<QPushButton*>(QStringLiteral("SaveReport"))->click();
        });
        answer.start();
        w.window->findChild<QAction*>(QStringLiteral("Informacja1"))->trigger();

        QFile file(path);
        // Even with the directory masked it is owner-only, wherever it is saved.
        QCOMPARE(file.permissions() & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString report = QString::fromUtf8(file.readAll());
        QVERIFY(report.startsWith(QStringLiteral("Q540 support report")));
        QVERIFY(report.contains(QStringLiteral("program: %1\n").arg(kVersion)));
        QVERIFY(report.contains(QStringLiteral("[ok] Module: answered: Q540 (device code 70)")));
        QVERIFY(report.contains(QStringLiteral("The data are read!")));
        // The read's block: the name's bytes, or the mask in their place.
        QCOMPARE(report.contains(QStringLiteral("4B 4F 57 41 4C 53 4B 49")), namesInTheFile);
        QCOMPARE(report.contains(QStringLiteral("** ** ** **")), !namesInTheFile);
        QCOMPARE(driver.messages, QStringList{QStringLiteral("Report saved: ") + path});
    }
};

QTEST_MAIN(SupportReportTest)
#include "tst_supportreport.moc"
