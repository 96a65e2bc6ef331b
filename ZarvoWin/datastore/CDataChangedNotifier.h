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

    // Counted before any receiver hears it: a receiver that meets the
    // notice through another one handled first sees it counted already.
    void Send(qint64 wParam, qint64 lParam)
    {
        ++m_sent;
        emit dataChanged(wParam, lParam);
    }
    // How many notices were sent; a window compares it with the count it
    // kept to know whether a change came since.
    quint64 Sent() const { return m_sent; }

signals:
    void dataChanged(qint64 wParam, qint64 lParam);

private:
    quint64 m_sent = 0;
};
