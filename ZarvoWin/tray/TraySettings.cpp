#include "TraySettings.h"

#include "Settings.h"

#include <algorithm>

namespace {

int choice(const Platform::Settings &s, QStringView section, QStringView name, int last)
{
    const int value = s.getInt(u"Tray", section, name, 0);
    return value >= 0 && value <= last ? value : 0;
}

bool flag(const Platform::Settings &s, QStringView name)
{
    return s.getInt(u"Tray", u"Config", name, 1) != 0;
}

} // namespace

void TraySettings::Load(const Platform::Settings &s)
{
    sortMode = choice(s, u"Favoris", u"Sorting", 2);
    autoHide = flag(s, u"AutoHide");
    autoHideInfos = flag(s, u"AutoHideInfos");
    leftClick = choice(s, u"Config", u"LeftClick", 3);
    endTaskOnStandby = flag(s, u"EndTaskOnStandby");
    actionOnRestart = choice(s, u"Config", u"ActionOnRestart", 3);
    showToolBar = flag(s, u"ShowToolBar");
    showResume = flag(s, u"ShowResume");
    showDay = flag(s, u"ShowDay");
    showTask = flag(s, u"ShowTask");
    showFav = flag(s, u"ShowFav");
    opacity = std::clamp(s.getInt(u"Tray", u"Config", u"Opacity", 255), 0, 255);
}

TraySettings::tPlacement TraySettings::LoadPlacement(const Platform::Settings &s)
{
    tPlacement p;
    p.left = s.getInt(u"Tray", u"Dialog", u"Left", 0);
    p.top = s.getInt(u"Tray", u"Dialog", u"Top", 0);
    p.width = std::max(0, s.getInt(u"Tray", u"Dialog", u"Width", 0));
    p.height = std::max(0, s.getInt(u"Tray", u"Dialog", u"Height", 0));
    p.visible = s.getInt(u"Tray", u"Dialog", u"Visible", 0) != 0;
    return p;
}
