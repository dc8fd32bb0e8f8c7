#include "directory/NameList.h"

#include "base/FixedTexts.h"
#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "base/UserSink.h"

#include <algorithm>

namespace q540 {

namespace {

NameRow rowOfGridRow(int row, const QString& text)
{
    const EntryPlace place = placeOfRow(row);
    return {text, place.number, place.zone};
}

} // namespace

NameList::NameList(const DirectoryGrid& grid, const QString& localeName)
    : grid_(grid), collator_(localeName), cache_(kGridRows + 1)
{
    order_.reserve(kGridRows);
    rows_.reserve(kGridRows);
}

void NameList::setLocale(const QString& localeName)
{
    collator_ = NameCollator(localeName);
    for (CachedEntry& entry : cache_)
        entry.valid = false;
}

void NameList::refreshCache(int row)
{
    CachedEntry& entry = cache_[static_cast<std::size_t>(row)];
    if (entry.valid) {
        bool same = true;
        const QChar* cached = entry.text.constData();
        for (int c = 1; c <= kEntryTextLength && same; ++c)
            same = cached[c - 1].unicode() == grid_.cell(row, c).unitOrSpace();
        if (same)
            return;
    }
    entry.text = grid_.entryText(row);
    entry.blank = grid_.isEntryEmpty(row);
    entry.key = entry.blank ? QByteArray() : collator_.sortKey(entry.text);
    entry.valid = true;
}

void NameList::rebuild(int selectorIndex, UserSink& sink, const Localisation& texts)
{
    if (!enabled_)
        return;
    // Zone order: zones 1..4 by apartment number, then the additional numbers,
    // which is plain grid-row order.
    order_.clear();
    for (int row = 1; row <= kGridRows; ++row) {
        refreshCache(row);
        if (!cache_[static_cast<std::size_t>(row)].blank)
            order_.push_back(row);
    }
    // Stable, so that equal texts keep their zone order.
    if (sorted_) {
        std::stable_sort(order_.begin(), order_.end(), [this](int a, int b) {
            return cache_[static_cast<std::size_t>(a)].key
                   < cache_[static_cast<std::size_t>(b)].key;
        });
    }
    rows_.clear();
    for (int row : order_)
        rows_.push_back(rowOfGridRow(row, cache_[static_cast<std::size_t>(row)].text));

    // Told once as the count passes the capacity, with how far: typing on
    // in a full directory is not interrupted at every key.
    const int excess = count() - kEntryCapacity;
    const bool warn = excess > 0 && !overCapacity_;
    overCapacity_ = excess > 0;
    if (warn)
        sink.showMessage(texts.text(textkey::kReduceEntries).trimmed() + u' '
                         + fixedText(FixedText::OverCapacity, texts.language()).arg(excess));
    Zapal_lampki(selectorIndex);
}

void NameList::Zapal_lampki(int selectorIndex)
{
    lamps_.fill(false);
    if (selectorIndex < 0 || selectorIndex >= kZoneCount)
        return;
    for (const NameRow& r : rows_) {
        if (r.zone == selectorIndex + 1)
            lamps_[static_cast<std::size_t>(tabPageOfApartment(r.apartment))] = true;
    }
}

} // namespace q540
