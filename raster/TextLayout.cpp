#include "raster/TextLayout.h"

#include "raster/Canvas.h"

#include <QGuiApplication>
#include <QPainter>

void TTextLayout::RenderLayout(TCanvas& canvas) const
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(qMax(1, qRound(FontSize)));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    // Greyscale antialiasing only: the stamp must keep a picture's pixels grey.
    font.setStyleStrategy(QFont::NoSubpixelAntialias);

    const auto align = [](TTextAlign a, int leading, int centre, int trailing) {
        return a == TTextAlign::Leading ? leading : a == TTextAlign::Center ? centre : trailing;
    };
    const int flags = align(HorizontalAlign, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight) |
                      align(VerticalAlign, Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom) |
                      (WordWrap ? Qt::TextWordWrap : 0);

    QPainter& p = canvas.Painter();
    p.save();
    p.setFont(font);
    p.setOpacity(Opacity);
    p.setPen(QColor::fromRgba(Color));
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.drawText(QRectF(TopLeft, MaxSize), flags, Text);
    p.restore();
}
