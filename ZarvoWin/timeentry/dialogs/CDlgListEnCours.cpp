#include "CDlgListEnCours.h"

#include "CBdD.h"
#include "CListeTache.h"
#include "ContextHelp.h"
#include "CRunningEntryCards.h"
#include "CWaitCursor.h"
#include "Clock.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "TranslateWidgets.h"
#include "WriteFailureBox.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <vector>

CDlgListEnCours::CDlgListEnCours(QWidget *parent, CRunningCardSource *source)
    : QDialog(parent)
{
    if (!source) {
        m_ownSource = std::make_unique<CRunningEntryCards>();
        source = m_ownSource.get();
    }
    QLabel *icon = MakeQuestionIcon(this);
    auto *prompt = Numbered(new QLabel(this), IdPrompt);
    prompt->setWordWrap(true);
    m_list = Numbered(new CListeTache(this), IdList);
    m_list->SetSource(source);
    // Three cards in view; more scroll.
    m_list->setMinimumSize(360, 3 * CListeTache::CardPitch + 2 * m_list->frameWidth());
    auto *endAll = Numbered(new QPushButton(this), IdEndAll);
    endAll->setIcon(ThemeIcon("media-playback-stop"));
    endAll->setAutoDefault(false);
    auto *cancel = Numbered(new QPushButton(this), IdCancel);
    cancel->setAutoDefault(false);

    auto *question = new QHBoxLayout;
    question->addWidget(icon, 0, Qt::AlignTop);
    question->addWidget(prompt, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(endAll);
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    TranslateDialog(this, DialogId);
    ContextHelp::Install(this, DialogId);
    connect(m_list, &CListeTache::clicked, this, &CDlgListEnCours::EndEntry);
    connect(endAll, &QPushButton::clicked, this, &CDlgListEnCours::EndAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_list->Reload();
    m_list->setFocus();
}

CDlgListEnCours::~CDlgListEnCours() = default;

int CDlgListEnCours::exec()
{
    if (DialogAnswers<CDlgListEnCours> *answers = DialogAnswers<CDlgListEnCours>::Active())
        return answers->Answer(*this);
    return QDialog::exec();
}

QWidget *CDlgListEnCours::Control(int id) const
{
    return FindControl(this, id);
}

bool CDlgListEnCours::EndIfRunning(int id, qint64 end)
{
    CBdD db;
    tTacheFull entry;
    bool failed = false;
    if (!db.GetTimeEntry(entry, id, &failed))
        return !failed; // deleted meanwhile: nothing left to end
    // Ended meanwhile: its end stays the one it was given.
    if (entry.Fin != 0)
        return true;
    return db.StopTimeEntry(id, end);
}

void CDlgListEnCours::EndEntry(int id)
{
    if (id == -1)
        return;
    bool ended = false;
    {
        const CWaitCursor wait;
        ended = EndIfRunning(id, Platform::Clock::now());
    }
    if (ended)
        accept();
    else
        Failed();
}

void CDlgListEnCours::EndAll()
{
    const qint64 now = Platform::Clock::now();
    std::vector<int> ids;
    for (const tRunningCard &card : m_list->Cards())
        ids.push_back(card.id);
    bool ended = true;
    {
        const CWaitCursor wait;
        for (int id : ids) {
            if (!EndIfRunning(id, now)) {
                ended = false;
                break;
            }
        }
    }
    if (ended)
        accept();
    else
        Failed();
}

void CDlgListEnCours::Failed()
{
    ShowEntryWriteFailure(this);
    // What has ended leaves the list; what still runs can be tried again.
    m_list->Reload();
}
