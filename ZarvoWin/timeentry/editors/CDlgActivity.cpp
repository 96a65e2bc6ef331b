#include "CDlgActivity.h"

#include "CBdD.h"
#include "CColorChoiceButton.h"
#include "CColorStatic.h"
#include "CDlgRate.h"
#include "ContextHelp.h"
#include "CReadOnlyCB.h"
#include "CWaitCursor.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RecordEditorTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>


namespace {

void resetRecord(tElement &record)
{
    record.Reset();
    record.Nom.clear();
    record.Commentaire.clear();
    record.Color = 0;
    record.IdTauxHoraire = -1;
}

} // namespace

CDlgActivity::CDlgActivity(QWidget *parent)
    : QDialog(parent)
{
    resetRecord(m_record);

    m_name = Numbered(new QLineEdit(this), IdName);
    m_name->setMaxLength(tElement::MaxNameLength);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 36);
    m_comment = Numbered(new QLineEdit(this), IdComment);
    m_sample = Numbered(new CColorStatic(this), IdSample);
    m_sample->setAlignment(Qt::AlignCenter);
    m_sample->setMinimumHeight(m_sample->fontMetrics().height() * 2);
    m_rate = Numbered(new CReadOnlyCB(this), IdRate);
    auto *addRate = Numbered(new QPushButton(this), IdAddRate);
    addRate->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(Numbered(new QLabel(this), IdNameLabel), 0, 0);
    grid->addWidget(m_name, 0, 1, 1, 2);
    grid->addWidget(Numbered(new QLabel(this), IdCommentLabel), 1, 0);
    grid->addWidget(m_comment, 1, 1, 1, 2);
    auto *colourLabel = Numbered(new QLabel(this), IdColourLabel);
    grid->addWidget(colourLabel, 2, 0);
    // Found by its number, but given no text: it shows a colour.
    m_colourButton = new CColorChoiceButton(this);
    m_colourButton->setObjectName(QString::number(IdColour));
    m_colourButton->EnableAutomatic(Platform::Texts::get(276), 0);
    m_colourButton->EnableOtherColors(Platform::Texts::get(161));
    colourLabel->setBuddy(m_colourButton);
    grid->addWidget(m_colourButton, 2, 1, 1, 2, Qt::AlignLeft);
    grid->addWidget(Numbered(new QLabel(this), IdSampleLabel), 3, 0);
    grid->addWidget(m_sample, 3, 1, 1, 2);
    grid->setColumnStretch(1, 1);

    auto *rates = Numbered(new QGroupBox(this), IdRateGroup);
    auto *rateRow = new QHBoxLayout(rates);
    rateRow->addWidget(Numbered(new QLabel(rates), IdRateLabel));
    rateRow->addWidget(m_rate, 1);
    rateRow->addWidget(addRate);

    m_save = Numbered(new QPushButton(this), IdSave);
    m_save->setAutoDefault(false);
    m_saveClose = Numbered(new QPushButton(this), IdSaveClose);
    m_saveClose->setDefault(true);
    auto *close = Numbered(new QPushButton(this), IdClose);
    close->setAutoDefault(false);
    auto *buttons = ButtonRow({m_save, m_saveClose, close});
    ContextHelp::AddButton(buttons, this);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(rates);
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // Tab runs down the fields as they read.
    QWidget *const order[] = {m_name, m_comment, m_colourButton, m_rate, addRate, m_save, m_saveClose, close};
    for (size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    connect(m_colourButton, &CColorChoiceButton::colorChosen, this,
            [this] { OnColourChosen(m_colourButton->IsAutomatic(), m_colourButton->Color()); });
    connect(addRate, &QPushButton::clicked, this, [this] { OnAddRate(); });
    connect(m_save, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(m_saveClose, &QPushButton::clicked, this, [this] { OnSaveClose(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    ContextHelp::Install(this, DialogId);

    TranslateDialog(this, DialogId);
}

void CDlgActivity::LoadActivity(int id)
{
    if (id == -1) {
        resetRecord(m_record);
        return;
    }
    CBdD db;
    db.GetElement(false, id, m_record, true);
}

int CDlgActivity::exec()
{
    Prepare();
    if (DialogAnswers<CDlgActivity> *answers = DialogAnswers<CDlgActivity>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgActivity::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    m_save->setVisible(m_record.Id == -1);
    RecordEditorTools::FillRateList(m_rate, m_record.IdTauxHoraire);
    if (m_rate->currentIndex() < 0)
        m_record.IdTauxHoraire = -1;
    m_name->setText(m_record.Nom);
    m_comment->setText(m_record.Commentaire);
    m_automatic = GetRandomLightColor();
    m_colourButton->SetAutomaticColor(m_automatic);
    if (m_record.Id == -1) {
        m_record.Color = m_automatic;
        m_colourButton->SetAutomatic();
    } else {
        m_colourButton->SetColor(m_record.Color);
    }
    ShowColour(m_record.Color);
    m_name->setFocus();
    if (m_record.Id != -1)
        m_saveClose->setDefault(true);
}

void CDlgActivity::ShowColour(quint32 colour)
{
    m_colour = colour;
    m_sample->SetBkColor(colour);
    m_sample->SetTextColor(GetContrastTextColor(colour));
}

void CDlgActivity::OnColourChosen(bool automatic, quint32 colour)
{
    ShowColour(automatic ? m_automatic : colour);
}

void CDlgActivity::OnAddRate()
{
    // The row chosen now stays chosen unless a new rate takes its place.
    const int chosen = RecordEditorTools::SelectedData(m_rate);
    CDlgRate editor(this);
    editor.exec();
    m_record.IdTauxHoraire = editor.Record().Id != -1 ? editor.Record().Id : chosen;
    RecordEditorTools::FillRateList(m_rate, m_record.IdTauxHoraire);
}

void CDlgActivity::ReadControls()
{
    m_record.Nom = m_name->text();
    m_record.Commentaire = m_comment->text();
    m_record.Color = m_colour;
    m_record.IdTauxHoraire = RecordEditorTools::SelectedData(m_rate);
}

bool CDlgActivity::Store()
{
    bool saved;
    {
        CWaitCursor wait;
        CBdD db;
        saved = db.SaveActivity(m_record);
    }
    if (!saved)
        RecordEditorTools::ShowWriteFailure(this);
    return saved;
}

void CDlgActivity::OnSaveClose()
{
    ReadControls();
    if (m_record.Nom.isEmpty()) {
        RecordEditorTools::ShowNameMissing(this);
        return;
    }
    int found = -1;
    if (m_record.Id == -1 && CBdD().FindActivityByName(m_record.Nom, found)) {
        const int answer = RecordEditorTools::Ask(
            this, MessageBoxType::YesNoCancel | MessageBoxType::IconQuestion,
            Platform::Formatter::sprintf(Platform::Texts::get(196), {m_record.Nom}), 166);
        if (answer == MessageBoxAnswer::No) {
            reject();
            return;
        }
        if (answer != MessageBoxAnswer::Yes)
            return;
        m_record.Id = found;
    }
    if (Store())
        accept();
}

void CDlgActivity::OnSave()
{
    ReadControls();
    if (m_record.Nom.isEmpty()) {
        RecordEditorTools::ShowNameMissing(this);
        return;
    }
    int found = -1;
    if (m_record.Id == -1 && CBdD().FindActivityByName(m_record.Nom, found)) {
        const int answer = RecordEditorTools::Ask(
            this, MessageBoxType::YesNo | MessageBoxType::IconQuestion,
            Platform::Formatter::sprintf(Platform::Texts::get(196), {m_record.Nom}), 166);
        if (answer != MessageBoxAnswer::Yes)
            return;
        m_record.Id = found;
    }
    if (!Store())
        return;
    m_record.Id = -1;
    m_record.Nom.clear();
    m_record.Commentaire.clear();
    m_name->clear();
    m_comment->clear();
    m_automatic = GetRandomLightColor();
    m_colourButton->SetAutomaticColor(m_automatic);
    m_colourButton->SetAutomatic();
    ShowColour(m_automatic);
    m_name->setFocus();
}
