#include "CompoundFile.h"

#include "FileCommit.h"

#include <QSaveFile>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output.h>

namespace Biff8 {

namespace {

// Builds the container in memory; empty on failure.
QByteArray container(const std::vector<std::pair<QString, Buffer>> &streams)
{
    GsfOutput *memory = gsf_output_memory_new();
    if (!memory)
        return {};
    GsfOutfile *ole = gsf_outfile_msole_new(memory);
    bool ok = ole != nullptr;
    for (std::size_t i = 0; ok && i < streams.size(); ++i) {
        const QByteArray name = streams[i].first.toUtf8();
        GsfOutput *child = gsf_outfile_new_child(ole, name.constData(), FALSE);
        if (!child) {
            ok = false;
            break;
        }
        const Buffer &data = streams[i].second;
        // Written in pieces: the library takes a size_t but works in blocks.
        std::size_t done = 0;
        while (ok && done < data.size()) {
            const std::size_t n = std::min<std::size_t>(data.size() - done, 1 << 20);
            ok = gsf_output_write(child, n, data.data() + done);
            done += n;
        }
        ok = gsf_output_close(child) && ok;
        g_object_unref(child);
    }
    QByteArray bytes;
    if (ole) {
        ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
        g_object_unref(ole);
    }
    if (ok) {
        const guint8 *raw = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(memory));
        const gsf_off_t size = gsf_output_size(memory);
        if (raw && size > 0)
            bytes = QByteArray(reinterpret_cast<const char *>(raw), qsizetype(size));
    }
    if (!gsf_output_is_closed(memory))
        gsf_output_close(memory);
    g_object_unref(memory);
    return bytes;
}

} // namespace

std::unique_ptr<CompoundFile> CompoundFile::Create(const QString &path)
{
    if (path.isEmpty())
        return nullptr;
    // Proves that the file can be written there without touching it.
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly))
        return nullptr;
    probe.cancelWriting();
    return std::unique_ptr<CompoundFile>(new CompoundFile(path));
}

bool CompoundFile::CreateStream(const QString &name)
{
    if (name.isEmpty() || name.size() > 31)
        return false;
    for (const auto &s : m_streams)
        if (s.first == name)
            return false;
    m_streams.emplace_back(name, Buffer());
    return true;
}

bool CompoundFile::WriteStream(const QString &name, const std::uint8_t *data, std::size_t size)
{
    for (auto &s : m_streams) {
        if (s.first == name) {
            s.second.assign(data, data + size);
            return commit();
        }
    }
    return false;
}

bool CompoundFile::commit()
{
    const QByteArray bytes = container(m_streams);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return Platform::FileCommit::commit(file);
}

} // namespace Biff8
