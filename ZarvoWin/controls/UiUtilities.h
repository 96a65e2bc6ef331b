#pragma once
#include <QString>
#include <QtGlobal>

// Small utilities shared by the windows and the data store.

// A light colour (0x00BBGGRR) for a new project, activity or user, derived
// from the tick count so that consecutive items differ.
quint32 GetRandomLightColor();

// Removes a user's files. With databaseOnly, only the database file
// "Zarvo.sdb" of the folder and its report-definitions companion ".rpt";
// otherwise the whole folder goes to the desktop trash, so that a mistake
// can be undone. A folder that does not exist counts as done.
bool DeleteUserFiles(const QString &folder, bool databaseOnly);

// Black (0) text on a light background, white (0xFFFFFF) on a dark one.
quint32 GetContrastTextColor(quint32 background);
// Image index of a project state (project type 0..5); -1 for no image.
int GetProjectStateImage(int state);
// Image index of a report row kind; -1 for no image.
int GetReportRowImage(int kind);
