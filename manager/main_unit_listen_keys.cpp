// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The controls for listening while typing: how far a pause goes back, going
// to a typed time, and playing what is selected, from F9 or a context menu.
#include "main_unit.h"

#include "explorer/folder_view.h"
#include "listen/listen_cache.h"
#include "listen/listen_session.h"
#include "listen/play_bar.h"
#include "listen/playback_decoder.h"
#include "platform/paths.h"
#include "platform/prompts.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

namespace {

constexpr int kMaxRewindSeconds = 10;
constexpr qsizetype kShownInputChars = 40;

QString secondsText(int seconds)
{
    return seconds == 1 ? TForm_TovixMan::tr("%n second", nullptr, seconds)
                        : TForm_TovixMan::tr("%n seconds", nullptr, seconds);
}

} // namespace

void TForm_TovixMan::createListenKeys()
{
    Menu_RewindSeconds = Menu_Listen->addMenu(tr("Rewind le&ngth"));
    auto *lengths = new QActionGroup(Menu_RewindSeconds);
    for (int seconds = 0; seconds <= kMaxRewindSeconds; ++seconds) {
        QAction *a = Menu_RewindSeconds->addAction(secondsText(seconds));
        a->setCheckable(true);
        a->setData(seconds);
        lengths->addAction(a);
        connect(a, &QAction::triggered, this, [this, seconds] { setRewindSeconds(seconds); });
    }
    const auto tip = [](QAction *a, const QString &text, const QString &hint) {
        a->setIconText(text);
        a->setToolTip(hint.arg(a->shortcut().toString(QKeySequence::NativeText)));
    };
    tip(MainMenu_Slower, tr("Slower"), tr("Slower by 0.1x (%1)"));
    tip(MainMenu_Faster, tr("Faster"), tr("Faster by 0.1x (%1)"));

    Menu_PlayPc = new QAction(tr("P&lay"), this);
    Menu_PlayPlayer = new QAction(tr("&Play"), this);
    connect(Menu_PlayPc, &QAction::triggered, this, [this] { playSelected(0); });
    connect(Menu_PlayPlayer, &QAction::triggered, this, [this] { playSelected(1); });
}

void TForm_TovixMan::setRewindSeconds(int seconds)
{
    FRewindSeconds = std::clamp(seconds, 0, kMaxRewindSeconds);
    MainMenu_RewindOnPause->setText(tr("&Rewind %1 on pause").arg(secondsText(FRewindSeconds)));
    for (QAction *a : Menu_RewindSeconds->actions())
        a->setChecked(a->data().toInt() == FRewindSeconds);
    if (ListenSession *s = FListenSession)
        QMetaObject::invokeMethod(s, [s, ms = listenRewindMs()] { s->setRewind(ms); });
}

qint64 TForm_TovixMan::listenRewindMs() const
{
    return FRewindOnPause ? qint64(FRewindSeconds) * 1000 : 0;
}

void TForm_TovixMan::MainMenu_GoToClick()
{
    if (FListenPath.isEmpty()) {
        showPlainMessage(tr("Please select a recording to listen to"));
        return;
    }
    QString text = playTimeText(PlayBar_Listen->position());
    if (!prompts().askText(this, tr("Go to time"), tr("Go to (m:ss or h:mm:ss):"), text))
        return;
    const qint64 ms = parsePlayTime(text);
    const qint64 length = PlayBar_Listen->length();
    QString shown = text.trimmed();
    if (shown.size() > kShownInputChars)
        shown = shown.left(kShownInputChars) + QStringLiteral("...");
    if (ms < 0) {
        ownedBox(this, tr("\"%1\" is not a time. Type minutes and seconds as m:ss (1:23) or "
                          "hours, minutes and seconds as h:mm:ss (1:02:03).").arg(shown),
                 PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    if (ms > length) {
        ownedBox(this, tr("%1 is past the end of the recording, which lasts %2.")
                           .arg(shown, playTimeText(length)),
                 PromptIcon::Warning, PromptButtons::Ok);
        return;
    }
    QMetaObject::invokeMethod(FListenSession, [s = FListenSession, ms] { s->seek(ms); });
}

bool TForm_TovixMan::listenToSelection(bool evenUnplayable)
{
    if (FListenPane == 1) {
        // Asked each time: the copy loaded may no longer be what the player holds.
        const std::vector<PlayerFilePick> picks = pickSelectedPlayerFiles();
        if (picks.empty() || (!evenUnplayable && !isListenableName(picks.front().displayName)))
            return false;
        const PlayerFilePick &file = picks.front();
        const CachedRecording recording{file.displayName, file.target, file.size};
        const QString copy = QString::fromLocal8Bit(ListenCache(listenCacheFolder()).pathOf(recording));
        if (copy == FListenPath && FListenState == ListenSession::Playing)
            return false;
        listenToPlayerFile(file);
        return true;
    }
    for (int i = 0; i < FolderView->itemCount(); ++i) {
        if (!FolderView->isItemSelected(i) || FolderView->isItemFolder(i))
            continue;
        const QString path = FolderView->itemPath(i);
        if (path == FListenPath
            || (!evenUnplayable && !isListenableName(extractFileName(path.toLocal8Bit().toStdString()))))
            return false;
        listenToFile(path);
        return true;
    }
    return false;
}

// From a list's context menu: what is selected there plays, whatever played before.
void TForm_TovixMan::playSelected(int pane)
{
    FListenPane = pane;
    if (listenToSelection(true))
        return;
    if (FListenPath.isEmpty())
        showPlainMessage(tr("Please select a recording to listen to"));
    else if (FListenState != ListenSession::Playing)
        QMetaObject::invokeMethod(FListenSession, [s = FListenSession] { s->play(); });
}
