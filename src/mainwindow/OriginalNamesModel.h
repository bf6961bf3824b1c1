#pragma once
// The list of original names as the list view shows it: rows read from the scan's packed names when
// they are painted, so that a million names are not held a second time as strings.
#include "names/NameColumn.h"

#include <QAbstractListModel>

class OriginalNamesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setNames(const names::NameColumn& names);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    names::NameColumn m_names;  // shared with the list it shows
};
