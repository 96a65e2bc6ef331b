#pragma once
#include <QList>
#include <QPointer>
#include <QToolButton>

#include <functional>
#include <optional>

class QFrame;

// A button that shows a colour and lets the user choose another one.
//
// The button shows a swatch of its colour, with the automatic entry's text
// beside it while it is on that entry. Pressing it (click, Space, Alt+Down or
// F4) opens a pop-up under it holding, top to bottom:
//   - the automatic entry (EnableAutomatic): a colour the owner decides,
//     chosen as "no colour of its own";
//   - a grid of swatches, ten to a row (Palette());
//   - the other-colour entry (EnableOtherColors), which asks the desktop's
//     colour dialog for any colour.
// A click on an entry, or the arrow keys and Enter/Space inside the grid,
// choose a colour, close the pop-up and emit colorChosen(). Escape or a click
// outside closes it without a change.
//
// Colours are 0x00BBGGRR values. Typical use by an owner:
//   button->EnableAutomatic(Platform::Texts::get(158), defaultColour);
//   button->EnableOtherColors(Platform::Texts::get(161));
//   button->SetColor(stored);            // or SetAutomatic()
//   connect(button, &CColorChoiceButton::colorChosen, ...);
//   ... IsAutomatic() ? AutomaticColor() : Color()
class CColorChoiceButton : public QToolButton
{
    Q_OBJECT
public:
    static constexpr int Columns = 10;

    // Asks the user for any colour, starting from `initial`; no value when
    // the user cancelled. The program's default is the desktop's colour
    // dialog; tests answer here. An empty asker restores the default.
    using ColorAsker = std::function<std::optional<quint32>(QWidget *owner, quint32 initial)>;
    static void SetColorAsker(ColorAsker asker);

    explicit CColorChoiceButton(QWidget *parent = nullptr);
    ~CColorChoiceButton() override;

    // The automatic entry, with its text and colour; until called the
    // pop-up has none.
    void EnableAutomatic(const QString &text, quint32 colour);
    void SetAutomaticColor(quint32 colour);
    // The entry that opens the colour dialog; until called the pop-up has
    // none.
    void EnableOtherColors(const QString &text);

    // Puts the button on a colour of its own (off the automatic entry).
    void SetColor(quint32 colour);
    // Puts the button on its automatic entry.
    void SetAutomatic();

    bool IsAutomatic() const { return m_automatic; }
    // The colour shown: the automatic colour while on the automatic entry.
    quint32 Color() const;
    quint32 AutomaticColor() const { return m_automaticColour; }
    QString AutomaticText() const { return m_automaticText; }
    QString OtherColorsText() const { return m_otherText; }

    // The swatches of the grid, row by row.
    static const QList<quint32> &Palette();

    // Opens the pop-up under the button (what a press does).
    void ShowPopup();
    // The pop-up while it is open, else null.
    QWidget *Popup() const;

    QSize sizeHint() const override;

signals:
    // The user chose an entry (also when it is the colour already shown).
    void colorChosen();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // What the pop-up's entries do (none: the automatic entry).
    void Choose(std::optional<quint32> colour);
    void AskOtherColor();
    QRect SwatchRect() const;

    bool m_automatic = false;
    bool m_hasAutomatic = false;
    quint32 m_colour = 0;
    quint32 m_automaticColour = 0;
    QString m_automaticText;
    QString m_otherText;
    QPointer<QFrame> m_popup;
};
