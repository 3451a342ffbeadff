// SPDX-FileCopyrightText: 2026 The TovixMan developers
//
// SPDX-License-Identifier: GPL-2.0-or-later

// The main window's drop target for files dragged from the desktop: local files
// dropped anywhere in the window are handed on with the point in the window's
// own coordinates, and file URIs that name no absolute path with them, to be
// refused. Player files dragged inside the window, and drops on widgets
// that take files themselves, are left to others.
#pragma once

#include <QObject>
#include <QPoint>
#include <QStringList>

class QDropEvent;
class QMainWindow;
class QWidget;

class FileDrop : public QObject {
    Q_OBJECT
public:
    explicit FileDrop(QMainWindow *window);
    ~FileDrop() override;

    // Drops on widget and its children are widget's own.
    static void leaveDropsTo(QWidget *widget);

signals:
    // Delivered once the drop has finished, so that what it starts may ask the
    // user. refused holds the file URIs that name no absolute local path.
    void dropped(const QStringList &paths, const QPoint &clientPos, const QStringList &refused);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QStringList localPaths(const QDropEvent *event, QStringList *refused) const;

    QMainWindow *m_window;
};
