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
#include <QSet>
#include <QUndoStack>

#include <algorithm>

namespace q540 {

using namespace textkey;

namespace {

// The platform's keys for a command, or these where it names none (Save As
// and Quit have none on Windows and without a desktop's theme).
QList<QKeySequence> keysFor(QKeySequence::StandardKey key, const QKeySequence& otherwise)
{
    const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    return keys.isEmpty() ? QList<QKeySequence>{otherwise} : keys;
}

QAction* addAction(QMenu* menu, const char* name, const QString& caption)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

// A caption without its mnemonic mark, a literal "&&" kept as "&".
QString withoutMnemonic(const QString& caption)
{
    QString plain;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        plain += caption[i];
    }
    return plain;
}

// The letter of a caption that Alt reaches it by: the first word's start
// that no other item of the menu has taken, else any such letter.
qsizetype mnemonicAt(const QString& plain, const QSet<QChar>& taken)
{
    const auto free = [&](qsizetype i) {
        return plain[i].isLetterOrNumber() && !taken.contains(plain[i].toLower());
    };
    for (qsizetype i = 0; i < plain.size(); ++i)
        if ((i == 0 || !plain[i - 1].isLetterOrNumber()) && free(i))
            return i;
    for (qsizetype i = 0; i < plain.size(); ++i)
        if (free(i))
            return i;
    return -1;
}

// Gives each item an Alt+letter of its own among these, in the language
// shown: the texts carry no marks, so a new language or item needs none.
void assignMnemonics(const QList<QAction*>& actions)
{
    // Short captions choose first: "Exit" has four letters to choose from,
    // "Export table" many.
    QList<QAction*> order;
    for (QAction* action : actions)
        if (!action->isSeparator() && !action->text().isEmpty())
            order << action;
    const auto letters = [](const QAction* action) {
        QSet<QChar> distinct;
        for (const QChar c : withoutMnemonic(action->text()))
            if (c.isLetterOrNumber())
                distinct.insert(c.toLower());
        return distinct.size();
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const QAction* a, const QAction* b) { return letters(a) < letters(b); });
    QSet<QChar> taken;
    for (QAction* action : order) {
        const QString plain = withoutMnemonic(action->text());
        const qsizetype at = mnemonicAt(plain, taken);
        QString marked = plain;
        marked.replace(u'&', QStringLiteral("&&"));
        if (at >= 0) {
            taken.insert(plain[at].toLower());
            marked.insert(at + plain.left(at).count(u'&'), u'&');
        }
        action->setText(marked);
    }
}

} // namespace

MainMenus::MainMenus(QMenuBar& bar, const Localisation& texts) : QObject(&bar), texts_(texts)
{
    file_ = bar.addMenu(QStringLiteral("Plik"));
    file_->setObjectName(QStringLiteral("Plik1"));
    newAction = addAction(file_, "Nowy1", QStringLiteral("Nowy"));
    newAction->setShortcut(QKeySequence::New);
    open = addAction(file_, "Otwrz1", QStringLiteral("Otwórz"));
    open->setShortcut(QKeySequence::Open);
    import = addAction(file_, "Importuj1", QStringLiteral("Import"));
    import->setToolTip(QStringLiteral("Import v3.4"));
    importTable = addAction(file_, "ImportujTabele", fixedText(FixedText::MenuImportTable, 0));
    exportTable = addAction(file_, "EksportujTabele", fixedText(FixedText::MenuExportTable, 0));
    save = addAction(file_, "Zapisz1", QStringLiteral("Zapisz"));
    save->setShortcut(QKeySequence::Save);
    saveAs = addAction(file_, "Zapiszjako1", QStringLiteral("Zapisz jako..."));
    saveAs->setShortcuts(
        keysFor(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    history = addAction(file_, "Historia1", fixedText(FixedText::MenuHistory, 0));
    print = addAction(file_, "Drukuj1", fixedText(FixedText::MenuPrint, 0));
    print->setShortcut(QKeySequence::Print);
    exportPdf = addAction(file_, "EksportujPDF", fixedText(FixedText::MenuExportPdf, 0));
    file_->addSeparator()->setObjectName(QStringLiteral("MenuKreska"));
    exit = addAction(file_, "Wyjcie1", QStringLiteral("Wyjście"));
    exit->setShortcuts(keysFor(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));

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
    else
        assignMnemonics(edit_->actions());
    program_->setTitle(texts_.text(kMenuProgram));
    for (QMenu* menu : {file_, program_, moduleOrder_})
        assignMnemonics(menu->actions());
    if (auto* bar = qobject_cast<QMenuBar*>(parent()))
        assignMnemonics(bar->actions());
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
    assignMnemonics(edit_->actions());
}

} // namespace q540
