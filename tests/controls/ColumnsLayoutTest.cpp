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
