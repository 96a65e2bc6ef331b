#include "ForecastSettings.h"

#include "Settings.h"

namespace {

constexpr QStringView Base = u"Forecast";
constexpr QStringView Section = u"Forecast";
// The per-user values carry the grid's name.
constexpr QStringView Grid = u"ForecastGrid";

} // namespace

QString ForecastSettings::ColumnWidth(int id)
{
    return QStringLiteral("WidthCol_%1").arg(id);
}

int ForecastSettings::ReadInt(QStringView name, int def)
{
    return Platform::Settings().getInt(Base, Section, name, def);
}

void ForecastSettings::WriteInt(QStringView name, int value)
{
    Platform::Settings().setInt(Base, Section, name, value);
}

QString ForecastSettings::ReadString(QStringView name)
{
    return Platform::Settings().getString(Base, Section, name);
}

void ForecastSettings::WriteString(QStringView name, const QString &value)
{
    Platform::Settings().setString(Base, Section, name, value);
}

bool ForecastSettings::Contains(QStringView name)
{
    return Platform::Settings().contains(Base, Section, name);
}

QString ForecastSettings::UserPos()
{
    return Grid.toString() + QStringLiteral(" Pos");
}

QString ForecastSettings::UserCollapsed()
{
    return Grid.toString() + QStringLiteral(" Collapsed");
}

QString ForecastSettings::UserHidden()
{
    return Grid.toString() + QStringLiteral(" Hidden");
}

QString ForecastSettings::UserGanttZoom()
{
    return QStringLiteral("GanttZoom");
}

QString ForecastSettings::ChooserPosition()
{
    return QStringLiteral("ColumnsForecast");
}
