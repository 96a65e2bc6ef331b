#pragma once
#include <QFile>
#include <QString>
#include <QStringList>

// The record a move of a folder's files keeps in its target folder while it
// runs, so that what a move cut short (a killed program, a lost power) left
// behind is known by this record alone, never guessed from names.
//
// One hidden file ".zarvo-move-<key>" per source (the key is taken from the
// source's path), lines of text:
//   the first line names the record, the second the source folder;
//   "folder <path>" and "file <path>" each name, relative to both folders,
//   what the move was about to make in the target (written before it is
//   made, so a copy cut short is listed too, with its ".part");
//   "copied" once every copy was made and checked;
//   "removing" once the setting names the target and the originals go.
// Paths are percent-encoded, so that no name can pass for another line. A
// line without its end (cut short while written) counts for nothing.
//
// The record goes when the move ends: after the originals were removed, or
// with the copies when the move was given up.
class FolderMoveMarker
{
public:
    // The hidden folder in the source into which a move renames the
    // databases it keeps locked, to delete them once unlocked.
    static QString AsideFolderName();
    // Whether a name directly inside a folder is one of these records or
    // that folder: no move takes them along.
    static bool IsOwnName(const QString &name);
    // The record a move from `source` keeps in `target`.
    static QString PathFor(const QString &source, const QString &target);

    struct Record
    {
        QString source;
        QStringList folders; // made in the target, parents first
        QStringList files;
        bool copied = false;
        bool removing = false;
        // The names directly inside the folders that the record accounts for.
        QStringList TopNames() const;
    };
    // Reads a record; false when the file is none of ours.
    static bool Read(const QString &path, Record &record);
    // The records found directly inside a folder.
    static QStringList RecordsIn(const QString &folder);

    FolderMoveMarker() = default;
    FolderMoveMarker(const FolderMoveMarker &) = delete;
    FolderMoveMarker &operator=(const FolderMoveMarker &) = delete;

    // Starts the record of a move from `source` into `target` (which must
    // exist); false when it cannot be written or one is there already.
    bool Begin(const QString &source, const QString &target);
    bool Add(const QString &relative, bool folder);
    bool MarkCopied();
    bool MarkRemoving();
    // Ends the record: the file goes.
    bool Remove();
    bool IsOpen() const { return m_file.isOpen(); }

private:
    bool WriteLine(const QByteArray &line);

    QFile m_file;
};
