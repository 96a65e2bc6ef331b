#include "CComboBoxFiller.h"
#include "CComboBoxSuper.h"
#include "ComboTreeLines.h"

#include "QStringPrinter.h"

#include <QAbstractItemView>
#include <QImage>
#include <QPainter>
#include <QStyleOptionViewItem>
#include <gtest/gtest.h>

namespace {

// Segments written as "x1,y1-x2,y2" in drawing order.
std::vector<QString> written(const std::vector<QLine> &lines)
{
    std::vector<QString> out;
    for (const QLine &l : lines)
        out.push_back(QStringLiteral("%1,%2-%3,%4").arg(l.x1()).arg(l.y1()).arg(l.x2()).arg(l.y2()));
    return out;
}

} // namespace

// 16-pixel icons in 20-pixel rows: a level's column is at 8, 24, 40, the
// middle of a row at 10.
TEST(ComboTreeLines, SegmentsFromTheDepths)
{
    const QRect row(0, 0, 200, 20);
    struct Case
    {
        std::vector<int> depths;
        int index;
        std::vector<QString> segments;
    };
    const Case cases[] = {
        // [1,2,2,1]: the first of two siblings continues, the second ends;
        // both pass the line of their parent's later sibling.
        {{1, 2, 2, 1}, 0, {"8,10-15,10", "8,0-8,19"}},
        {{1, 2, 2, 1}, 1, {"24,10-31,10", "24,0-24,19", "8,0-8,19"}},
        {{1, 2, 2, 1}, 2, {"24,10-31,10", "24,0-24,9", "8,0-8,19"}},
        {{1, 2, 2, 1}, 3, {"8,10-15,10", "8,0-8,9"}},
        // [1,2,3,2]: the deepest item ends and passes its parent's line.
        {{1, 2, 3, 2}, 0, {"8,10-15,10", "8,0-8,9"}},
        {{1, 2, 3, 2}, 1, {"24,10-31,10", "24,0-24,19"}},
        {{1, 2, 3, 2}, 2, {"40,10-47,10", "40,0-40,9", "24,0-24,19"}},
        {{1, 2, 3, 2}, 3, {"24,10-31,10", "24,0-24,9"}},
        // Top-level items (depth 0) carry no lines and end every branch.
        {{0, 1, 0, 1}, 0, {}},
        {{0, 1, 0, 1}, 1, {"8,10-15,10", "8,0-8,9"}},
        // Each shallower level met adds its line once.
        {{1, 2, 3, 3, 2, 1}, 2, {"40,10-47,10", "40,0-40,19", "24,0-24,19", "8,0-8,19"}},
        {{1, 2, 3, 1}, 2, {"40,10-47,10", "40,0-40,9", "8,0-8,19"}},
    };
    for (const Case &c : cases) {
        std::vector<QString> expected;
        for (const QString &s : c.segments)
            expected.push_back(s);
        EXPECT_EQ(written(ComboTreeLines::Segments(c.depths, c.index, row, 16, 16)), expected)
            << "item " << c.index << " of " << c.depths.size();
    }
    // Placed by the row's rectangle and the icon's height.
    EXPECT_EQ(written(ComboTreeLines::Segments({2, 2}, 0, QRect(100, 40, 50, 24), 16, 16)),
              (std::vector<QString>{"124,52-131,52", "124,40-124,63"}));
    EXPECT_TRUE(ComboTreeLines::Segments({1}, 3, row, 16, 16).empty());
}

namespace {

// A combo filled as the data store fills it: "Clients" > "Alpha" >
// "Site", "Beta"; "Interne".
struct Combo
{
    CComboBoxSuper combo;
    Combo()
    {
        CComboBoxFiller filler(&combo, [](int) {
            QPixmap p(16, 16);
            p.fill(Qt::darkGreen);
            return QIcon(p);
        });
        filler.AddItem(QStringLiteral("Clients"), 15, 10, 0);
        filler.AddItem(QStringLiteral("Alpha"), 15, 11, 1);
        filler.AddItem(QStringLiteral("Site"), 23, 12, 2);
        filler.AddItem(QStringLiteral("Beta"), 15, 13, 1);
        filler.AddItem(QStringLiteral("Interne"), 15, 20, 0);
        combo.resize(220, 26);
    }
    // Item `row` of the list painted alone, 200 x 20.
    QImage Item(int row)
    {
        QImage image(200, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        QStyleOptionViewItem option;
        option.initFrom(combo.view());
        option.rect = QRect(0, 0, 200, 20);
        option.state &= ~QStyle::State_Selected;
        option.font = combo.font();
        combo.itemDelegate()->paint(&painter, option, combo.model()->index(row, 0));
        return image;
    }
};

int countColour(const QImage &image, QRgb colour, int column)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        n += image.pixel(column, y) == colour;
    return n;
}

} // namespace

TEST(CComboBoxSuper, ItemRecordsCarryTheFillersRolesAndBold)
{
    Combo c;
    const std::optional<CComboBoxSuper::ComboItemInfo> site = c.combo.GetItemInfo(2);
    ASSERT_TRUE(site);
    EXPECT_EQ(site->image, 23);
    EXPECT_EQ(site->itemId, 12);
    EXPECT_EQ(site->depth, 2);
    EXPECT_FALSE(site->bold);
    EXPECT_FALSE(c.combo.GetItemInfo(5));
    EXPECT_FALSE(c.combo.GetItemInfo(-1));

    c.combo.addItem(QStringLiteral("added by hand"));
    const std::optional<CComboBoxSuper::ComboItemInfo> plain = c.combo.GetItemInfo(5);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->image, -1);
    EXPECT_EQ(plain->depth, 0);

    CComboBoxSuper::ComboItemInfo bold = *site;
    bold.bold = true;
    c.combo.SetItemInfo(2, bold);
    EXPECT_TRUE(c.combo.GetItemInfo(2)->bold);
    const QImage boldItem = c.Item(2);
    c.combo.SetItemInfo(2, *site);
    EXPECT_NE(boldItem, c.Item(2));
}

TEST(CComboBoxSuper, TheListDrawsGreyTreeLinesByDepth)
{
    Combo c;
    const QRgb grey = qRgb(0xC0, 0xC0, 0xC0);
    // "Alpha" (depth 1, a later sibling "Beta"): a full line at 8.
    EXPECT_EQ(countColour(c.Item(1), grey, 9), 20);
    // "Site" (depth 2, the last child): its branch stops at the middle,
    // and Alpha's line goes on past it at level 1.
    EXPECT_EQ(countColour(c.Item(2), grey, 9), 20);
    EXPECT_GT(countColour(c.Item(2), grey, 25), 5);
    EXPECT_LT(countColour(c.Item(2), grey, 25), 15);
    // Top-level items have none; without tree lines nobody has.
    EXPECT_EQ(countColour(c.Item(0), grey, 9), 0);
    c.combo.SetTreeLines(false);
    EXPECT_EQ(countColour(c.Item(1), grey, 9), 0);
}

TEST(CComboBoxSuper, TheClosedFieldShowsTheFullName)
{
    Combo c;
    c.combo.setCurrentIndex(2);
    EXPECT_EQ(c.combo.FieldText(2), QStringLiteral("Site"));
    std::vector<qlonglong> asked;
    c.combo.SetFullNameProvider([&asked](qlonglong id) {
        asked.push_back(id);
        return id == 12 ? QStringLiteral("Clients / Alpha / Site") : QString();
    });
    EXPECT_EQ(c.combo.FieldText(2), QStringLiteral("Site")); // until asked for
    c.combo.SetShowFullName(true);
    EXPECT_EQ(c.combo.FieldText(2), QStringLiteral("Clients / Alpha / Site"));
    EXPECT_EQ(c.combo.FieldText(4), QStringLiteral("Interne")); // no full name: its own text
    EXPECT_EQ(c.combo.FieldText(9), QString());

    // The field is painted from it: a shorter name paints less ink.
    c.combo.show();
    auto ink = [&c] {
        const QImage shot = c.combo.grab().toImage();
        const QRgb text = c.combo.palette().color(QPalette::ButtonText).rgb();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixel(x, y) == text;
        return n;
    };
    const int full = ink();
    c.combo.SetShowFullName(false);
    EXPECT_LT(ink(), full);
}
