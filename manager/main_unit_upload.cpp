// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// Upload from the player: the selected player files are queued to be copied
// into the PC pane's folder under their display names. Player files can also
// be dragged onto the PC pane's file list, which uploads them the same way.
#include "main_unit.h"

#include "device/records.h"
#include "explorer/folder_view.h"
#include "explorer/player_files_mime.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "queue/job_kinds.h"
#include "queue/queue_lines.h"

#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QTreeWidget>

#include <cstring>

namespace {

// Starts a drag of the selected player files when the mouse moves far enough
// with the left button held on a selected item.
class PlayerFilesDragSource : public QObject {
public:
    explicit PlayerFilesDragSource(QTreeWidget *list) : QObject(list), m_list(list)
    {
        list->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_pressed = mouse->button() == Qt::LeftButton;
            m_pressPos = mouse->position().toPoint();
        } else if (event->type() == QEvent::MouseButtonRelease) {
            m_pressed = false;
        } else if (event->type() == QEvent::MouseMove && m_pressed) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            const int distance = (mouse->position().toPoint() - m_pressPos).manhattanLength();
            const QTreeWidgetItem *item = m_list->itemAt(m_pressPos);
            if (distance >= QApplication::startDragDistance() && item && item->isSelected()) {
                m_pressed = false;
                startDrag();
                return true;
            }
        }
        return false;
    }

private:
    void startDrag()
    {
        QStringList names;
        for (const QTreeWidgetItem *item : m_list->selectedItems())
            names << item->text(0);
        auto *mime = new QMimeData;
        mime->setData(QLatin1String(kPlayerFilesMimeType), names.join(QLatin1Char('\n')).toUtf8());
        auto *drag = new QDrag(m_list);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    }

    QTreeWidget *m_list;
    bool m_pressed = false;
    QPoint m_pressPos;
};

} // namespace

void TForm_TovixMan::makePlayerListsDraggable()
{
    for (QTreeWidget *list : {FileList_All, FileList_Internal, FileList_External})
        new PlayerFilesDragSource(list);
}

// Names from the player are not trusted: one that is not a plain file name
// could put the file anywhere on the PC, and a cut name or path names
// another file. Such a file is refused; the others still go. A PC file of
// that name is replaced only when the user agrees.
bool TForm_TovixMan::queueUpload(const PlayerFilePick &file, const std::string &folder)
{
    const QString &shown = file.caption;
    if (!isSafePlainName(file.displayName)) {
        refuseFile(tr("Can not upload \"%1\" (%2 on the player): that name can not be used for a file "
                      "on the PC.")
                       .arg(shown, QString::fromLocal8Bit(file.shortName)));
        return false;
    }
    if (file.shortName.size() >= std::size_t(kPlayerNameSize)) {
        refuseFile(tr("Can not upload \"%1\": its name on the player is longer than %2 characters.")
                       .arg(shown)
                       .arg(kPlayerNameSize - 1));
        return false;
    }
    const std::string pcPath = joinPath(folder, file.displayName);
    if (pcPath.size() >= std::size_t(kPcPathSize)) {
        refuseFile(tr("Can not upload \"%1\": the path on the PC would be longer than %2 characters.")
                       .arg(shown)
                       .arg(kPcPathSize - 1));
        return false;
    }
    const QFileInfo existing(QString::fromLocal8Bit(pcPath));
    if (existing.exists() && !existing.isDir()
        && !confirmYes(this,
                       tr("The file \"%1\" already exists on the PC. Replace it ?")
                           .arg(shown),
                       PromptIcon::Warning))
        return false;

    auto *job = new TCopyJob;
    job->Kind = jobKind(JobAction::Upload, file.target);
    std::memcpy(job->PcPath, pcPath.data(), pcPath.size());
    std::memcpy(job->PlayerName, file.shortName.data(), file.shortName.size());
    appendQueueLine(queueLineText(job->Kind, shown), job);
    return true;
}

void TForm_TovixMan::MainMenu_UploadFromPlayerClick()
{
    const std::vector<PlayerFilePick> files = pickSelectedPlayerFiles();
    if (files.empty()) {
        showPlainMessage(tr("Please select files to upload"));
        return;
    }
    const std::string folder = FolderView->currentDirectory().toLocal8Bit().toStdString();
    bool queued = false;
    for (const PlayerFilePick &file : files)
        queued |= queueUpload(file, folder);
    if (queued)
        showQueuePanel();
}

void TForm_TovixMan::UploadallfilesinPlayertoPC1Click()
{
    activePageList()->selectAll();
    MainMenu_UploadFromPlayerClick();
}
