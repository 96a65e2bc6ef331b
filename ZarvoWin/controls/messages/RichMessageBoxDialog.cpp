#include "RichMessageBoxDialog.h"

#include "ColorRef.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

RichMessageBoxDialog::HelpHandler &helpHandler()
{
    static RichMessageBoxDialog::HelpHandler handler;
    return handler;
}

int &tickMs()
{
    static int ms = 1000;
    return ms;
}

QIcon iconFor(quint32 icon, const QString &customName, QStyle *style)
{
    if (!customName.isEmpty()) {
        if (QFileInfo::exists(customName))
            return QIcon(customName);
        return QIcon::fromTheme(customName);
    }
    switch (icon) {
    case MessageBoxType::IconHand:
        return style->standardIcon(QStyle::SP_MessageBoxCritical);
    case MessageBoxType::IconQuestion:
        return style->standardIcon(QStyle::SP_MessageBoxQuestion);
    case MessageBoxType::IconExclamation:
        return style->standardIcon(QStyle::SP_MessageBoxWarning);
    case MessageBoxType::IconAsterisk:
        return style->standardIcon(QStyle::SP_MessageBoxInformation);
    default:
        return QIcon();
    }
}

} // namespace

RichMessageBoxDialog::RichMessageBoxDialog(QWidget *owner, quint32 type, const QString &text,
                                           const QString &caption, const MessageBoxParams &params)
    : QDialog(owner)
    , m_type(type)
    , m_text(text)
    , m_caption(caption.isNull() ? MessageBoxContent::DefaultCaption() : caption)
    , m_params(params)
    , m_content(MessageBoxContent::Build(type, params))
    , m_answer(MessageBoxAnswer::Failed)
{
    // The larger layout of current desktops is always used.
    m_params.options |= MessageBoxParams::LargerLayout;

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint;
    // Closing the window is Cancel: without a Cancel there is no Close.
    if (m_content.escapeAnswer == MessageBoxAnswer::Cancel)
        flags |= Qt::WindowCloseButtonHint;
    if (type & (MessageBoxType::TopMost | MessageBoxType::SystemModal))
        flags |= Qt::WindowStaysOnTopHint;
    setWindowFlags(flags);
    setWindowModality((type & MessageBoxType::SystemModal) ? Qt::ApplicationModal : Qt::WindowModal);
    setWindowTitle(m_caption);
    setSizeGripEnabled(false);
    BuildWindow(text);

    m_countdownTimer.setInterval(tickMs());
    m_disabledTimer.setInterval(tickMs());
    connect(&m_countdownTimer, &QTimer::timeout, this, &RichMessageBoxDialog::OnCountdownTick);
    connect(&m_disabledTimer, &QTimer::timeout, this, &RichMessageBoxDialog::OnDisabledTick);
}

RichMessageBoxDialog::~RichMessageBoxDialog() = default;

void RichMessageBoxDialog::BuildWindow(const QString &text)
{
    const bool larger = (m_params.options & MessageBoxParams::LargerLayout) != 0;
    const bool hasBackground = m_params.backgroundColor != MessageBoxParams::NoColor;
    const int margin = larger ? 24 : 12;

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // Message area: icon and text, on the window colour in the larger
    // layout or on the caller's colour.
    auto *area = new QFrame(this);
    area->setObjectName(QStringLiteral("messageArea"));
    if (larger || hasBackground) {
        QPalette pal = area->palette();
        pal.setColor(QPalette::Window, hasBackground ? ColorRefToQColor(m_params.backgroundColor)
                                                     : pal.color(QPalette::Base));
        area->setPalette(pal);
        area->setAutoFillBackground(true);
    }
    auto *areaLayout = new QHBoxLayout(area);
    areaLayout->setContentsMargins(margin, margin, margin, margin);
    areaLayout->setSpacing(larger ? 16 : 10);

    const QIcon icon = iconFor(m_content.icon, m_params.iconName, style());
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    if (!icon.isNull()) {
        auto *iconLabel = new QLabel(area);
        iconLabel->setObjectName(QString::number(MessageBoxAnswer::IconControl));
        iconLabel->setProperty("controlId", MessageBoxAnswer::IconControl);
        iconLabel->setPixmap(icon.pixmap(iconSize, iconSize));
        iconLabel->setFixedSize(iconSize + 2, iconSize + 2);
        areaLayout->addWidget(iconLabel, 0, Qt::AlignTop);
    }

    auto *textLabel = new QLabel(area);
    textLabel->setObjectName(QString::number(MessageBoxAnswer::TextControl));
    textLabel->setProperty("controlId", MessageBoxAnswer::TextControl);
    textLabel->setTextFormat(Qt::PlainText);
    textLabel->setWordWrap(true);
    textLabel->setText(text);
    if (m_params.textColor != MessageBoxParams::NoColor) {
        QPalette pal = textLabel->palette();
        pal.setColor(QPalette::WindowText, ColorRefToQColor(m_params.textColor));
        textLabel->setPalette(pal);
    }
    // The text wraps at about half the screen (a third when narrow), less
    // the icon; it takes the width it needs below that.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->availableGeometry().width() : 1024;
    int maxWidth = (m_params.options & MessageBoxParams::Narrow) ? screenWidth / 3
                   : larger                                      ? screenWidth / 2 - 10
                                                                 : screenWidth / 2 + 80;
    if (!icon.isNull())
        maxWidth -= iconSize + 16;
    const QRect needed = textLabel->fontMetrics().boundingRect(
        QRect(0, 0, qMax(maxWidth, 50), 100000), Qt::TextWordWrap | Qt::TextExpandTabs, text);
    textLabel->setMinimumWidth(needed.width() + 2);
    areaLayout->addWidget(textLabel, 1, Qt::AlignTop | Qt::AlignLeft);
    outer->addWidget(area, 1);

    // Buttons, with the check box above or below them.
    auto *lower = new QWidget(this);
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(margin, larger ? 14 : 5, margin, larger ? 12 : 12);
    lowerLayout->setSpacing(12);
    if (m_content.HasCheckBox()) {
        m_checkBox = new QCheckBox(m_content.checkBoxCaption, lower);
        m_checkBox->setObjectName(QString::number(MessageBoxAnswer::CheckBoxControl));
        m_checkBox->setProperty("controlId", MessageBoxAnswer::CheckBoxControl);
        m_checkBox->setChecked(false);
        connect(m_checkBox, &QCheckBox::toggled, this, &RichMessageBoxDialog::OnCheckToggled);
        connect(m_checkBox, &QCheckBox::clicked, this, [this] { StopCountdown(); });
    }
    if (m_checkBox && m_content.checkBoxAbove)
        lowerLayout->addWidget(m_checkBox);

    auto *row = new QHBoxLayout;
    row->setSpacing(6);
    const bool rightJustify = larger || (m_params.options & MessageBoxParams::RightJustifyButtons);
    row->addStretch(1);
    const int minButtonWidth = fontMetrics().averageCharWidth() * 38 / 4 + (larger ? 6 : 0);
    for (size_t i = 0; i < m_content.buttons.size(); ++i) {
        const MessageBoxButton &b = m_content.buttons[i];
        auto *button = new QPushButton(b.caption, lower);
        button->setObjectName(QString::number(b.id));
        button->setProperty("controlId", b.id);
        button->setMinimumWidth(minButtonWidth);
        const bool isDefault = int(i) == m_content.defaultIndex;
        button->setDefault(isDefault);
        const int id = b.id;
        connect(button, &QPushButton::clicked, this, [this, id] { OnButton(id); });
        row->addWidget(button);
        m_buttons.push_back(button);
    }
    if (!rightJustify)
        row->addStretch(1);
    lowerLayout->addLayout(row);
    if (m_checkBox && !m_content.checkBoxAbove)
        lowerLayout->addWidget(m_checkBox);
    outer->addWidget(lower, 0);

    if (!m_buttons.empty())
        m_buttons[size_t(m_content.defaultIndex)]->setFocus();
}

QPushButton *RichMessageBoxDialog::Button(int id) const
{
    const int index = m_content.IndexOf(id);
    return index < 0 ? nullptr : m_buttons[size_t(index)];
}

QString RichMessageBoxDialog::CopyText() const
{
    return m_content.CopyText(m_caption, m_text);
}

void RichMessageBoxDialog::SetHelpHandler(HelpHandler handler)
{
    helpHandler() = std::move(handler);
}

void RichMessageBoxDialog::SetTickMs(int ms)
{
    tickMs() = ms > 0 ? ms : 1000;
}

void RichMessageBoxDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (m_params.x != 0 || m_params.y != 0)
        move(m_params.x, m_params.y);
    // Any click in the box stops the countdown.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    if (m_content.disabledTime > 0) {
        m_disabledLeft = m_content.disabledTime;
        SetButtonsEnabled(false);
        setWindowTitle(m_caption + u' ' + QString::number(m_disabledLeft));
        m_disabledTimer.start();
    }
    if (m_content.timeout > 0 && !m_buttons.empty()) {
        m_countdownLeft = m_content.timeout;
        QPushButton *def = m_buttons[size_t(m_content.defaultIndex)];
        def->setText(m_content.buttons[size_t(m_content.defaultIndex)].caption
                     + QStringLiteral(" = ") + QString::number(m_countdownLeft));
        m_countdownTimer.start();
    }
    if (!m_buttons.empty())
        m_buttons[size_t(m_content.defaultIndex)]->setFocus();
    raise();
    activateWindow();
}

bool RichMessageBoxDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && m_countdownTimer.isActive())
        StopCountdown();
    return QDialog::eventFilter(watched, event);
}

void RichMessageBoxDialog::StopCountdown()
{
    if (!m_countdownTimer.isActive())
        return;
    m_countdownTimer.stop();
    const int index = m_content.defaultIndex;
    m_buttons[size_t(index)]->setText(m_content.buttons[size_t(index)].caption);
}

void RichMessageBoxDialog::OnCountdownTick()
{
    if (--m_countdownLeft > 0) {
        const int index = m_content.defaultIndex;
        m_buttons[size_t(index)]->setText(m_content.buttons[size_t(index)].caption
                                          + QStringLiteral(" = ") + QString::number(m_countdownLeft));
        return;
    }
    StopCountdown();
    // The default button pressed by the countdown, marked as such.
    const int id = m_content.DefaultId();
    if (id == MessageBoxAnswer::Help || id == MessageBoxAnswer::Report) {
        OnButton(id);
        return;
    }
    End(int(quint32(id) + quint32(MessageBoxAnswer::Countdown) + quint32(CheckFlag())));
}

void RichMessageBoxDialog::OnDisabledTick()
{
    if (--m_disabledLeft > 0) {
        setWindowTitle(m_caption + u' ' + QString::number(m_disabledLeft));
        return;
    }
    m_disabledTimer.stop();
    SetButtonsEnabled(true);
    setWindowTitle(m_caption);
}

void RichMessageBoxDialog::SetButtonsEnabled(bool enabled)
{
    for (QPushButton *b : m_buttons)
        b->setEnabled(enabled);
    if (m_checkBox)
        m_checkBox->setEnabled(enabled);
    if (enabled && m_checkBox)
        OnCheckToggled(m_checkBox->isChecked());
}

void RichMessageBoxDialog::OnCheckToggled(bool checked)
{
    if (m_content.checkDisables == 0)
        return;
    if (QPushButton *b = Button(m_content.checkDisables))
        b->setEnabled(!checked && !m_disabledTimer.isActive());
}

int RichMessageBoxDialog::CheckFlag() const
{
    return m_checkBox && m_checkBox->isChecked() ? int(m_content.checkBoxFlag) : 0;
}

void RichMessageBoxDialog::OnButton(int id)
{
    StopCountdown();
    if (m_disabledTimer.isActive())
        return;
    if (QPushButton *b = Button(id); b && !b->isEnabled())
        return;
    if (id == MessageBoxAnswer::Help) {
        if (helpHandler())
            helpHandler()(m_params.helpId);
        return;
    }
    if (id == MessageBoxAnswer::Report) {
        if (m_params.reportFunction)
            m_params.reportFunction(m_text, m_params.reportData);
        return;
    }
    End(int(quint32(id) + quint32(CheckFlag())));
}

void RichMessageBoxDialog::reject()
{
    // Escape and the window's Close: Cancel where the set has one, OK in
    // the OK-only set, nothing elsewhere or while the buttons are disabled.
    StopCountdown();
    if (m_content.escapeAnswer == 0 || m_disabledTimer.isActive())
        return;
    End(int(quint32(m_content.escapeAnswer) + quint32(CheckFlag())));
}

void RichMessageBoxDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(CopyText());
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void RichMessageBoxDialog::End(int answer)
{
    m_countdownTimer.stop();
    m_disabledTimer.stop();
    m_answer = answer;
    done(answer);
}
