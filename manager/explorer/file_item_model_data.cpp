// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// What the file list's rows show and carry: texts, icons, tooltips, header
// titles, flags and the drag data.
#include "explorer/file_item_model.h"

#include "widgets/plain_text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QMimeData>
#include <QUrl>

QString FileItemModel::typeOf(const FileEntry &entry) const
{
    if (entry.dir)
        return tr("Folder");
    auto found = m_typeNames.constFind(entry.mimeName);
    if (found == m_typeNames.cend())
        found = m_typeNames.insert(entry.mimeName, m_mimes.mimeTypeForName(entry.mimeName).comment());
    return *found;
}

QIcon FileItemModel::iconOf(const FileEntry &entry) const
{
    const QString key = entry.dir ? QStringLiteral("inode/directory") : entry.mimeName;
    auto found = m_typeIcons.constFind(key);
    if (found != m_typeIcons.cend())
        return *found;
    const QIcon standard = m_icons.icon(entry.dir ? QAbstractFileIconProvider::Folder
                                                  : QAbstractFileIconProvider::File);
    const QMimeType mime = m_mimes.mimeTypeForName(key);
    const QIcon icon =
        QIcon::fromTheme(mime.iconName(), QIcon::fromTheme(mime.genericIconName(), standard));
    return *m_typeIcons.insert(key, icon);
}

QString FileItemModel::toolTipOf(const FileEntry &entry) const
{
    const QLocale locale;
    QString tip = entry.name + QLatin1Char('\n') + typeOf(entry);
    if (!entry.dir)
        tip += QLatin1Char('\n') + locale.formattedDataSize(entry.size);
    return tip + QLatin1Char('\n')
           + locale.toString(QDateTime::fromMSecsSinceEpoch(entry.modified), QLocale::ShortFormat);
}

QVariant FileItemModel::data(const QModelIndex &index, int role) const
{
    const FileEntry *entry = entryAt(index);
    if (!entry)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        switch (index.column()) {
        case NameColumn: return entry->name;
        case SizeColumn: return entry->dir ? QString() : QLocale().formattedDataSize(entry->size);
        case TypeColumn: return typeOf(*entry);
        default:
            return QLocale().toString(QDateTime::fromMSecsSinceEpoch(entry->modified), QLocale::ShortFormat);
        }
    case Qt::DecorationRole:
        return index.column() == NameColumn ? QVariant(iconOf(*entry)) : QVariant();
    case Qt::ToolTipRole:
        return plainToolTip(toolTipOf(*entry));
    case Qt::TextAlignmentRole:
        return index.column() == SizeColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
        return {};
    }
}

QVariant FileItemModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::TextAlignmentRole)
        return section == SizeColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    if (role != Qt::DisplayRole)
        return {};
    switch (section) {
    case NameColumn: return tr("Name");
    case SizeColumn: return tr("Size");
    case TypeColumn: return tr("Type");
    case DateColumn: return tr("Date Modified");
    default: return {};
    }
}

Qt::ItemFlags FileItemModel::flags(const QModelIndex &index) const
{
    if (!entryAt(index))
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled
                          | Qt::ItemNeverHasChildren;
    return index.column() == NameColumn ? flags | Qt::ItemIsEditable : flags;
}

QStringList FileItemModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

// A name the system's encoding cannot spell goes percent-encoded byte by byte,
// so whoever takes the URL finds the file itself, not one that shows alike.
QUrl FileItemModel::fileUrl(const QModelIndex &index) const
{
    const QByteArray path = nativePath(index);
    if (path.isEmpty())
        return {};
    const QString shown = QFile::decodeName(path);
    if (QFile::encodeName(shown) == path)
        return QUrl::fromLocalFile(shown);
    return QUrl::fromEncoded("file://" + path.toPercentEncoding("/"), QUrl::StrictMode);
}

QMimeData *FileItemModel::mimeData(const QModelIndexList &indexes) const
{
    QList<QUrl> urls;
    for (const QModelIndex &index : indexes)
        if (index.column() == NameColumn && entryAt(index))
            urls << fileUrl(index);
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

Qt::DropActions FileItemModel::supportedDragActions() const
{
    return Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
}
