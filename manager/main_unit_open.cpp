// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Recordings handed to the window from outside: the command line, or the file
// manager through a later start of the program.
#include "main_unit.h"

#include "explorer/folder_view.h"
#include "halvex.h"
#include "platform/prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <memory>
#include <vector>

namespace {

enum class OpenedKind { Recording, NotRecording, Unreadable };

// A refusal box names this many files and counts the rest, and shortens a name
// longer than a line, so its OK stays on the screen.
constexpr int kNamedRefusals = 10;
constexpr int kLongestName = 160;

// Reads the first frame header; run away from the window's thread, since the
// file may sit on a slow or sleeping disk.
OpenedKind kindOf(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return QFileInfo::exists(path) && !QFileInfo(path).isFile() ? OpenedKind::NotRecording
                                                                     : OpenedKind::Unreadable;
    unsigned char header[4];
    if (file.read(reinterpret_cast<char *>(header), 4) != 4)
        return OpenedKind::NotRecording;
    return Kestrun_decoder_get_mode(header) >= 0 ? OpenedKind::Recording : OpenedKind::NotRecording;
}

QString refusal(const QString &path, OpenedKind kind)
{
    QString name = QDir::toNativeSeparators(path);
    for (QChar &c : name) { // a line break in a name would break the box's lines too
        if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
            c.category() == QChar::Separator_Paragraph)
            c = QChar::ReplacementCharacter;
    }
    if (name.size() > kLongestName) // a path has no spaces to wrap at
        name = name.left(kLongestName / 2) + QChar(0x2026) + name.right(kLongestName / 2 - 1);
    return kind == OpenedKind::Unreadable
               ? QCoreApplication::translate("TForm_TovixMan",
                                             "\"%1\" cannot be opened: it does not exist or cannot be read.")
                     .arg(name)
               : QCoreApplication::translate("TForm_TovixMan", "\"%1\" is not a voice recording.").arg(name);
}

// Shows the recording's folder in the PC pane and selects it once the folder is
// listed; a folder chosen meanwhile wins.
void showOpenedRecording(::FolderView *view, const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    QObject::connect(view, &::FolderView::folderListed, view, [view, path, folder] {
        if (QDir(view->currentDirectory()) != QDir(folder))
            return;
        for (int i = 0; i < view->itemCount(); ++i)
            view->setItemSelected(i, QFileInfo(view->itemPath(i)) == QFileInfo(path));
    }, Qt::SingleShotConnection);
    view->setCurrentDirectory(folder);
}

} // namespace

void TForm_TovixMan::openFiles(const QStringList &paths)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (paths.isEmpty())
        return;

    auto kinds = std::make_shared<std::vector<OpenedKind>>();
    QThread *reader = QThread::create([paths, kinds] {
        for (const QString &path : paths)
            kinds->push_back(kindOf(path));
    });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, paths, kinds] {
        QStringList refused;
        int unnamed = 0;
        QString first;
        for (std::size_t i = 0; i < kinds->size(); ++i) {
            if ((*kinds)[i] != OpenedKind::Recording) {
                if (refused.size() < kNamedRefusals)
                    refused << refusal(paths[int(i)], (*kinds)[i]);
                else
                    ++unnamed;
            } else if (first.isEmpty())
                first = QFileInfo(paths[int(i)]).absoluteFilePath();
        }
        if (!first.isEmpty()) {
            showOpenedRecording(FolderView, first);
            listenToFile(first);
        }
        if (unnamed > 0)
            refused << tr("and %n more.", nullptr, unnamed);
        if (!refused.isEmpty())
            ownedBox(this, refused.join(QLatin1Char('\n')), PromptIcon::Warning, PromptButtons::Ok);
    });
    reader->start();
}

