#include "ReportExportCommand.h"

#include "CDlgExport.h"
#include "CReportModel.h"
#include "CWaitCursor.h"
#include "DesktopOpen.h"
#include "Formatter.h"
#include "MakeFileName.h"
#include "MessageBoxParams.h"
#include "RememberedMessageBox.h"
#include "ReportCsvExport.h"
#include "ReportExportOptions.h"
#include "ReportXlsExport.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "UiUtilities.h"
#include "tReportDefinition.h"
#include "UnattendedDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QUrl>

namespace {

ReportExportCommand::SaveFileChooser &chooser()
{
    static ReportExportCommand::SaveFileChooser installed;
    return installed;
}

ReportExportCommand::OfficeSuiteExport &officeSuite()
{
    static ReportExportCommand::OfficeSuiteExport installed;
    return installed;
}

// The remembered answer of "open the exported file".
constexpr int OpenFileQuestion = 14;

QString askFile(QWidget *owner, const QString &proposed, const QString &filter)
{
    if (chooser())
        return chooser()(owner, proposed, filter);
    // Nobody answers in an unattended process: told, and cancelled.
    if (UnattendedDialogs::Report(QStringLiteral("file dialog to save \"%1\"").arg(proposed)))
        return QString();
    // The dialog opens in the user's documents, not in the folder the
    // program was started from.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString start = QDir(folder).exists() ? QDir(folder).filePath(proposed) : proposed;
    return QFileDialog::getSaveFileName(owner, QString(), start, ConvertFileFilter(filter));
}

int tell(QWidget *owner, quint32 buttons, int textId, const QString &path)
{
    const QString text = path.isNull() ? Platform::Texts::get(textId)
                                       : Platform::Formatter::sprintf(Platform::Texts::get(textId),
                                                                      {QDir::toNativeSeparators(path)});
    return RichMessageBox(buttons | MessageBoxType::IconExclamation, owner, text,
                          QGuiApplication::applicationDisplayName());
}

bool exportSpreadsheet(QWidget *owner, CReportModel &model, const tReportDefinition &definition, int mode)
{
    const QString name = MakeFileName(definition.GetDisplayName());
    const QString proposed = name.isEmpty() ? QString() : name + QStringLiteral(".xls");
    QString path = askFile(owner, proposed, Platform::Texts::get(670));
    if (path.isEmpty())
        return false;
    path = ReportExportCommand::WithExtension(path, QStringLiteral("xls"));
    for (;;) {
        const ReportXlsExport::Result result = [&] {
            const CWaitCursor wait;
            return ReportXlsExport::Write(model, path, mode);
        }();
        if (result == ReportXlsExport::Result::Written)
            break;
        if (result == ReportXlsExport::Result::TooLarge) {
            tell(owner, MessageBoxType::Ok, 21401, QString());
            return false;
        }
        // A file there that could not be replaced: the user may close it
        // in the program holding it and try again.
        if (QFileInfo(path).isFile()) {
            const int answer = tell(owner, MessageBoxType::RetryCancel, 671, path);
            if (answer != MessageBoxAnswer::Failed && (answer & 0xFFFF) == MessageBoxAnswer::Retry)
                continue;
            return false;
        }
        tell(owner, MessageBoxType::Ok, 329, path);
        return false;
    }
    if (!QFileInfo::exists(path))
        return true;
    const QString question =
        Platform::Formatter::sprintf(Platform::Texts::get(672), {QDir::toNativeSeparators(path)});
    const int answer = RememberedMessageBox(question, QGuiApplication::applicationDisplayName(), owner,
                                            OpenFileQuestion, 0,
                                            MessageBoxType::YesNo | MessageBoxType::IconQuestion);
    if ((answer & 0xFFFF) == MessageBoxAnswer::Yes && !Platform::OpenUrl(QUrl::fromLocalFile(path)))
        tell(owner, MessageBoxType::Ok, 673, path);
    return true;
}

bool exportCsv(QWidget *owner, CReportModel &model, int mode, const QString &separator)
{
    QString path = askFile(owner, QString(), Platform::Texts::get(328));
    if (path.isEmpty())
        return false;
    path = ReportExportCommand::WithExtension(path, QStringLiteral("csv"));
    const bool written = [&] {
        const CWaitCursor wait;
        return ReportCsvExport::Write(model, path, mode, separator);
    }();
    if (!written) {
        tell(owner, MessageBoxType::Ok, 329, path);
        return false;
    }
    return true;
}

} // namespace

void ReportExportCommand::SetSaveFileChooser(SaveFileChooser chooser_)
{
    chooser() = std::move(chooser_);
}

void ReportExportCommand::SetOfficeSuiteExport(OfficeSuiteExport exporter)
{
    officeSuite() = std::move(exporter);
}

bool ReportExportCommand::HasOfficeSuiteExport()
{
    return bool(officeSuite());
}

QString ReportExportCommand::WithExtension(const QString &path, const QString &extension)
{
    if (!QFileInfo(path).suffix().isEmpty())
        return path;
    return path + u'.' + extension;
}

bool ReportExportCommand::Run(QWidget *owner, CReportModel &model, const tReportDefinition &definition,
                              int &lastFormat, const std::function<void(const QString &text)> &status)
{
    CDlgExport dialog(owner);
    dialog.SetFormat(lastFormat);
    dialog.SetOfferEntries(definition.Type != 4);
    dialog.SetOfficeSuite(HasOfficeSuiteExport());
    if (dialog.exec() != QDialog::Accepted)
        return false;
    // The wait cursor shows while a file is written, not over the file
    // dialog and the messages.
    if (status)
        status(Platform::Texts::get(505));
    lastFormat = dialog.GetFormat();
    bool written = false;
    switch (lastFormat) {
    case ReportExportOptions::Spreadsheet:
        written = exportSpreadsheet(owner, model, definition, dialog.GetMode());
        break;
    case ReportExportOptions::OfficeSuite:
        if (officeSuite())
            written = officeSuite()(owner, model, dialog.GetMode());
        else
            tell(owner, MessageBoxType::Ok, 326, QString());
        break;
    default:
        written = exportCsv(owner, model, dialog.GetMode(), dialog.GetSeparator());
        break;
    }
    if (status)
        status(QString());
    return written;
}
