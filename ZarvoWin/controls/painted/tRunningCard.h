#pragma once
#include <QString>
#include <QtGlobal>
#include <optional>

// What a card of the running-entries list (CListeTache) shows of one
// running time entry. A name and a colour are missing when the project or
// the activity was not found (deleted, or none).
struct tRunningCard
{
    int id = -1; // the time entry's id
    std::optional<QString> project;
    std::optional<QString> activity;
    std::optional<quint32> projectColour; // 0x00BBGGRR
    std::optional<quint32> activityColour;
    QString start; // the entry's start, written as the settings say
};
