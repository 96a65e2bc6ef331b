#pragma once
#include <QDialog>

class CReadOnlyCB;
class CZarvoTrayApp;
class QCheckBox;
class QSlider;

// "Options" of the tray: the start with the session, the automatic hiding
// of the window and of the Infos window, the icon's left click, the Infos
// window's opacity (previewed while the slider moves), the views the window
// shows, and what standby and resume do. OK writes only the settings that
// changed, and the opacity always; at least one view must stay shown. A
// start with the session that could not be written or removed is told.
class CDlgOptions : public QDialog
{
    Q_OBJECT
public:
    enum : int {
        DialogId = 138,
        StartWithSession = 1020,
        AutoHide = 1021,
        AutoHideInfos = 1022,
        LeftClickLabel = 1024,
        LeftClickList = 1025,
        OpacitySlider = 1026,
        TransparentLabel = 1027,
        OpacityLabel = 1028,
        OpaqueLabel = 1029,
        ResumeLabel = 1030,
        ResumeList = 1031,
        ShowToolBar = 1042,
        ShowResume = 1043,
        ShowDay = 1044,
        ShowTask = 1045,
        ShowFav = 1046,
        WindowGroup = 1047,
        EndTaskOnStandby = 1049,
        StandbyGroup = 1050,
        OkButton = 1,
        CancelButton = 2,
    };
    // The texts of the choices of the two lists.
    enum : int { TextShowWindow = 171, TextStartZarvo = 172, TextNewTask = 173, TextShowInfos = 186,
                 TextNothing = 188, TextRestartTask = 189, TextNoView = 187, TextError = 124 };
    // The start with the session could not be written, or removed.
    enum : int { TextAutostartNotWritten = 20350, TextAutostartNotRemoved = 20351 };

    CDlgOptions(CZarvoTrayApp &app, QWidget *parent = nullptr);

    // Whether OK changed which views the window shows.
    bool IsLayoutChanged() const { return m_layoutChanged; }
    QCheckBox *Check(int id) const;
    CReadOnlyCB *LeftClickCombo() const { return m_leftClick; }
    CReadOnlyCB *ResumeCombo() const { return m_resume; }
    QSlider *Slider() const { return m_opacity; }

    void accept() override;
    void reject() override;

private:
    void OnSliderMoved(int value);
    void OnClickEndTaskOnStandby();

    CZarvoTrayApp &m_app;
    bool m_startedWithSession = false;
    bool m_layoutChanged = false;
    CReadOnlyCB *m_leftClick = nullptr;
    CReadOnlyCB *m_resume = nullptr;
    QSlider *m_opacity = nullptr;
};
