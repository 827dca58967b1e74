#ifndef TENARAI_RASTER_TEXTLAYOUT_H
#define TENARAI_RASTER_TEXTLAYOUT_H

#include "raster/Color.h"

#include <QPointF>
#include <QSizeF>
#include <QString>

class TCanvas;

enum class TTextAlign
{
    Center,
    Leading,
    Trailing
};

// A block of text in a box, in the default UI font family. Settings are read when the layout is
// rendered; BeginUpdate and EndUpdate bracket a group of them and may nest.
class TTextLayout final
{
public:
    void BeginUpdate() { ++FUpdating; }
    void EndUpdate() { FUpdating = qMax(0, FUpdating - 1); }

    QPointF TopLeft{0, 0};
    QSizeF MaxSize{65535, 65535};
    float FontSize = 12; // pixels
    TAlphaColor Color = TAlphaColors::Black;
    bool WordWrap = false;
    TTextAlign HorizontalAlign = TTextAlign::Leading;
    TTextAlign VerticalAlign = TTextAlign::Leading;
    float Opacity = 1;
    QString Text;

    // Draws the text in its box; the canvas must be inside a scene.
    void RenderLayout(TCanvas& canvas) const;

private:
    int FUpdating = 0;
};

#endif
