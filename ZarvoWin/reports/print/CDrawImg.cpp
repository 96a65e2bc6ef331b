#include "CDrawImg.h"

#include "CPicture.h"
#include "TemplateTokens.h"

#include <QFileInfo>
#include <QPainter>

#include <algorithm>

using namespace TemplateTokens;

CDrawImg::CDrawImg() : CDrawObject(KindImage) {}

void CDrawImg::ReadTokens(const QStringList &tokens, const QString &folder)
{
    CDrawObject::ReadTokens(tokens, folder);
    Folder = folder;
    FileName = Text(tokens, 12).replace(u'\\', u'/');
    Mode = Number(tokens, 13);
    const QString suffix = QFileInfo(FileName).suffix();
    ImageType = suffix.isEmpty() ? 0 : CPicture::GetTypeFromExtension(suffix.toLower());
}

QString CDrawImg::GetLine() const
{
    return QLatin1String("img=") + GeometryLine() + u';' + FileName + QStringLiteral(";%1\n").arg(Mode);
}

void CDrawImg::Draw(const tDrawContext &context, tBand &band, const QStringList *, const std::vector<tColumn> *, int)
{
    if (!context.Painter)
        return;
    const tBand rect = ObjectRect(context, band);
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    DrawFill(context, rect);
    const QString path = GetFilePath();
    if (FileName.isEmpty() || !QFileInfo(path).isFile())
        return;
    CPicture picture(path, ImageType);
    if (!picture.IsValid() || picture.GetWidth() == 0 || picture.GetHeight() == 0)
        return;
    // The picture's own resolution gives its size on paper; without one the
    // screen's stands in.
    const double pictureDpiX = picture.GetXDPI() > 0 ? picture.GetXDPI() : context.ScreenDpiX;
    const double pictureDpiY = picture.GetYDPI() > 0 ? picture.GetYDPI() : context.ScreenDpiY;
    const double naturalWidth = double(picture.GetWidth()) * context.DpiX / pictureDpiX;
    const double naturalHeight = double(picture.GetHeight()) * context.DpiY / pictureDpiY;
    double x = rect.Left;
    double y = rect.Top;
    double width = rect.Width();
    double height = rect.Height();
    if (Mode == NaturalSize) {
        width = naturalWidth;
        height = naturalHeight;
    } else if (Mode == FitInside) {
        const double scale = std::min(rect.Width() / naturalWidth, rect.Height() / naturalHeight);
        width = naturalWidth * scale;
        height = naturalHeight * scale;
        x += (rect.Width() - width) / 2;
        y += (rect.Height() - height) / 2;
    }
    QPainter &painter = *context.Painter;
    const bool smooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    const bool drawn = picture.StretchToDC(&painter, tDrawContext::Clamp(x), tDrawContext::Clamp(y),
                                           std::max(1, tDrawContext::Clamp(width)),
                                           std::max(1, tDrawContext::Clamp(height)), CPicture::SRCCOPY);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    if (drawn)
        DrawBorder(context, rect);
}
