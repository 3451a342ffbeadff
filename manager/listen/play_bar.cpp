// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

#include "listen/play_bar.h"

#include "listen/loudness_overview.h"
#include "widgets/plain_text.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

QString playTimeText(qint64 ms, bool tenths)
{
    const qint64 s = std::max<qint64>(ms, 0) / 1000;
    const QString fraction = tenths ? QStringLiteral(".%1").arg(std::max<qint64>(ms, 0) / 100 % 10) : QString();
    if (s >= 3600)
        return QStringLiteral("%1:%2:%3").arg(s / 3600).arg(s / 60 % 60, 2, 10, QLatin1Char('0')).arg(s % 60, 2, 10, QLatin1Char('0')) + fraction;
    return QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0')) + fraction;
}

qint64 parsePlayTime(const QString &text)
{
    static const QRegularExpression time(
        QStringLiteral("^\\s*(?:(\\d{1,4}):([0-5]\\d):|(\\d{1,6}):)([0-5]\\d)(?:\\.(\\d{1,3}))?\\s*$"));
    const QRegularExpressionMatch m = time.match(text);
    if (!m.hasMatch())
        return -1;
    const qint64 minutes = m.hasCaptured(1) ? m.captured(1).toLongLong() * 60 + m.captured(2).toLongLong()
                                            : m.captured(3).toLongLong();
    const QString fraction = m.captured(5);
    const qint64 ms = fraction.isEmpty() ? 0 : (fraction + QStringLiteral("00")).left(3).toLongLong();
    return (minutes * 60 + m.captured(4).toLongLong()) * 1000 + ms;
}

PlayBar::PlayBar(QWidget *parent) : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(2);
    const auto button = [&](const char *name) {
        auto *b = new QToolButton(this);
        b->setAutoRaise(true);
        b->setAccessibleName(tr(name));
        row->addWidget(b);
        return b;
    };
    Button_PlayPause = button(QT_TR_NOOP("Play or pause"));
    Button_Stop = button(QT_TR_NOOP("Stop"));
    Button_Back = button(QT_TR_NOOP("Back 5 seconds"));
    Button_Forward = button(QT_TR_NOOP("Forward 5 seconds"));
    Button_Slower = button(QT_TR_NOOP("Slower"));
    Button_Faster = button(QT_TR_NOOP("Faster"));

    Label_Speed = new QLabel(this);
    Label_Speed->setAccessibleName(tr("Speed"));
    Label_Speed->setMinimumWidth(Label_Speed->fontMetrics().horizontalAdvance(QStringLiteral("0.0x ")));
    row->addWidget(Label_Speed);

    Label_Name = new QLabel(this);
    Label_Name->setTextFormat(Qt::PlainText);
    Label_Name->setAccessibleName(tr("Recording"));
    Label_Name->setMinimumWidth(40);
    Label_Name->setMaximumWidth(220);
    row->addWidget(Label_Name);

    auto *track = new QVBoxLayout;
    track->setSpacing(0);
    Overview = new LoudnessOverview(this);
    Overview->setAccessibleName(tr("Loudness overview"));
    Slider_Position = new QSlider(Qt::Horizontal, this);
    Slider_Position->setAccessibleName(tr("Position"));
    Slider_Position->setRange(0, 0);
    Slider_Position->setPageStep(5000);
    Slider_Position->setSingleStep(1000);
    Slider_Position->installEventFilter(this);
    track->addWidget(Overview);
    track->addWidget(Slider_Position);
    row->addLayout(track, 1);

    Label_Time = new QLabel(this);
    Label_Time->setAccessibleName(tr("Position and length"));
    row->addWidget(Label_Time);

    Slider_Volume = new QSlider(Qt::Horizontal, this);
    Slider_Volume->setAccessibleName(tr("Volume"));
    Slider_Volume->setRange(0, 100);
    Slider_Volume->setSingleStep(5);
    Slider_Volume->setPageStep(10);
    // It gives way first when a longer language needs the room.
    Slider_Volume->setMinimumWidth(40);
    Slider_Volume->setMaximumWidth(80);
    Slider_Volume->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    Slider_Volume->setValue(100);
    Slider_Volume->setToolTip(tr("Volume: %1%").arg(100));
    row->addWidget(Slider_Volume);

    connect(Overview, &LoudnessOverview::clickedAt, this,
            [this](double fraction) { emit seekRequested(qint64(fraction * double(m_length))); });
    connect(Slider_Position, &QSlider::sliderReleased, this,
            [this] { emit seekRequested(Slider_Position->value()); });
    connect(Slider_Position, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QSlider::SliderMove)
            emit seekRequested(Slider_Position->sliderPosition());
    });
    connect(Slider_Volume, &QSlider::valueChanged, this, [this](int percent) {
        Slider_Volume->setToolTip(tr("Volume: %1%").arg(percent));
        emit volumeRequested(percent / 100.0);
    });
    setRecording(QString(), 0);
    setSpeed(1.0);
}

void PlayBar::setActions(QAction *playPause, QAction *stop, QAction *back, QAction *forward,
                         QAction *slower, QAction *faster)
{
    const std::pair<QToolButton *, QAction *> pairs[] = {
        {Button_PlayPause, playPause}, {Button_Stop, stop}, {Button_Back, back},
        {Button_Forward, forward}, {Button_Slower, slower}, {Button_Faster, faster}};
    for (const auto &[b, a] : pairs) {
        const QString name = b->accessibleName();
        b->setDefaultAction(a);
        b->setAccessibleName(name);
    }
    stop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    back->setIcon(style()->standardIcon(QStyle::SP_MediaSeekBackward));
    forward->setIcon(style()->standardIcon(QStyle::SP_MediaSeekForward));
    Button_Slower->setToolButtonStyle(Qt::ToolButtonTextOnly);
    Button_Faster->setToolButtonStyle(Qt::ToolButtonTextOnly);
    setPlaying(false);
}

void PlayBar::setPlaying(bool playing)
{
    if (QAction *a = Button_PlayPause->defaultAction())
        a->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

void PlayBar::setPaused(bool paused)
{
    m_paused = paused;
    showTime();
}

void PlayBar::setRecording(const QString &name, qint64 lengthMs)
{
    Label_Name->setText(name);
    Label_Name->setToolTip(plainToolTip(name));
    m_length = lengthMs;
    Slider_Position->setRange(0, int(std::min<qint64>(lengthMs, INT_MAX)));
    Overview->setPeaks({});
    setPosition(0);
}

void PlayBar::setPosition(qint64 ms)
{
    m_position = std::clamp<qint64>(ms, 0, m_length);
    if (!Slider_Position->isSliderDown())
        Slider_Position->setValue(int(m_position));
    Overview->setFraction(m_length > 0 ? double(m_position) / double(m_length) : 0.0);
    showTime();
}

void PlayBar::setSpeed(double speed)
{
    Label_Speed->setText(QStringLiteral("%1x").arg(speed, 0, 'f', 1));
}

void PlayBar::setVolume(double volume)
{
    const int percent = int(std::lround(std::clamp(volume, 0.0, 1.0) * 100));
    const QSignalBlocker quiet(Slider_Volume);
    Slider_Volume->setValue(percent);
    Slider_Volume->setToolTip(tr("Volume: %1%").arg(percent));
}

void PlayBar::setCopyProgress(int percent, bool waiting)
{
    m_copyPercent = percent;
    m_copyWaiting = percent >= 0 && waiting;
    showTime();
}

void PlayBar::showTime()
{
    if (m_copyWaiting) {
        Label_Time->setText(tr("Copying... %1%").arg(m_copyPercent));
        return;
    }
    const QString position = playTimeText(m_position, m_paused), length = playTimeText(m_length);
    Label_Time->setText(m_copyPercent >= 0 ? tr("%1 / %2 (%3% copied)").arg(position, length).arg(m_copyPercent)
                                           : QStringLiteral("%1 / %2").arg(position, length));
}

// A press on the groove goes where it was pressed, rather than a page on;
// the handle is still dragged as ever.
bool PlayBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Slider_Position && event->type() == QEvent::MouseButtonPress) {
        const auto *press = static_cast<QMouseEvent *>(event);
        if (press->button() == Qt::LeftButton && seekToGroove(press->position().toPoint()))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool PlayBar::seekToGroove(const QPoint &at)
{
    QSlider *slider = Slider_Position;
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.upsideDown = slider->invertedAppearance();
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    QStyle *style = slider->style();
    const QRect handle = style->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider);
    if (m_length <= 0 || handle.contains(at))
        return false;
    const QRect groove = style->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, slider);
    const int span = groove.width() - handle.width();
    const int value = QStyle::sliderValueFromPosition(slider->minimum(), slider->maximum(),
                                                      at.x() - groove.x() - handle.width() / 2, std::max(span, 1),
                                                      option.upsideDown);
    slider->setValue(value);
    emit seekRequested(value);
    return true;
}
