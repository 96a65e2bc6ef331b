#pragma once

#include "CDrawBox.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>
#include <optional>

// A box holding one line of report cells in columns: the columns share the
// object's width in proportion to their widths; the label may stand in for
// the first `LabelSpan` columns.
class CDrawDataLine : public CDrawBox
{
public:
    CDrawDataLine();
    void ReadTokens(const QStringList &tokens, const QString &folder) override;
    QString GetLine() const override;
    int Measure(const tDrawContext &context, const tBand &band, const QStringList *texts,
                const std::vector<tColumn> *columns) const override;
    void Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
              const std::vector<tColumn> *columns, int indent) override;
    void CreateResources(const tDrawContext &context) override;
    void ReleaseResources() override;

    int FirstColumnIndent = 0;
    // Sides is read as an on/off flag (non-zero draws the separators).
    CBorderLine Separator;
    int LabelSpan = 0;

protected:
    tDrawTextStyle *TextStyle() override { return &m_style; }

private:
    // The font and what is measured of it once per device.
    struct tFontResources
    {
        QFont Font;
        QPaintDevice *Device = nullptr;
        std::optional<QFontMetrics> Metrics;
        int LineHeight = 0;
    };
    // The left and right edges of each cell of `rect`.
    static void CellEdges(const tBand &rect, const std::vector<tColumn> &columns, std::vector<int> &edges);
    tFontResources MakeResources(const tDrawContext &context) const;
    // The resources made by CreateResources for this device, else new ones.
    tFontResources ResourcesFor(const tDrawContext &context) const;
    // The text of cell `column`: the label (placeholders replaced) in the
    // first cell below the label span, nothing in the others below it.
    QString CellText(int column, const QStringList &texts) const;
    int MeasureWith(const tFontResources &resources, const tDrawContext &context, const tBand &rect,
                    const QStringList &texts, const std::vector<tColumn> &columns) const;
    // The left edge of a cell's text and its width, after the margin.
    void CellTextSpan(const tDrawContext &context, int column, int align, int left, int right, int &x,
                      int &width) const;

    tDrawTextStyle m_style;
    std::unique_ptr<tFontResources> m_resources;
};
