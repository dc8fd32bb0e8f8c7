#pragma once

#include <QLineEdit>

namespace q540 {

// A text field of the directory pages, the intro and the address: typed
// characters, the Delete key and pasted text pass the entry rules before
// the field takes them.
class EntryEdit final : public QLineEdit {
    Q_OBJECT

public:
    // Line-1 fields keep the first character from being a space, a digit or
    // punctuation; all fields turn a semicolon into a comma.
    enum class Rules { Line1, Line2 };

    EntryEdit(Rules rules, int maxLength, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The character that typing c here inserts, or nothing.
    std::optional<char16_t> filtered(char16_t c) const;
    void pasteFiltered();

    Rules rules_;
};

} // namespace q540
