#include "CDlgColumnDetail.h"

#include "CMyEdit.h"
#include "ContextHelp.h"
#include "CReadOnlyCB.h"
#include "DialogAnswers.h"
#include "EntryDialogWidgets.h"
#include "ReportColumnCatalogue.h"
#include "Texts.h"
#include "TranslateWidgets.h"
#include "UiUtilities.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The combo's items: empty (-1), "Gauche" (0), "Centre" (2), "Droite" (1).
constexpr int comboAligns[] = {-1, 0, 2, 1};

QLineEdit *readOnly(QWidget *parent, int id)
{
    auto *edit = Numbered(new QLineEdit(parent), id);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::ClickFocus);
    return edit;
}

QPushButton *button(QWidget *parent, int id)
{
    auto *b = Numbered(new QPushButton(parent), id);
    b->setAutoDefault(false);
    return b;
}

} // namespace

QString CDlgColumnDetail::AlignmentName(int align)
{
    static const Platform::TextId names[] = {363, 365, 364};
    return align >= 0 && align <= 2 ? Platform::Texts::get(names[align]) : QString();
}

CDlgColumnDetail::CDlgColumnDetail(bool generalMode, tReportColumn &column, QWidget *parent)
    : QDialog(parent)
    , m_general(generalMode)
    , m_column(column)
    , m_edited(column)
{
    const int kind = column.Kind;
    auto *defaults = Numbered(new QGroupBox(this), DefaultGroup);
    auto *general = Numbered(new QGroupBox(this), GeneralGroup);
    auto *current = Numbered(new QGroupBox(this), CurrentGroup);

    auto *defaultGrid = new QGridLayout(defaults);
    defaultGrid->addWidget(Numbered(new QLabel(defaults), 1288), 0, 0);
    defaultGrid->addWidget(readOnly(defaults, LanguageCaption), 0, 1);
    defaultGrid->addWidget(Numbered(new QLabel(defaults), 1005), 1, 0);
    defaultGrid->addWidget(readOnly(defaults, Description), 1, 1);
    defaultGrid->addWidget(Numbered(new QLabel(defaults), 1289), 2, 0);
    defaultGrid->addWidget(readOnly(defaults, LanguageAlign), 2, 1);
    defaultGrid->setColumnStretch(1, 1);

    // The editable caption and alignment: the current report's, or in
    // general mode those of every report in place of their read-only copy.
    QWidget *editHost = generalMode ? general : current;
    m_caption = Numbered(new CMyEdit(editHost), CaptionEdit);
    m_caption->SetCaptionMode();
    m_align = Numbered(new CReadOnlyCB(editHost), AlignCombo);
    QPushButton *clearCaption = button(editHost, ClearCaption);
    QPushButton *clearAlign = button(editHost, ClearAlign);

    auto *generalGrid = new QGridLayout(general);
    generalGrid->addWidget(Numbered(new QLabel(general), 1287), 0, 0);
    generalGrid->addWidget(Numbered(new QLabel(general), 1292), 1, 0);
    generalGrid->setColumnStretch(1, 1);
    if (generalMode) {
        generalGrid->addWidget(m_caption, 0, 1);
        generalGrid->addWidget(clearCaption, 0, 2);
        generalGrid->addWidget(m_align, 1, 1);
        generalGrid->addWidget(clearAlign, 1, 2);
        current->hide();
    } else {
        generalGrid->addWidget(readOnly(general, GeneralCaption), 0, 1, 1, 2);
        generalGrid->addWidget(readOnly(general, GeneralAlign), 1, 1, 1, 2);
        auto *currentGrid = new QGridLayout(current);
        currentGrid->addWidget(Numbered(new QLabel(current), 1285), 0, 0);
        currentGrid->addWidget(m_caption, 0, 1);
        currentGrid->addWidget(clearCaption, 0, 2);
        currentGrid->addWidget(Numbered(new QLabel(current), 1286), 1, 0);
        currentGrid->addWidget(m_align, 1, 1);
        currentGrid->addWidget(clearAlign, 1, 2);
        currentGrid->setColumnStretch(1, 1);
    }

    QPushButton *ok = button(this, IdOk);
    ok->setDefault(true);
    QPushButton *cancel = button(this, IdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(defaults);
    layout->addWidget(general);
    if (!generalMode)
        layout->addWidget(current);
    layout->addStretch(1);
    QHBoxLayout *buttons = ButtonRow({ok, cancel});
    ContextHelp::Install(this, DialogId);
    ContextHelp::AddButton(buttons, this);
    layout->addLayout(buttons);

    TranslateDialog(this, DialogId);
    m_align->addItem(QString(), -1);
    for (int align : {0, 2, 1})
        m_align->addItem(AlignmentName(align), align);

    Field(LanguageAlign)->setText(AlignmentName(GetReportColumnDefaultAlign(kind)));
    Field(Description)->setText(GetReportColumnDescription(kind));
    Field(LanguageCaption)->setText(GetReportColumnCaption(kind));
    if (!generalMode) {
        Field(GeneralAlign)->setText(AlignmentName(GetReportColumnAlignOverride(kind)));
        Field(GeneralCaption)->setText(GetReportColumnCaptionOverride(kind));
    }
    m_caption->setText(column.Caption);
    SelectAlignment(column.Align);

    connect(clearCaption, &QPushButton::clicked, this, [this] { OnClearCaption(); });
    connect(clearAlign, &QPushButton::clicked, this, [this] { OnClearAlign(); });
    connect(m_align, &QComboBox::activated, this,
            [this](int index) { m_edited.Align = index >= 0 && index < 4 ? comboAligns[index] : -1; });
    connect(ok, &QPushButton::clicked, this, [this] { OnOk(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    adjustSize();
}

QLineEdit *CDlgColumnDetail::Field(int id) const
{
    return qobject_cast<QLineEdit *>(FindControl(this, id));
}

int CDlgColumnDetail::exec()
{
    int result = 0;
    if (DialogAnswers<CDlgColumnDetail>::AnswerInstead(*this, result))
        return result;
    return QDialog::exec();
}

void CDlgColumnDetail::SelectAlignment(int align)
{
    int index = 0;
    for (int i = 0; i < 4; ++i) {
        if (comboAligns[i] == align)
            index = i;
    }
    m_align->setCurrentIndex(index);
}

void CDlgColumnDetail::OnClearCaption()
{
    m_edited.Caption.clear();
    m_caption->clear();
}

void CDlgColumnDetail::OnClearAlign()
{
    m_align->setCurrentIndex(0);
    m_edited.Align = -1;
}

void CDlgColumnDetail::OnOk()
{
    m_edited.Caption = m_caption->text();
    // The separator of stored lists never gets into a caption.
    m_edited.Caption.remove(u'|');
    const int index = m_align->currentIndex();
    m_edited.Align = index >= 0 && index < 4 ? comboAligns[index] : -1;
    m_column.Caption = m_edited.Caption;
    m_column.Align = m_edited.Align;
    accept();
}
