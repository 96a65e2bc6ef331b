#pragma once
// A report model of a few entries whose titles and notes hold what text
// exports trip on, with the columns of every cell type shown.
#include "CReportModel.h"
#include "ReportFixture.h"
#include "tReportDefinition.h"

#include <QStringList>

#include <vector>

class ExportFixture : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        definition.Type = 2;
        definition.Detail = true;
        definition.Grp = {3, -1, -1, -1, -1};
        definition.Projets.clear();
        definition.Activites.clear();
    }

    static tReportEntry entry(int id, qint64 start, qint64 seconds, int project, int rate,
                              const QString &title = QString(), const QString &notes = QString())
    {
        tReportEntry e;
        e.Id = id;
        e.Debut = start;
        e.Fin = start + seconds;
        e.IdProjet = project;
        e.IdActivite = 7;
        e.IdTauxHoraire = rate;
        e.Title = title;
        e.Notes = notes;
        return e;
    }

    // The texts a CSV or a sheet must carry whole; entry 2 is invoiced.
    static std::vector<tReportEntry> trickyEntries()
    {
        std::vector<tReportEntry> entries{
            entry(1, At(2024, 3, 1, 9), 27 * 3600 + 30 * 60, 3, 5, QStringLiteral("Devis \"urgent\"; lot|2"),
                  QStringLiteral("ligne 1\r\nligne 2\tfin")),
            entry(2, At(2024, 3, 2, 9), 1800, 4, 6, QStringLiteral("=SOMME(A1:A2)"),
                  QString::fromUtf16(u"Réunion 会議 \U0001F600 Ωμέγα")),
            entry(3, At(2024, 3, 3, 14), 600, 2, -1, QStringLiteral("\"\""), QStringLiteral(",;|")),
        };
        entries[1].Facture = true;
        return entries;
    }

    // Every column kind the exports treat apart: date, names, times,
    // duration, rate, cost, invoiced, title, notes, shares. `firstKind`
    // (when not -1) is moved to the first column, where group rows show
    // their names.
    void build(const std::vector<tReportEntry> &entries,
               const std::vector<int> &kinds = {0, 1, 3, 4, 5, 6, 7, 8, 9, 10, 19, 20}, int firstKind = -1)
    {
        definition.SetDefaultColumns(definition.Columns);
        for (int i = 0; i < definition.Columns.Count(); ++i)
            definition.Columns[i].Shown = false;
        for (int kind : kinds)
            definition.Columns.ShowKind(kind);
        if (firstKind != -1 && definition.Columns.IndexOfKind(firstKind) != 0) {
            ASSERT_TRUE(definition.Columns.Move(0, definition.Columns.IndexOfKind(firstKind), true));
        }
        model.SetDefinition(definition);
        model.SetSnapshot(std::make_shared<tReportSnapshot>(snapshot));
        model.ResetForRefresh();
        model.BuildColumns();
        model.SetTotalRow(QStringLiteral("Total :"), true);
        for (const tReportEntry &e : entries)
            model.AddEntryLine(e);
        model.ShowRows();
        model.UpdateCheckStates();
    }

    // The captions, then every export row of the mode, as texts.
    std::vector<QStringList> exportRows(int mode)
    {
        std::vector<QStringList> rows{model.GetColumnCaptions()};
        QStringList cells;
        for (bool more = model.FirstExportRow(mode, cells); more; more = model.NextExportRow(mode, cells))
            rows.push_back(cells);
        return rows;
    }

    tReportDefinition definition;
    CReportModel model;
};
