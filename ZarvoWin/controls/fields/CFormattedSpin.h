#pragma once
#include <QSpinBox>

#include <functional>

// A spin box whose value is changed with its arrows, the arrow keys and
// Page Up/Down only (its field cannot be typed into) and is shown through
// a function of its owner: a time of day, a percentage... Typing never
// changes the value, so the value is always one the owner set or stepped.
class CFormattedSpin : public QSpinBox
{
    Q_OBJECT
public:
    using Format = std::function<QString(int value)>;

    explicit CFormattedSpin(QWidget *parent = nullptr);

    // Unset: the number itself.
    void SetFormat(Format format);
    // Shows the value again (after the owner's texts changed).
    void Refresh();

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString &text) const override;
    QValidator::State validate(QString &text, int &position) const override;

private:
    Format m_format;
};
