#pragma once
#include "ByteSink.h"

#include <QString>

#include <memory>
#include <utility>
#include <vector>

namespace Biff8 {

// A compound document file (the published structured-storage format) that
// holds named streams. Every write produces a complete file next to the
// target and then puts it in the target's place, so the file at the path
// is always either the previous one or a whole new one.
class CompoundFile
{
public:
    // Null when no file can be created at path (missing folder, no rights,
    // a folder in the way). The target itself is left alone until a write.
    static std::unique_ptr<CompoundFile> Create(const QString &path);
    virtual ~CompoundFile() = default;

    const QString &path() const { return m_path; }
    // Adds an empty stream; false for an empty name, one longer than 31
    // units or one that already exists.
    virtual bool CreateStream(const QString &name);
    // Replaces the content of a created stream and writes the whole file;
    // false when the stream does not exist or the file cannot be written.
    virtual bool WriteStream(const QString &name, const std::uint8_t *data, std::size_t size);

protected:
    explicit CompoundFile(const QString &path) : m_path(path) {}
    // Writes the container with every stream to the target.
    virtual bool commit();

    QString m_path;
    std::vector<std::pair<QString, Buffer>> m_streams;
};

} // namespace Biff8
