#pragma once
#include <QString>
#include <QStringList>

#include <functional>

// Moves the contents of one folder into another so that no file is ever
// lost: first every file is copied and checked (Copy), then the originals
// are removed (RemoveSources). The two halves are separate so that a
// caller can switch to the new folder between them; a caller that gives
// up after copying calls RemoveCopies.
//
// Refused: an empty, missing or root source, a root target, the same
// folder twice, or one folder inside the other (links resolved). A file
// that already exists in the target is never overwritten: the copy fails.
class FolderMove
{
public:
    // Copies one file and checks the copy; true when the copy is whole.
    using FileCopier = std::function<bool(const QString &from, const QString &to)>;
    // Asked between files; true stops the copy (its copies are removed).
    using CancelCheck = std::function<bool()>;
    // Asked for every entry below the source (its path relative to the
    // source); true leaves it, and everything below a folder left, where
    // it is: neither copied nor removed.
    using Skip = std::function<bool(const QString &relative)>;

    FolderMove(const QString &source, const QString &target);

    bool IsAllowed() const;

    void SetSkip(Skip skip) { m_skip = std::move(skip); }
    // Told, before Copy makes a folder or begins a file in the target, its
    // path relative to the target (and whether it is a folder), once it is
    // sure that nothing of that name is there yet; false stops the copy.
    // What it was told is everything a copy cut short can have left.
    using Recorder = std::function<bool(const QString &relative, bool folder)>;
    void SetRecorder(Recorder recorder) { m_recorder = std::move(recorder); }

    // Copies everything below the source into the target (made when
    // missing), with `copier` or a byte copy compared afterwards. On any
    // failure or a cancel, every file and folder it made is removed again
    // and false is returned.
    bool Copy(const FileCopier &copier = {}, const CancelCheck &cancelled = {});
    // Removes the originals of what Copy copied (with `remover`, a plain
    // removal by default), then the folders they emptied (the source folder
    // itself stays). False when one could not be removed; the copies stay
    // in any case.
    using Remover = std::function<bool(const QString &path)>;
    bool RemoveSources(const Remover &remover = {});
    // Removes what Copy made (files, then the folders it created).
    void RemoveCopies();

    // Paths relative to the folders, in copy order.
    const QStringList &CopiedFiles() const { return m_files; }

    // The path with its links resolved; for a path that does not exist
    // yet, its nearest existing folder resolved and the rest appended.
    static QString Resolved(const QString &path);

    // The default copier: a byte copy into "<to>.part", both files
    // compared, then the part takes the name (never over a file). A link is
    // copied as a link. `beforeCompare` (for tests) is given the part once
    // written; false fails the copy.
    static bool CopyAndCompare(const QString &from, const QString &to,
                               const std::function<bool(const QString &part)> &beforeCompare = {});
    // The file beside `to` into which CopyAndCompare writes.
    static QString PartPath(const QString &to);

private:
    QString m_source;
    QString m_target;
    Skip m_skip;
    Recorder m_recorder;
    QStringList m_files;        // copied files and links
    QStringList m_sourceFolders; // folders below the source, parents first
    QStringList m_madeFolders;   // folders Copy created in the target, parents first
};
