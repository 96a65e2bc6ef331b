#pragma once
// A notification-area icon for the tests: it records what the window shows
// on it, lets a test click it and take the notification area away.
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

    // The desktop's notification area appears or goes (its panel ended).
    void SetAvailable(bool available) { m_available = available; }
    void LeftClick() { emit leftClicked(); }
    void RightClick() { emit rightClicked(QPoint(100, 100)); }

    bool shown = false;
    QString tip;

private:
    bool m_available;
};
