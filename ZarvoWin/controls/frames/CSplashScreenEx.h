#pragma once
#include "SplashProgress.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QTimer>
#include <QWidget>

#include <array>

// The start-up picture: a frameless window that stays on top, shaped like
// its picture (magenta around it is cut away), with up to three lines of
// text over it and a progress bar that fills while it is shown. It closes
// itself when its time is up or, with CloseOnInput, at the first click or
// key anywhere in the program, and then deletes itself: whoever creates it
// holds it in a QPointer.
//
//     QPointer<CSplashScreenEx> splash =
//         CSplashScreenEx::ShowStartupSplash(frame, version, notice, initialising);
//     ...                        // start-up work
//     CSplashScreenEx::WaitUntilClosed(splash);
class CSplashScreenEx : public QWidget
{
    Q_OBJECT
public:
    // Style bits. The fades and the drop shadow are accepted and ignored:
    // the window shows and hides at once.
    enum Style {
        FadeIn = 0x1,
        FadeOut = 0x2,
        DropShadow = 0x4,
        CenterOnScreen = 0x8,
        CenterOnParent = 0x10,
        CloseOnInput = 0x20,
    };
    static constexpr int kBitmapId = 387;
    static constexpr quint32 kKeyColour = 0xFF00FF;
    static constexpr int kKeyTolerance = 20;
    // The first row of the picture's lower band, where the start-up line
    // and the progress bar are written; above it the picture stands alone.
    static constexpr int kLowerBandTop = 282;
    // The longest wait for the window system to map the window.
    static constexpr int kMappingWait = 500;

    CSplashScreenEx();
    ~CSplashScreenEx() override;

    // Keeps the style and display time (ms; 0 keeps the window until its
    // owner deletes it or, with CloseOnInput, until a click or key) and
    // becomes a tool window of `parent`.
    bool Create(int style, QWidget *parent, int displayTime);

    // Picture 387 (or the given one): sets the size, the place on the
    // screen or over the parent, and the window's shape. False, with no
    // shape, when the picture is missing.
    bool SetBitmap();
    bool SetBitmap(const QImage &picture);

    // Line 0, 1 or 2; repaints at once.
    void SetText(int index, const QString &text);
    void SetTextFont(int index, const QFont &font);
    // Rectangle with exclusive right and bottom, in the picture's pixels.
    void SetTextRect(int index, int left, int top, int right, int bottom);
    // Qt alignment and text flags (default: centred, single line).
    void SetTextFormat(int index, int flags);
    void SetTextColour(int index, quint32 colorRef);
    // The progress bar, exclusive right and bottom.
    void SetProgressBar(quint32 colorRef, int left, int top, int right, int bottom);

    // Shows the window, painted on the screen when this returns (after at
    // most kMappingWait ms of the window system's events), and starts its
    // timer (none for a display time of 0).
    void Show();

    // The start-up picture as the program shows it, already on screen:
    // centred on the screen for 3 seconds, the version line (12 points,
    // bold, blue) and a second line (10 points) on the right, the
    // initialising line (8 points, bold, grey) at the bottom left, over the
    // progress bar.
    static CSplashScreenEx *ShowStartupSplash(QWidget *parent, const QString &version, const QString &notice,
                                              const QString &initialising);

    // Runs the events of the program until `window` is destroyed (the
    // splash's own timer or input closes and deletes it). Returns at once
    // for a null window. With a display time of 0 and no CloseOnInput only
    // the owner can end it.
    static void WaitUntilClosed(QObject *window);

    // Hides the window and deletes it once control returns to the event
    // loop.
    void CloseNow();

    int Style() const { return m_style; }
    int DisplayTime() const { return m_displayTime; }
    QString Text(int index) const;
    const QImage &Picture() const { return m_picture; }
    QRegion Shape() const { return m_shape; }
    QPoint Position() const { return m_position; }
    const SplashProgress &Progress() const { return m_progress; }
    const QTimer &Timer() const { return m_timer; }

public slots:
    // The timer's tick: the bar moves on to where the time since the
    // showing puts it (at least one step), or the window closes once its
    // run is over.
    void OnTimer();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Line
    {
        QFont font;
        QString text;
        QRect rect;
        int flags = Qt::AlignCenter | Qt::TextSingleLine;
        quint32 colour = 0;
    };

    bool ValidIndex(int index) const { return index >= 0 && index < 3; }
    void RepaintNow();
    void PaintOnScreen();

    int m_style = 0;
    int m_displayTime = 2000;
    QImage m_picture;
    QRegion m_shape;
    QPoint m_position;
    std::array<Line, 3> m_lines;
    quint32 m_barColour = 0;
    QRect m_bar;
    SplashProgress m_progress;
    QTimer m_timer;
    qint64 m_shownAt = 0; // the program's clock, in ms
    bool m_filtering = false;
};
