#include "practice/ReferenceCell.h"

#include "practice/SheetGeometry.h"
#include "references/ReferenceImage.h"

#include <QCoreApplication>
#include <QPainter>

QImage ReferenceCell(const TReferenceLink& reference)
{
    if (reference.IsEmpty())
        return {};
    const QSize cell(Sheet::Cell, Sheet::Cell);
    QImage image(cell, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    // The copy kept when the drawing was made shows what was seen, study aids and all; only a
    // drawing without one (from an older journal) goes back to the file.
    QImage view = ReferenceLink::DecodeShown(reference.Shown);
    if (view.isNull()) {
        const QImage read = ReadReference(reference.Path, cell);
        if (read.isNull()) {
            QFont font = painter.font();
            font.setPixelSize(Sheet::MissingTextSize);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(image.rect(), Qt::AlignCenter, QCoreApplication::translate("ReferenceCell", "見つかりません"));
            return image;
        }
        view = ViewOfReference(
            read, {reference.Grey, reference.Mirror, reference.Flip, reference.Tones, reference.Blur});
    }
    // Small images are enlarged too, so every reference fills its cell the same way.
    const QSize fitted = view.size().scaled(cell, Qt::KeepAspectRatio);
    const QImage scaled =
        fitted == view.size() ? view : view.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    painter.drawImage(QPoint((Sheet::Cell - fitted.width()) / 2, (Sheet::Cell - fitted.height()) / 2),
                      scaled);
    return image;
}
