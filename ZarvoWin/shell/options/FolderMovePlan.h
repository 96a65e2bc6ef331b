#pragma once
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class FolderMove;
class FolderMoveMarker;

// The files that follow a folder setting to its new place, moved so that
// the folder the setting names always holds a complete set of files:
//
//   1. Check      (while the pages validate) the folders are not the same,
//                 nested or the root, and no name to move is taken in the
//                 new place. Nothing moves.
//   2. Copy       (once every page agreed) every file is copied into the
//                 new place: databases through SQLite's backup and checked
//                 (quick_check), other files compared after copying. A live
//                 database is locked for writing when its copy begins and
//                 stays locked until its original is gone, so that the
//                 other program's writes wait, or fail busy, and never land
//                 in a file that goes away. A failure or a cancel removes
//                 every copy and lock: nothing is left behind.
//   3. (the caller switches the setting)
//   4. RemoveOriginals, or Abandon when the switch failed.
//
// Each move keeps a record in its new place (FolderMoveMarker) of what it
// makes there. A move cut short (the program killed) is taken up from it:
// copies left before the switch are what the next move to that place
// removes first (and Check does not count their names as taken); when the
// originals were being removed, FinishInterrupted (at the next start)
// removes the rest of them.
class FolderMovePlan
{
public:
    struct Move
    {
        QString source;
        QString target;
        // Only these names directly inside the source move (those that do
        // not exist are left out); empty: everything.
        QStringList entries;
        // Folders inside the source that stay (other configured folders).
        QStringList keep;
        // Lock the databases while they move (those the programs may have
        // open).
        bool lockDatabases = false;
        // A target made by the move is entered by its owner alone (it
        // holds the users' databases or their backups).
        bool privateTarget = false;
    };

    // Why folders cannot be moved.
    enum class Problem {
        None,
        Same,      // the same folder (no move is needed)
        Nested,    // one inside the other
        Root,      // the root of the file system
        NameTaken, // a name to move already exists in the new place
        Missing,   // the old folder does not exist
    };
    struct CheckResult
    {
        Problem problem = Problem::None;
        // The move concerned, and for a taken name the two paths.
        QString source;
        QString target;
    };

    // The points where tests make the move fail as a real failure would;
    // `path` is the file concerned (or the setting). Returning true fails
    // that step. Copied is reached with each copy once written, before it
    // is compared or checked (a test may alter it there).
    enum class Stage { CopyFile, Copied, Check, SettingsWrite, RemoveFile };
    using FaultHook = std::function<bool(Stage stage, const QString &path)>;
    static void SetFaultHook(FaultHook hook);
    static bool Fault(Stage stage, const QString &path);

    FolderMovePlan();
    ~FolderMovePlan();
    FolderMovePlan(const FolderMovePlan &) = delete;
    FolderMovePlan &operator=(const FolderMovePlan &) = delete;

    // Compares two folders as the settings hold them: links resolved, a
    // trailing "/" or not.
    static bool SameFolder(const QString &a, const QString &b);
    // Same, nested, root or none, for a move from `from` to `to`.
    static Problem CheckFolders(const QString &from, const QString &to);

    void Add(const Move &move);
    bool IsEmpty() const { return m_moves.empty(); }
    const std::vector<Move> &Moves() const { return m_moves; }
    void Clear();

    // Step 1 for every move.
    CheckResult Check() const;

    // Step 2. `cancelled` is asked between files; `progress` is told the
    // file being copied. False on a failure or a cancel, with every copy
    // removed and every lock released; FailedMove tells which move.
    bool Copy(const std::function<bool()> &cancelled = {},
              const std::function<void(const QString &)> &progress = {});
    bool WasCancelled() const { return m_cancelled; }
    // The move that failed last (its source and target), for the message.
    const Move *FailedMove() const { return m_failed; }

    // Step 4: the originals go (with the journals SQLite might keep beside
    // the databases), then the locks. False when some original could not
    // be removed: the new place is complete all the same.
    bool RemoveOriginals();
    // The switch did not happen: the copies go, the originals stay.
    void Abandon();

    // Files copied by the last Copy (absolute paths in the new places).
    QStringList CopiedFiles() const;

    // Ends the removal of originals that a move killed after the switch
    // left, as the record in each of the `configured` folders (the folders
    // the settings name now) tells. Nothing else is touched: a record of a
    // move that did not reach its switch stays for the next move there.
    static void FinishInterrupted(const QStringList &configured);

private:
    struct Lock;
    bool CopyOne(const Move &move, const QString &from, const QString &to);
    void ReleaseLocks();
    void ClearRun();

    std::vector<Move> m_moves;
    std::vector<std::unique_ptr<FolderMove>> m_folderMoves;
    // Parallel to m_folderMoves: the record of each move, and the folders
    // made to hold its target (parents first).
    std::vector<std::unique_ptr<FolderMoveMarker>> m_markers;
    std::vector<QStringList> m_madeRoots;
    std::vector<std::unique_ptr<Lock>> m_locks;
    struct CopiedDatabase
    {
        QString copy;
        size_t move = 0;
    };
    QStringList m_databases; // originals copied through the backup
    QStringList m_lockedDatabases;
    std::vector<CopiedDatabase> m_copiedDatabases;
    const Move *m_failed = nullptr;
    bool m_cancelled = false;
};
