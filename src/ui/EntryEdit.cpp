#include "ui/EntryEdit.h"

#include "directory/EditingRules.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>

namespace q540 {

EntryEdit::EntryEdit(Rules rules, int maxLength, QWidget* parent) : QLineEdit(parent), rules_(rules)
{
    setMaxLength(maxLength);
}

std::optional<char16_t> EntryEdit::filtered(char16_t c) const
{
    if (rules_ == Rules::Line2)
        return Edit2KeyPress(c);
    const int p = hasSelectedText() ? selectionStart() : cursorPosition();
    return Edit1KeyPress(p, static_cast<int>(selectedText().size()), text(), c);
}

void EntryEdit::pasteFiltered()
{
    // A paste must not bring in what typing refuses: it is typed character by character.
    for (const QChar c : QGuiApplication::clipboard()->text()) {
        if (const auto typed = filtered(c.unicode()))
            insert(QString(QChar(*typed)));
    }
}

void EntryEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFiltered();
        return;
    }
    if (event->key() == Qt::Key_Delete) {
        const int p = hasSelectedText() ? selectionStart() : cursorPosition();
        if (rules_ == Rules::Line1
            && !Edit1KeyDown(p, static_cast<int>(selectedText().size()), text(), kDeleteKey))
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
