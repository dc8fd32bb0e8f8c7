#pragma once

#include "module/ModuleCompare.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

namespace q540 {

// What the module holds against the open directory, as a table one can sort
// by any column and filter by kind and by text.
class CompareWindow final : public QDialog {
    Q_OBJECT

public:
    CompareWindow(const std::vector<ContentDifference>& differences, int language,
                  QWidget* parent = nullptr);

    QTableView* table() const { return table_; }
    QLineEdit* filter() const { return filter_; }
    QComboBox* kinds() const { return kinds_; }
    // The rows shown now, each cell's text, top to bottom.
    QList<QStringList> shownRows() const;

private:
    void applyFilter();

    QStandardItemModel* model_;
    QSortFilterProxyModel* proxy_;
    QTableView* table_;
    QLineEdit* filter_;
    QComboBox* kinds_;
    QLabel* summary_;
};

} // namespace q540
