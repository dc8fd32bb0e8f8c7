#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <QStringView>

#include <vector>

namespace q540 {

// A text as the search compares it: without case and diacritics, and with
// the letters that have no decomposition spelled in plain Latin, so that
// "lodz" finds "Łódź", "muller" finds "Müller" and "orsted" finds "Ørsted";
// Cyrillic stays Cyrillic, without case. By ICU's transliterators.
QString searchFolded(QStringView text);

// The name list's rows that match a search, as one types: every word of the
// query must occur, folded, in an entry's two lines or its apartment number.
// Sits over the name list's model; the folded rows are kept until the list
// is rebuilt.
class NameListSearch final : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit NameListSearch(QObject* parent = nullptr);

    void setSourceModel(QAbstractItemModel* model) override;
    void setQuery(const QString& query);
    const QString& query() const { return query_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    void refold();

    QString query_;
    QStringList words_;
    std::vector<QString> folded_;
};

} // namespace q540
