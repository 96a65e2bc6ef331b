#pragma once
#include <QHeaderView>

// A column header 40 pixels high whatever its font, room for the large
// images of its columns, which it draws as the standard header does.
class CMyFatHeader : public QHeaderView
{
    Q_OBJECT
public:
    static constexpr int kHeight = 40;

    explicit CMyFatHeader(QWidget *parent = nullptr);

    QSize sizeHint() const override;
};
