#include "TaskButtonLayout.h"

#include <algorithm>

QString TaskButtonLayout::Fitted(const QString &text, int width, const std::function<int(const QString &)> &textWidth)
{
    // Titles have no length limit: only a part of the text about as wide
    // as the box is ever measured, so a pasted page costs no more than a
    // line. The part doubles until it is wider than the box.
    qsizetype part = 32;
    while (part < text.size() && textWidth(text.left(part)) <= width)
        part *= 2;
    if (part >= text.size() && textWidth(text) <= width)
        return text;
    part = std::min(part, text.size());
    // The longest beginning that leaves room for "...", found by halving.
    const QString dots = QStringLiteral("...");
    const int room = width - std::max(textWidth(dots), 0);
    qsizetype fits = 0;
    qsizetype wider = part + 1;
    while (wider - fits > 1) {
        const qsizetype middle = (fits + wider) / 2;
        if (textWidth(text.left(middle)) <= room)
            fits = middle;
        else
            wider = middle;
    }
    // Never half of a surrogate pair.
    if (fits > 0 && text.at(fits - 1).isHighSurrogate())
        --fits;
    return text.left(fits) + dots;
}

std::vector<TaskButtonLayout::tLine> TaskButtonLayout::Lines(const tInput &in)
{
    const bool withTitle = !in.title.isEmpty();
    const int count = withTitle ? 5 : 4;
    const QRect &c = in.client;
    const int lineHeight = c.height() / count;
    int labelWidth = 0;
    for (int i = withTitle ? 0 : 1; i < 5; ++i)
        labelWidth = std::max(labelWidth, in.boldWidth(in.labels[i]));
    const QString colon = QStringLiteral(" : ");
    const int colonLeft = c.left() + Inset + labelWidth;
    const int valueLeft = colonLeft + in.textWidth(colon);
    const int valueRight = c.right() - Inset;
    const int valueWidth = valueRight - valueLeft + 1;

    bool dates = in.dateShown;
    if (dates
        && (in.textWidth(in.startWithDate) > valueWidth || (!in.running && in.textWidth(in.endWithDate) > valueWidth)))
        dates = false;

    std::vector<tLine> lines;
    for (int i = 0; i < count; ++i) {
        const int field = withTitle ? i : i + 1;
        const int top = c.top() + i * lineHeight;
        tLine line;
        line.label = in.labels[field];
        line.labelBox = QRect(c.left() + Inset, top, labelWidth, lineHeight);
        line.colonBox = QRect(colonLeft, top, valueLeft - colonLeft, lineHeight);
        QRect value(QPoint(valueLeft, top), QPoint(valueRight, top + lineHeight - 1));
        switch (field) {
        case 0:
            value.setRight(value.right() - PictureRoom);
            line.value = Fitted(in.title, value.width(), in.textWidth);
            break;
        case 1:
        case 2:
            // Clear of the picture on the lines beside it.
            if (top <= c.top() + 30)
                value.setRight(value.right() - PictureRoom);
            line.value = Fitted(field == 1 ? in.project : in.activity, value.width(), in.textWidth);
            break;
        case 3: line.value = dates ? in.startWithDate : in.startTime; break;
        default:
            line.value = in.running ? in.runningText : (dates ? in.endWithDate : in.endTime);
            break;
        }
        line.valueBox = value;
        lines.push_back(line);
    }
    return lines;
}
