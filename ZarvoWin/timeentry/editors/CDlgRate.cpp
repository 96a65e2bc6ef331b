#include "CDlgRate.h"
#include "tRate.h"
#include "UiUtilities.h"

#include "CBdD.h"
#include "CMyEdit.h"
#include "ContextHelp.h"
#include "CWaitCursor.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "Formatter.h"
#include "MessageBoxParams.h"
#include "RecordEditorServices.h"
#include "RecordEditorTools.h"
#include "Texts.h"
#include "TranslateWidgets.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <limits>


namespace {

constexpr int HelpTopic = 200;

} // namespace

CDlgRate::CDlgRate(QWidget *parent)
    : QDialog(parent)
{
    m_record.Id = -1;
    m_record.Nom.clear();
    m_record.Commentaire.clear();
    m_record.Valeur = 0.0f;

    m_name = Numbered(new QLineEdit(this), IdName);
    m_name->setMaxLength(tRate::MaxNameLength);
    m_comment = Numbered(new QLineEdit(this), IdComment);
    m_value = Numbered(new CMyEdit(this), IdValue);
    m_value->SetNumberMode(false);
    m_value->SetShowZero(true);
    m_name->setMinimumWidth(m_name->fontMetrics().averageCharWidth() * 36);
    m_value->setMaximumWidth(m_value->fontMetrics().averageCharWidth() * 14);

    auto *grid = new QGridLayout;
    grid->addWidget(Numbered(new QLabel(this), IdNameLabel), 0, 0);
    grid->addWidget(m_name, 0, 1);
    grid->addWidget(Numbered(new QLabel(this), IdCommentLabel), 1, 0);
    grid->addWidget(m_comment, 1, 1);
    grid->addWidget(Numbered(new QLabel(this), IdValueLabel), 2, 0);
    grid->addWidget(m_value, 2, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

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
    layout->addStretch(1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    connect(m_save, &QPushButton::clicked, this, [this] { OnSave(); });
    connect(m_saveClose, &QPushButton::clicked, this, [this] { OnSaveClose(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    // Rates are explained with the activities they are given to.
    ContextHelp::Install(this, [] { return quint32(HelpTopic); });

    TranslateDialog(this, DialogId);
    ShowRecord();
}

void CDlgRate::LoadRate(int id)
{
    if (id == -1) {
        m_record.Id = -1;
        m_record.Nom.clear();
        m_record.Commentaire.clear();
        m_record.Valeur = 0.0f;
    } else {
        CBdD db;
        db.GetRate(m_record, id, true);
    }
    ShowRecord();
}

int CDlgRate::exec()
{
    if (DialogAnswers<CDlgRate> *answers = DialogAnswers<CDlgRate>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

void CDlgRate::ShowRecord()
{
    m_save->setVisible(m_record.Id == -1);
    m_name->setText(m_record.Nom);
    m_comment->setText(m_record.Commentaire);
    m_value->SetDoubleValue(u"%g", double(m_record.Valeur));
    m_name->setFocus();
}

float CDlgRate::ReadValue(const CMyEdit *edit)
{
    const double value = edit->GetDoubleValue();
    // A value a float cannot hold would be written as "inf".
    if (!std::isfinite(value) || std::fabs(value) > double(std::numeric_limits<float>::max()))
        return 0.0f;
    return float(value);
}

void CDlgRate::ReadControls()
{
    m_record.Nom = m_name->text();
    m_record.Commentaire = m_comment->text();
    m_record.Valeur = ReadValue(m_value);
}

bool CDlgRate::Store()
{
    bool saved;
    {
        CWaitCursor wait;
        CBdD db;
        saved = db.SaveRate(m_record);
    }
    if (!saved) {
        RecordEditorTools::ShowWriteFailure(this);
        return false;
    }
    const RecordEditorServices &services = RecordEditorServices::Registered();
    if (services.reloadRates)
        services.reloadRates();
    return true;
}

void CDlgRate::OnSaveClose()
{
    ReadControls();
    if (m_record.Nom.isEmpty()) {
        RecordEditorTools::ShowNameMissing(this);
        return;
    }
    int found = -1;
    if (m_record.Id == -1 && CBdD().FindRateByName(m_record.Nom, found)) {
        const int answer = RecordEditorTools::Ask(
            this, MessageBoxType::YesNoCancel | MessageBoxType::IconQuestion,
            Platform::Formatter::sprintf(Platform::Texts::get(194), {m_record.Nom}), 166);
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

void CDlgRate::OnSave()
{
    ReadControls();
    if (m_record.Nom.isEmpty()) {
        RecordEditorTools::ShowNameMissing(this);
        return;
    }
    int found = -1;
    if (m_record.Id == -1 && CBdD().FindRateByName(m_record.Nom, found)) {
        const int answer = RecordEditorTools::Ask(
            this, MessageBoxType::YesNo | MessageBoxType::IconQuestion,
            Platform::Formatter::sprintf(Platform::Texts::get(194), {m_record.Nom}), 166);
        if (answer == MessageBoxAnswer::Yes)
            m_record.Id = found;
        else if (answer != MessageBoxAnswer::No)
            return;
    }
    if (!Store())
        return;
    m_record.Id = -1;
    m_record.Nom.clear();
    m_record.Commentaire.clear();
    m_record.Valeur = 0.0f;
    ShowRecord();
}
