#include "gui/main/MainMenus.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "directory/EditStep.h"
#include "gui/main/DocumentStep.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

namespace q540 {

using namespace textkey;

namespace {

QAction* addAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

MainMenus::MainMenus(QMenuBar& bar, const Localisation& texts) : QObject(&bar), texts_(texts)
{
    file_ = bar.addMenu(QStringLiteral("Plik"));
    file_->setObjectName(QStringLiteral("Plik1"));
    newAction = addAction(file_, "Nowy1", QStringLiteral("Nowy"));
    open = addAction(file_, "Otwrz1", QStringLiteral("Otwórz"));
    import = addAction(file_, "Importuj1", QStringLiteral("Import"));
    import->setToolTip(QStringLiteral("Import v3.4"));
    importTable = addAction(file_, "ImportujTabele", fixedText(FixedText::MenuImportTable, 0));
    exportTable = addAction(file_, "EksportujTabele", fixedText(FixedText::MenuExportTable, 0));
    save = addAction(file_, "Zapisz1", QStringLiteral("Zapisz"));
    saveAs = addAction(file_, "Zapiszjako1", QStringLiteral("Zapisz jako..."));
    history = addAction(file_, "Historia1", fixedText(FixedText::MenuHistory, 0));
    print = addAction(file_, "Drukuj1", fixedText(FixedText::MenuPrint, 0));
    print->setShortcut(QKeySequence::Print);
    exportPdf = addAction(file_, "EksportujPDF", fixedText(FixedText::MenuExportPdf, 0));
    file_->addSeparator()->setObjectName(QStringLiteral("MenuKreska"));
    exit = addAction(file_, "Wyjcie1", QStringLiteral("Wyjście"));

    edit_ = bar.addMenu(fixedText(FixedText::MenuEdit, 0));
    edit_->setObjectName(QStringLiteral("Edycja1"));
    undo = addAction(edit_, "Cofnij1", undoCaption(nullptr, 0));
    undo->setShortcut(QKeySequence::Undo);
    undo->setEnabled(false);
    redo = addAction(edit_, "Ponow1", redoCaption(nullptr, 0));
    redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo->setEnabled(false);

    program_ = bar.addMenu(QStringLiteral("Program"));
    program_->setObjectName(QStringLiteral("Program1"));
    programLanguage = addAction(program_, "Jzyk1", QStringLiteral("Język"));
    checkVersion = addAction(program_, "Sprawdwersj1", QStringLiteral("Sprawdź wersję"));
    moduleLanguage = addAction(program_, "Zmien_jezyk", QStringLiteral("Zmień język"));
    connectionCheck = addAction(program_, "Sprawdzenie_polaczenia",
                                fixedText(FixedText::ConnectionCheckTitle, 0));
    // The program menu is the one called Options in English.
    moduleOrder_ = program_->addMenu(fixedText(FixedText::MenuModuleOrder, 0));
    moduleOrder_->setObjectName(QStringLiteral("Kolejnosc1"));
    auto* orders = new QActionGroup(this);
    for (int choice = 0; choice < kModuleOrderCount; ++choice) {
        QAction* action = moduleOrder_->addAction(moduleOrderName(choice, 0));
        action->setObjectName(QStringLiteral("Kolejnosc_%1").arg(choice));
        action->setCheckable(true);
        action->setData(choice);
        orders->addAction(action);
        moduleOrders[std::size_t(choice)] = action;
        if (choice == kModuleOrderSystem)
            moduleOrder_->addSeparator();
    }
    contact = bar.addAction(QStringLiteral("Kontakt"));
    contact->setObjectName(QStringLiteral("Informacja1"));
}

void MainMenus::retranslate()
{
    const std::pair<QAction*, int> actions[] = {{newAction, kNew},
                                                {open, kOpen},
                                                {save, kSave},
                                                {saveAs, kSaveAs},
                                                {exit, kExit},
                                                {programLanguage, kProgramLanguage},
                                                {checkVersion, kCheckVersion},
                                                {moduleLanguage, kChangeModuleLanguage},
                                                {contact, kContact}};
    for (const auto& [action, key] : actions)
        action->setText(texts_.text(key));
    connectionCheck->setText(fixedText(FixedText::ConnectionCheckTitle, texts_.language()));
    history->setText(fixedText(FixedText::MenuHistory, texts_.language()));
    importTable->setText(fixedText(FixedText::MenuImportTable, texts_.language()));
    print->setText(fixedText(FixedText::MenuPrint, texts_.language()));
    exportPdf->setText(fixedText(FixedText::MenuExportPdf, texts_.language()));
    exportTable->setText(fixedText(FixedText::MenuExportTable, texts_.language()));
    const int language = texts_.language();
    moduleOrder_->setTitle(fixedText(FixedText::MenuModuleOrder, language));
    for (int choice = 0; choice < kModuleOrderCount; ++choice)
        moduleOrders[std::size_t(choice)]->setText(moduleOrderName(choice, language));
    file_->setTitle(texts_.text(kMenuFile));
    edit_->setTitle(fixedText(FixedText::MenuEdit, language));
    if (steps_)
        showSteps(*steps_);
    program_->setTitle(texts_.text(kMenuProgram));
}

void MainMenus::showSteps(const QUndoStack& steps)
{
    steps_ = &steps;
    const int language = texts_.language();
    const auto stepAt = [&steps](int index) {
        return index >= 0 && index < steps.count()
                   ? &static_cast<const DocumentStep*>(steps.command(index))->step()
                   : nullptr;
    };
    undo->setText(undoCaption(stepAt(steps.index() - 1), language));
    undo->setEnabled(steps.canUndo());
    redo->setText(redoCaption(stepAt(steps.index()), language));
    redo->setEnabled(steps.canRedo());
}

} // namespace q540
