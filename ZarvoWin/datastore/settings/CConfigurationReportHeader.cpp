// The band that opens a report: logo and formatted text from the settings.
#include "CConfiguration.h"

#include "CPicture.h"
#include "CRichDrawText.h"
#include "ReportHeaderLayout.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>

#include <cmath>
#include <memory>

namespace {

// The screen's resolution stands in for an image that gives none.
void ScreenDpi(int &x, int &y)
{
    x = y = 96;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        x = int(std::lround(screen->logicalDotsPerInchX()));
        y = int(std::lround(screen->logicalDotsPerInchY()));
    }
}

bool IsFile(const QString &path)
{
    return !path.isEmpty() && QFileInfo(path).isFile();
}

// The picture type of a file by its extension, the text after the last "."
// of its name; a name without one gives type 0, which lets the decoders guess.
int PictureType(const QString &path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? 0 : CPicture::GetTypeFromExtension(name.mid(dot + 1).toLower());
}

// The logo's picture; null when the file gives none to draw.
std::unique_ptr<CPicture> LoadLogo(const QString &path)
{
    auto picture = std::make_unique<CPicture>(path, PictureType(path));
    if (!picture->IsValid() || picture->GetWidth() == 0 || picture->GetHeight() == 0)
        return nullptr;
    return picture;
}

int LayBand(const CConfiguration &settings, QRect &rect, QPaintDevice *device, QPainter *painter)
{
    const int top = rect.top();
    if (!device) {
        rect.setHeight(0);
        return top;
    }
    int screenX = 96, screenY = 96;
    ScreenDpi(screenX, screenY);
    const int logoPosition = settings.reportLogoPos;
    const int textPosition = settings.reportTextPos;

    // The logo, drawn and released before the text is read.
    QSize logo;
    if (settings.reportLogo && IsFile(settings.reportLogoFile)) {
        auto picture = LoadLogo(settings.reportLogoFile);
        if (picture) {
            logo = ReportHeaderLayout::LogoSizeOnDevice(picture->GetWidth(), picture->GetHeight(), picture->GetXDPI(),
                                                        picture->GetYDPI(), device->logicalDpiX(),
                                                        device->logicalDpiY(), screenX, screenY);
        }
        if (painter && !logo.isEmpty()) {
            const QRect at(ReportHeaderLayout::PlaceHorizontally(rect, logo.width(), logoPosition), top,
                           logo.width(), logo.height());
            // A smoothed stretch, like a halftone stretch, for the time of
            // the logo only.
            const bool smooth = painter->testRenderHint(QPainter::SmoothPixmapTransform);
            painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
            picture->StretchToDC(painter, at.x(), at.y(), at.width(), at.height(), CPicture::SRCCOPY);
            painter->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
        }
    }

    // The text, measured within the band's width on the same device it is
    // drawn on, so that it takes the size it was measured with.
    QSize text;
    CRichDrawText rich;
    if (settings.reportText && IsFile(settings.reportTextFile) && rich.LoadFile(settings.reportTextFile)) {
        QRect measured(rect.left(), ReportHeaderLayout::TextTop(rect, logo, logoPosition, textPosition),
                       rect.width(), 0);
        rich.FitRect(device, measured);
        text = measured.size();
    }

    const ReportHeaderLayout::Band band = ReportHeaderLayout::Arrange(rect, logo, logoPosition, text, textPosition);
    if (painter && !band.text.isEmpty())
        rich.Draw(painter, band.text);
    rect.setHeight(band.height);
    return top + band.height;
}

} // namespace

bool CConfiguration::IsDrawableLogo(const QString &path)
{
    return IsFile(path) && LoadLogo(path) != nullptr;
}

int CConfiguration::DrawReportLogoAndText(QRect &rect, QPainter *dc, bool measureOnly) const
{
    QPaintDevice *device = dc ? dc->device() : nullptr;
    return LayBand(*this, rect, device, measureOnly ? nullptr : dc);
}

int CConfiguration::DrawReportLogoAndText(QRect &rect, QPaintDevice *device) const
{
    return LayBand(*this, rect, device, nullptr);
}
