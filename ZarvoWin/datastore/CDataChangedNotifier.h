#pragma once
#include <QObject>

// The in-process notice UWM_DATA_CHANGED from the data store to the main
// frame. Receivers connect directly, so Send returns only after every
// receiver has handled the notice, as a sent (not posted) message would.
//
// wParam: 0 time entries changed (lParam bit 0: projects or activities
// changed too; bit 1: the forecast grid keeps no scroll position),
// 1 one project's own fields changed (lParam = its id), 2 the project tree
// changed, 3 activities changed.
class CDataChangedNotifier : public QObject
{
    Q_OBJECT
public:
    // WM_APP + 0x6A, the notice's number where a number is wanted.
    static constexpr quint32 UWM_DATA_CHANGED = 0x8000 + 0x6A;

    enum Kind : qint64 {
        TimeEntries = 0,
        ProjectFields = 1,
        ProjectTree = 2,
        Activities = 3,
    };

    void Send(qint64 wParam, qint64 lParam) { emit dataChanged(wParam, lParam); }

signals:
    void dataChanged(qint64 wParam, qint64 lParam);
};
