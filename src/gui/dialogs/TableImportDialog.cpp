#include "gui/dialogs/TableImportDialog.h"

#include "base/FixedTexts.h"
#include "files/ResidentTable.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace q540 {

namespace {

// "Automatic", then the encodings; the item's data is the encoding's index
// in kTableEncodings, -1 for the guess.
QComboBox* encodingChoice(int language)
{
    auto* choice = new QComboBox;
    choice->setObjectName(QStringLiteral("TableEncoding"));
    choice->addItem(fixedText(FixedText::ImportEncodingAutomatic, language), -1);
    for (int i = 0; i < int(std::size(kTableEncodings)); ++i)
        choice->addItem(tableEncodingName(kTableEncodings[i]), i);
    return choice;
}

} // namespace

std::optional<bool> askTableImport(TableRead& table, int language, QWidget* parent,
                                   bool offerReplace, const TableRereading& reread)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("TableImportDialog"));
    dialog.setWindowTitle(fixedText(FixedText::ImportTitle, language));
    auto* heading = new QLabel;
    auto* report = new QPlainTextEdit;
    report->setAccessibleName(dialog.windowTitle());
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
    // A reading that is no table (not valid text in the encoding chosen)
    // can only be cancelled or read in another encoding.
    const auto show = [&] {
        heading->setText(
            fixedText(table.takenAsItStood() ? FixedText::ImportAllTaken : FixedText::ImportNotAll,
                      language));
        report->setPlainText(tableReportText(table, language));
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) != QDialogButtonBox::RejectRole)
                button->setEnabled(!table.refusal);
    };
    show();
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(heading);
    layout->addWidget(report, 1);
    if (reread) {
        QComboBox* encoding = encodingChoice(language);
        QObject::connect(encoding, &QComboBox::currentIndexChanged, &dialog, [&, encoding] {
            const int index = encoding->currentData().toInt();
            table = reread(index < 0 ? std::nullopt
                                     : std::optional(kTableEncodings[std::size_t(index)]));
            show();
        });
        auto* row = new QHBoxLayout;
        auto* label = new QLabel(fixedText(FixedText::ImportEncoding, language));
        label->setBuddy(encoding);
        row->addWidget(label);
        row->addWidget(encoding);
        row->addStretch(1);
        layout->addLayout(row);
    }
    layout->addWidget(buttons);
    dialog.resize(720, 360);
    dialog.exec();
    return choice;
}

} // namespace q540
