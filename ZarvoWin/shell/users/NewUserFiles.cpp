#include "NewUserFiles.h"

#include "CBdD.h"
#include "CDatabaseFile.h"
#include "CLanguageSelector.h"
#include "CUsers.h"
#include "CWaitCursor.h"
#include "FileModes.h"
#include "Formatter.h"
#include "Texts.h"
#include "tUsers.h"

#include <QFileInfo>

namespace NewUserFiles {

QChar ForbiddenCharacter(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.category() == QChar::Other_Control)
            return c;
        switch (c.unicode()) {
        case u'"': case u'*': case u'/': case u':': case u'<':
        case u'>': case u'?': case u'\\': case u'|':
            return c;
        default:
            break;
        }
    }
    return QChar();
}

QString NameRefusal(const CUsers &users, const tUsers &user)
{
    if (user.Nom.isEmpty())
        return Platform::Texts::get(174);
    if (user.Nom.startsWith(u'.'))
        return Platform::Texts::get(20301);
    if (const QChar c = ForbiddenCharacter(user.Nom); !c.isNull()) {
        // A control character is shown by its code: it has no face.
        const QString shown = c.category() == QChar::Other_Control
                                  ? QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QChar(u'0')).toUpper()
                                  : QString(c);
        return Platform::Formatter::sprintf(Platform::Texts::get(20300), {shown});
    }
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
    // The user's folder holds their database and its copies: only its
    // owner enters it, whatever the umask.
    return Platform::FileModes::MakePrivateFolder(folder);
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
