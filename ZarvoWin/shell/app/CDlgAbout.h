#pragma once
#include <QDialog>
#include <QFont>
#include <QPixmap>
#include <QtGlobal>

class CMyStatic;

// The about box: the start-up picture, the program's name and version in a
// large bold coloured font, a line on what the program is for, and OK.
class CDlgAbout : public QDialog
{
    Q_OBJECT
public:
    enum { DialogId = 448, PictureId = 387, TitleControl = 1267, LineControl = 1268, OkButton = 1 };
    // The title's colour, 0x00BBGGRR.
    static constexpr quint32 TitleColour = 0x008F471F;

    explicit CDlgAbout(QWidget *parent = nullptr);

    // The start-up picture above the band where the splash shows its
    // progress.
    static QPixmap Picture();
    // "<product>\n\n<Version> a.b.c" from the two halves of a file version
    // (a<<16|b, c<<16|d); the fourth number is not shown.
    static QString TitleText(const QString &product, quint32 versionHigh, quint32 versionLow);
    // The two fonts, derived from `base`: 1.5 times its size in bold for the
    // title, 1.2 times in the normal weight for the line below.
    static QFont TitleFont(const QFont &base);
    static QFont LineFont(const QFont &base);

    CMyStatic *Title() const { return m_title; }
    CMyStatic *Line() const { return m_line; }

private:
    CMyStatic *m_title = nullptr;
    CMyStatic *m_line = nullptr;
};
