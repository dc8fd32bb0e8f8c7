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
    : QDialog(parent), m_texts(texts), m_jezyk(jezyk), m_jezyk_modulu(jezyk_modulu),
      m_settings(settings), m_sink(sink), m_applyLanguage(std::move(applyLanguage)),
      m_languages(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("Language"));
    setWindowTitle(QStringLiteral("KQ540"));
    setModal(true);

    auto* group = new QGroupBox(m_texts.text(textkey::kLanguageCaption), this);
    group->setObjectName(QStringLiteral("RadioGrouplanguage"));
    auto* items = new QVBoxLayout(group);
    // Each name in its own language, so that a user lost in a foreign one finds theirs.
    const QString names[] = {QStringLiteral("Polski"), QStringLiteral("English"),
                             QStringLiteral("Deutsch")};
    for (int i = 0; i < Localisation::kLanguageCount; ++i) {
        auto* item = new QRadioButton(names[i], group);
        m_languages->addButton(item, i);
        items->addWidget(item);
    }
    QAbstractButton* current = m_languages->button(m_jezyk);
    (current ? current : m_languages->button(kEnglish))->setChecked(true);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(m_texts.text(textkey::kLanguageCancel), this);
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
    m_jezyk = m_languages->checkedId();
    if (const std::optional<QString> failure = m_settings.writeJezyk(m_jezyk)) {
        m_sink.showMessage(*failure);
        return;
    }
    m_texts.setNr_Jezyka(m_jezyk);
    m_applyLanguage();
    // The module's display language counts as unknown until the next configuration read.
    m_jezyk_modulu = 0;
    accept();
}

} // namespace q540
