#include "practice/FinishedDrawing.h"

#include "practice/ElapsedTime.h"
#include "practice/Thumbnail.h"
#include "raster/PngReader.h"
#include "raster/PngWriter.h"

namespace {
QImage DecodeThumbnail(const QByteArray& png)
{
    return ReadCheckedPng(png, [](QSize size) { return size == QSize(Thumbnail::Side, Thumbnail::Side); });
}
} // namespace

TFinishedDrawing TFinishedDrawing::Pack(const TBitmap& thumbnail, const QString& stamp, qint64 totalMs,
                                        TReferenceLink reference, TDrawingTimes times)
{
    TFinishedDrawing drawing;
    if (times.DrawMs < 0)
        times.DrawMs = ElapsedTimeMs(stamp).value_or(0);
    TPngText text{{StampKey, stamp.toLatin1()},
                  {TotalKey, QByteArray::number(totalMs)},
                  {DrawKey, QByteArray::number(times.DrawMs)},
                  {LimitKey, QByteArray::number(times.LimitMs)}};
    if (!reference.IsEmpty())
        text.append({ReferenceKey, ReferenceLink::ToText(reference)});
    drawing.FStored = EncodePng(thumbnail.Image(), text);
    drawing.FStamp = stamp;
    drawing.FTotalMs = totalMs;
    drawing.FDrawMs = times.DrawMs;
    drawing.FLimitMs = times.LimitMs;
    drawing.FReference = std::move(reference);
    return drawing;
}

TFinishedDrawing TFinishedDrawing::FromStored(const QByteArray& png, QString stamp, qint64 totalMs)
{
    const QImage image = DecodeThumbnail(png);
    if (image.isNull())
        return {};
    TFinishedDrawing drawing;
    drawing.FStored = png;
    drawing.FStamp = stamp.isEmpty() ? image.text(QLatin1String(StampKey)) : std::move(stamp);
    bool ok = totalMs >= 0;
    if (!ok)
        totalMs = image.text(QLatin1String(TotalKey)).toLongLong(&ok);
    drawing.FTotalMs = ok ? totalMs : 0;
    const qint64 drawMs = image.text(QLatin1String(DrawKey)).toLongLong(&ok);
    drawing.FDrawMs = ok ? drawMs : ElapsedTimeMs(drawing.FStamp).value_or(0);
    drawing.FLimitMs = qMax<qint64>(0, image.text(QLatin1String(LimitKey)).toLongLong());
    drawing.FReference = ReferenceLink::FromText(image.text(QLatin1String(ReferenceKey)).toLatin1());
    return drawing;
}

QImage TFinishedDrawing::Decoded() const
{
    // The bytes were checked when they became a drawing, so the fast reader serves here.
    return IsNull() ? QImage() : DecodePng(FStored);
}

QImage TFinishedDrawing::Image() const
{
    return Decoded().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}
