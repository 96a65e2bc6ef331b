#include "CDlgAbout.h"
#include "ContextHelp.h"
#include "UiUtilities.h"

#include "BitmapResources.h"
#include "CFileVersionInfo.h"
#include "CMyStatic.h"
#include "CSplashScreenEx.h"
#include "ColorRef.h"
#include "OptionPageTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using OptionPageTools::Numbered;

namespace {

QFont Scaled(const QFont &base, double factor, QFont::Weight weight)
{
    QFont font = base;
    // Sizes are truncated toward zero, as the box always sized them.
    if (base.pixelSize() > 0)
        font.setPixelSize(int(base.pixelSize() * factor));
    else
        font.setPointSize(int(base.pointSizeF() * factor));
    font.setWeight(weight);
    return font;
}

// Single line, centred vertically.
constexpr quint32 OneLineCentred = 0x24;

} // namespace

CDlgAbout::CDlgAbout(QWidget *parent)
    : QDialog(parent)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    const quint32 face = QColorToColorRef(palette().color(QPalette::Window));

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(Picture());
    picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_title = Numbered(new CMyStatic(this), TitleControl);
    m_line = Numbered(new CMyStatic(this), LineControl);
    for (CMyStatic *text : {m_title, m_line}) {
        text->SetBkColor(face);
        text->SetTextFormat(OneLineCentred);
    }

    CFileVersionInfo version;
    QString title;
    if (version.Create())
        title = TitleText(version.GetText(CFileVersionInfo::ProductName), version.Fixed().fileVersionMS,
                          version.Fixed().fileVersionLS);
    const QFont base = QApplication::font();
    m_title->SetOwnFont(TitleFont(base));
    m_title->SetTextColor(TitleColour);
    m_title->SetTextFormat(0);
    m_title->SetText(title);
    m_line->SetOwnFont(LineFont(base));
    m_line->SetText(Platform::Texts::get(207));

    auto *ok = Numbered(new QPushButton(this), OkButton);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(m_title);
    texts->addWidget(m_line);
    texts->addStretch(1);
    auto *buttons = ButtonRow({ok});
    texts->addLayout(buttons);

    auto *row = new QHBoxLayout(this);
    row->addWidget(picture);
    row->addSpacing(fontMetrics().averageCharWidth() * 2);
    row->addLayout(texts, 1);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    ok->setText(Platform::Texts::get(101));
    setFixedSize(sizeHint());
}

QPixmap CDlgAbout::Picture()
{
    // The start-up picture without its lower band: there the splash writes
    // its progress, which would stand empty in the about box.
    const QImage splash = LoadBitmapResource(PictureId);
    return TransparentByCornerPixel(splash.copy(0, 0, splash.width(), qMin(splash.height(),
                                                                           int(CSplashScreenEx::kLowerBandTop))));
}

QString CDlgAbout::TitleText(const QString &product, quint32 versionHigh, quint32 versionLow)
{
    return QStringLiteral("%1\n\n%2 %3.%4.%5")
        .arg(product, Platform::Texts::get(206))
        .arg(versionHigh >> 16)
        .arg(versionHigh & 0xFFFF)
        .arg(versionLow >> 16);
}

QFont CDlgAbout::TitleFont(const QFont &base)
{
    return Scaled(base, 1.5, QFont::Bold);
}

QFont CDlgAbout::LineFont(const QFont &base)
{
    return Scaled(base, 1.2, QFont::Normal);
}
