#pragma once
#include <QString>

#include <functional>

class CReportModel;
class QWidget;
struct tReportDefinition;

// The export command of a report window: asks the export options
// (CDlgExport), then the file, writes it and tells how it went. Every
// question goes through the dialogs' and boxes' seams; the file dialog
// through its own chooser below.
class ReportExportCommand
{
public:
    // Asks where to save: the proposed file name (may be empty) and the
    // filter in the dialog's "Name|*.x||" form; an empty answer cancels.
    using SaveFileChooser = std::function<QString(QWidget *owner, const QString &proposed, const QString &filter)>;
    // Tests answer the file dialog; an empty chooser puts the dialog back.
    static void SetSaveFileChooser(SaveFileChooser chooser);

    // Hands the report to the office suite's spreadsheet and tells what
    // went wrong itself; false when nothing was written. Until one is set,
    // that format is not offered.
    using OfficeSuiteExport = std::function<bool(QWidget *owner, CReportModel &model, int mode)>;
    static void SetOfficeSuiteExport(OfficeSuiteExport exporter);
    static bool HasOfficeSuiteExport();

    // Runs the command for the report `model` shows. `lastFormat` is the
    // format the view used last (shown first, then the one chosen);
    // `status` shows a text in the status bar (empty: the idle text).
    // True when a file was written.
    static bool Run(QWidget *owner, CReportModel &model, const tReportDefinition &definition, int &lastFormat,
                    const std::function<void(const QString &text)> &status);

    // The path the save dialog answered, with the format's extension when
    // the name has none.
    static QString WithExtension(const QString &path, const QString &extension);
};
