#pragma once
#include <QDialog>
#include <QString>

class CReadOnlyCB;
class QLabel;
class QLineEdit;

// Asks how a report is exported: the format, which lines and, for
// delimited text, the separator. The dialog only collects the choice; the
// report view carries it out. The caller sets the format and whether entry
// rows and the office suite are offered before running it, and reads the
// choice after OK. DialogAnswers<CDlgExport> answers it in tests.
class CDlgExport : public QDialog
{
    Q_OBJECT
public:
    static constexpr int DialogId = 399;
    enum : int {
        IdOk = 1,
        IdCancel = 2,
        IdFormat = 1077,
        IdData = 1078,
        IdSeparator = 1079,
        IdSeparatorLabel = 1153,
        IdSeparatorEdit = 1154,
        IdFormatGroup = 1241,
        IdFormatLabel = 1242,
        IdDataGroup = 1243,
        IdDataLabel = 1244,
    };

    explicit CDlgExport(QWidget *parent = nullptr);

    int exec() override;

    // Before running: the format shown first (default 1), whether the
    // entry rows are offered (not for project tracking) and whether the
    // office suite's format is.
    void SetFormat(int format) { m_format = format; }
    void SetOfferEntries(bool offer) { m_offerEntries = offer; }
    void SetOfficeSuite(bool offered) { m_officeSuite = offered; }

    // After OK.
    int GetFormat() const { return m_format; }
    int GetMode() const { return m_mode; }
    QString GetSeparator() const { return m_separator; }

    CReadOnlyCB *FormatCombo() const { return m_formatCombo; }
    CReadOnlyCB *DataCombo() const { return m_dataCombo; }
    CReadOnlyCB *SeparatorCombo() const { return m_separatorCombo; }
    QLineEdit *SeparatorEdit() const { return m_separatorEdit; }
    QLabel *SeparatorLabel() const { return m_separatorLabel; }
    // Fills the lists as opening does (exec() calls it).
    void Fill();
    // What OK does: takes the choice, or refuses a separator that a file
    // cannot be read back with and stays open.
    void OnOk();

private:
    void UpdateSeparatorControls();

    int m_format = 1;
    int m_mode = 0;
    QString m_separator;
    bool m_offerEntries = true;
    bool m_officeSuite = false;
    CReadOnlyCB *m_formatCombo = nullptr;
    CReadOnlyCB *m_dataCombo = nullptr;
    CReadOnlyCB *m_separatorCombo = nullptr;
    QLineEdit *m_separatorEdit = nullptr;
    QLabel *m_separatorLabel = nullptr;
};
