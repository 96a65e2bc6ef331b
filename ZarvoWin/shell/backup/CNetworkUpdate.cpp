#include "CNetworkUpdate.h"

#include "CAppData.h"
#include "CBdD.h"
#include "CDatabaseFile.h"
#include "Texts.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <memory>

int CNetworkUpdate::TextId(Outcome outcome)
{
    switch (outcome) {
    case Outcome::NotConfigured:
        return 400;
    case Outcome::FolderMissing:
        return 401;
    case Outcome::NoUser:
        return 0;
    case Outcome::LocalChanges:
        return 225;
    case Outcome::NothingAvailable:
        return 255;
    case Outcome::VersionDiffers:
        return 471;
    case Outcome::ReplaceFailed:
        return 254;
    case Outcome::Updated:
        return 256;
    }
    return 0;
}

QString CNetworkUpdate::Text(Outcome outcome)
{
    using Platform::Texts;
    switch (TextId(outcome)) {
    case 400:
        return Texts::get(400);
    case 401:
        return Texts::get(401);
    case 225:
        return Texts::get(225);
    case 255:
        return Texts::get(255);
    case 471:
        return Texts::get(471);
    case 254:
        return Texts::get(254);
    case 256:
        return Texts::get(256);
    default:
        return QString();
    }
}

std::optional<CNetworkUpdate::Outcome> CNetworkUpdate::Refusal(const CDatabaseFile::CheckResult &candidate, int localVersion)
{
    using Status = CDatabaseFile::Status;
    switch (candidate.status) {
    case Status::Ok:
        if (candidate.version == localVersion)
            return std::nullopt;
        return Outcome::VersionDiffers;
    case Status::Missing:
    case Status::NotDatabase:
        return Outcome::NothingAvailable;
    case Status::UnknownVersion:
        return Outcome::VersionDiffers;
    case Status::Damaged:
    case Status::Truncated:
    case Status::NotUserDatabase:
    case Status::CodeOfItsOwn:
        return Outcome::ReplaceFailed;
    }
    return Outcome::ReplaceFailed;
}

QString CNetworkUpdate::SharedCopyPath(const QString &shareFolder, const QString &userName)
{
    return QDir(QDir(shareFolder).filePath(userName)).filePath(QStringLiteral("Zarvo.sdb"));
}

CNetworkUpdate::Outcome CNetworkUpdate::Run(const Request &request, const Steps &steps)
{
    if (request.shareFolder.isEmpty())
        return Outcome::NotConfigured;
    if (!QFileInfo(request.shareFolder).isDir())
        return Outcome::FolderMissing;
    if (request.userName.isEmpty() || request.localDatabase.isEmpty())
        return Outcome::NoUser;

    int localVersion = -1;
    // Read before the look at the local changes: a commit after it moves
    // it on, and then nothing is replaced.
    quint32 localState = 0;
    {
        // Through the shared connection when the local database is the
        // current one, so that the file is opened once.
        std::unique_ptr<CBdD> local = CAppData::CurrentDatabasePath() == request.localDatabase
                                          ? std::make_unique<CBdD>()
                                          : std::make_unique<CBdD>(request.localDatabase);
        // A read that fails counts as changes: never replace what is unknown.
        if (!CDatabaseFile::ReadChangeCounter(request.localDatabase, localState) || local->HasUnsyncedChanges())
            return Outcome::LocalChanges;
        localVersion = local->GetVersion();
    }

    const QString shared = SharedCopyPath(request.shareFolder, request.userName);
    const QFileInfo sharedBefore(shared);
    if (!sharedBefore.isFile())
        return Outcome::NothingAvailable;
    const qint64 sharedSize = sharedBefore.size();
    const QDateTime sharedTime = sharedBefore.lastModified();

    // The copy in the share is looked at as it lies there: one cut short
    // can only be told from its own length.
    if (const auto refused = Refusal(CDatabaseFile::CheckReplacement(shared), localVersion))
        return *refused;

    // A folder of this run only, removed with everything in it on return.
    QTemporaryDir work(QDir(QDir::tempPath()).filePath(QStringLiteral("Zarvo-XXXXXX")));
    if (!work.isValid())
        return Outcome::NothingAvailable;
    const QString copy = work.filePath(QStringLiteral("zarvo.db"));
    if (!CDatabaseFile::CopyLive(shared, copy, CDatabaseFile::Target::FreeName))
        return Outcome::NothingAvailable;
    // The share may have been written meanwhile: the copy is what counts.
    if (const auto refused = Refusal(CDatabaseFile::CheckReplacement(copy), localVersion))
        return *refused;

    if (steps.backupIfDue)
        steps.backupIfDue();
    // The checked copy is what is installed, whatever the share holds now,
    // and only over the local state that was found without changes.
    switch (CDatabaseFile::ReplaceLiveIfUnchanged(copy, request.localDatabase, localState)) {
    case CDatabaseFile::ReplaceResult::Replaced:
        break;
    case CDatabaseFile::ReplaceResult::ChangedMeanwhile:
        return Outcome::LocalChanges;
    case CDatabaseFile::ReplaceResult::Failed:
        return Outcome::ReplaceFailed;
    }
    if (steps.reloadReplaced)
        steps.reloadReplaced();

    // A share copy dropped again meanwhile is a newer update: it stays.
    const QFileInfo sharedAfter(shared);
    if (sharedAfter.isFile() && sharedAfter.size() == sharedSize && sharedAfter.lastModified() == sharedTime)
        QFile::remove(shared);
    return Outcome::Updated;
}
