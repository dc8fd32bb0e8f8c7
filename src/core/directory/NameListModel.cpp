#include "directory/NameListModel.h"

#include "base/Localisation.h"
#include "base/TextKeys.h"
#include "directory/NameList.h"

namespace q540 {

namespace {

// Captions "Opis", "Aparat", "Strefa" by column.
constexpr int kCaptionKeys[NameListModel::ColumnCount] = {
    textkey::kListColumnName, textkey::kListColumnApartment, textkey::kListColumnZone};

} // namespace

NameListModel::NameListModel(const NameList& list, const Localisation& texts, QObject* parent)
    : QAbstractTableModel(parent), list_(list), texts_(texts)
{
}

int NameListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : list_.count();
}

int NameListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant NameListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const NameRow& row = list_.rows()[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
    case TextColumn:
        return row.text;
    case ApartmentColumn:
        return QString::number(row.apartment);
    case ZoneColumn:
        return QString::number(row.zone);
    default:
        return {};
    }
}

QVariant NameListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= ColumnCount)
        return {};
    return texts_.text(kCaptionKeys[section]);
}

QStringList NameListModel::captionsInEveryLanguage(int section) const
{
    QStringList captions;
    if (section < 0 || section >= ColumnCount)
        return captions;
    for (int language = 0; language < Localisation::kLanguageCount; ++language)
        captions << texts_.text(language, kCaptionKeys[section]);
    return captions;
}

void NameListModel::listRebuilt()
{
    beginResetModel();
    endResetModel();
}

void NameListModel::languageChanged()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

} // namespace q540
