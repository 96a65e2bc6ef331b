#pragma once
#include <QWidget>

#include <array>
#include <functional>

// A bar showing how much of a planned amount of time has been used, with
// "used / planned = percentage" (or the percentage alone) written over it.
// The control knows no settings: its owner hands it the colours, the
// middle colour's place and the functions that write durations and
// percentages, and sets the amounts, then calls update().
class CRestant : public QWidget
{
    Q_OBJECT
public:
    // Writes an amount with the two display flags (in working days,
    // compact).
    using DurationText = std::function<QString(qint64 amount, bool inDays, bool compact)>;
    // Writes a ratio as a percentage.
    using PercentText = std::function<QString(double ratio)>;

    explicit CRestant(QWidget *parent = nullptr);

    qint64 planned = 0;
    qint64 used = 0;
    double ratio = 0;
    bool useRatio = false; // show `ratio` instead of used / planned
    bool inDays = false;
    bool compact = false;

    // Start, middle and end colours (0x00BBGGRR) and the middle colour's
    // place in percent of the width.
    void SetColours(const std::array<quint32, 3> &colours, int midPercent);
    void SetTextFunctions(DurationText duration, PercentText percent);

    // The text written over the bar (empty without data or functions).
    QString Text() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<quint32, 3> m_colours{0x00FF00, 0x00FFFF, 0x0000FF};
    int m_midPercent = 50;
    DurationText m_durationText;
    PercentText m_percentText;
};
