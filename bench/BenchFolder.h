#pragma once
// The benchmark's own temporary folder: it holds the databases a benchmark
// builds, and the run's home, settings, runtime folder and message bus, so
// that nothing of the user's is read or written.
#include <QByteArray>
#include <QTemporaryDir>

namespace Bench {

inline QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Points the home, settings, data, cache and runtime folders at folder();
// called before the application object is made.
inline void keepEnvironmentInFolder()
{
    const QByteArray root = folder().path().toUtf8();
    for (const char *name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        qputenv(name, root);
}

} // namespace Bench
