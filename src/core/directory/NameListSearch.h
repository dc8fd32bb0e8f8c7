#pragma once

#include <QHash>
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
// Sits over the name list's model. The list is rebuilt on every keystroke,
// so rows are folded only while there is a query, and a text folded once is
// not folded again.
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
    // Folded lines by entry text, of the rows folded last.
    QHash<QString, QString> foldedTexts_;
    bool stale_ = true;
};

} // namespace q540
