// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The small bar that shows what is being listened to: the commands, the
// recording's name, position and length, a position slider, the speed and
// the loudness overview.
#pragma once

#include <QWidget>

class LoudnessOverview;
class QAction;
class QLabel;
class QSlider;
class QToolButton;

// m:ss, or h:mm:ss from an hour on; with tenths, m:ss.t.
QString playTimeText(qint64 ms, bool tenths = false);
// The time typed as m:ss or h:mm:ss (seconds may carry a fraction); -1 when
// it is neither.
qint64 parsePlayTime(const QString &text);

class PlayBar : public QWidget {
    Q_OBJECT

public:
    explicit PlayBar(QWidget *parent = nullptr);

    // The buttons run these actions.
    void setActions(QAction *playPause, QAction *stop, QAction *back, QAction *forward,
                    QAction *slower, QAction *faster);
    void setRecording(const QString &name, qint64 lengthMs);
    void setPosition(qint64 ms);
    void setSpeed(double speed);
    void setPlaying(bool playing);
    // Paused, the position shows tenths of a second.
    void setPaused(bool paused);
    // Shows the volume (0 to 1) without asking for it again.
    void setVolume(double volume);
    // How much of the recording's copy has arrived while it plays (-1 when
    // none is being made); waiting, playing is held up until more has.
    void setCopyProgress(int percent, bool waiting);
    qint64 length() const { return m_length; }
    qint64 position() const { return m_position; }

    QToolButton *Button_PlayPause = nullptr;
    QToolButton *Button_Stop = nullptr;
    QToolButton *Button_Back = nullptr;
    QToolButton *Button_Forward = nullptr;
    QToolButton *Button_Slower = nullptr;
    QToolButton *Button_Faster = nullptr;
    QLabel *Label_Name = nullptr;
    QLabel *Label_Time = nullptr;
    QLabel *Label_Speed = nullptr;
    QSlider *Slider_Position = nullptr;
    QSlider *Slider_Volume = nullptr;
    LoudnessOverview *Overview = nullptr;

signals:
    void seekRequested(qint64 ms);
    void volumeRequested(double volume);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showTime();
    bool seekToGroove(const QPoint &at);

    qint64 m_length = 0;
    qint64 m_position = 0;
    bool m_paused = false;
    int m_copyPercent = -1;
    bool m_copyWaiting = false;
};
