#include "ui/VersionWindow.h"

#include "ui/VersionCheck.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <utility>

namespace q540 {

namespace {

// Set by the build, so the caption always names the file that runs.
const QString kFileVersion = QStringLiteral(Q540_FILE_VERSION);

} // namespace

VersionWindow::VersionWindow(int jezyk, UrlOpener openUrl, QWidget* parent)
    : QDialog(parent), m_jezyk(jezyk),
      m_openUrl(openUrl ? std::move(openUrl) : UrlOpener(openWithDefaultProgram))
{
    setObjectName(QStringLiteral("VersionWindow"));
    setModal(true);
    setWindowTitle(versionCaption(kFileVersion));

    auto* group = new QGroupBox(this);
    group->setObjectName(QStringLiteral("GroupBox1"));
    auto* version = new QLabel(QStringLiteral("Q540  ") + kFileVersion, group);
    version->setObjectName(QStringLiteral("Label_wersja"));
    QFont large = version->font();
    large.setBold(true);
    large.setPixelSize(20);
    version->setFont(large);
    version->setAlignment(Qt::AlignCenter);
    auto* inGroup = new QVBoxLayout(group);
    inGroup->setContentsMargins(24, 16, 24, 16);
    inGroup->addWidget(version);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void VersionWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only a real showing asks the server; the window system's re-shows do not.
    if (!event->spontaneous())
        m_openUrl(updateCheckUrl(m_jezyk));
    if (const QWidget* owner = parentWidget())
        move(owner->window()->frameGeometry().center() - rect().center());
}

} // namespace q540
