#pragma once

#include <QLineEdit>

namespace q540 {

// A text field of the directory pages, the intro and the address. Typed
// characters and the Delete key pass the entry rules key by key, as the
// rules are stated; every other way text gets in (each paste, a drop, the
// field's own undo and redo, Ctrl+Backspace) is held to the same rules by a
// validator that corrects the resulting text, so no path leaves a control
// character, a semicolon or a bad first character behind.
class EntryEdit final : public QLineEdit {
    Q_OBJECT

public:
    // Line-1 fields keep the first character from being a space, a digit or
    // punctuation; all fields turn a semicolon into a comma.
    enum class Rules { Line1, Line2 };

    EntryEdit(Rules rules, int maxLength, QWidget* parent = nullptr);

    // Shows a value the program holds (from a file, the module or the grid)
    // as it is: what is sent is checked at the write, and the field must not
    // differ from the directory it shows.
    void showText(const QString& text);

    // An entry field: rows pasted or dropped into it (a spreadsheet's range:
    // tabs between cells, a line a row) are not inserted but handed on by
    // rowsPasted, to fill this entry and the following ones.
    void setTakesRows(bool takes) { takesRows_ = takes; }
    // True while a paste (any way in) changes the text, so that the change is
    // named a paste rather than typing.
    bool isPasting() const { return pasting_; }

signals:
    void rowsPasted(const QString& text);
    // Enter or Down (1), Up (-1) in an entry field: on to the next or the
    // previous entry, as in a spreadsheet's column.
    void stepRequested(int entries);

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The character that typing c here inserts, or nothing.
    std::optional<char16_t> filtered(char16_t c) const;
    // True when text is rows this field hands on (and did); false for a
    // plain paste, which the field inserts itself.
    bool handedOnAsRows(const QString& text);

    Rules rules_;
    bool takesRows_ = false;
    bool pasting_ = false;
};

} // namespace q540
