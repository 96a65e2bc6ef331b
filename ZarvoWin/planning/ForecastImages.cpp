#include "ForecastImages.h"

#include "ImageList.h"

namespace {

struct ThemeImage
{
    int index;
    const char *iconName;
};

constexpr ThemeImage StatusIcons[] = {
    {5, "automated-tasks"}, {6, "chronometer-pause"}, {7, "media-playback-start"},
    {8, "task-complete"},   {9, "view-hidden"},
};

constexpr ThemeImage ToolTipIcons[] = {
    {0, "dialog-information"},
    {1, "dialog-warning"},
    {2, "appointment-reminder"},
    {3, "dialog-error"},
};

} // namespace

// The lists live until the program ends (they are reachable, never freed
// after the application object).
const ImageList &ForecastImages::StateImages()
{
    static ImageList *list = [] {
        auto *images = new ImageList(16);
        for (int priority = 1; priority <= 5; ++priority)
            images->SetSvg(priority - 1, QStringLiteral(":/pictures/priority_%1.svg").arg(priority));
        for (const ThemeImage &icon : StatusIcons)
            images->SetThemeIcon(icon.index, QString::fromLatin1(icon.iconName));
        return images;
    }();
    return *list;
}

const ImageList &ForecastImages::ToolTipImages()
{
    static ImageList *list = [] {
        auto *images = new ImageList(28);
        for (const ThemeImage &icon : ToolTipIcons)
            images->SetThemeIcon(icon.index, QString::fromLatin1(icon.iconName));
        return images;
    }();
    return *list;
}
