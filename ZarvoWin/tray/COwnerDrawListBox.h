#pragma once
#include "FavouritesListModel.h"

#include <QAbstractScrollArea>
#include <QIcon>

class CTrayProjectStore;
class TrayTexts;

// The tray window's favourites list (grouped, with folding headers) and
// history list: painted rows over a FavouritesListModel, the row under the
// mouse framed with a play picture and its details as hover text. A click
// on an entry, or Enter on the current entry, asks to start it; a click or
// Enter on a header folds or unfolds it. The arrow keys only move the
// current row. Nothing here reads the database: names come from the tray's
// project store.
class COwnerDrawListBox : public QAbstractScrollArea
{
    Q_OBJECT
public:
    COwnerDrawListBox(bool grouped, const CTrayProjectStore &store, const TrayTexts &texts, QWidget *parent = nullptr);

    FavouritesListModel &Model() { return m_model; }
    const FavouritesListModel &Model() const { return m_model; }

    // Refills the list, keeping the folded groups and the top row of the
    // favourites as they were.
    void SetRecords(std::vector<DataItems> records, int sortMode);
    void SetHistoryCount(int count);

    // The kept view of the favourites: captured from the list, put back
    // into it, and read from or written to the settings ("Tray/Favoris"),
    // which keep it for one user only.
    FavouritesListModel::tViewState CaptureView() const;
    void RestoreView(const FavouritesListModel::tViewState &state);
    void LoadViewState(int userId);
    void SaveViewState(int userId) const;
    // Forgets the kept view (the order changed).
    void ResetViewState();

    int TopRow() const;
    void SetTopRow(int row);
    int HoverRow() const { return m_hover; }
    int CurrentRow() const { return m_current; }
    void SetCurrentRow(int row);
    QRect RowRect(int row) const;
    QString HoverText() const;

signals:
    // A favourite's id, or a recent combination's index.
    void startRequested(int id);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void Activate(int row);
    void Toggle(int row);
    void UpdateScrollBar();
    void SetHover(int row);
    void PaintRow(QPainter &p, int row, const QRect &r);

    FavouritesListModel m_model;
    FavouritesListModel::tViewState m_kept;
    bool m_keptValid = false;
    const CTrayProjectStore &m_store;
    const TrayTexts &m_texts;
    int m_hover = -1;
    int m_current = -1;
    int m_pressed = -1;
    QIcon m_play;
};
