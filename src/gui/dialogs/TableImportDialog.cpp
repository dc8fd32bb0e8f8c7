#include "gui/dialogs/TableImportDialog.h"

#include "base/FixedTexts.h"
#include "files/ResidentTable.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace q540 {

std::optional<bool> askTableImport(const TableRead& table, int language, QWidget* parent,
                                   bool offerReplace)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("TableImportDialog"));
    dialog.setWindowTitle(fixedText(FixedText::ImportTitle, language));
    auto* heading = new QLabel(fixedText(
        table.findings.empty() ? FixedText::ImportAllTaken : FixedText::ImportNotAll, language));
    auto* report = new QPlainTextEdit(tableReportText(table, language));
    report->setObjectName(QStringLiteral("TableReport"));
    report->setReadOnly(true);
    report->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox;
    std::optional<bool> choice;
    if (offerReplace) {
        QPushButton* replace = buttons->addButton(fixedText(FixedText::ImportReplace, language),
                                                  QDialogButtonBox::DestructiveRole);
        replace->setObjectName(QStringLiteral("TableReplace"));
        QObject::connect(replace, &QPushButton::clicked, &dialog, [&] {
            choice = true;
            dialog.accept();
        });
    }
    QPushButton* merge = buttons->addButton(
        fixedText(offerReplace ? FixedText::ImportMerge : FixedText::ImportPaste, language),
        QDialogButtonBox::AcceptRole);
    merge->setObjectName(QStringLiteral("TableMerge"));
    merge->setDefault(true);
    buttons->addButton(fixedText(FixedText::CancelButton, language), QDialogButtonBox::RejectRole);
    QObject::connect(merge, &QPushButton::clicked, &dialog, [&] {
        choice = false;
        dialog.accept();
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(heading);
    layout->addWidget(report, 1);
    layout->addWidget(buttons);
    dialog.resize(720, 360);
    dialog.exec();
    return choice;
}

} // namespace q540
