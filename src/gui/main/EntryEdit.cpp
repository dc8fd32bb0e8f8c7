#include "gui/main/EntryEdit.h"

#include "directory/EditingRules.h"
#include "files/ResidentTable.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QValidator>

#include <algorithm>

namespace q540 {

namespace {

// Accepts every text after correcting it: the line edit then shows the
// corrected text, whatever edit produced it.
class EntryValidator final : public QValidator {
public:
    EntryValidator(bool line1, QObject* parent) : QValidator(parent), line1_(line1) {}

    State validate(QString& input, int& position) const override
    {
        const QString fixed = conformingText(input, line1_);
        if (fixed != input) {
            // The caret stays after what was inserted, less what was dropped.
            position =
                std::clamp(position - int(input.size() - fixed.size()), 0, int(fixed.size()));
            input = fixed;
        }
        return Acceptable;
    }

private:
    bool line1_;
};

} // namespace

EntryEdit::EntryEdit(Rules rules, int maxLength, QWidget* parent) : QLineEdit(parent), rules_(rules)
{
    setMaxLength(maxLength);
    setValidator(new EntryValidator(rules == Rules::Line1, this));
}

void EntryEdit::showText(const QString& text)
{
    const QValidator* rules = validator();
    setValidator(nullptr);
    setText(text);
    setValidator(rules);
}

std::optional<char16_t> EntryEdit::filtered(char16_t c) const
{
    if (rules_ == Rules::Line2)
        return line2Character(c);
    const int p = hasSelectedText() ? selectionStart() : cursorPosition();
    return Edit1KeyPress(p, static_cast<int>(selectedText().size()), text(), c);
}

bool EntryEdit::handedOnAsRows(const QString& text)
{
    if (!takesRows_ || isReadOnly() || !isPastedRows(text))
        return false;
    emit rowsPasted(text);
    return true;
}

void EntryEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The menu's Paste goes through the same door as Ctrl+V. Its actions have
    // no names; Paste is told by its text, in Qt's own translation.
    // The field's own Undo and Redo would undo behind the window's steps:
    // the Edit menu's are the ones.
    const QString pasteText = QCoreApplication::translate("QLineEdit", "&Paste");
    const QString undoText = QCoreApplication::translate("QLineEdit", "&Undo");
    const QString redoText = QCoreApplication::translate("QLineEdit", "&Redo");
    for (QAction* action : menu->actions()) {
        if (action->text().startsWith(undoText) || action->text().startsWith(redoText))
            action->setVisible(false);
        if (!action->text().startsWith(pasteText))
            continue;
        action->disconnect();
        connect(action, &QAction::triggered, this, [this] {
            if (!handedOnAsRows(QGuiApplication::clipboard()->text())) {
                const QScopedValueRollback pasting(pasting_, true);
                paste();
            }
        });
    }
    menu->popup(event->globalPos());
}

void EntryEdit::mouseReleaseEvent(QMouseEvent* event)
{
    // The middle button pastes the selection where the system has one.
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection()
        && handedOnAsRows(clipboard->text(QClipboard::Selection))) {
        event->accept();
        return;
    }
    const QScopedValueRollback pasting(pasting_, event->button() == Qt::MiddleButton);
    QLineEdit::mouseReleaseEvent(event);
}

void EntryEdit::dropEvent(QDropEvent* event)
{
    if (event->mimeData()->hasText() && handedOnAsRows(event->mimeData()->text())) {
        event->acceptProposedAction();
        return;
    }
    const QScopedValueRollback pasting(pasting_, true);
    QLineEdit::dropEvent(event);
}

// Undo and redo keys are the window's (its Edit menu), not the field's.
static bool isUndoOrRedo(const QKeyEvent* event)
{
    return event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)
           || (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier);
}

bool EntryEdit::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && isUndoOrRedo(static_cast<QKeyEvent*>(event))) {
        event->ignore();
        return false;
    }
    return QLineEdit::event(event);
}

void EntryEdit::keyPressEvent(QKeyEvent* event)
{
    if (isUndoOrRedo(event)) {
        event->ignore();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        if (handedOnAsRows(QGuiApplication::clipboard()->text())) {
            event->accept();
            return;
        }
        const QScopedValueRollback pasting(pasting_, true);
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (takesRows_ && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        const int key = event->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down
            || key == Qt::Key_Up) {
            emit stepRequested(key == Qt::Key_Up ? -1 : 1);
            return;
        }
    }
    // Shortcuts (Ctrl+V, Ctrl+Z, Ctrl+Backspace) are the line edit's own; the
    // validator holds their results to the rules. Ctrl with Alt is AltGr,
    // which types letters.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        const int p = hasSelectedText() ? selectionStart() : cursorPosition();
        if (rules_ == Rules::Line1
            && !line1KeyAllowed(p, static_cast<int>(selectedText().size()), text(), kDeleteKey))
            return;
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (typed.size() != 1) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char16_t c = event->key() == Qt::Key_Backspace ? kBackspace : typed.at(0).unicode();
    const auto result = filtered(c);
    if (!result)
        return;
    if (*result == c || c < 32) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    insert(QString(QChar(*result)));
}

} // namespace q540
