#pragma once
#include <QString>
#include <array>

class CConfiguration;

// The translated words report cells and exports show beside the data: the
// invoiced flag's yes and no, the labels of an unknown project and
// activity, the forecast priorities and statuses (indexed by their value,
// an empty first entry) and the month names. One record, loaded again when
// the interface language changes.
struct tReportLabels
{
    QString Yes;
    QString No;
    QString UnknownProject;
    QString UnknownActivity;
    QString Projects;     // the root of the project-tracking tree
    QString TotalLabel;   // the total line, "Total :"
    QString TotalCaption; // the last column of a cross table, "Total"
    std::array<QString, 6> Priorities;
    std::array<QString, 6> Statuses;
    std::array<QString, 12> MonthNames;

    // Reads the texts of the interface language, the month names from the
    // settings (the application's when null).
    void Load(const CConfiguration *configuration = nullptr);
};
