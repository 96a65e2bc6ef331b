#pragma once
#include <QLabel>

// A label on a solid background colour of its own (the palette's button
// colour until one is set), with its own text colour (black by default).
class CColorStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CColorStatic(QWidget *parent = nullptr);

    // Colours are 0x00BBGGRR. Setting the background repaints at once.
    void SetBkColor(quint32 colour);
    quint32 BkColor() const { return m_background; }
    void SetTextColor(quint32 colour);
    quint32 TextColor() const { return m_text; }

private:
    void ApplyColours();

    quint32 m_background;
    quint32 m_text = 0;
};
