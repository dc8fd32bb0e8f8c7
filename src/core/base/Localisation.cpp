#include "base/Localisation.h"

#include <QFile>
#include <QStringDecoder>
#include <QtGlobal>
#include <algorithm>
#include <optional>
#include <utility>

namespace q540 {

namespace {

constexpr int kFileColumnCount = 1 + kLanguageColumnCount;
const QString kTextsResource = QStringLiteral(":/texts/texts.tsv");

// Walks the text lines of a texts file, comments and blank lines left out, handing each
// one's tab-separated fields to takeLine. The first error, a line's own or takeLine's,
// ends the walk and is returned with the line's number.
template <typename TakeLine>
QString walkLines(QByteArrayView utf8, int columnCount, TakeLine takeLine)
{
    // A file saved in an 8-bit code page would otherwise load as replacement characters.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError())
        return QStringLiteral("the file is not valid UTF-8");

    int lineNumber = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QList<QStringView> fields = line.split(u'\t');
        const QString error = fields.size() != columnCount
                                  ? QStringLiteral("expected %1 tab-separated columns, found %2")
                                        .arg(columnCount)
                                        .arg(fields.size())
                                  : takeLine(fields);
        if (!error.isEmpty())
            return QStringLiteral("line %1: %2").arg(lineNumber).arg(error);
    }
    return {};
}

// What lies between a cell's first and last double quote.
std::optional<QStringView> quoted(QStringView cell)
{
    if (cell.size() < 2 || !cell.startsWith(u'"') || !cell.endsWith(u'"'))
        return std::nullopt;
    return cell.sliced(1, cell.size() - 2);
}

// A quoted cell's text with \n, \t and \\ turned into what they stand for; nothing
// when the cell is not quoted or a backslash stands before anything else.
std::optional<QString> escapedText(QStringView cell)
{
    const std::optional<QStringView> inner = quoted(cell);
    if (!inner)
        return std::nullopt;
    QString text;
    for (qsizetype i = 0; i < inner->size(); ++i) {
        QChar c = inner->at(i);
        if (c == u'\\') {
            if (++i == inner->size())
                return std::nullopt;
            switch (inner->at(i).unicode()) {
            case u'n':
                c = u'\n';
                break;
            case u't':
                c = u'\t';
                break;
            case u'\\':
                break;
            default:
                return std::nullopt;
            }
        }
        text += c;
    }
    return text;
}

// A letter, then letters and digits: a name that can be a C++ enumerator.
bool isTextName(QStringView name)
{
    const auto letter = [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
    };
    const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    return !name.isEmpty() && letter(name.front())
           && std::all_of(name.begin() + 1, name.end(),
                          [&](QChar c) { return letter(c) || digit(c); });
}

} // namespace

TextTableParse parseTextTable(QByteArrayView utf8)
{
    TextTableParse result;
    int previousKey = -1;
    result.error =
        walkLines(utf8, kFileColumnCount, [&](const QList<QStringView>& fields) -> QString {
            TextRow row;
            bool isNumber = false;
            row.key = fields[0].toInt(&isNumber);
            if (!isNumber || row.key < 0 || row.key >= kTextKeyCount)
                return QStringLiteral("the key is not a number from 0 to %1")
                    .arg(kTextKeyCount - 1);
            // Ascending order also rules out a key given twice, where one line would be lost.
            if (row.key <= previousKey)
                return QStringLiteral("key %1 does not follow key %2")
                    .arg(row.key)
                    .arg(previousKey);
            previousKey = row.key;

            for (int column = 0; column < kLanguageColumnCount; ++column) {
                const QStringView cell = fields[column + 1];
                if (cell == u"-")
                    row.cells[column] = u'?' + QString::number(row.key);
                else if (const std::optional<QStringView> text = quoted(cell))
                    row.cells[column] = text->toString();
                else
                    return QStringLiteral("language column %1 is neither a quoted text nor -")
                        .arg(column);
            }
            result.rows.push_back(std::move(row));
            return {};
        });
    if (!result.error.isEmpty())
        result.rows.clear();
    return result;
}

FixedTextTableParse parseFixedTextTable(QByteArrayView utf8)
{
    FixedTextTableParse result;
    result.error = walkLines(
        utf8, 1 + Localisation::kLanguageCount, [&](const QList<QStringView>& fields) -> QString {
            if (!isTextName(fields[0]))
                return QStringLiteral("the name is not a letter followed by letters and digits");
            FixedTextRow row;
            row.name = fields[0].toString();
            for (int language = 0; language < Localisation::kLanguageCount; ++language) {
                std::optional<QString> text = escapedText(fields[language + 1]);
                if (!text)
                    return QStringLiteral("language column %1 is not a quoted text, or has a "
                                          "backslash before other than n, t or a backslash")
                        .arg(language);
                row.cells[std::size_t(language)] = std::move(*text);
            }
            result.rows.push_back(std::move(row));
            return {};
        });
    if (!result.error.isEmpty())
        result.rows.clear();
    return result;
}

void Localisation::load()
{
    // Other threads may already be reading: a second fill must not rewrite cells under them.
    if (loaded_)
        return;
    loaded_ = true;

    QFile file(kTextsResource);
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical("The texts table %s is missing from the program", qPrintable(kTextsResource));
        return;
    }
    const TextTableParse parsed = parseTextTable(file.readAll());
    if (!parsed.error.isEmpty()) {
        qCritical("The texts table is damaged, %s", qPrintable(parsed.error));
        return;
    }
    for (const TextRow& row : parsed.rows) {
        for (int column = 0; column < kLanguageColumnCount; ++column)
            columns_[column].texts[row.key] = row.cells[column];
    }
}

const QString& Localisation::text(int key) const
{
    return text(language_.load(std::memory_order_relaxed), key);
}

const QString& Localisation::text(int column, int key) const
{
    static const QString none;
    if (column < 0 || column >= kLanguageColumnCount || key < 0 || key >= kTextKeyCount)
        return none;
    return columns_[column].texts[key];
}

int Localisation::language() const
{
    return language_.load(std::memory_order_relaxed);
}

void Localisation::setLanguage(int index)
{
    if (index >= 0 && index <= 2)
        language_.store(index, std::memory_order_relaxed);
}

} // namespace q540
