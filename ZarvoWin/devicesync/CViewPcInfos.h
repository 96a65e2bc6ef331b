#pragma once
#include "CSyncDetailPane.h"

#include <array>

class QLabel;

// What the synchronisation shows of one database before the review: three
// lines under a caption (the device's database or the local one), all set
// by its owner.
class CViewPcInfos : public CSyncDetailPane
{
    Q_OBJECT
public:
    enum ControlId { DialogId = 319, FirstLine = 1029, SecondLine = 1030, ThirdLine = 1032 };

    explicit CViewPcInfos(QWidget *parent = nullptr);

    // Line 0, 1 or 2.
    void SetLine(int line, const QString &text);
    QString Line(int line) const;

private:
    std::array<QLabel *, 3> m_lines{};
};
