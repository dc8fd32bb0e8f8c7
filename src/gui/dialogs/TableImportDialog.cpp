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

namespace {

const LanguageRow kTitle{u"Import tabeli", u"Import table", u"Tabelle importieren"};
const LanguageRow kAllTaken{u"Każdy wiersz przyjęto tak, jak jest w tabeli.",
                            u"Every row was taken as the table has it.",
                            u"Jede Zeile wurde so übernommen, wie die Tabelle sie hat."};
const LanguageRow kNotAll{u"Tych wierszy nie przyjęto tak, jak są w tabeli:",
                          u"These rows were not taken as the table has them:",
                          u"Diese Zeilen wurden nicht so übernommen, wie die Tabelle sie hat:"};
const LanguageRow kReplace{u"Zastąp cały katalog", u"Replace the whole directory",
                           u"Ganzes Verzeichnis ersetzen"};
const LanguageRow kPaste{u"Wklej", u"Paste", u"Einfügen"};
const LanguageRow kMerge{u"Scal (wiersze zastępują te wpisy)",
                         u"Merge (rows replace those entries)",
                         u"Zusammenführen (Zeilen ersetzen diese Einträge)"};

} // namespace

std::optional<bool> askTableImport(const TableRead& table, int language, QWidget* parent,
                                   bool offerReplace)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("TableImportDialog"));
    dialog.setWindowTitle(textIn(kTitle, language));
    auto* heading = new QLabel(textIn(table.findings.empty() ? kAllTaken : kNotAll, language));
    auto* report = new QPlainTextEdit(tableReportText(table, language));
    report->setObjectName(QStringLiteral("TableReport"));
    report->setReadOnly(true);
    report->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox;
    std::optional<bool> choice;
    if (offerReplace) {
        QPushButton* replace =
            buttons->addButton(textIn(kReplace, language), QDialogButtonBox::DestructiveRole);
        replace->setObjectName(QStringLiteral("TableReplace"));
        QObject::connect(replace, &QPushButton::clicked, &dialog, [&] {
            choice = true;
            dialog.accept();
        });
    }
    QPushButton* merge = buttons->addButton(textIn(offerReplace ? kMerge : kPaste, language),
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
