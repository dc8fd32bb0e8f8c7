#include "gui/support/SupportReportDialog.h"

#include "base/FixedTexts.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace q540 {

std::optional<bool> askSupportReportOptions(int language, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("SupportReportDialog"));
    dialog.setWindowTitle(fixedText(FixedText::SaveSupportReport, language));
    auto* note = new QLabel(fixedText(FixedText::SupportReportNote, language));
    note->setWordWrap(true);
    auto* include = new QCheckBox(fixedText(FixedText::IncludeDirectory, language));
    include->setObjectName(QStringLiteral("IncludeDirectory"));
    auto* buttons = new QDialogButtonBox;
    QPushButton* save = buttons->addButton(fixedText(FixedText::SaveButton, language),
                                           QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("SaveReport"));
    save->setDefault(true);
    buttons->addButton(fixedText(FixedText::CancelButton, language), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(note);
    layout->addWidget(include);
    layout->addWidget(buttons);
    dialog.resize(460, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return include->isChecked();
}

} // namespace q540
