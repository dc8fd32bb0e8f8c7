#include "gui/VerifyDialog.h"

#include "base/FixedTexts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace q540 {

namespace {

const LanguageRow kTitle{u"Sprawdzenie zapisu", u"Verify after writing",
                         u"Prüfung nach dem Schreiben"};
const LanguageRow kWriteAgain{u"Zapisz je ponownie", u"Write them again", u"Erneut schreiben"};

} // namespace

bool askWriteAgain(const VerifyResult& verified, int written, int language, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("VerifyDialog"));
    dialog.setWindowTitle(textIn(kTitle, language));
    auto* summary = new QLabel(fixedText(FixedText::VerifyDifferences, language)
                                   .arg(verified.differences.size())
                                   .arg(written));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("VerifyDifferences"));
    for (const BlockDifference& d : verified.differences)
        list->addItem(differenceText(d, language));
    auto* buttons = new QDialogButtonBox;
    QPushButton* again =
        buttons->addButton(textIn(kWriteAgain, language), QDialogButtonBox::AcceptRole);
    again->setObjectName(QStringLiteral("WriteAgain"));
    again->setDefault(true);
    buttons->addButton(fixedText(FixedText::Close, language), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(summary);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    dialog.resize(640, 300);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace q540
