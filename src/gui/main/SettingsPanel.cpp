#include "gui/main/SettingsPanel.h"

#include "base/AppInfo.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "gui/support/VersionCheck.h"
#include "module/ModuleMonitor.h"
#include "protocol/Protocol.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

namespace q540 {

using namespace textkey;

namespace {

// Set by the build, so the caption always names the file that runs.

// The group boxes of the modes, in pixels, and the panel's margins around them.
constexpr QSize kVersionBoxSize(311, 219);
constexpr QSize kPasswordBoxSize(253, 129);
constexpr QSize kLanguageBoxSize(273, 137);
constexpr QPoint kBoxPosition(8, 4);
constexpr QSize kPanelMargin(16, 12);

QPushButton* button(const char* name, QWidget* parent)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

SettingsPanel::SettingsPanel(ModuleMonitor& monitor, const Localisation& texts, QWidget* parent,
                             UrlOpener openUrl)
    : QDialog(parent), monitor_(monitor), texts_(texts),
      openUrl_(openUrl ? std::move(openUrl) : UrlOpener(openWithDefaultProgram))
{
    setObjectName(QStringLiteral("Form_Panel_Edycji"));
    setWindowTitle(kApplicationTitle);
    setModal(true);
    versionBox_ = buildVersionBox();
    passwordBox_ = buildPasswordBox();
    languageBox_ = buildLanguageBox();
    for (QGroupBox* box : {versionBox_, passwordBox_, languageBox_})
        box->hide();
}

QGroupBox* SettingsPanel::buildVersionBox()
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    box->setMinimumSize(kVersionBoxSize);
    // The update-check page itself opens in the browser; the page here names
    // the version that runs.
    auto* version = new QLabel(QStringLiteral("Q540  ") + kVersion, box);
    version->setObjectName(QStringLiteral("Label_wersja"));
    QFont large = version->font();
    large.setBold(true);
    large.setPixelSize(20);
    version->setFont(large);
    version->setAlignment(Qt::AlignCenter);
    auto* ok = button("Button1", box);
    ok->setText(QStringLiteral("OK"));
    // Enter closes the version page, as Esc does.
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SettingsPanel::Button1Click);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(version, 1);
    layout->addWidget(ok, 0, Qt::AlignRight);
    return box;
}

QGroupBox* SettingsPanel::buildPasswordBox()
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GroupBox2"));
    box->setMinimumSize(kPasswordBoxSize);
    passwordLabel_ = new QLabel(box);
    passwordLabel_->setObjectName(QStringLiteral("Label239"));
    passwordEdit_ = new QLineEdit(QString::fromLatin1(protocol::kDefaultPassword), box);
    passwordEdit_->setObjectName(QStringLiteral("D1_Edit_Parametry_Haslo_Instalatora"));
    passwordEdit_->setMaxLength(4);
    // Digits only; Backspace and the other editing keys stay as they are.
    passwordEdit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), box));
    confirm_ = button("D1_Button_Zatwierdz_zmiane_Parametrow", box);
    cancel_ = button("D1_Button_Anuluj_zmiane_Parametrow", box);
    // Enter cancels: the entry goes to the module only by a deliberate click.
    cancel_->setDefault(true);
    connect(confirm_, &QPushButton::clicked, this,
            &SettingsPanel::D1_Button_Zatwierdz_zmiane_ParametrowClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    auto* layout = new QGridLayout(box);
    layout->addWidget(passwordLabel_, 0, 0, 1, 2);
    layout->addWidget(passwordEdit_, 1, 0, 1, 2);
    layout->addWidget(confirm_, 2, 0);
    layout->addWidget(cancel_, 2, 1);
    return box;
}

QGroupBox* SettingsPanel::buildLanguageBox()
{
    auto* box = new QGroupBox(this);
    box->setObjectName(QStringLiteral("GroupBox3"));
    box->setMinimumSize(kLanguageBoxSize);
    readLanguage_ = button("Button_Odczyt_jezyka", box);
    writeLanguage_ = button("Button_zapis_jezyka_do_modulu", box);
    writeLanguage_->setEnabled(false);
    close_ = button("Button_zamknij", box);
    language_ = new QComboBox(box);
    language_->setObjectName(QStringLiteral("ComboBox_jezyk_modulu"));
    // Item 0 stands for no language; the others are the module's codes.
    language_->addItem(QStringLiteral("--"));
    for (int code = 1; code <= protocol::kHighestLanguageCode; ++code)
        language_->addItem(QString::fromLatin1(protocol::languageName(code)));
    codeLabel_ = new QLabel(QStringLiteral("."), box);
    codeLabel_->setObjectName(QStringLiteral("Label_kod"));
    connect(readLanguage_, &QPushButton::clicked, this, &SettingsPanel::Button_Odczyt_jezykaClick);
    connect(writeLanguage_, &QPushButton::clicked, this,
            &SettingsPanel::Button_zapis_jezyka_do_moduluClick);
    connect(language_, &QComboBox::activated, this, &SettingsPanel::ComboBox_jezyk_moduluClick);
    connect(close_, &QPushButton::clicked, this, &SettingsPanel::Button1Click);
    auto* layout = new QGridLayout(box);
    layout->addWidget(readLanguage_, 0, 0, 1, 2);
    layout->addWidget(language_, 1, 0);
    layout->addWidget(codeLabel_, 1, 1);
    layout->addWidget(writeLanguage_, 2, 0, 1, 2);
    layout->addWidget(close_, 3, 0, 1, 2);
    return box;
}

void SettingsPanel::Ustaw_Formatke_Panelow_Edycji(int Nr_Panelu)
{
    mode_ = Nr_Panelu;
    fitToBox();
}

void SettingsPanel::fitToBox()
{
    QGroupBox* const boxes[] = {versionBox_, passwordBox_, languageBox_};
    if (mode_ < kVersionMode || mode_ > kLanguageMode)
        return;
    QGroupBox* box = boxes[mode_ - kVersionMode];
    // The mode's size, or more where a language's captions need it.
    box->resize(box->minimumSize().expandedTo(box->sizeHint()));
    setFixedSize(box->size() + kPanelMargin);
    box->move(kBoxPosition);
    if (const QWidget* owner = parentWidget())
        move(owner->window()->frameGeometry().center() - rect().center());
}

void SettingsPanel::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    versionBox_->setVisible(mode_ == kVersionMode);
    passwordBox_->setVisible(mode_ == kPasswordMode);
    languageBox_->setVisible(mode_ == kLanguageMode);
    if (mode_ == kVersionMode)
        showVersionMode();
    else if (mode_ == kPasswordMode)
        showPasswordMode();
    else if (mode_ == kLanguageMode)
        showLanguageMode();
    fitToBox();
}

void SettingsPanel::showVersionMode()
{
    setWindowTitle(versionCaption(kVersion));
    // Only a real showing asks the server; the window system's re-shows do not.
    openUrl_(updateCheckUrl(texts_.language()));
}

void SettingsPanel::showPasswordMode()
{
    passwordEdit_->setText(monitor_.password());
    passwordEdit_->setFocus();
    setWindowTitle(texts_.text(kPasswordCaption));
    cancel_->setText(texts_.text(kCancel));
    // With the module's password confirmed the entry is a new one for the
    // module; otherwise it tells the program the module's present password.
    const bool confirmed = monitor_.status().passwordConfirmed();
    passwordLabel_->setText(texts_.text(confirmed ? kNewPassword : kPresentPassword));
    confirm_->setText(texts_.text(confirmed ? kSaveToModule : kOk));
}

void SettingsPanel::showLanguageMode()
{
    setWindowTitle(texts_.text(kLanguageCaption));
    language_->setCurrentIndex(monitor_.status().moduleLanguage);
    readLanguage_->setText(texts_.text(kReadLanguage));
    writeLanguage_->setText(texts_.text(kWriteLanguage));
    close_->setText(texts_.text(kClose));
}

void SettingsPanel::D1_Button_Zatwierdz_zmiane_ParametrowClick()
{
    passwordEdit_->setText(monitor_.enterPassword(passwordEdit_->text()));
    accept();
}

void SettingsPanel::Button_Odczyt_jezykaClick()
{
    const std::optional<LanguageReading> reading = monitor_.readLanguage();
    if (!reading)
        return;
    language_->setCurrentIndex(reading->code);
    updateWriteButton();
    codeLabel_->setToolTip(reading->codeHint);
}

void SettingsPanel::ComboBox_jezyk_moduluClick()
{
    updateWriteButton();
}

void SettingsPanel::updateWriteButton()
{
    const int code = language_->currentIndex();
    writeLanguage_->setEnabled(code != 0 && code != monitor_.status().moduleLanguage);
}

void SettingsPanel::Button_zapis_jezyka_do_moduluClick()
{
    if (monitor_.writeLanguage(language_->currentIndex()).isDone())
        writeLanguage_->setEnabled(false);
}

void SettingsPanel::Button1Click()
{
    codeLabel_->setToolTip(QString());
    monitor_.status().configurationKnown = false;
    accept();
}

void SettingsPanel::execWithPollSuspended(int Nr_Panelu)
{
    Ustaw_Formatke_Panelow_Edycji(Nr_Panelu);
    monitor_.suspend();
    exec();
    monitor_.resume();
}

} // namespace q540
