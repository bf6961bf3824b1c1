#include "mainwindow/OriginalNamesModel.h"

#include <limits>

void OriginalNamesModel::setNames(const names::NameColumn& names)
{
    beginResetModel();
    m_names = names;
    endResetModel();
}

int OriginalNamesModel::rowCount(const QModelIndex& parent) const
{
    // A view counts rows in int; more entries than that could never be listed in one.
    return parent.isValid() ? 0 : int(std::min<qsizetype>(m_names.size(), std::numeric_limits<int>::max()));
}

QVariant OriginalNamesModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole)
        return {};
    return m_names.at(index.row()).toString();
}
