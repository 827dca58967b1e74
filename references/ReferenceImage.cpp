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
    // JPEG decodes straight at a fraction of its size, which is what makes large photos fast.
    // Other formats are scaled after decoding, and that is done here, in full colour: Qt would
    // scale a palette or one-bit image in its own format, dithering its colours away.
    const bool jpeg = reader.format() == "jpeg" || reader.format() == "jpg";
    if (jpeg && fitted.width() < size.width() && !fitted.isEmpty())
        reader.setScaledSize(turned ? fitted.transposed() : fitted);
    QImage image;
    if (!reader.read(&image))
        return {};
    if (image.format() == QImage::Format_Mono || image.format() == QImage::Format_MonoLSB ||
        image.format() == QImage::Format_Indexed8)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
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
