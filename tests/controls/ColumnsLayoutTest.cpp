// Columns of a page: side by side, exactly as a horizontal box would place
// them; where they may stack, one under the other, each as wide as the
// page, wherever the width does not hold them, and side by side again once
// it does.
#include "CColumnsLayout.h"

#include <QApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int Gap = 12;

// A page of two columns: texts and fields on the left, a longer text and a
// button on the right.
struct Page
{
    QWidget widget;
    std::vector<QWidget *> children;

    template <class Box>
    static QLayout *column(Box *box, QWidget *owner, const QString &text, const QString &button,
                           std::vector<QWidget *> &children)
    {
        auto *label = new QLabel(text, owner);
        auto *field = new QLineEdit(owner);
        auto *push = new QPushButton(button, owner);
        box->addWidget(label);
        box->addWidget(field);
        box->addWidget(push);
        children.insert(children.end(), {label, field, push});
        return box;
    }
};

void fill(QWidget &owner, QBoxLayout *columns, std::vector<QWidget *> &children, bool plainBox)
{
    QLayout *left = Page::column(new QVBoxLayout, &owner, QStringLiteral("Début souhaité :"),
                                 QStringLiteral("Ajouter"), children);
    QLayout *right = Page::column(new QVBoxLayout, &owner, QStringLiteral("Total estimé des subordonnés :"),
                                  QStringLiteral("Supprimer"), children);
    if (plainBox) {
        columns->addLayout(left, 1);
        columns->addSpacing(Gap);
        columns->addLayout(right, 1);
    } else {
        auto *fitting = static_cast<CColumnsLayout *>(columns);
        fitting->AddColumn(left, 1);
        fitting->AddColumn(right, 1);
    }
}

std::vector<QRect> geometries(const std::vector<QWidget *> &children)
{
    std::vector<QRect> out;
    for (const QWidget *w : children)
        out.push_back(w->geometry());
    return out;
}

} // namespace

TEST(ColumnsLayoutTest, SideBySideAsABoxOneUnderTheOtherWhereNarrow)
{
    QWidget box;
    std::vector<QWidget *> boxChildren;
    auto *plain = new QHBoxLayout(&box);
    fill(box, plain, boxChildren, true);

    QWidget page;
    std::vector<QWidget *> pageChildren;
    auto *columns = new CColumnsLayout(&page, Gap);
    fill(page, columns, pageChildren, false);

    // Side by side: the sizes and every place of a plain box.
    EXPECT_EQ(columns->sizeHint(), plain->sizeHint());
    EXPECT_EQ(columns->SideBySideWidth(), plain->minimumSize().width());
    for (const int extra : {0, 1, 150}) {
        SCOPED_TRACE(extra);
        const QSize size(plain->minimumSize().width() + extra, plain->sizeHint().height() + 20);
        box.resize(size);
        page.resize(size);
        plain->setGeometry(QRect(QPoint(0, 0), size));
        columns->setGeometry(QRect(QPoint(0, 0), size));
        EXPECT_FALSE(columns->Stacked());
        EXPECT_EQ(geometries(pageChildren), geometries(boxChildren));
    }
    // Not allowed to stack, it is a box even where the width is short.
    EXPECT_EQ(columns->minimumSize(), plain->minimumSize());
    columns->setGeometry(QRect(0, 0, columns->SideBySideWidth() - 50, 2000));
    EXPECT_FALSE(columns->Stacked());

    // Allowed to, the page may be as narrow as its widest column.
    columns->SetMayStack(true);
    EXPECT_LT(columns->minimumSize().width(), plain->minimumSize().width());

    // One pixel short: one under the other, each within the width, and the
    // page asks for both heights.
    const int narrow = columns->SideBySideWidth() - 1;
    columns->setGeometry(QRect(0, 0, columns->SideBySideWidth(), 2000));
    const int heightSideBySide = columns->minimumSize().height();
    columns->setGeometry(QRect(0, 0, narrow, 2000));
    EXPECT_TRUE(columns->Stacked());
    EXPECT_GT(columns->minimumSize().height(), heightSideBySide);
    EXPECT_LE(columns->minimumSize().width(), narrow);
    columns->setGeometry(QRect(0, 0, narrow, 2000));
    for (const QWidget *w : pageChildren) {
        EXPECT_GE(w->geometry().left(), 0);
        EXPECT_LE(w->geometry().right(), narrow - 1);
        EXPECT_GE(w->width(), w->minimumSizeHint().width());
    }
    // The right column's text under the left column's button.
    EXPECT_GE(pageChildren[3]->geometry().top(), pageChildren[2]->geometry().bottom());
    // The size a screen with room gives is still side by side.
    EXPECT_EQ(columns->sizeHint(), plain->sizeHint());

    // Wide again: side by side again, as the box.
    const QSize wide(plain->minimumSize().width() + 40, plain->sizeHint().height());
    plain->setGeometry(QRect(QPoint(0, 0), wide));
    columns->setGeometry(QRect(QPoint(0, 0), wide));
    EXPECT_FALSE(columns->Stacked());
    EXPECT_EQ(columns->minimumSize().height(), heightSideBySide);
    EXPECT_EQ(geometries(pageChildren), geometries(boxChildren));
}

namespace {

// A page of columns of fields of different heights: each column a list of
// children, a tall one where `tall` is set (a text of several lines).
struct StackCase
{
    const char *name;
    std::vector<int> fieldsPerColumn; // a text and a field each
    int gap;
    int spacing; // -1: the style's
    QMargins margins;
    bool tall;
};

} // namespace

// Stacked, the columns ask for the height of them all: laid out at exactly
// the least size they ask for, no child is squeezed below its own least
// height (where the columns asked for the tallest one's height alone, the
// fields would be squeezed rather than scrolled to), and none lies over
// another.
TEST(ColumnsLayoutTest, StackedColumnsAtTheirLeastSizeKeepEveryChildsLeastHeight)
{
    const StackCase cases[] = {
        {"two columns and a gap", {2, 2}, Gap, -1, QMargins(), false},
        {"three columns of one, three and two fields", {1, 3, 2}, Gap, -1, QMargins(), false},
        {"no spacing, margins", {2, 1}, 0, 0, QMargins(9, 7, 9, 11), false},
        {"a column of several lines beside a short one", {1, 1}, Gap, -1, QMargins(4, 4, 4, 4), true},
    };
    for (const StackCase &c : cases) {
        SCOPED_TRACE(c.name);
        QWidget page;
        std::vector<QWidget *> children;
        auto *columns = new CColumnsLayout(&page, c.gap);
        if (c.spacing >= 0)
            columns->setSpacing(c.spacing);
        columns->setContentsMargins(c.margins);
        for (size_t i = 0; i < c.fieldsPerColumn.size(); ++i) {
            auto *column = new QVBoxLayout;
            for (int f = 0; f < c.fieldsPerColumn[i]; ++f) {
                const bool lines = c.tall && i == 0 && f == 0;
                auto *text = new QLabel(lines ? QStringLiteral("Durée prévue :\nDurée supplémentaire :\nDurée "
                                                               "comptabilisée :\nDurée restante :")
                                              : QStringLiteral("Durée effectuée :"),
                                        &page);
                auto *field = new QLineEdit(&page);
                column->addWidget(text);
                column->addWidget(field);
                children.insert(children.end(), {text, field});
            }
            columns->AddColumn(column, 1);
        }
        columns->SetMayStack(true);

        // One pixel short of side by side: stacked.
        columns->setGeometry(QRect(0, 0, columns->SideBySideWidth() - 1, 2000));
        ASSERT_TRUE(columns->Stacked());
        const QSize least = columns->minimumSize();
        page.resize(least);
        columns->setGeometry(QRect(QPoint(0, 0), least));
        EXPECT_TRUE(columns->Stacked());
        int lowest = 0;
        for (const QWidget *w : children) {
            const std::string name = w->metaObject()->className();
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << name;
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
            // One under the other, in the order made, within the page.
            EXPECT_GE(w->geometry().top(), lowest) << name;
            lowest = w->geometry().bottom() + 1;
        }
        EXPECT_LE(lowest, least.height() - c.margins.bottom());
    }
}
