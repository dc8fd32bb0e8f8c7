#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace q540 {

// The order of the name list, which is the order the module stores the directory in: Windows'
// lstrcmpW in a locale, case-sensitive with word sort. Copies share one immutable ICU collator,
// so a collator may be copied freely and used from several threads at once.
class NameCollator {
public:
    // A locale name such as "pl", "en_GB" or "de"; empty means the user's locale.
    explicit NameCollator(const QString& localeName = {});

    // A byte string whose plain lexicographic order (operator< / memcmp) is the name order;
    // equal texts give equal keys.
    QByteArray sortKey(const QString& text) const;
    // <0, 0, >0 like strcmp, consistent with sortKey.
    int compare(const QString& a, const QString& b) const;

private:
    struct Collation;
    std::shared_ptr<const Collation> collation_;
};

} // namespace q540
