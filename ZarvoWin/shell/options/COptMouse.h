#pragma once
#include "CPrefsSubDlg.h"

class COptionsContext;
class CTransparentImage;
class QCheckBox;
class QComboBox;
class QLabel;

// The grid and alignment page: whether tasks dragged in the calendar
// settle on a grid of 5, 10 or 15 minutes, with a hint on the Alt key that
// reverses the choice while dragging.
class COptMouse : public CPrefsSubDlg
{
    Q_OBJECT
public:
    static constexpr int DialogId = 520;
    enum Control { SnapCheck = 1458, GridLabel = 1459, GridCombo = 1077, Picture = 1461, Hint = 1460 };
    // The picture's see-through colour (yellow, 0x00BBGGRR).
    static constexpr quint32 PictureKey = 0x00FFFF;

    explicit COptMouse(COptionsContext &context, QWidget *parent = nullptr);

    void TranslatePage() override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void ShowHint();

    COptionsContext &m_context;
    QCheckBox *m_snap = nullptr;
    QComboBox *m_grid = nullptr;
    CTransparentImage *m_picture = nullptr;
    QLabel *m_hint = nullptr;
    bool m_initialised = false;
};
