#include "gui/main/ModuleToolBar.h"

#include "base/FixedTexts.h"

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "gui/main/EntryEdit.h"
#include "gui/main/ModuleStatusView.h"
#include "gui/startup/Look.h"
#include "protocol/Protocol.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace q540 {

using namespace textkey;

ModuleToolBar::ModuleToolBar(const Localisation& texts, QWidget* parent)
    : QToolBar(QStringLiteral("ToolBar1"), parent), texts_(texts)
{
    setObjectName(QStringLiteral("ToolBar1"));
    setMovable(false);
    new_ = fileButton("ToolButton1", QStyle::SP_FileIcon);
    open_ = fileButton("ToolButton2", QStyle::SP_DialogOpenButton);
    save_ = fileButton("ToolButton3", QStyle::SP_DialogSaveButton);
    saveAs_ = fileButton("ToolButton4", QStyle::SP_DriveFDIcon);
    connect(new_, &QToolButton::clicked, this, &ModuleToolBar::newClicked);
    connect(open_, &QToolButton::clicked, this, &ModuleToolBar::openClicked);
    connect(save_, &QToolButton::clicked, this, &ModuleToolBar::saveClicked);
    connect(saveAs_, &QToolButton::clicked, this, &ModuleToolBar::saveAsClicked);
    state_ = fileButton("ToolButton8", QStyle::SP_DriveNetIcon);
    state_->setAutoRaise(true);
    // The lamp only shows the state: Tab passes it by.
    state_->setFocusPolicy(Qt::NoFocus);
    status_ = new QLineEdit;
    status_->setObjectName(QStringLiteral("Edit_Status"));
    status_->setReadOnly(true);
    status_->setMinimumWidth(330);
    addWidget(status_);
    addSeparator()->setObjectName(QStringLiteral("ToolButton7"));
    address_ = new EntryEdit(EntryEdit::Rules::Line2, 20);
    address_->setObjectName(QStringLiteral("Edit_adres"));
    address_->setText(texts_.text(0, kAddress));
    connect(address_, &QLineEdit::textEdited, this, &ModuleToolBar::addressEdited);
    addWidget(address_);
    buildPassword();
    // Fields the program keeps without showing them.
    entryCount_ = new QLineEdit(QStringLiteral("00 00"), this);
    entryCount_->setObjectName(QStringLiteral("Edit520"));
    entryCount_->hide();
    auto* edit538 = new QLineEdit(this);
    edit538->setObjectName(QStringLiteral("Edit538"));
    edit538->hide();
}

QToolButton* ModuleToolBar::fileButton(const char* name, QStyle::StandardPixmap icon)
{
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(style()->standardIcon(icon));
    addWidget(button);
    return button;
}

void ModuleToolBar::buildPassword()
{
    passwordLabel_ = new QLabel;
    passwordLabel_->setObjectName(QStringLiteral("Label_haslo_instalatora"));
    addWidget(passwordLabel_);
    password_ = new QLineEdit(QString::fromLatin1(protocol::kDefaultPassword));
    password_->setObjectName(QStringLiteral("Edit_haslo"));
    password_->setEnabled(false);
    password_->setMaxLength(4);
    QFont bold = password_->font();
    bold.setBold(true);
    password_->setFont(bold);
    // Four digits whole, whatever the font and the scale.
    password_->setMaximumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("0000")) + 16);
    addWidget(password_);
    passwordLabel_->setBuddy(password_);
    changePassword_ = new QPushButton;
    changePassword_->setObjectName(QStringLiteral("Button_zmien_haslo"));
    connect(changePassword_, &QPushButton::clicked, this, &ModuleToolBar::changePasswordClicked);
    addWidget(changePassword_);
    resetLock_ = new QCheckBox;
    resetLock_->setObjectName(QStringLiteral("CheckBox_blokada_resetu"));
    connect(resetLock_, &QCheckBox::clicked, this, &ModuleToolBar::resetLockClicked);
    addWidget(resetLock_);
}

void ModuleToolBar::setSaveEnabled(bool enabled)
{
    save_->setEnabled(enabled);
}

void ModuleToolBar::showStatus(const ModuleStatusView& view, const QString& password,
                               bool resetLockTicked)
{
    state_->setIcon(stateIcon(view.stateColour));
    state_->setProperty("Tag", view.tag);
    state_->setProperty("ImageIndex", view.imageIndex);
    status_->setText(view.text);
    status_->setCursorPosition(0);
    password_->setText(password);
    // The field is disabled, so its disabled colours are the ones seen.
    QPalette palette = password_->style()->standardPalette();
    if (view.passwordColour.isValid()) {
        palette.setColor(QPalette::Disabled, QPalette::Base, view.passwordColour);
        palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    }
    password_->setPalette(palette);
    resetLock_->setChecked(resetLockTicked);
    showEntryCount(view.entryCount);
}

void ModuleToolBar::showEntryCount(const QString& count)
{
    entryCount_->setText(count);
}

void ModuleToolBar::retranslate()
{
    const std::pair<QToolButton*, int> hints[] = {
        {new_, kNew}, {open_, kOpen}, {save_, kSave}, {saveAs_, kSaveAs}, {state_, kModuleState}};
    for (const auto& [button, key] : hints) {
        button->setToolTip(texts_.text(key));
        button->setAccessibleName(texts_.text(key));
    }
    const int language = texts_.language();
    setWindowTitle(fixedText(FixedText::AccessibleToolBar, language));
    status_->setAccessibleName(texts_.text(kModuleState));
    address_->setAccessibleName(fixedText(FixedText::AccessibleAddress, language));
    passwordLabel_->setText(texts_.text(kInstallerPassword));
    changePassword_->setText(texts_.text(kChangePassword));
    resetLock_->setText(texts_.text(kResetLock));
    // Only the word "address" in some language follows the language; a typed address stays.
    for (int column = 0; column < Localisation::kLanguageCount; ++column) {
        if (address_->text() == texts_.text(column, kAddress)) {
            address_->setText(texts_.text(kAddress));
            break;
        }
    }
}

} // namespace q540
