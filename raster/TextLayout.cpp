#include "raster/TextLayout.h"

#include "raster/Canvas.h"

#include <QGuiApplication>
#include <QPainter>

TTextLayout::TTextLayout()
{
    Apply();
}

void TTextLayout::EndUpdate()
{
    if (FUpdating > 0 && --FUpdating == 0)
        Apply();
}

void TTextLayout::Apply()
{
    FFont = QGuiApplication::font();
    FFont.setPixelSize(qMax(1, qRound(FontSize)));
    FFont.setWeight(QFont::Normal);
    FFont.setItalic(false);
    // Greyscale antialiasing only: the stamp must keep a picture's pixels grey.
    FFont.setStyleStrategy(QFont::NoSubpixelAntialias);

    const auto align = [](TTextAlign a, int leading, int centre, int trailing) {
        return a == TTextAlign::Leading ? leading : a == TTextAlign::Center ? centre : trailing;
    };
    FFlags = align(HorizontalAlign, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight) |
             align(VerticalAlign, Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom) |
             (WordWrap ? Qt::TextWordWrap : 0);
}

void TTextLayout::RenderLayout(TCanvas& canvas) const
{
    QPainter& p = canvas.Painter();
    p.save();
    p.setFont(FFont);
    p.setOpacity(Opacity);
    p.setPen(QColor::fromRgba(Color));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.drawText(QRectF(TopLeft, MaxSize), FFlags, Text);
    p.restore();
}
