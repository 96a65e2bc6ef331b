#include "CRichDrawText.h"

#include "RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>
#include <QScreen>
#include <QTextDocument>

#include <cmath>

namespace {

QFont messageFont()
{
    return QGuiApplication::font();
}

QColor defaultTextColor()
{
    return QGuiApplication::palette().color(QPalette::ButtonText);
}

} // namespace

CRichDrawText::CRichDrawText()
    : m_document(std::make_unique<QTextDocument>())
{
    m_document->setUndoRedoEnabled(false);
    ApplyDefaults();
}

CRichDrawText::~CRichDrawText() = default;

void CRichDrawText::ApplyDefaults()
{
    m_document->setDefaultFont(messageFont());
    // The text fills the rectangle it is given: no margin of its own.
    m_document->setDocumentMargin(0);
}

bool CRichDrawText::LoadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_document->clear();
        m_loaded = false;
        return false;
    }
    LoadData(file.readAll());
    return true;
}

void CRichDrawText::LoadData(const QByteArray &data)
{
    RtfReader::ReadAny(data, m_document.get());
    ApplyDefaults();
    m_loaded = true;
}

bool CRichDrawText::HasText() const
{
    return m_loaded && !m_document->isEmpty();
}

int CRichDrawText::DefaultCharHeightTwips()
{
    const QFont font = messageFont();
    double points = font.pointSizeF();
    if (points <= 0) {
        // A font given in pixels: convert through the screen's vertical resolution.
        const QScreen *screen = QGuiApplication::primaryScreen();
        const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        points = font.pixelSize() * 72.0 / dpi;
    }
    return int(std::lround(points * 20.0));
}

void CRichDrawText::LayoutFor(QPaintDevice *device, int width)
{
    QAbstractTextDocumentLayout *layout = m_document->documentLayout();
    if (layout->paintDevice() != device) {
        layout->setPaintDevice(device);
        // Fonts resolve differently on another device: lay out again.
        m_document->markContentsDirty(0, m_document->characterCount());
    }
    m_document->setTextWidth(width);
}

void CRichDrawText::FitRect(QPaintDevice *device, QRect &rect)
{
    if (!device || rect.width() <= 0 || !HasText()) {
        rect.setWidth(0);
        rect.setHeight(0);
        return;
    }
    LayoutFor(device, rect.width());
    const int width = std::min(rect.width(), int(std::ceil(m_document->idealWidth())));
    const int height = int(std::ceil(m_document->size().height()));
    rect.setWidth(std::max(width, 0));
    rect.setHeight(std::max(height, 0));
}

void CRichDrawText::Draw(QPainter *painter, const QRect &rect)
{
    if (!painter || !painter->device() || rect.width() <= 0 || rect.height() <= 0 || !HasText())
        return;
    LayoutFor(painter->device(), rect.width());
    painter->save();
    painter->translate(rect.topLeft());
    const QRect clip(0, 0, rect.width(), rect.height());
    painter->setClipRect(clip, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, defaultTextColor());
    m_document->documentLayout()->draw(painter, context);
    painter->restore();
}
