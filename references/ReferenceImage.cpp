#include "references/ReferenceImage.h"

#include <QImageReader>

QImage ReadReference(const QString& path, QSize box)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (!size.isValid() || box.isEmpty())
        return {};
    const bool turned = reader.transformation() & QImageIOHandler::TransformationRotate90;
    if (turned)
        size.transpose();
    const QSize fitted = size.scaled(box, Qt::KeepAspectRatio);
    if (fitted.width() < size.width() && !fitted.isEmpty())
        reader.setScaledSize(turned ? fitted.transposed() : fitted);
    QImage image;
    if (!reader.read(&image))
        return {};
    // Decoders may round the scaled size; what is shown must fit the box.
    if (image.width() > box.width() || image.height() > box.height())
        image = image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage ViewOfReference(const QImage& image, bool grey, bool mirror)
{
    QImage view = grey ? image.convertToFormat(QImage::Format_Grayscale8) : image;
    if (mirror)
        view = view.mirrored(true, false);
    return view;
}
