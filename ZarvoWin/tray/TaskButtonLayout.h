#pragma once
#include <QRect>
#include <QString>

#include <functional>
#include <vector>

// The lines of the current-task button: a bold label column ("Titre",
// "Projet", "Activité", "Début", "Fin"), " : ", and the values, each line an
// equal share of the height. Long names are cut with "..." clear of the
// button's picture at the top right; when a date does not fit, start and end
// both show the time alone. The texts are measured by the caller.
class TaskButtonLayout
{
public:
    // The space the picture keeps free at the right of the top lines.
    static constexpr int PictureRoom = 28;
    static constexpr int Inset = 5;

    struct tInput
    {
        QRect client;
        // Labels: title, project, activity, start, end.
        QString labels[5];
        QString title; // empty: four lines
        QString project;
        QString activity;
        // Start and end with and without the date; the end is empty while
        // the entry runs, which shows `runningText`.
        QString startWithDate, startTime, endWithDate, endTime;
        QString runningText;
        bool running = false;
        bool dateShown = true;
        std::function<int(const QString &)> boldWidth;
        std::function<int(const QString &)> textWidth;
    };
    struct tLine
    {
        QRect labelBox;
        QString label;
        QRect colonBox;
        QRect valueBox;
        QString value;
    };

    static std::vector<tLine> Lines(const tInput &input);
    // The text cut to `width` with "..." (whole when it fits): its longest
    // beginning that leaves room for the dots. Whatever the text's length,
    // only about a box's width of it is measured.
    static QString Fitted(const QString &text, int width, const std::function<int(const QString &)> &textWidth);
};
