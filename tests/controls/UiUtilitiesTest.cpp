#include "Clock.h"
#include "QStringPrinter.h"
#include "Settings.h"
#include "TestFolders.h"
#include "UiUtilities.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

double luminance(quint32 c)
{
    return 0.2126 * (c & 0xFF) + 0.7152 * ((c >> 8) & 0xFF) + 0.0722 * ((c >> 16) & 0xFF);
}

TEST(UiUtilitiesTest, RandomLightColorIsLightEnough)
{
    // Tick counts that are multiples of 256 start from black: the three
    // channels rise together to a grey just bright enough.
    for (qint64 tick : {0LL, 256LL * 7}) {
        Platform::Clock::setTickSource([tick] { return tick; });
        const quint32 c = GetRandomLightColor();
        EXPECT_EQ(c & 0xFF, (c >> 8) & 0xFF);
        EXPECT_EQ(c & 0xFF, (c >> 16) & 0xFF);
        EXPECT_GE(luminance(c), 159.99);
        EXPECT_LT(luminance(c), 162.0);
    }
    // Every start ends light enough; a start that already is comes back
    // unchanged.
    for (qint64 tick = 0; tick < 256; ++tick) {
        SCOPED_TRACE(tick);
        const int r = int(tick), g = (r * r) % 256, b = (g * g) % 256;
        const quint32 raw = quint32(r) | (quint32(g) << 8) | (quint32(b) << 16);
        Platform::Clock::setTickSource([tick] { return tick; });
        const quint32 c = GetRandomLightColor();
        EXPECT_GE(luminance(c), 159.99);
        if (luminance(raw) >= 160.0) {
            EXPECT_EQ(c, raw);
        }
    }
    Platform::Clock::reset();
}

} // namespace

TEST(UiUtilitiesTest, ContrastTextAndImages)
{
    EXPECT_EQ(GetContrastTextColor(0x00FFFF), 0u);        // yellow
    EXPECT_EQ(GetContrastTextColor(0xFF0000), 0xFFFFFFu); // blue
    EXPECT_EQ(GetContrastTextColor(0xFFFFFF), 0u);
    EXPECT_EQ(GetContrastTextColor(0x000000), 0xFFFFFFu);
    const int states[][2] = {{0, 15}, {1, 23}, {2, 22}, {3, 1}, {4, 18}, {5, 24}, {6, -1}, {-1, -1}};
    for (const auto &s : states)
        EXPECT_EQ(GetProjectStateImage(s[0]), s[1]) << s[0];
    const int rows[][2] = {{0, 2}, {1, 3}, {2, 3}, {3, -1}};
    for (const auto &r : rows)
        EXPECT_EQ(GetReportRowImage(r[0]), r[1]) << r[0];
}

namespace {

qint64 at(int y, int m, int d, int h, int min, int sec = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, sec)).toSecsSinceEpoch();
}

// Local days around midnight and on both clock-change Sundays of Paris.
TEST(UiUtilitiesTest, SameDayAndTodayFollowLocalMidnights)
{
    struct Case
    {
        qint64 first;
        qint64 second;
        bool same;
    };
    const Case cases[] = {
        {at(2024, 5, 14, 0, 0), at(2024, 5, 14, 23, 59, 59), true},
        {at(2024, 5, 14, 23, 59, 59), at(2024, 5, 15, 0, 0), false},
        // Spring: the day has 23 hours; 00:00 and 23:59 are still one day.
        {at(2024, 3, 31, 0, 0), at(2024, 3, 31, 23, 59), true},
        {at(2024, 3, 31, 0, 0) + 23 * 3600, at(2024, 4, 1, 0, 0), true},
        // Autumn: 25 hours; 24 hours after midnight is still the same day.
        {at(2024, 10, 27, 0, 0), at(2024, 10, 27, 0, 0) + 24 * 3600, true},
        {at(2024, 10, 27, 0, 0), at(2024, 10, 27, 0, 0) + 25 * 3600, false},
        // Same UTC day, different local days.
        {at(2024, 5, 14, 1, 0), at(2024, 5, 13, 23, 0), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " " << c.second);
        EXPECT_EQ(IsSameDay(c.first, c.second), c.same);
        EXPECT_EQ(IsSameDayDateTime(QDateTime::fromSecsSinceEpoch(c.first), c.second), c.same);
        // A moment given in UTC is compared on its local day.
        EXPECT_EQ(IsSameDayDateTime(QDateTime::fromSecsSinceEpoch(c.first, QTimeZone::utc()), c.second), c.same);
    }
    Platform::Clock::setFixedNow(at(2024, 10, 27, 23, 30));
    EXPECT_TRUE(IsToday(QDateTime(QDate(2024, 10, 27), QTime(0, 0))));
    EXPECT_FALSE(IsToday(QDateTime(QDate(2024, 10, 28), QTime(0, 0))));
    EXPECT_FALSE(IsToday(QDateTime(QDate(2024, 10, 26), QTime(23, 59, 59))));
}

// The Part's own walk, one character at a time: the oracle.
QString ellipsizeOneByOne(const QFontMetrics &fm, const QString &text, int width, bool keepStart)
{
    if (fm.horizontalAdvance(text) <= width)
        return text;
    QList<uint> chars = text.toUcs4();
    const auto build = [&](qsizetype kept) {
        const QList<uint> part = keepStart ? chars.mid(0, kept) : chars.mid(chars.size() - kept);
        const QString piece = QString::fromUcs4(reinterpret_cast<const char32_t *>(part.constData()), part.size());
        return keepStart ? piece + QStringLiteral("...") : QStringLiteral("...") + piece;
    };
    qsizetype kept = chars.size() - 1;
    QString result = build(kept);
    while (fm.horizontalAdvance(result) > width && result.size() > 3 && kept > 0)
        result = build(--kept);
    return result;
}

TEST(UiUtilitiesTest, EllipsisMatchesTheOneByOneWalk)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    const QFontMetrics fm(font);
    const QStringList texts = {
        QStringLiteral("Réunion de lancement du projet"),
        QStringLiteral("iiiiiiiiWWWWWWWW..."),
        QStringLiteral("a"),
        QStringLiteral("Développement \U0001F600 émoji \U0001F680 fusée"),
        QStringLiteral("Client : Société Générale d'Équipement, 12 rue de la Paix, 75002 Paris"),
    };
    for (const QString &raw : texts) {
        const QString &text = raw;
        const int full = fm.horizontalAdvance(text);
        for (int width = -1; width <= full + 2; ++width) {
            for (bool keepStart : {true, false}) {
                SCOPED_TRACE(testing::Message() << text.toStdString() << " width " << width << " start " << keepStart);
                const QString got = EllipsizeText(fm, text, width, keepStart);
                ASSERT_EQ(got, ellipsizeOneByOne(fm, text, width, keepStart));
                // Never half a surrogate pair.
                for (qsizetype i = 0; i < got.size(); ++i) {
                    if (got.at(i).isHighSurrogate())
                        ASSERT_TRUE(i + 1 < got.size() && got.at(i + 1).isLowSurrogate());
                    else
                        ASSERT_FALSE(got.at(i).isLowSurrogate() && (i == 0 || !got.at(i - 1).isHighSurrogate()));
                }
            }
        }
    }
    EXPECT_EQ(EllipsizeText(fm, QString(), 0, true), QString());
    EXPECT_EQ(EllipsizeText(fm, QStringLiteral("Wide text"), 0, true), QStringLiteral("..."));
}

TEST(UiUtilitiesTest, WindowPositionIsKeptAndNeverShrinks)
{
    QDialog first;
    first.setGeometry(120, 80, 300, 200);
    SaveWindowPosition(&first, QStringLiteral("Synchro"));
    EXPECT_FALSE(Platform::Settings().getBinary(u"Dialog", u"Synchro", u"Position").isEmpty());

    QDialog same;
    same.resize(100, 100);
    RestoreWindowPosition(&same, QStringLiteral("Synchro"));
    EXPECT_EQ(same.size(), QSize(300, 200));
    EXPECT_EQ(same.pos(), first.pos());

    // A dialog that grew since (new controls, a larger font) keeps its size.
    QDialog bigger;
    bigger.resize(400, 150);
    RestoreWindowPosition(&bigger, QStringLiteral("Synchro"));
    EXPECT_EQ(bigger.size(), QSize(400, 200));

    QDialog untouched;
    untouched.resize(250, 250);
    RestoreWindowPosition(&untouched, QStringLiteral("Other"));
    EXPECT_EQ(untouched.size(), QSize(250, 250));
}

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write("x");
}

TEST(UiUtilitiesTest, DeletingUserFilesStaysBelowTheUsersFolder)
{
    const QString root = TestFolders::file(QStringLiteral("Users"));
    const QString outside = TestFolders::file(QStringLiteral("elsewhere"));
    touch(outside + QStringLiteral("/keep.txt"));
    touch(root + QStringLiteral("/Anne/Zarvo.sdb"));
    ASSERT_TRUE(QFile::link(outside, root + QStringLiteral("/Link")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/Anne"), TestFolders::file(QStringLiteral("toAnne"))));

    struct Case
    {
        QString folder;
        bool result;
    };
    const Case refused[] = {
        {QString(), false},
        {root, false},
        {root + QStringLiteral("/"), false},
        {root + QStringLiteral("/Anne/.."), false},
        {outside, false},
        {root + QStringLiteral("/../elsewhere"), false},
        {root + QStringLiteral("/Link"), false},
        {root + QStringLiteral("/Link/"), false},
        // The users folder reached by a link that leads into it.
        {TestFolders::file(QStringLiteral("toAnne")), false},
        // Nothing to do for a folder that is not there.
        {root + QStringLiteral("/Nobody"), true},
    };
    for (const Case &c : refused) {
        for (bool databaseOnly : {false, true}) {
            SCOPED_TRACE(testing::Message() << c.folder.toStdString() << " db " << databaseOnly);
            EXPECT_EQ(DeleteUserFiles(root, c.folder, databaseOnly), c.result);
        }
    }
    EXPECT_FALSE(DeleteUserFiles(QString(), root + QStringLiteral("/Anne"), false));
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep.txt")));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/Anne/Zarvo.sdb")));

    // Database only: the database, its journal and its reports; the rest stays.
    touch(root + QStringLiteral("/Anne/Zarvo.sdb-journal"));
    touch(root + QStringLiteral("/Anne/Zarvo.rpt"));
    touch(root + QStringLiteral("/Anne/notes.txt"));
    EXPECT_TRUE(DeleteUserFiles(root, root + QStringLiteral("/Anne/"), true));
    EXPECT_EQ(QDir(root + QStringLiteral("/Anne")).entryList(QDir::Files), QStringList{QStringLiteral("notes.txt")});

    // Without a trash to take it, the folder stays where it is (and does not
    // end up in the current folder, where Qt puts it then).
    const QString trash = QDir::homePath() + QStringLiteral("/.local/share/Trash");
    touch(trash);
    EXPECT_FALSE(DeleteUserFiles(root, root + QStringLiteral("/Anne"), false));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/Anne/notes.txt")));
    EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + QStringLiteral("/files/Anne")));
    ASSERT_TRUE(QFile::remove(trash));

    // A move that ends outside a trash, as Qt's falls back to "files" and
    // "info" below the current folder: refused, the folder back in place.
    const QString current = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(TestFolders::root()));
    SetTrashMover([](const QString &path, QString *placed) {
        const QString name = QFileInfo(path).fileName();
        QDir here;
        if (!here.mkpath(QStringLiteral("files")) || !here.mkpath(QStringLiteral("info"))
            || !here.rename(path, QStringLiteral("./files/") + name))
            return false;
        *placed = QStringLiteral("./files/") + name;
        return true;
    });
    EXPECT_FALSE(DeleteUserFiles(root, root + QStringLiteral("/Anne"), false));
    SetTrashMover({});
    ASSERT_TRUE(QDir::setCurrent(current));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/Anne/notes.txt")));
    EXPECT_FALSE(QFileInfo::exists(TestFolders::file(QStringLiteral("files/Anne"))));

    // The whole folder goes to the trash, whole.
    EXPECT_TRUE(DeleteUserFiles(root, root + QStringLiteral("/Anne"), false));
    EXPECT_FALSE(QFileInfo::exists(root + QStringLiteral("/Anne")));
    EXPECT_TRUE(QFileInfo::exists(QDir::homePath() + QStringLiteral("/.local/share/Trash/files/Anne/notes.txt")));
    EXPECT_TRUE(QFileInfo::exists(root));
}

} // namespace
