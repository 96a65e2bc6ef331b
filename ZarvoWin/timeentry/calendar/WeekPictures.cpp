#include "WeekPictures.h"

#include "ImageList.h"

#include <QPainter>
#include <QSvgRenderer>

namespace WeekPictures {

namespace {

QPixmap themed(const char *name, int size)
{
    ImageList::UseFallbackIconTheme();
    return QIcon::fromTheme(QString::fromLatin1(name)).pixmap(size, size);
}

} // namespace

QPixmap NotesIcon()
{
    return themed("view-pim-notes", IconSize);
}

QPixmap ZoomOutIcon()
{
    return themed("zoom-out", IconSize);
}

QPixmap ZoomInIcon()
{
    return themed("zoom-in", IconSize);
}

QPixmap PreviousDayArrow()
{
    return themed("go-previous", ArrowSize);
}

QPixmap NextDayArrow()
{
    return themed("go-next", ArrowSize);
}

QIcon FrameIcon()
{
    ImageList::UseFallbackIconTheme();
    return QIcon::fromTheme(QStringLiteral("view-calendar-week"));
}

QIcon ToolTipIcon()
{
    ImageList::UseFallbackIconTheme();
    return QIcon::fromTheme(QStringLiteral("clock"));
}

QCursor CopyCursor()
{
    QSvgRenderer svg(QStringLiteral(":/pictures/drag_copy.svg"));
    if (!svg.isValid())
        return QCursor(Qt::DragCopyCursor);
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    svg.render(&painter);
    painter.end();
    return QCursor(picture, 2, 2);
}

} // namespace WeekPictures
