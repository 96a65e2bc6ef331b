#include "NewUserFiles.h"

#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CLanguageSelector.h"
#include "CUsers.h"
#include "CWaitCursor.h"
#include "Texts.h"
#include "tUsers.h"

#include <QDir>
#include <QFileInfo>

namespace NewUserFiles {

QString NameRefusal(const CUsers &users, const tUsers &user)
{
    if (user.Nom.isEmpty())
        return Platform::Texts::get(174);
    if (const CUsers::NameProblem problem = CUsers::CheckName(user.Nom); problem != CUsers::NameProblem::None)
        return CUsers::NameProblemText(problem);
    if (users.NameExists(user))
        return Platform::Texts::get(175);
    return QString();
}

bool MakeFolder(const tUsers &user)
{
    const QString folder = user.GetFolder();
    if (folder.isEmpty())
        return false;
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    return QFileInfo(folder).isDir();
}

bool CopyDatabase(const QString &source, const QString &target)
{
    return CDatabaseFile::CopyLive(source, target, CDatabaseFile::Target::Replace);
}

bool ImportSample(const CLanguageSelector &languages, const tUsers &user)
{
    CWaitCursor wait;
    const QString database = user.GetDatabasePath(true);
    const QString reports = user.GetReportDatabasePath();
    if (database.isEmpty() || reports.isEmpty())
        return false;
    bool done = true;
    const QString sample = languages.GetSampleDataPath(false);
    if (!sample.isEmpty()) {
        if (!QFileInfo::exists(database)) {
            CBdD made(database);
            done = made.IsOpen();
        }
        // Written into the database file as it stands, so that a connection
        // that has it open reads the sample at its next statement.
        done = done && CDatabaseFile::ReplaceLive(sample, database);
        if (done) {
            CBdD copy(database);
            done = copy.IsOpen() && copy.RedateSampleData();
        }
    }
    const QString sampleReports = languages.GetSampleDataPath(true);
    if (sampleReports.isEmpty() || !CopyDatabase(sampleReports, reports))
        done = false;
    return done;
}

} // namespace NewUserFiles
