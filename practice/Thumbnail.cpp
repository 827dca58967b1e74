#include "practice/Thumbnail.h"

#include "raster/Canvas.h"
#include "raster/TextLayout.h"

TBitmap MakeThumbnail(const TBitmap& source, const QString& stamp)
{
    TBitmap thumbnail(Thumbnail::Side, Thumbnail::Side);
    // A fresh bitmap's pixels are undefined; white is what an empty canvas would give.
    thumbnail.Clear(TAlphaColors::White);
    TCanvas canvas = thumbnail.Canvas();
    canvas.Blending = true;
    {
        TCanvasScope scene(canvas);
        if (scene)
            canvas.DrawBitmap(source, QRectF(0, 0, source.Width(), source.Height()),
                              QRectF(0, 0, Thumbnail::Side, Thumbnail::Side), 1.0f, false);
    }

    TTextLayout layout;
    {
        TCanvasScope scene(canvas);
        layout.BeginUpdate();
        layout.TopLeft = QPointF(0, 0);
        layout.MaxSize = QSizeF(Thumbnail::Side, Thumbnail::Side);
        layout.FontSize = Thumbnail::StampFontSize;
        layout.Color = TAlphaColors::Black;
        layout.WordWrap = false;
        layout.HorizontalAlign = TTextAlign::Leading;
        layout.VerticalAlign = TTextAlign::Leading;
        layout.Text = stamp;
        layout.EndUpdate();
        if (scene)
            layout.RenderLayout(canvas);
    }
    return thumbnail;
}

QImage ListImageOf(const QImage& thumbnail)
{
    return thumbnail
        .scaled(Thumbnail::ListSide, Thumbnail::ListSide, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_Grayscale8);
}
