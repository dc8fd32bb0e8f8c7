#include "base/Localisation.h"

#include <QFile>
#include <QStringDecoder>
#include <QtGlobal>
#include <utility>

namespace q540 {

namespace {

constexpr int kFileColumnCount = 1 + kLanguageColumnCount;
const QString kTextsResource = QStringLiteral(":/texts/texts.tsv");

} // namespace

TextTableParse parseTextTable(QByteArrayView utf8)
{
    TextTableParse result;
    // A file saved in an 8-bit code page would otherwise load as replacement characters.
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(utf8);
    if (decoder.hasError()) {
        result.error = QStringLiteral("the file is not valid UTF-8");
        return result;
    }

    const auto fail = [&result](int lineNumber, const QString& what) {
        result.rows.clear();
        result.error = QStringLiteral("line %1: %2").arg(lineNumber).arg(what);
        return result;
    };

    int previousKey = -1;
    int lineNumber = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++lineNumber;
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;

        const QList<QStringView> fields = line.split(u'\t');
        if (fields.size() != kFileColumnCount)
            return fail(lineNumber, QStringLiteral("expected %1 tab-separated columns, found %2")
                                        .arg(kFileColumnCount)
                                        .arg(fields.size()));

        TextRow row;
        bool isNumber = false;
        row.key = fields[0].toInt(&isNumber);
        if (!isNumber || row.key < 0 || row.key >= kTextKeyCount)
            return fail(
                lineNumber,
                QStringLiteral("the key is not a number from 0 to %1").arg(kTextKeyCount - 1));
        // Ascending order also rules out a key given twice, where one line would be lost.
        if (row.key <= previousKey)
            return fail(
                lineNumber,
                QStringLiteral("key %1 does not follow key %2").arg(row.key).arg(previousKey));
        previousKey = row.key;

        for (int column = 0; column < kLanguageColumnCount; ++column) {
            const QStringView cell = fields[column + 1];
            if (cell == u"-")
                row.cells[column] = u'?' + QString::number(row.key);
            else if (cell.size() >= 2 && cell.startsWith(u'"') && cell.endsWith(u'"'))
                row.cells[column] = cell.sliced(1, cell.size() - 2).toString();
            else
                return fail(lineNumber,
                            QStringLiteral("language column %1 is neither a quoted text nor -")
                                .arg(column));
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

void Localisation::Wczytaj_WJ_do_tablicy()
{
    // Other threads may already be reading: a second fill must not rewrite cells under them.
    if (m_loaded)
        return;
    m_loaded = true;

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
            m_WJ[column].FM[row.key] = row.cells[column];
    }
}

const QString& Localisation::text(int key) const
{
    return text(m_Nr_Jezyka.load(std::memory_order_relaxed), key);
}

const QString& Localisation::text(int column, int key) const
{
    static const QString none;
    if (column < 0 || column >= kLanguageColumnCount || key < 0 || key >= kTextKeyCount)
        return none;
    return m_WJ[column].FM[key];
}

int Localisation::Nr_Jezyka() const
{
    return m_Nr_Jezyka.load(std::memory_order_relaxed);
}

void Localisation::setNr_Jezyka(int index)
{
    if (index >= 0 && index <= 2)
        m_Nr_Jezyka.store(index, std::memory_order_relaxed);
}

} // namespace q540
