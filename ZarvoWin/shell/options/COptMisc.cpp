#include "COptMisc.h"

#include "CConfiguration.h"
#include "COptionsContext.h"
#include "OptionPageTools.h"
#include "Settings.h"
#include "TranslateWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace OptionPageTools;

COptMisc::COptMisc(COptionsContext &context, QWidget *parent)
    : CPrefsSubDlg(DialogId, parent)
    , m_context(context)
{
}

void COptMisc::OnInitDialog()
{
    m_bigIcons = Numbered(new QCheckBox(this), BigIconsCheck);
    m_restore = Numbered(new QPushButton(this), RestoreQuestions);
    m_restore->setAutoDefault(false);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_restore);
    buttonRow->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_bigIcons);
    layout->addSpacing(fontMetrics().height());
    layout->addLayout(buttonRow);
    layout->addStretch(1);

    connect(m_bigIcons, &QCheckBox::clicked, this, [this](bool checked) {
        m_context.Config().bigIcon = checked;
        m_context.ApplyBigIcons(checked);
    });
    connect(m_restore, &QPushButton::clicked, this, [] { ForgetRememberedAnswers(); });

    TranslatePage();
    m_bigIcons->setChecked(m_context.Config().bigIcon);
}

void COptMisc::TranslatePage()
{
    if (!IsCreated() || !m_bigIcons)
        return;
    TranslateDialog(this, DialogId);
}

void COptMisc::ForgetRememberedAnswers()
{
    Platform::Settings settings;
    settings.removePrefix(QStringLiteral("MsgBox/"));
    settings.sync();
}

void COptMisc::OnOK()
{
    CConfiguration &config = m_context.Config();
    config.bigIcon = m_bigIcons->isChecked();
    Platform::Settings settings;
    settings.setInt(u"Config", u"Misc", u"BigIcon", config.bigIcon ? 1 : 0);
    settings.sync();
}
