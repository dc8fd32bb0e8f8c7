#pragma once

#include <QByteArrayView>
#include <QString>
#include <array>
#include <atomic>
#include <vector>

namespace q540 {

inline constexpr int kTextKeyCount = 801;
// 0 Polish, 1 English, 2 German, 3 and 4 reserved, 5 Slovak. Only 0..2 can be chosen.
inline constexpr int kLanguageColumnCount = 6;

// The texts of one language column, indexed by text key.
struct TextColumn {
    std::array<QString, kTextKeyCount> texts;
};

// One line of the texts file: a key and its final text in every column, placeholders
// already spelled out.
struct TextRow {
    int key = 0;
    std::array<QString, kLanguageColumnCount> cells;
};

struct TextTableParse {
    std::vector<TextRow> rows;
    // Empty on success; otherwise names the first bad line, and rows is empty.
    QString error;
};

// Reads the translators' texts file (UTF-8, format described in its header). A file
// with any bad line yields nothing, so a broken edit can never half-fill the table.
TextTableParse parseTextTable(QByteArrayView utf8);

// The program-wide table of user-interface texts and the current language. Filled once
// on the user-interface thread before the status poll starts; read-only afterwards, so
// any thread may look texts up.
class Localisation {
public:
    // The program's languages, the table's columns: 0 Polish, 1 English, 2 German.
    static constexpr int kLanguageCount = 3;

    void load();

    // Texts are returned as stored: placeholders, empty texts and significant
    // leading or trailing spaces included. Keys outside 0..800 give an empty text.
    const QString& text(int key) const;
    const QString& text(int column, int key) const;

    int language() const;
    // Only 0 (Polish), 1 (English) and 2 (German) can be chosen; other values are ignored.
    void setLanguage(int index);

    const std::array<TextColumn, kLanguageColumnCount>& columns() const { return columns_; }

private:
    std::array<TextColumn, kLanguageColumnCount> columns_;
    std::atomic<int> language_{0};
    bool loaded_ = false;
};

// One line of the program's own texts file: a name and its text in each program language.
struct FixedTextRow {
    QString name;
    std::array<QString, Localisation::kLanguageCount> cells;
};

struct FixedTextTableParse {
    std::vector<FixedTextRow> rows;
    // Empty on success; otherwise names the first bad line, and rows is empty.
    QString error;
};

// Reads the program's own texts file (fixed-texts.tsv, format described in its header),
// all or nothing as parseTextTable does.
FixedTextTableParse parseFixedTextTable(QByteArrayView utf8);

} // namespace q540
