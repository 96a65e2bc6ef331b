#include "UiUtilities.h"

#include "CWaitCursor.h"
#include "FolderMove.h"

#include "Clock.h"
#include "LocalTime.h"
#include "Settings.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPoint>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QStandardPaths>
#include <QWidget>

#include <vector>

quint32 GetRandomLightColor()
{
    const quint64 tick = static_cast<quint64>(Platform::Clock::tickMs());
    int r = static_cast<int>(tick % 256);
    int g = (r * r) % 256;
    int b = (g * g) % 256;
    for (int raises = 0; raises < 250 && 0.2126 * r + 0.7152 * g + 0.0722 * b < 160.0; ++raises) {
        r = qMin(r + 1, 255);
        g = qMin(g + 1, 255);
        b = qMin(b + 1, 255);
    }
    return static_cast<quint32>(r) | (static_cast<quint32>(g) << 8) | (static_cast<quint32>(b) << 16);
}


quint32 GetContrastTextColor(quint32 background)
{
    const int r = int(background & 0xFF);
    const int g = int((background >> 8) & 0xFF);
    const int b = int((background >> 16) & 0xFF);
    return 0.2126 * r + 0.7152 * g + 0.0722 * b >= 120.0 ? 0u : 0xFFFFFFu;
}

int GetProjectStateImage(int state)
{
    static const int images[] = {15, 23, 22, 1, 18, 24};
    return state >= 0 && state <= 5 ? images[state] : -1;
}

int GetReportRowImage(int kind)
{
    switch (kind) {
    case 0:
        return 2;
    case 1:
    case 2:
        return 3;
    default:
        return -1;
    }
}

bool IsPointInBox(int x, int y, int width, int height, const QPoint &point)
{
    return point.x() >= x && point.x() < x + width && point.y() >= y && point.y() < y + height;
}

bool IsSameDayDateTime(const QDateTime &moment, qint64 unixSeconds)
{
    return moment.toLocalTime().date() == Platform::LocalTime::localDate(unixSeconds);
}

bool IsSameDay(qint64 first, qint64 second)
{
    return Platform::LocalTime::localDate(first) == Platform::LocalTime::localDate(second);
}

bool IsToday(const QDateTime &moment)
{
    return IsSameDayDateTime(moment, Platform::Clock::now());
}

QString EllipsizeText(const QFontMetrics &metrics, const QString &text, int width, bool keepStart)
{
    if (text.isEmpty() || metrics.horizontalAdvance(text) <= width)
        return text;
    // Boundaries of whole characters: offsets[i] is where character i starts.
    std::vector<qsizetype> offsets;
    for (qsizetype i = 0; i < text.size(); ++i) {
        offsets.push_back(i);
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
    }
    const qsizetype count = qsizetype(offsets.size());
    const QString dots = QStringLiteral("...");
    // `kept` characters of the text with the ellipsis on the cut side.
    // (`kept` is below `count`, so the offsets looked up exist.)
    const auto shortened = [&](qsizetype kept) {
        if (keepStart)
            return text.left(offsets[size_t(kept)]) + dots;
        return kept == 0 ? dots : dots + text.mid(offsets[size_t(count - kept)]);
    };
    // The most characters (fewer than all) that fit with the ellipsis: a
    // longer piece of text is never narrower, so a bisection finds it.
    qsizetype low = 0;
    qsizetype high = count - 1;
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (metrics.horizontalAdvance(shortened(mid)) <= width)
            low = mid;
        else
            high = mid - 1;
    }
    return shortened(low);
}

namespace {
// The absolute path without "." and ".." parts; links are not resolved.
QString clean(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

TrashMover &trashMover()
{
    static TrashMover mover;
    return mover;
}

// Sends a folder to the desktop trash; false when it stays where it was.
// Where no trash can be had, Qt still "succeeds" by moving the folder into
// "files" below the current folder: that is never let happen, and a folder
// that lands anywhere but a trash is put back.
bool moveFolderToTrash(const QString &folder)
{
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataHome.isEmpty())
        return false;
    const QString homeTrash = dataHome + QStringLiteral("/Trash");
    const QFileInfo trash(homeTrash);
    if (trash.exists() ? !trash.isDir() : !QDir().mkpath(homeTrash))
        return false;
    QString inTrash;
    const bool moved = trashMover() ? trashMover()(folder, &inTrash) : QFile::moveToTrash(folder, &inTrash);
    if (!moved)
        return false;
    if (QDir::isAbsolutePath(inTrash))
        return true;
    QDir().rename(inTrash, folder);
    return false;
}
} // namespace

void SetTrashMover(TrashMover mover)
{
    trashMover() = std::move(mover);
}

bool DeleteUserFiles(const QString &usersRoot, const QString &folder, bool databaseOnly)
{
    if (usersRoot.isEmpty() || folder.isEmpty())
        return false;
    const QString root = clean(usersRoot);
    const QString target = clean(folder);
    const QString prefix = root + u'/';
    if (root == QStringLiteral("/") || target == root || !target.startsWith(prefix))
        return false;
    const QFileInfo info(target);
    if (!info.exists() && !info.isSymLink())
        return true;
    // Nothing between the root and the folder may be a link: the folder
    // must really be below the root, not only by its name.
    const QString rootCanonical = QFileInfo(root).canonicalFilePath();
    if (rootCanonical.isEmpty() || info.isSymLink()
        || info.canonicalFilePath() != QDir::cleanPath(rootCanonical + u'/' + target.mid(prefix.size())))
        return false;
    CWaitCursor wait;
    if (databaseOnly) {
        const QString db = target + QStringLiteral("/Zarvo.sdb");
        if (QFileInfo::exists(db) && !QFile::remove(db))
            return false;
        // The journal only once its database is gone: it may be what
        // completes the database.
        const QString journal = db + QStringLiteral("-journal");
        if (QFileInfo::exists(journal) && !QFile::remove(journal))
            return false;
        const QString rpt = db.left(db.lastIndexOf(u'.')) + QStringLiteral(".rpt");
        if (QFileInfo::exists(rpt) && !QFile::remove(rpt))
            return false;
        return true;
    }
    if (!info.isDir())
        return false;
    return moveFolderToTrash(target);
}

bool MoveFolderContents(const QString &source, const QString &target)
{
    FolderMove move(source, target);
    return move.Copy() && move.RemoveSources();
}

void SaveWindowPosition(const QWidget *window, const QString &key)
{
    if (!window || key.isEmpty())
        return;
    Platform::Settings().setBinary(u"Dialog", key, u"Position", window->saveGeometry());
}

void RestoreWindowPosition(QWidget *window, const QString &key)
{
    if (!window || key.isEmpty())
        return;
    const QByteArray stored = Platform::Settings().getBinary(u"Dialog", key, u"Position");
    if (stored.isEmpty())
        return;
    // The size the window has now, or will be shown at when it was never
    // sized: a stored placement never makes it smaller.
    const QSize current = window->testAttribute(Qt::WA_Resized) ? window->size()
                                                                 : window->size().expandedTo(window->sizeHint());
    if (!window->restoreGeometry(stored))
        return;
    if (!window->isMaximized() && !window->isFullScreen())
        window->resize(window->size().expandedTo(current));
}

void PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QHBoxLayout *ButtonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *button : buttons)
        row->addWidget(button);
    return row;
}

QWidget *FirstFocusable(QWidget *page)
{
    for (QWidget *w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && w->isEnabled() && w->isVisibleTo(page) && (w->focusPolicy() & Qt::TabFocus))
            return w;
    }
    return nullptr;
}

QString ConvertFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        if (name.isEmpty())
            break;
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns << (p.trimmed() == QStringLiteral("*.*") ? QStringLiteral("*") : p.trimmed());
        out << QStringLiteral("%1 (%2)").arg(name, patterns.join(u' '));
    }
    return out.join(QStringLiteral(";;"));
}
