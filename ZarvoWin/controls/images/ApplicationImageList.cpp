#include "ApplicationImageList.h"

#include "ImageList.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

struct ThemeImage
{
    int index;
    const char *iconName;
};

constexpr ThemeImage Images[] = {
    {0, "folder"},
    {1, "folder-open"},
    // The invoiced flag of a report's entry.
    {7, "checkmark"},
    {15, "project-development"},
    {16, "view-pim-tasks"},
    {17, "view-bank"},
    {18, "view-task"},
    {19, "office-report"},
    {20, "favorites"},
    {21, "view-history"},
    {22, "user-identity"},
    {23, "view-list-tree"},
    {24, "flag"},
    {8, "media-playback-start"},
    {10, "dialog-warning"},
    {28, "appointment-reminder"},
    {29, "dialog-question"},
};

// A check box as the style draws it, unticked or ticked, centred in a
// square of the list's size.
QImage checkBoxImage(int size, bool checked)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QStyle *style = QApplication::style();
    if (!style)
        return image;
    QStyleOptionButton option;
    const int width = std::min(style->pixelMetric(QStyle::PM_IndicatorWidth), size);
    const int height = std::min(style->pixelMetric(QStyle::PM_IndicatorHeight), size);
    option.rect = QRect((size - width) / 2, (size - height) / 2, width, height);
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    option.palette = QApplication::palette();
    QPainter painter(&image);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
    return image;
}

} // namespace

void FillApplicationImages(ImageList &list)
{
    for (const ThemeImage &image : Images)
        list.SetThemeIcon(image.index, QString::fromLatin1(image.iconName));
    list.SetImage(2, checkBoxImage(list.CellSize(), false));
    list.SetImage(3, checkBoxImage(list.CellSize(), true));
}
