#pragma once
// A notification-area icon for the tests: it records what the window shows
// on it and lets a test click it.
#include "TrayIcon.h"

class FakeTrayIcon : public TrayIcon
{
public:
    explicit FakeTrayIcon(bool available)
        : m_available(available)
    {
    }
    bool IsAvailable() const override { return m_available; }
    void Show(const QIcon &, const QString &t) override
    {
        shown = true;
        tip = t;
    }
    void SetTip(const QString &t) override { tip = t; }
    void Hide() override { shown = false; }

    void LeftClick() { emit leftClicked(); }
    void RightClick() { emit rightClicked(QPoint(100, 100)); }

    bool shown = false;
    QString tip;

private:
    bool m_available;
};
