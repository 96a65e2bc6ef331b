#include "CMyToolTipCtrl.h"
#include "CNewToolTipCtrl.h"
#include "ImageList.h"

#include "QStringPrinter.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <gtest/gtest.h>

TEST(CNewToolTipCtrl, ACommandTextSplitsAtItsFirstLineBreak)
{
    struct Case
    {
        const char16_t *text;
        const char16_t *description;
        const char16_t *label;
    };
    const Case cases[] = {
        {u"Démarrer une tâche\nDémarrer", u"Démarrer une tâche", u"Démarrer"},
        {u"Démarrer", u"", u"Démarrer"},
        {u"Une\nDeux\nTrois", u"Une", u"Deux\nTrois"},
        {u"Aide\tF1\nAide", u"Aide    F1", u"Aide"},
        {u"Seule description\n", u"Seule description", u""},
        {u"", u"", u""},
    };
    for (const Case &c : cases) {
        const CNewToolTipCtrl::Parts parts = CNewToolTipCtrl::Split(QString::fromUtf16(c.text));
        EXPECT_EQ(parts.description, QString::fromUtf16(c.description));
        EXPECT_EQ(parts.label, QString::fromUtf16(c.label));
    }
    QAction action(QStringLiteral("&Démarrer"));
    CNewToolTipCtrl::Apply(&action, QStringLiteral("Démarrer une tâche\nDémarrer"));
    EXPECT_EQ(action.statusTip(), QStringLiteral("Démarrer une tâche"));
    EXPECT_EQ(action.toolTip(), QStringLiteral("Démarrer"));
}

namespace {

QImage square(QColor colour, int size)
{
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(CMyToolTipCtrl, ImageTitleAndDescription)
{
    ImageList images(28);
    images.SetImage(0, square(Qt::green, 28));
    images.SetImage(3, square(Qt::red, 28));
    CMyToolTipCtrl tip;
    tip.SetImageList(&images);
    tip.SetContent({QStringLiteral("Clients / Alpha"), QStringLiteral("Début : 4 mars"), 3});
    const QSize one = tip.sizeHint();
    tip.resize(one);
    QImage shot = tip.grab().toImage();
    EXPECT_EQ(shot.pixel(CMyToolTipCtrl::Margin + 14, CMyToolTipCtrl::Margin + 14), qRgb(255, 0, 0));
    EXPECT_EQ(tip.IconSize(), 28);

    // More lines make it taller; a wider title wider.
    tip.SetContent({QStringLiteral("Clients / Alpha"), QStringLiteral("Début : 4 mars\nFin : 8 mars\n\nPremière"), 0});
    EXPECT_GT(tip.sizeHint().height(), one.height());
    tip.SetContent({QStringLiteral("Clients / Alpha / un nom bien plus long"), QStringLiteral("Début : 4 mars"), 0});
    EXPECT_GT(tip.sizeHint().width(), one.width());
    // A label of several lines shows each on its own line, in bold.
    tip.SetContent({QStringLiteral("Revue\nProjet : Alpha\nActivité : Dev"), QStringLiteral("Début : 4 mars"), 0});
    const QFontMetrics bold([] {
        QFont f = CMyToolTipCtrl().font();
        f.setBold(true);
        return f;
    }());
    EXPECT_GE(tip.sizeHint().height(), one.height() + 2 * bold.height());
    EXPECT_LT(tip.sizeHint().width(), one.width() + bold.horizontalAdvance(QStringLiteral("Revue Projet : Alpha ")));

    // Without an image list, an icon at its own size.
    CMyToolTipCtrl iconTip;
    QPixmap icon(20, 20);
    icon.fill(Qt::blue);
    iconTip.SetIcon(QIcon(icon), 20);
    iconTip.SetContent({QStringLiteral("Titre"), QStringLiteral(" "), 0});
    iconTip.resize(iconTip.sizeHint());
    EXPECT_EQ(iconTip.IconSize(), 20);
    EXPECT_EQ(iconTip.grab().toImage().pixel(CMyToolTipCtrl::Margin + 10, CMyToolTipCtrl::Margin + 10),
              qRgb(0, 0, 255));
}

// Attached to a window, the tip shows what the provider gives for the
// point Qt asks about, and goes when the mouse leaves.
TEST(CMyToolTipCtrl, AttachedToAWindow)
{
    QWidget grid;
    grid.resize(200, 200);
    grid.show();
    CMyToolTipCtrl tip;
    std::vector<QPoint> asked;
    tip.Attach(&grid, [&asked](const QPoint &pos, tToolTipContent &content) {
        asked.push_back(pos);
        if (pos.y() >= 100)
            return false; // nothing below the rows
        content.title = QStringLiteral("Ligne %1").arg(pos.y() / 20);
        content.description = QStringLiteral("Début : ");
        return true;
    });

    QHelpEvent over(QEvent::ToolTip, QPoint(10, 45), grid.mapToGlobal(QPoint(10, 45)));
    QApplication::sendEvent(&grid, &over);
    EXPECT_TRUE(tip.isVisible());
    EXPECT_EQ(tip.Content().title, QStringLiteral("Ligne 2"));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QPoint(10, 45));

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&grid, &leave);
    EXPECT_FALSE(tip.isVisible());

    QHelpEvent below(QEvent::ToolTip, QPoint(10, 150), grid.mapToGlobal(QPoint(10, 150)));
    QApplication::sendEvent(&grid, &below);
    EXPECT_FALSE(tip.isVisible());
}
