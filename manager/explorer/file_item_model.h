// The file system model of the PC pane: renames allowed, hidden and system
// entries shown, and a tooltip for every item.
#pragma once

#include <QDir>
#include <QFileSystemModel>

class FileItemModel : public QFileSystemModel {
    Q_OBJECT
public:
    FileItemModel(QDir::Filters filters, QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
