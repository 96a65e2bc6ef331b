#pragma once
#include "TextFormatFlags.h"

#include <QFont>
#include <QWidget>
#include <optional>

// A text painted by the control itself on a background colour, in a text
// colour, in a font of its own when one is set (else the widget's font),
// placed by the text-drawing flags of TextFormatFlags, which are turned
// into Qt's once when they are set.
class CMyStatic : public QWidget
{
    Q_OBJECT
public:
    explicit CMyStatic(QWidget *parent = nullptr);

    void SetText(const QString &text);
    QString Text() const { return m_text; }
    // Colours are 0x00BBGGRR; white and black until set.
    void SetBkColor(quint32 colour);
    void SetTextColor(quint32 colour);
    // The font the text is drawn in, kept by the control.
    void SetOwnFont(const QFont &font);
    void ClearOwnFont();
    bool HasOwnFont() const { return m_ownFont.has_value(); }
    void SetTextFormat(quint32 flags);
    quint32 TextFormat() const { return m_formatFlags; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont DrawingFont() const;

    QString m_text;
    quint32 m_background = 0xFFFFFF;
    quint32 m_textColour = 0;
    std::optional<QFont> m_ownFont;
    quint32 m_formatFlags = 0;
    TextFormatFlags::Mapped m_format;
};
