#pragma once

#include <QAbstractTableModel>

namespace q540 {

class Localisation;
class NameList;

// The name list as the window's list view shows it: three columns (entry
// text, apartment number, zone) over the core's rows, no item objects.
class NameListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { TextColumn, ApartmentColumn, ZoneColumn, ColumnCount };

    NameListModel(const NameList& list, const Localisation& texts, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // A column's caption in Polish, English and German, for widths that do not
    // change with the language.
    QStringList captionsInEveryLanguage(int section) const;

    // The list was rebuilt: every row may have changed.
    void listRebuilt();
    // The program language changed: the captions follow.
    void languageChanged();

private:
    const NameList& list_;
    const Localisation& texts_;
};

} // namespace q540
