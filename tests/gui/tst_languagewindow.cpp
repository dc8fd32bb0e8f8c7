#include "base/Localisation.h"
#include "files/SettingsFile.h"
#include "gui/startup/LanguageWindow.h"
#include "support/RecordingSink.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace q540;

namespace {

constexpr int kUntouchedModuleLanguage = 5;

} // namespace

class TestLanguageWindow : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        texts_ = std::make_unique<Localisation>();
        texts_->load();
        dir_ = std::make_unique<QTemporaryDir>();
        settings_ = std::make_unique<SettingsFile>(dir_->filePath("Q540.ini"));
        sink_ = test::RecordingSink{};
        jezyk_modulu_ = kUntouchedModuleLanguage;
        applied_.clear();
    }

    void opensWithCurrentLanguage_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("groupCaption");
        QTest::addColumn<QString>("cancelCaption");
        QTest::newRow("Polish") << 0 << "Wybór języka"
                                << "Anuluj";
        QTest::newRow("English") << 1 << "Select language"
                                 << "Cancel";
        QTest::newRow("German") << 2 << "Sprache auswählen"
                                << "Abbrechen";
    }
    void opensWithCurrentLanguage()
    {
        QFETCH(int, language);
        QFETCH(QString, groupCaption);
        QFETCH(QString, cancelCaption);
        setLanguage(language);
        auto window = makeWindow();
        QCOMPARE(window->windowTitle(), "KQ540");
        QVERIFY(window->isModal());
        QCOMPARE(window->findChild<QGroupBox*>("RadioGrouplanguage")->title(), groupCaption);
        QCOMPARE(window->findChild<QPushButton*>("Button2")->text(), cancelCaption);
        const QList<QRadioButton*> items = radioItems(*window);
        QCOMPARE(items.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(items[i]->text(), (QStringList{"Polski", "English", "Deutsch"}[i]));
            QCOMPARE(items[i]->isChecked(), i == language);
        }
    }

    void ok_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("English to German") << 1 << 2 << false;
        QTest::newRow("German to Polish, Enter") << 2 << 0 << true;
        QTest::newRow("same: English") << 1 << 1 << false;
        QTest::newRow("same: Polish, Enter") << 0 << 0 << true;
    }
    void ok()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(bool, byEnter);
        setLanguage(from);
        auto window = makeWindow();
        choose(*window, to);
        if (byEnter)
            QTest::keyClick(window.get(), Qt::Key_Return);
        else
            QTest::mouseClick(window->findChild<QPushButton*>("Button1"), Qt::LeftButton);

        // Seen from inside the apply step: stored and current already, module not yet reset.
        QCOMPARE(applied_, QStringList{QString("jezyk %1 stored %2 Nr_Jezyka %1 module %3 open")
                                           .arg(to)
                                           .arg(to)
                                           .arg(kUntouchedModuleLanguage)});
        QCOMPARE(jezyk_modulu_, 0);
        QCOMPARE(window->result(), int(QDialog::Accepted));
        QVERIFY(!window->isVisible());
        QVERIFY(sink_.messages.isEmpty());
    }

    void cancel_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Cancel button") << "button";
        QTest::newRow("Escape") << "escape";
        QTest::newRow("close box") << "close";
    }
    void cancel()
    {
        QFETCH(QString, how);
        setLanguage(2);
        auto window = makeWindow();
        choose(*window, 0);
        if (how == "button")
            QTest::mouseClick(window->findChild<QPushButton*>("Button2"), Qt::LeftButton);
        else if (how == "escape")
            QTest::keyClick(window.get(), Qt::Key_Escape);
        else
            QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QCOMPARE(window->result(), int(QDialog::Rejected));
        expectUnchanged(2);
        QCOMPARE(jezyk_, 2);
        QVERIFY(!QFile::exists(settings_->path()));
    }

    // Tests run as root: only a path that cannot be a file stops the write.
    void unwritableSettingsFile()
    {
        const QString blocker = dir_->filePath("blocker");
        QVERIFY(QDir().mkdir(blocker));
        settings_ = std::make_unique<SettingsFile>(blocker);
        setLanguage(1);
        auto window = makeWindow();
        choose(*window, 0);
        QTest::mouseClick(window->findChild<QPushButton*>("Button1"), Qt::LeftButton);
        QCOMPARE(sink_.messages, QStringList{"Unable to write to " + blocker});
        QVERIFY(window->isVisible());
        QCOMPARE(jezyk_, 0);
        expectUnchanged(1);
        QVERIFY(QFileInfo(blocker).isDir());
    }

private:
    void setLanguage(int language)
    {
        jezyk_ = language;
        texts_->setLanguage(language);
    }

    std::unique_ptr<LanguageWindow> makeWindow()
    {
        auto window = std::make_unique<LanguageWindow>(
            *texts_, jezyk_, jezyk_modulu_, *settings_, sink_, [this] {
                applied_ << QString("jezyk %1 stored %2 Nr_Jezyka %3 module %4 %5")
                                .arg(jezyk_)
                                .arg(QFile::exists(settings_->path()) ? settings_->readJezyk() : -1)
                                .arg(texts_->language())
                                .arg(jezyk_modulu_)
                                .arg(window_->isVisible() ? "open" : "closed");
            });
        window_ = window.get();
        window->show();
        return window;
    }

    static QList<QRadioButton*> radioItems(const LanguageWindow& window)
    {
        return window.findChild<QGroupBox*>("RadioGrouplanguage")->findChildren<QRadioButton*>();
    }

    // On the indicator: a radio button stretched to the group's width takes no click
    // beyond its text.
    static void choose(const LanguageWindow& window, int language)
    {
        QRadioButton* item = radioItems(window)[language];
        QTest::mouseClick(item, Qt::LeftButton, {}, QPoint(item->height() / 2, item->height() / 2));
        QVERIFY(item->isChecked());
    }

    void expectUnchanged(int language)
    {
        QCOMPARE(texts_->language(), language);
        QVERIFY(applied_.isEmpty());
        QCOMPARE(jezyk_modulu_, kUntouchedModuleLanguage);
    }

    std::unique_ptr<Localisation> texts_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SettingsFile> settings_;
    test::RecordingSink sink_;
    int jezyk_ = 1;
    int jezyk_modulu_ = kUntouchedModuleLanguage;
    LanguageWindow* window_ = nullptr;
    QStringList applied_;
};

QTEST_MAIN(TestLanguageWindow)
#include "tst_languagewindow.moc"
