#pragma once
#include <QWidget>

class ImageList;

// A static control showing one image of an image list, centred in it.
// Nothing is painted without a list or with index -1.
class CImgFromListe : public QWidget
{
    Q_OBJECT
public:
    explicit CImgFromListe(QWidget *parent = nullptr);

    // The list is not owned; it must outlive the control (or be unset).
    void SetImageList(const ImageList *list);
    void SetImage(int index);
    int Image() const { return m_index; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const ImageList *m_list = nullptr;
    int m_index = -1;
};
