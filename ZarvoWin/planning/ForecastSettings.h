#pragma once
#include <QString>
#include <QStringView>

// The one place that names the settings of the project-tracking window.
// Its own values live under "Forecast/Forecast/" of the settings file,
// apart from the options ("Config/Forecast/", the settings object) and the
// frame's placement of the window ("Workspace/Forecast/"). The grid's
// layout (first row, selection, collapsed and unticked rows) is kept per
// user in the users database.
class ForecastSettings
{
public:
    // Values of the settings file.
    static constexpr QStringView HideCompleted = u"HideCompleted";
    static constexpr QStringView HideInactive = u"HideInactive";
    static constexpr QStringView FilterMode = u"Affiche";
    static constexpr QStringView Sorting = u"Sorting";
    static constexpr QStringView Ascending = u"Ascending";
    static constexpr QStringView Columns = u"Columns";
    // "WidthCol_<id>" of a column.
    static QString ColumnWidth(int id);

    static int ReadInt(QStringView name, int def);
    static void WriteInt(QStringView name, int value);
    static QString ReadString(QStringView name);
    static void WriteString(QStringView name, const QString &value);
    static bool Contains(QStringView name);

    // Names of the per-user values.
    static QString UserPos();
    static QString UserCollapsed();
    static QString UserHidden();
    // The Gantt chart's zoom level.
    static QString UserGanttZoom();

    // The dialog placement of the column chooser (below "Dialog/").
    static QString ChooserPosition();
};
