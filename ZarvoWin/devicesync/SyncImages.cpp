#include "SyncImages.h"

#include "ImageList.h"

#include <QPainter>

namespace {

struct ThemeImage
{
    int index;
    const char *iconName;
};

constexpr ThemeImage GroupIcons[] = {
    {0, "project-development"}, {1, "view-pim-tasks"}, {2, "view-bank"}, {3, "view-task"}};
// Take the device's row (it goes from the left column to the right one),
// delete, take the local row.
constexpr const char *ActionIcons[] = {"arrow-right", "edit-delete", "arrow-left"};
constexpr int ChosenAction = 6;
constexpr int OtherAction = 9;

// An action not chosen: the same picture, faint.
QImage faint(const QImage &image)
{
    QImage out(image.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setOpacity(0.3);
    painter.drawImage(0, 0, image);
    return out;
}

void addActions(ImageList &images)
{
    for (int action = 0; action < 3; ++action) {
        const int chosen = ChosenAction + action;
        if (images.SetThemeIcon(chosen, QString::fromLatin1(ActionIcons[action])))
            images.SetImage(OtherAction + action, faint(images.Pixmap(chosen).toImage()));
    }
}

} // namespace

// The lists live until the program ends (reachable, never freed after the
// application object).
const ImageList &SyncImages::ListImages()
{
    static ImageList *list = [] {
        auto *images = new ImageList(20);
        for (const ThemeImage &icon : GroupIcons)
            images->SetThemeIcon(icon.index, QString::fromLatin1(icon.iconName));
        images->SetSvg(4, QStringLiteral(":/pictures/sync_row.svg"));
        images->SetSvg(5, QStringLiteral(":/pictures/sync_row_last.svg"));
        addActions(*images);
        return images;
    }();
    return *list;
}

const ImageList &SyncImages::ToolTipImages()
{
    static ImageList *list = [] {
        auto *images = new ImageList(28);
        addActions(*images);
        return images;
    }();
    return *list;
}

const ImageList &SyncImages::HeaderImages()
{
    static ImageList *list = [] {
        auto *images = new ImageList(32);
        images->SetThemeIcon(0, QStringLiteral("smartphone"));
        images->SetThemeIcon(1, QStringLiteral("computer"));
        return images;
    }();
    return *list;
}

QIcon SyncImages::SynchroniseIcon()
{
    return QIcon::fromTheme(QStringLiteral("folder-sync"));
}
