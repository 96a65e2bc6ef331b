#include "CViewDetailSynchro.h"

#include "CColorStatic.h"
#include "CImgFromListe.h"
#include "CMyEdit.h"
#include "Texts.h"
#include "UiUtilities.h"
#include "WidgetIds.h"
#include "tElement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>

namespace {

using Line = SyncDetailTexts::Line;

CMyEdit *readOnlyEdit(QWidget *parent)
{
    auto *edit = new CMyEdit(parent);
    edit->SetIdentifierMode();
    edit->setReadOnly(true);
    return edit;
}

void showText(QLineEdit *edit, const QString &text)
{
    edit->setText(text);
    edit->setCursorPosition(0);
}

// A field and what stands beside it, as one line's widget.
QWidget *lineWith(QWidget *parent, QWidget *first, QWidget *second)
{
    auto *line = new QWidget(parent);
    auto *layout = new QHBoxLayout(line);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(first, 1);
    if (second)
        layout->addWidget(second);
    return line;
}

} // namespace

CViewDetailSynchro::CViewDetailSynchro(QWidget *parent)
    : CSyncDetailPane(DialogId, parent)
{
    QWidget *group = Grid()->parentWidget();
    m_name = readOnlyEdit(group);
    m_rate = readOnlyEdit(group);
    m_title = readOnlyEdit(group);
    m_type = readOnlyEdit(group);
    m_parent = readOnlyEdit(group);
    m_activity = readOnlyEdit(group);
    m_comment = new QPlainTextEdit(group);
    m_comment->setReadOnly(true);
    m_comment->setTabChangesFocus(true);
    m_swatch = new CColorStatic(group);
    m_swatch->setFixedSize(m_name->sizeHint().height(), m_name->sizeHint().height());
    m_swatch->setFrameShape(QFrame::Box);
    m_typeImage = new CImgFromListe(group);
    m_typeImage->setFixedWidth(20);

    struct LineParts
    {
        Line line;
        int labelId;
        QWidget *field;
        int fieldId;
    };
    const LineParts parts[] = {
        {SyncDetailTexts::NameLine, NameLabel, m_name, NameField},
        {SyncDetailTexts::CommentLine, CommentLabel, m_comment, CommentField},
        {SyncDetailTexts::RateLine, RateLabel, m_rate, RateField},
        {SyncDetailTexts::TitleLine, TitleLabel, m_title, TitleField},
        {SyncDetailTexts::TypeLine, TypeLabel, m_type, TypeField},
        {SyncDetailTexts::ParentLine, ParentLabel, m_parent, ParentField},
        {SyncDetailTexts::ActivityLine, ActivityLabel, m_activity, ActivityField},
    };
    for (const LineParts &part : parts) {
        auto *label = new QLabel(group);
        WidgetIds::SetControlId(label, part.labelId);
        WidgetIds::SetControlId(part.field, part.fieldId);
        m_labels[size_t(part.line)] = label;
        QWidget *line = part.field;
        if (part.line == SyncDetailTexts::NameLine)
            line = lineWith(group, m_name, m_swatch);
        else if (part.line == SyncDetailTexts::TypeLine)
            line = lineWith(group, m_typeImage, m_type);
        m_lines[size_t(part.line)] = line;
        label->hide();
        line->hide();
    }
    static_cast<QHBoxLayout *>(m_lines[size_t(SyncDetailTexts::TypeLine)]->layout())->setStretch(0, 0);
    static_cast<QHBoxLayout *>(m_lines[size_t(SyncDetailTexts::TypeLine)]->layout())->setStretch(1, 1);
    Retranslate();
}

void CViewDetailSynchro::Retranslate()
{
    CSyncDetailPane::Retranslate();
    for (int i = 0; i < LineCount; ++i)
        m_ownLabels[size_t(i)] = m_labels[size_t(i)]->text();
    SetKind(m_kind);
}

void CViewDetailSynchro::SetTypeImages(const ImageList *images)
{
    m_typeImage->SetImageList(images);
}

void CViewDetailSynchro::SetLabelText(Line line, int textId)
{
    QLabel *label = m_labels[size_t(line)];
    if (textId != 0)
        label->setText(Platform::Texts::get(textId));
}

void CViewDetailSynchro::SetKind(int kind)
{
    setUpdatesEnabled(false);
    m_kind = kind;
    m_fields = SyncDetailTexts::FieldsForKind(kind);
    QGridLayout *grid = Grid();
    for (int i = 0; i < LineCount; ++i) {
        grid->removeWidget(m_labels[size_t(i)]);
        grid->removeWidget(m_lines[size_t(i)]);
        m_labels[size_t(i)]->hide();
        m_lines[size_t(i)]->hide();
    }
    // The labels of the pane's own texts first, then those of the kind.
    for (int i = 0; i < LineCount; ++i)
        m_labels[size_t(i)]->setText(m_ownLabels[size_t(i)]);
    SetLabelText(SyncDetailTexts::NameLine, m_fields.nameLabel);
    SetLabelText(SyncDetailTexts::CommentLine, m_fields.commentLabel);
    SetLabelText(SyncDetailTexts::RateLine, m_fields.rateLabel);
    int row = 0;
    for (Line line : std::as_const(m_fields.lines)) {
        QLabel *label = m_labels[size_t(line)];
        const bool tall = line == SyncDetailTexts::CommentLine && m_fields.multiLineComment;
        grid->addWidget(label, row, 0, Qt::AlignLeft | (tall ? Qt::AlignTop : Qt::AlignVCenter));
        grid->addWidget(m_lines[size_t(line)], row, 1);
        label->show();
        m_lines[size_t(line)]->show();
        ++row;
    }
    // A favourite's activity stands on one line, as high as the name.
    if (m_fields.multiLineComment) {
        m_comment->setMinimumHeight(0);
        m_comment->setMaximumHeight(QWIDGETSIZE_MAX);
        m_comment->setFixedHeight(3 * m_name->sizeHint().height());
        m_comment->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    } else {
        m_comment->setFixedHeight(m_name->sizeHint().height());
        m_comment->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_comment->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    m_swatch->setVisible(m_fields.colourSwatch);
    m_typeImage->setVisible(m_fields.typeImage);
    grid->setRowStretch(row, 1);
    setUpdatesEnabled(true);
    update();
}

void CViewDetailSynchro::ShowElement(const tElement &element, const tElement *rate, const QString &parentName,
                                     const QString &activityName)
{
    showText(m_name, element.Nom);
    m_comment->setPlainText(element.Commentaire);
    showText(m_title, element.Title);
    showText(m_rate, rate ? rate->Nom : Platform::Texts::get(185));
    m_swatch->SetBkColor(element.Color);
    m_swatch->setVisible(m_fields.colourSwatch);
    showText(m_parent, parentName);
    showText(m_activity, activityName.isEmpty() ? Platform::Texts::get(502) : activityName);
    showText(m_type, SyncDetailTexts::TypeName(element.Type));
    m_typeImage->SetImage(GetProjectStateImage(element.Type));
}

void CViewDetailSynchro::ShowRate(const tElement &rate)
{
    showText(m_name, rate.Nom);
    m_comment->setPlainText(rate.Commentaire);
    m_rate->SetDoubleValue(u"%g", double(rate.Valeur));
    m_rate->setCursorPosition(0);
}

void CViewDetailSynchro::ShowFavorite(const QString &projectName, const QString &activityName,
                                      const QString &rateName, const QString &title)
{
    showText(m_name, projectName);
    m_comment->setPlainText(activityName);
    showText(m_rate, rateName);
    showText(m_title, title);
}

void CViewDetailSynchro::Clear()
{
    for (QLineEdit *edit : {static_cast<QLineEdit *>(m_name), static_cast<QLineEdit *>(m_rate),
                            static_cast<QLineEdit *>(m_title), static_cast<QLineEdit *>(m_type),
                            static_cast<QLineEdit *>(m_parent), static_cast<QLineEdit *>(m_activity)})
        edit->clear();
    m_comment->clear();
    m_typeImage->SetImage(-1);
    m_swatch->hide();
}

QString CViewDetailSynchro::FieldText(int fieldId) const
{
    if (fieldId == CommentField)
        return m_comment->toPlainText();
    const auto *edit = qobject_cast<const QLineEdit *>(Field(fieldId));
    return edit ? edit->text() : QString();
}

bool CViewDetailSynchro::IsLineShown(Line line) const
{
    return m_fields.lines.contains(line);
}

int CViewDetailSynchro::TypeImageIndex() const
{
    return m_typeImage->Image();
}

bool CViewDetailSynchro::IsSwatchShown() const
{
    return !m_swatch->isHidden();
}

quint32 CViewDetailSynchro::SwatchColour() const
{
    return m_swatch->BkColor();
}
