#include "ReportCalcExport.h"

#include "CReportModel.h"
#include "DesktopOpen.h"
#include "Formatter.h"
#include "MakeFileName.h"
#include "MessageBoxParams.h"
#include "ReportXlsExport.h"
#include "RichMessageBox.h"
#include "Texts.h"
#include "tReportDefinition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QUrl>

namespace ReportCalcExport {

namespace {

constexpr QFileDevice::Permissions OwnerOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions OwnerOnlyFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

void tell(QWidget *owner, int text, const QString &insert)
{
    const QString message = insert.isEmpty() ? Platform::Texts::get(text)
                                              : Platform::Formatter::sprintf(Platform::Texts::get(text), {insert});
    RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, owner, message,
                   QGuiApplication::applicationDisplayName());
}

} // namespace

QString SheetFolder()
{
    // The user's own cache, never a shared temporary folder: another user
    // could read the report or put a file of theirs in its place.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    if (cache.isEmpty())
        return QString();
    const QString folder = QDir(cache).filePath(QStringLiteral("sheets"));
    if (!QDir().mkpath(folder))
        return QString();
    QFile::setPermissions(folder, OwnerOnlyFolder);
    return folder;
}

QString NewSheetPath(const QString &folder, const QString &displayName)
{
    QString name = MakeFileName(displayName);
    if (name.isEmpty())
        name = Platform::Texts::get(675);
    if (name.isEmpty())
        name = QStringLiteral("report");
    const QDir dir(folder);
    QString path = dir.filePath(name + QStringLiteral(".xls"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1 (%2).xls").arg(name).arg(n));
    return path;
}

Outcome Export(CReportModel &model, int mode, const QString &folder, QString &path)
{
    path.clear();
    if (folder.isEmpty())
        return Outcome::WriteFailed;
    const QString target = NewSheetPath(folder, model.Definition().GetDisplayName());
    switch (ReportXlsExport::Write(model, target, mode)) {
    case ReportXlsExport::Result::TooLarge:
        return Outcome::TooLarge;
    case ReportXlsExport::Result::Failed:
        path = target;
        return Outcome::WriteFailed;
    case ReportXlsExport::Result::Written:
        break;
    }
    path = target;
    QFile::setPermissions(path, OwnerOnlyFile);
    if (!Platform::OpenUrl(QUrl::fromLocalFile(path)))
        return Outcome::OpenFailed;
    return Outcome::Opened;
}

bool Run(QWidget *owner, CReportModel &model, int mode)
{
    QString path;
    const QString folder = SheetFolder();
    switch (Export(model, mode, folder, path)) {
    case Outcome::Opened:
        return true;
    case Outcome::TooLarge:
        tell(owner, 21401, QString());
        return false;
    case Outcome::WriteFailed:
        tell(owner, 329, QDir::toNativeSeparators(path.isEmpty() ? folder : path));
        return false;
    case Outcome::OpenFailed: {
        // Written where the user would not look: the message says where.
        const QFileInfo file(path);
        RichMessageBox(MessageBoxType::Ok | MessageBoxType::IconExclamation, owner,
                       Platform::Formatter::sprintf(Platform::Texts::get(26102),
                                                    {file.fileName(), QDir::toNativeSeparators(file.absolutePath())}),
                       QGuiApplication::applicationDisplayName());
        return true;
    }
    }
    return false;
}

} // namespace ReportCalcExport
