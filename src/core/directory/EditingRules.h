#pragma once

#include <QString>

#include <optional>

namespace q540 {

// The key rules of the entry fields, as pure functions of the caret position
// p (0-based start of the selection), the selection length s, the field's
// current text and the typed code unit or key. They keep line 1 from starting
// with a space, a digit or ASCII punctuation, capitalise a small ASCII letter
// typed first, and keep semicolons out of typed text.

inline constexpr char16_t kBackspace = 8;
inline constexpr char16_t kDeleteCharacter = 127;
inline constexpr int kDeleteKey = 46;

// A character typed into a line-1 field: the code unit to insert, or nothing
// when it is refused.
std::optional<char16_t> Edit1KeyPress(int p, int s, const QString& text, char16_t c);

// A key going down in a line-1 field: false when the Delete key must be
// refused; every other key is let through.
bool line1KeyAllowed(int p, int s, const QString& text, int key);

// A character typed into a line-2 field, an intro line or the address note.
char16_t line2Character(char16_t c);

// The text a field holds after an edit of any kind (typing, paste, drop, the
// field's own undo): control characters dropped, semicolons as commas, and in
// a line-1 field no space, digit or punctuation mark in front (they are
// dropped) and a small ASCII letter in front as a capital. Text that obeys
// the rules comes back unchanged.
QString conformingText(const QString& text, bool line1);

} // namespace q540
