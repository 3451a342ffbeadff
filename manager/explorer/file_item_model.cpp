#include "explorer/file_item_model.h"

#include <QLocale>

FileItemModel::FileItemModel(QDir::Filters filters, QObject *parent) : QFileSystemModel(parent)
{
    setReadOnly(false);
    setFilter(filters | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    setNameFilterDisables(false);
}

QVariant FileItemModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::ToolTipRole || !index.isValid())
        return QFileSystemModel::data(index, role);
    const QModelIndex name = index.siblingAtColumn(0);
    const QLocale locale;
    QString tip = fileName(name) + QLatin1Char('\n') + type(name);
    if (!isDir(name))
        tip += QLatin1Char('\n') + locale.formattedDataSize(size(name));
    return tip + QLatin1Char('\n') + locale.toString(lastModified(name), QLocale::ShortFormat);
}

#include "moc_file_item_model.cpp"
