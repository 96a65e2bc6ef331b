#pragma once
#include <QtGlobal>

class CColorChoiceButton;
class CColorStatic;
class CReadOnlyCB;
class QGridLayout;
class QLabel;
class QWidget;

// The colour of a user's tasks as the new-user wizard and the user dialog
// edit it: a kind (the project's colour, the activity's, or "other"), a
// colour button with an automatic entry shown only for "other", and a
// preview of a text on that colour. The controls are made as children of
// the owner and put in its grid; they carry their control ids (label 1016,
// kind 1077, preview label 1018, preview 1456), so the owner's translation
// gives them their texts; the button (1086) only has its number as its
// object name.
class UserColourControls
{
public:
    enum Control { ColourLabel = 1016, Kind = 1077, Button = 1086, PreviewLabel = 1018, Preview = 1456 };

    // Adds three rows to `grid` from `row` on, labels in column 0 and
    // controls in column 1; `automaticColour` is the colour of the
    // button's automatic entry.
    UserColourControls(QWidget *owner, QGridLayout *grid, int row, quint32 automaticColour);

    // The kind texts (159, 160, 161) and the button's entries (158, 161),
    // again after a change of language.
    void Translate();

    // Shows a stored kind and colour: 1 project, 2 activity, 3 "other" on
    // `colour`, 0 "other" on the automatic entry.
    void SetUser(int typeColor, quint32 colour);
    // The kind and colour shown, in the same terms (the automatic colour
    // while the button is on its automatic entry).
    int TypeColor() const;
    quint32 Colour() const;

    CReadOnlyCB *KindCombo() const { return m_kind; }
    CColorChoiceButton *ColourButton() const { return m_button; }
    CColorStatic *PreviewStatic() const { return m_preview; }
    QLabel *PreviewCaption() const { return m_previewLabel; }

private:
    void ShowForKind();
    void ShowPreview();

    CReadOnlyCB *m_kind = nullptr;
    CColorChoiceButton *m_button = nullptr;
    QLabel *m_previewLabel = nullptr;
    CColorStatic *m_preview = nullptr;
};
