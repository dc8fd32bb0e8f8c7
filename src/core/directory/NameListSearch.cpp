#include "directory/NameListSearch.h"

#include "directory/DirectoryGrid.h"
#include "directory/NameListModel.h"

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <memory>
#include <mutex>

namespace q540 {

namespace {

// Decomposed, marks dropped, the undecomposable Latin letters (ł, ø, ß, æ)
// spelled out, lower case. One transliterator, built once; ICU's
// transliterate() is not safe from two threads at once, hence the lock.
icu::Transliterator* folder()
{
    static const std::unique_ptr<icu::Transliterator> transliterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Transliterator> t(icu::Transliterator::createInstance(
            "NFD; [:Nonspacing Mark:] Remove; NFC; Latin-ASCII; Any-Lower", UTRANS_FORWARD,
            status));
        return U_SUCCESS(status) ? std::move(t) : nullptr;
    }();
    return transliterator.get();
}

std::mutex& folderLock()
{
    static std::mutex lock;
    return lock;
}

} // namespace

QString searchFolded(QStringView text)
{
    icu::Transliterator* transliterator = folder();
    if (!transliterator)
        return text.toString().toCaseFolded();
    icu::UnicodeString unicode(reinterpret_cast<const UChar*>(text.utf16()),
                               static_cast<int32_t>(text.size()));
    {
        const std::lock_guard lock(folderLock());
        transliterator->transliterate(unicode);
    }
    return QString(reinterpret_cast<const QChar*>(unicode.getBuffer()), unicode.length());
}

NameListSearch::NameListSearch(QObject* parent) : QSortFilterProxyModel(parent) {}

void NameListSearch::setSourceModel(QAbstractItemModel* model)
{
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QSortFilterProxyModel::setSourceModel(model);
    stale_ = true;
    if (model)
        connect(model, &QAbstractItemModel::modelReset, this, [this] {
            stale_ = true;
            if (words_.isEmpty())
                return;
            refold();
            invalidateFilter();
        });
}

void NameListSearch::setQuery(const QString& query)
{
    if (query == query_)
        return;
    query_ = query;
    words_ = searchFolded(query).split(u' ', Qt::SkipEmptyParts);
    if (stale_ && !words_.isEmpty())
        refold();
    invalidateFilter();
}

bool NameListSearch::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (words_.isEmpty())
        return true;
    if (sourceRow < 0 || std::size_t(sourceRow) >= folded_.size())
        return false;
    const QString& row = folded_[std::size_t(sourceRow)];
    for (const QString& word : words_)
        if (!row.contains(word))
            return false;
    return true;
}

// The entry's text and its apartment number, folded once a rebuild.
void NameListSearch::refold()
{
    folded_.clear();
    stale_ = false;
    const QAbstractItemModel* model = sourceModel();
    if (!model)
        return;
    folded_.reserve(std::size_t(model->rowCount()));
    QHash<QString, QString> texts;
    for (int r = 0; r < model->rowCount(); ++r) {
        const QString text = model->index(r, NameListModel::TextColumn).data().toString();
        const QString number = model->index(r, NameListModel::ApartmentColumn).data().toString();
        QString lines = foldedTexts_.value(text);
        // Apart, so that a word never runs from line 1 into line 2.
        if (lines.isNull())
            lines = searchFolded(QStringView(text).left(kLine1Length)) + u' '
                    + searchFolded(QStringView(text).mid(kLine1Length));
        texts.insert(text, lines);
        folded_.push_back(lines + u' ' + number);
    }
    foldedTexts_ = std::move(texts);
}

} // namespace q540
