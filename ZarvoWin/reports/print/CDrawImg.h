#pragma once

#include "CDrawObject.h"

// A picture read from a file beside the template at every drawing.
class CDrawImg : public CDrawObject
{
public:
    enum FitMode { NaturalSize = 0, FitInside = 1, Stretch = 2 };

    CDrawImg();
    // Records the template's folder; "\" in the file name reads as "/".
    void ReadTokens(const QStringList &tokens, const QString &folder) override;
    QString GetLine() const override;
    void Draw(const tDrawContext &context, tBand &band, const QStringList *texts,
              const std::vector<tColumn> *columns, int indent) override;

    // The file's full path: the folder followed by the file name.
    QString GetFilePath() const { return Folder + FileName; }

    int Mode = FitInside;
    QString FileName;
    // The template's folder, with a trailing "/".
    QString Folder;
    // The picture type of the file name's extension (0 without one).
    int ImageType = 0;
};
