// The built French help pages: every page well formed and readable offline,
// every link and anchor found in the folder, every page reachable from the
// table of contents.
#include "HelpTopics.h"

#include "QStringPrinter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringConverter>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString HelpFolder = QStringLiteral(ZARVO_HELP_DIR_FRA);

struct Page
{
    QString text;
    QSet<QString> ids;
    QStringList links; // href and src values as written
};

QString readUtf8(const QString &path, bool *valid)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *valid = false;
        return QString();
    }
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(file.readAll());
    *valid = !decoder.hasError();
    return text;
}

QHash<QString, Page> readPages()
{
    QHash<QString, Page> pages;
    static const QRegularExpression idPattern(QStringLiteral("\\sid=\"([^\"]+)\""));
    static const QRegularExpression linkPattern(QStringLiteral("\\s(?:href|src)=\"([^\"]*)\""));
    const QStringList names = QDir(HelpFolder).entryList({QStringLiteral("*.html")}, QDir::Files);
    for (const QString &name : names) {
        bool valid = false;
        Page page;
        page.text = readUtf8(HelpFolder + u'/' + name, &valid);
        EXPECT_TRUE(valid) << name.toStdString() << " is not UTF-8";
        for (const auto &m : idPattern.globalMatch(page.text))
            page.ids.insert(m.captured(1));
        for (const auto &m : linkPattern.globalMatch(page.text))
            page.links.append(m.captured(1));
        pages.insert(name, page);
    }
    return pages;
}

// The pages a page links to (in the folder), without their anchors.
QStringList linkedPages(const Page &page)
{
    QStringList linked;
    for (const QString &link : page.links) {
        const QString file = link.section(u'#', 0, 0);
        if (file.endsWith(QStringLiteral(".html")))
            linked.append(QUrl::fromPercentEncoding(file.toUtf8()));
    }
    return linked;
}

} // namespace

TEST(HelpPages, EveryPageIsPlainHtmlReadableOffline)
{
    const QHash<QString, Page> pages = readPages();
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html"))) << HelpFolder.toStdString();
    ASSERT_TRUE(QFileInfo(HelpFolder + QStringLiteral("/style.css")).isFile());
    static const QRegularExpression title(QStringLiteral("<title>[^<]+</title>"));
    static const QRegularExpression heading(QStringLiteral("<h1>[^<]+</h1>"));
    static const QRegularExpression tag(QStringLiteral("<(/?)([a-zA-Z][a-zA-Z0-9]*)[^>]*>"));
    static const QSet<QString> voidTags = {QStringLiteral("meta"), QStringLiteral("link"), QStringLiteral("img"),
                                           QStringLiteral("br"), QStringLiteral("hr")};
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        const std::string name = it.key().toStdString();
        const QString &text = it.value().text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("<!DOCTYPE html>\n<html lang=\"fr\">"))) << name;
        EXPECT_TRUE(text.contains(QStringLiteral("<meta charset=\"utf-8\">"))) << name;
        EXPECT_TRUE(text.contains(QStringLiteral("<link rel=\"stylesheet\" href=\"style.css\">"))) << name;
        EXPECT_TRUE(title.match(text).hasMatch()) << name;
        EXPECT_TRUE(heading.match(text).hasMatch()) << name;
        // Nothing runs and nothing is fetched: the pages work offline and
        // without JavaScript.
        EXPECT_FALSE(text.contains(QStringLiteral("<script"), Qt::CaseInsensitive)) << name;
        for (const QString &link : it.value().links) {
            EXPECT_FALSE(link.contains(QStringLiteral("://")) || link.startsWith(QStringLiteral("//")))
                << name << ": " << link.toStdString();
        }
        // Every element is closed, in order: a slip in a tag would show
        // the rest of the page wrong.
        QStringList open;
        for (const auto &m : tag.globalMatch(text)) {
            const QString element = m.captured(2).toLower();
            if (voidTags.contains(element))
                continue;
            if (m.captured(1).isEmpty()) {
                open.append(element);
            } else if (open.isEmpty() || open.last() != element) {
                ADD_FAILURE() << name << ": </" << element.toStdString() << "> closes "
                              << (open.isEmpty() ? std::string("nothing") : open.last().toStdString())
                              << " at offset " << m.capturedStart();
                break;
            } else {
                open.removeLast();
            }
        }
        EXPECT_TRUE(open.isEmpty()) << name << ": left open: " << open.join(u' ').toStdString();
    }
}

TEST(HelpPages, EveryLinkAndAnchorIsFoundInTheFolder)
{
    const QHash<QString, Page> pages = readPages();
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        for (const QString &link : it.value().links) {
            const std::string where = it.key().toStdString() + ": " + link.toStdString();
            EXPECT_FALSE(link.isEmpty()) << where;
            const QString file = QUrl::fromPercentEncoding(link.section(u'#', 0, 0).toUtf8());
            const QString anchor = link.section(u'#', 1);
            const QString target = file.isEmpty() ? it.key() : file;
            EXPECT_FALSE(target.contains(QStringLiteral(".."))) << where;
            EXPECT_TRUE(QFileInfo(HelpFolder + u'/' + target).isFile()) << where;
            if (!anchor.isEmpty() && pages.contains(target)) {
                EXPECT_TRUE(pages.value(target).ids.contains(anchor)) << where;
            }
        }
    }
}

TEST(HelpPages, EveryPageIsReachedFromTheTableOfContents)
{
    const QHash<QString, Page> pages = readPages();
    const QString contents = QStringLiteral("sommaire.html");
    ASSERT_TRUE(pages.contains(contents));
    EXPECT_TRUE(linkedPages(pages.value(QStringLiteral("index.html"))).contains(contents));
    const QStringList listed = linkedPages(pages.value(contents));
    for (auto it = pages.cbegin(); it != pages.cend(); ++it) {
        if (it.key() != contents) {
            EXPECT_TRUE(listed.contains(it.key())) << it.key().toStdString() << " is not in the table of contents";
        }
        // And every page leads back to it.
        EXPECT_TRUE(linkedPages(it.value()).contains(contents)) << it.key().toStdString();
    }
}

TEST(HelpPages, EveryTopicHasItsPage)
{
    for (int topic : HelpTopics::Topics()) {
        const QString page = HelpTopics::PageName(topic);
        EXPECT_TRUE(QFileInfo(HelpFolder + u'/' + page).isFile()) << topic << " " << page.toStdString();
    }
}
