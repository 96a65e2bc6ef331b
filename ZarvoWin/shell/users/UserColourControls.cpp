#include "UserColourControls.h"

#include "CColorChoiceButton.h"
#include "CColorStatic.h"
#include "CReadOnlyCB.h"
#include "OptionPageTools.h"
#include "Texts.h"
#include "UiUtilities.h"

#include <QGridLayout>
#include <QSignalBlocker>
#include <QLabel>

using OptionPageTools::Numbered;

namespace {
// The entries of the kind list, in order; the third is "other".
constexpr int OtherIndex = 2;
} // namespace

UserColourControls::UserColourControls(QWidget *owner, QGridLayout *grid, int row, quint32 automaticColour)
{
    auto *label = Numbered(new QLabel(owner), ColourLabel);
    m_kind = Numbered(new CReadOnlyCB(owner), Kind);
    label->setBuddy(m_kind);
    // Found by its number, but given no text: it shows a colour.
    m_button = new CColorChoiceButton(owner);
    m_button->setObjectName(QString::number(Button));
    m_button->EnableAutomatic(QString(), automaticColour);
    m_previewLabel = Numbered(new QLabel(owner), PreviewLabel);
    m_preview = Numbered(new CColorStatic(owner), Preview);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setMinimumHeight(owner->fontMetrics().height() * 2);
    m_preview->setFrameShape(QFrame::Box);

    grid->addWidget(label, row, 0);
    grid->addWidget(m_kind, row, 1);
    grid->addWidget(m_button, row + 1, 1, Qt::AlignLeft);
    grid->addWidget(m_previewLabel, row + 2, 0);
    grid->addWidget(m_preview, row + 2, 1);

    Translate();
    m_kind->setCurrentIndex(0);
    m_button->SetAutomatic();
    QObject::connect(m_kind, &QComboBox::currentIndexChanged, m_kind, [this] { ShowForKind(); });
    QObject::connect(m_button, &CColorChoiceButton::colorChosen, m_button, [this] { ShowPreview(); });
    ShowForKind();
}

void UserColourControls::Translate()
{
    const int index = m_kind->currentIndex();
    OptionPageTools::FillTextCombo(m_kind, QList<Platform::TextId>{159, 160, 161}, {}, index < 0 ? 0 : index);
    m_button->EnableAutomatic(Platform::Texts::get(158), m_button->AutomaticColor());
    m_button->EnableOtherColors(Platform::Texts::get(161));
}

void UserColourControls::SetUser(int typeColor, quint32 colour)
{
    const QSignalBlocker blocker(m_kind);
    switch (typeColor) {
    case 1:
        m_kind->setCurrentIndex(0);
        m_button->SetColor(colour);
        break;
    case 2:
        m_kind->setCurrentIndex(1);
        m_button->SetColor(colour);
        break;
    case 0:
        m_kind->setCurrentIndex(OtherIndex);
        m_button->SetAutomatic();
        break;
    default:
        m_kind->setCurrentIndex(OtherIndex);
        m_button->SetColor(colour);
        break;
    }
    ShowForKind();
}

int UserColourControls::TypeColor() const
{
    switch (m_kind->currentIndex()) {
    case 0:
        return 1;
    case 1:
        return 2;
    default:
        return m_button->IsAutomatic() ? 0 : 3;
    }
}

quint32 UserColourControls::Colour() const
{
    return m_button->Color();
}

void UserColourControls::ShowForKind()
{
    const bool other = m_kind->currentIndex() >= OtherIndex;
    m_button->setVisible(other);
    m_previewLabel->setVisible(other);
    m_preview->setVisible(other);
    ShowPreview();
}

void UserColourControls::ShowPreview()
{
    const quint32 background = m_button->Color();
    m_preview->SetBkColor(background);
    m_preview->SetTextColor(GetContrastTextColor(background));
}
