#include "gui/dialogs/VerifyDialog.h"

#include "base/AppInfo.h"
#include "base/FixedTexts.h"
#include "gui/seams/TransferRunner.h"
#include "gui/startup/Look.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace q540 {

bool askWriteAgain(const VerifyResult& verified, int written, int language, QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("VerifyDialog"));
    dialog.setWindowTitle(fixedText(FixedText::VerifyTitle, language));
    auto* summary = new QLabel(fixedText(FixedText::VerifyDifferences, language)
                                   .arg(verified.differenceCount())
                                   .arg(written));
    auto* list = new QListWidget;
    list->setObjectName(QStringLiteral("VerifyDifferences"));
    list->setAccessibleName(dialog.windowTitle());
    list->addItems(differenceLines(verified, language));
    auto* buttons = new QDialogButtonBox;
    QPushButton* again = buttons->addButton(fixedText(FixedText::VerifyWriteAgain, language),
                                            QDialogButtonBox::AcceptRole);
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

WorkflowQuestions::KeepChoice askKeepFirst(int entries, int readSeconds, int language,
                                           QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, kApplicationTitle,
                    fixedText(FixedText::BackupOffer, language).arg(entries).arg(readSeconds),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("BackupOffer"));
    QPushButton* read =
        box.addButton(fixedText(FixedText::ReadAndKeep, language), QMessageBox::AcceptRole);
    QPushButton* skip = box.addButton(fixedText(FixedText::WriteWithoutKeeping, language),
                                      QMessageBox::DestructiveRole);
    box.addButton(fixedText(FixedText::CancelButton, language), QMessageBox::RejectRole);
    box.setDefaultButton(read);
    keepTitleWhole(box);
    box.exec();
    using Choice = WorkflowQuestions::KeepChoice;
    return box.clickedButton() == read   ? Choice::ReadAndKeep
           : box.clickedButton() == skip ? Choice::WriteWithoutKeeping
                                         : Choice::Cancel;
}

WorkflowQuestions::KeepChoice WindowQuestions::keepFirst(int entries, int readSeconds)
{
    KeepChoice choice = KeepChoice::Cancel;
    runner_.onWindowThread(
        [&] { choice = askKeepFirst(entries, readSeconds, language_, &window_); });
    return choice;
}

bool WindowQuestions::writeAgain(const VerifyResult& found, int entries, int /*attempt*/)
{
    bool yes = false;
    runner_.onWindowThread([&] { yes = askWriteAgain(found, entries, language_, &window_); });
    return yes;
}

} // namespace q540
