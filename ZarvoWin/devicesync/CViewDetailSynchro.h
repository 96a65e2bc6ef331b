#pragma once
#include "CSyncDetailPane.h"
#include "SyncDetailTexts.h"

#include <array>

class CColorStatic;
class CImgFromListe;
class CMyEdit;
class ImageList;
class QLabel;
class QPlainTextEdit;
struct tElement;

// One side of a project, an activity, an hourly rate or a favourite in the
// review of a device synchronisation: the lines that kind has, in its
// order (SyncDetailTexts::FieldsForKind). It only displays.
class CViewDetailSynchro : public CSyncDetailPane
{
    Q_OBJECT
public:
    enum ControlId {
        DialogId = 394,
        NameLabel = 1003, NameField = 1004,
        CommentLabel = 1005, CommentField = 1006,
        RateLabel = 1011, RateField = 1007,
        TitleLabel = 1258, TitleField = 1061,
        TypeLabel = 1012, TypeField = 1062,
        ParentLabel = 1013, ParentField = 1063,
        ActivityLabel = 1178, ActivityField = 1185,
        ColourSwatch = 1015, TypeImage = 1398,
    };

    explicit CViewDetailSynchro(QWidget *parent = nullptr);

    // The labels' texts from the language database, then those of the kind.
    void Retranslate();

    // The application's small pictures, for the project type (not owned).
    void SetTypeImages(const ImageList *images);

    // Shows the lines of a kind of element (1 project, 2 activity, 3 rate,
    // 5 favourite; any other: none).
    void SetKind(int kind);
    int Kind() const { return m_kind; }
    // A project or activity; `rate` null when it has none (or it was not
    // found); the parent's and the activity's names (empty: none).
    void ShowElement(const tElement &element, const tElement *rate, const QString &parentName,
                     const QString &activityName);
    void ShowRate(const tElement &rate);
    void ShowFavorite(const QString &projectName, const QString &activityName, const QString &rateName,
                      const QString &title);
    void Clear();

    // What a field shows (for the tests and the tooltips).
    QString FieldText(int fieldId) const;
    bool IsLineShown(SyncDetailTexts::Line line) const;
    int TypeImageIndex() const;
    bool IsSwatchShown() const;
    quint32 SwatchColour() const;

private:
    static constexpr int LineCount = 7;
    void SetLabelText(SyncDetailTexts::Line line, int textId);

    int m_kind = 0;
    SyncDetailTexts::ElementFields m_fields;
    std::array<QLabel *, LineCount> m_labels{};
    std::array<QString, LineCount> m_ownLabels; // the pane's texts, kept for SetKind
    std::array<QWidget *, LineCount> m_lines{};
    CMyEdit *m_name, *m_rate, *m_title, *m_type, *m_parent, *m_activity;
    QPlainTextEdit *m_comment;
    CColorStatic *m_swatch;
    CImgFromListe *m_typeImage;
};
