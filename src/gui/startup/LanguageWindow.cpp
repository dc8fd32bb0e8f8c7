#include "gui/startup/LanguageWindow.h"

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"
#include "files/SettingsFile.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace q540 {

namespace {

constexpr int kEnglish = 1;

} // namespace

LanguageWindow::LanguageWindow(Localisation& texts, int& jezyk, int& jezyk_modulu,
                               SettingsFile& settings, UserSink& sink,
                               std::function<void()> applyLanguage, QWidget* parent)
    : QDialog(parent), texts_(texts), jezyk_(jezyk), jezyk_modulu_(jezyk_modulu),
      settings_(settings), sink_(sink), applyLanguage_(std::move(applyLanguage)),
      languages_(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("Language"));
    setWindowTitle(QStringLiteral("KQ540"));
    setModal(true);

    auto* group = new QGroupBox(texts_.text(textkey::kLanguageCaption), this);
    group->setObjectName(QStringLiteral("RadioGrouplanguage"));
    auto* items = new QVBoxLayout(group);
    // Each name in its own language, so that a user lost in a foreign one finds theirs.
    const QString names[] = {QStringLiteral("Polski"), QStringLiteral("English"),
                             QStringLiteral("Deutsch")};
    for (int i = 0; i < Localisation::kLanguageCount; ++i) {
        auto* item = new QRadioButton(names[i], group);
        languages_->addButton(item, i);
        items->addWidget(item);
    }
    QAbstractButton* current = languages_->button(jezyk_);
    (current ? current : languages_->button(kEnglish))->setChecked(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(texts_.text(textkey::kLanguageCancel), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(ok, &QPushButton::clicked, this, &LanguageWindow::Button1Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// The file is written before anything changes in memory, so a failed write leaves the
// program in the language that is still stored; jezyk alone keeps the choice, and the
// window stays open for another try or Cancel.
void LanguageWindow::Button1Click()
{
    jezyk_ = languages_->checkedId();
    if (const std::optional<QString> failure = settings_.writeJezyk(jezyk_)) {
        sink_.showMessage(*failure);
        return;
    }
    texts_.setLanguage(jezyk_);
    applyLanguage_();
    // The module's display language counts as unknown until the next configuration read.
    jezyk_modulu_ = 0;
    accept();
}

} // namespace q540
