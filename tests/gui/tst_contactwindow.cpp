#include "base/AppInfo.h"
#include "base/Localisation.h"
#include "device/Clock.h"
#include "gui/main/SettingsPanel.h"
#include "gui/support/ContactWindow.h"
#include "gui/support/VersionCheck.h"
#include "module/ModuleMonitor.h"
#include "support/RecordingSink.h"

#include <QEnterEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <memory>

using namespace q540;

namespace {

const QColor kPink(255, 0, 144);

void enter(QWidget* widget)
{
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)));
    QCoreApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(widget, &event);
}

QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

QColor background(const QWidget* widget)
{
    return widget->palette().color(QPalette::Window);
}

} // namespace

class TestContactWindow : public QObject {
    Q_OBJECT

private slots:
    void init() { opened_.clear(); }

    void contents_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QString>("support");
        QTest::addColumn<QString>("mail");
        QTest::addColumn<QString>("telephone");
        QTest::newRow("Polish") << 0 << "Image1"
                                << "wsparcie.example.invalid"
                                << "biuro@example.invalid"
                                << "";
        QTest::newRow("English") << 1 << "Image2"
                                 << "support.example.invalid"
                                 << "export@example.invalid"
                                 << "Phone: +00 00 000 00 00";
        QTest::newRow("German") << 2 << "Image3"
                                << "support.example.invalid"
                                << "export@example.invalid"
                                << "Telefon: +00 00 000 00 00";
    }
    void contents()
    {
        QFETCH(int, language);
        QFETCH(QString, picture);
        QFETCH(QString, support);
        QFETCH(QString, mail);
        QFETCH(QString, telephone);
        auto window = makeWindow(language);
        QVERIFY(window->isModal());
        QVERIFY(window->windowFlags().testFlag(Qt::FramelessWindowHint));
        for (const char* name : {"Image1", "Image2", "Image3"}) {
            auto* image = window->findChild<QLabel*>(name);
            QCOMPARE(image->isVisible(), picture == name);
            QVERIFY(!image->pixmap().isNull());
        }
        QCOMPARE(label(*window, "Label6")->text(), "www.example.invalid");
        QCOMPARE(label(*window, "Label_wsparcie")->text(), support);
        QCOMPARE(label(*window, "Label3")->text(), mail);
        QCOMPARE(label(*window, "Label1")->text(), "OK");
        auto* address = window->findChild<QGroupBox*>("GroupBox_adres");
        QCOMPARE(address->isVisible(), !telephone.isEmpty());
        if (!telephone.isEmpty())
            QCOMPARE(label(*window, "Label8")->text(), telephone);
    }

    // The three pictures are told apart by what they show, not by their names.
    void picturesDiffer()
    {
        auto window = makeWindow(0);
        const QImage polish = label(*window, "Image1")->pixmap().toImage();
        QVERIFY(polish != label(*window, "Image2")->pixmap().toImage());
        QVERIFY(polish != label(*window, "Image3")->pixmap().toImage());
        QVERIFY(label(*window, "Image2")->pixmap().toImage()
                != label(*window, "Image3")->pixmap().toImage());
    }

    void links_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("url");
        const QString polishMail =
            "mailto:biuro@example.invalid?Subject=Dot.%20programu%20VEL%20KOR";
        const QString exportMail =
            "mailto:export@example.invalid?Subject=Dot.%20programu%20VEL%20KOR";
        QTest::newRow("Polish web site") << 0 << "Label6"
                                         << "http://www.example.invalid/";
        QTest::newRow("German web site") << 2 << "Label6"
                                         << "http://www.example.invalid/";
        QTest::newRow("Polish support") << 0 << "Label_wsparcie"
                                        << "http://wsparcie.example.invalid/";
        QTest::newRow("English support") << 1 << "Label_wsparcie"
                                         << "http://support.example.invalid/";
        QTest::newRow("German support") << 2 << "Label_wsparcie"
                                        << "http://support.example.invalid/";
        QTest::newRow("Polish mail") << 0 << "Label3" << polishMail;
        QTest::newRow("English mail") << 1 << "Label3" << exportMail;
        QTest::newRow("German mail") << 2 << "Label3" << exportMail;
    }
    void links()
    {
        QFETCH(int, language);
        QFETCH(QString, link);
        QFETCH(QString, url);
        auto window = makeWindow(language);
        QTest::mouseClick(label(*window, link), Qt::LeftButton);
        QCOMPARE(opened_, QStringList{url});
        QVERIFY(window->isVisible());
    }

    void mailSubjectDecodes()
    {
        auto window = makeWindow(1);
        QTest::mouseClick(label(*window, "Label3"), Qt::LeftButton);
        const QUrl mail(opened_.value(0));
        QCOMPARE(mail.scheme(), "mailto");
        QCOMPARE(mail.path(), "export@example.invalid");
        QCOMPARE(mail.query(QUrl::FullyDecoded), "Subject=Dot. programu VEL KOR");
    }

    void releaseOutsideLinkOpensNothing()
    {
        auto window = makeWindow(0);
        QLabel* web = label(*window, "Label6");
        QTest::mousePress(web, Qt::LeftButton);
        QTest::mouseRelease(web, Qt::LeftButton, {}, QPoint(web->width() + 5, 1));
        QVERIFY(opened_.isEmpty());
    }

    void linkHover_data()
    {
        QTest::addColumn<QString>("link");
        QTest::newRow("web site") << "Label6";
        QTest::newRow("support") << "Label_wsparcie";
        QTest::newRow("mail") << "Label3";
    }
    void linkHover()
    {
        QFETCH(QString, link);
        auto window = makeWindow(1);
        QLabel* hovered = label(*window, link);
        const QColor resting = hovered->palette().color(QPalette::Link);
        QCOMPARE(textColour(hovered), resting);
        QVERIFY(hovered->font().underline());
        enter(hovered);
        QCOMPARE(textColour(hovered), kPink);
        for (const char* other : {"Label6", "Label_wsparcie", "Label3"}) {
            if (link != other)
                QCOMPARE(textColour(label(*window, other)), resting);
        }
        leave(hovered);
        QCOMPARE(textColour(hovered), resting);
    }

    void okBoxHover_data()
    {
        QTest::addColumn<QString>("part");
        QTest::newRow("OK label") << "Label1";
        QTest::newRow("box") << "GroupBox1";
    }
    void okBoxHover()
    {
        QFETCH(QString, part);
        auto window = makeWindow(0);
        auto* box = window->findChild<QFrame*>("GroupBox1");
        QWidget* hovered = window->findChild<QWidget*>(part);
        const QColor resting = background(box);
        QVERIFY(resting != kPink);
        QCOMPARE(textColour(label(*window, "Label1")), QColor(Qt::white));
        enter(hovered);
        QCOMPARE(background(box), kPink);
        leave(hovered);
        QCOMPARE(background(box), resting);
    }

    void okCloses_data()
    {
        QTest::addColumn<QString>("part");
        QTest::newRow("OK label") << "Label1";
        QTest::newRow("box") << "GroupBox1";
    }
    void okCloses()
    {
        QFETCH(QString, part);
        auto window = makeWindow(2);
        QTest::mouseClick(window->findChild<QWidget*>(part), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!window->isVisible());
        QVERIFY(opened_.isEmpty());
    }

    void updateCheckUrl_data()
    {
        QTest::addColumn<int>("jezyk");
        QTest::addColumn<QString>("url");
        const QString page =
            "http://www.example.invalid/update/chkupdate.php?ver_nmb=12&prog=D54073";
        QTest::newRow("Polish") << 0 << page + "&lang=pl";
        QTest::newRow("English") << 1 << page + "&lang=en";
        QTest::newRow("German") << 2 << page + "&lang=en";
    }
    void updateCheckUrl()
    {
        QFETCH(int, jezyk);
        QFETCH(QString, url);
        QCOMPARE(q540::updateCheckUrl(jezyk).toString(QUrl::FullyEncoded), url);

        Localisation texts;
        texts.load();
        texts.setLanguage(jezyk);
        AbsentLink noCable;
        SystemClock clock;
        test::RecordingSink sink;
        ModuleMonitor monitor(noCable, clock, texts, sink);
        SettingsPanel window(monitor, texts, nullptr, recorder());
        window.Ustaw_Formatke_Panelow_Edycji(SettingsPanel::kVersionMode);
        QVERIFY(opened_.isEmpty());
        window.show();
        QVERIFY(window.findChild<QWidget*>("GroupBox1")->isVisible());
        QVERIFY(!window.findChild<QWidget*>("GroupBox2")->isVisible());
        QCOMPARE(opened_, QStringList{url});
        // The caption carries the version the build gives the program file.
        QCOMPARE(window.windowTitle(), QStringLiteral("KQ540 v ") + kVersion);
        QVERIFY(window.isModal());
        QTest::mouseClick(window.findChild<QPushButton*>("Button1"), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QCOMPARE(opened_.size(), 1);
    }

private:
    UrlOpener recorder()
    {
        return [this](const QUrl& url) { opened_ << url.toString(QUrl::FullyEncoded); };
    }

    std::unique_ptr<ContactWindow> makeWindow(int language)
    {
        auto window = std::make_unique<ContactWindow>(language, recorder());
        window->show();
        return window;
    }

    static QLabel* label(const QWidget& window, const QString& name)
    {
        auto* found = window.findChild<QLabel*>(name);
        if (!found)
            qFatal("no label %s", qPrintable(name));
        return found;
    }

    QStringList opened_;
};

QTEST_MAIN(TestContactWindow)
#include "tst_contactwindow.moc"
