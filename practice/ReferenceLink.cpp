#include "practice/ReferenceLink.h"

#include "practice/Thumbnail.h"
#include "raster/FileName.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonDocument>

namespace {
constexpr int kJpegQuality = 90;
} // namespace

QJsonObject ReferenceLink::ToJson(const TReferenceLink& link)
{
    const QByteArray file = FileName::ToNative(link.Path);
    return {{QStringLiteral("path"), QString::fromUtf8(file)},
            {QStringLiteral("file"), QString::fromLatin1(file.toPercentEncoding("/"))},
            {QStringLiteral("grey"), link.Grey},
            {QStringLiteral("mirror"), link.Mirror},
            {QStringLiteral("flip"), link.Flip},
            {QStringLiteral("tones"), link.Tones},
            {QStringLiteral("blur"), link.Blur}};
}

TReferenceLink ReferenceLink::FromJson(const QJsonObject& json)
{
    TReferenceLink link;
    // "file" keeps every byte of the name; "path" alone is what older journals wrote.
    const QString file = json.value(QLatin1String("file")).toString();
    link.Path = file.isEmpty() ? json.value(QLatin1String("path")).toString()
                               : FileName::FromNative(QByteArray::fromPercentEncoding(file.toLatin1()));
    link.Grey = json.value(QLatin1String("grey")).toBool();
    link.Mirror = json.value(QLatin1String("mirror")).toBool();
    link.Flip = json.value(QLatin1String("flip")).toBool();
    const int tones = json.value(QLatin1String("tones")).toInt();
    link.Tones = tones == 2 || tones == 3 ? tones : 0;
    link.Blur = json.value(QLatin1String("blur")).toBool();
    return link;
}

QByteArray ReferenceLink::ToText(const TReferenceLink& link)
{
    QJsonObject json = ToJson(link);
    json.remove(QStringLiteral("path")); // a text chunk holds Latin-1 only
    return QJsonDocument(json).toJson(QJsonDocument::Compact);
}

TReferenceLink ReferenceLink::FromText(const QByteArray& text)
{
    return text.isEmpty() ? TReferenceLink() : FromJson(QJsonDocument::fromJson(text).object());
}

QByteArray ReferenceLink::EncodeShown(const QImage& shown, bool fewTones)
{
    if (shown.isNull())
        return {};
    const QSize box(Thumbnail::Side, Thumbnail::Side);
    const QImage fitted = shown.width() <= box.width() && shown.height() <= box.height()
                              ? shown
                              : shown.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, fewTones ? "png" : "jpg");
    if (!fewTones)
        writer.setQuality(kJpegQuality);
    const bool grey = fitted.isGrayscale();
    if (!writer.write(grey ? fitted.convertToFormat(QImage::Format_Grayscale8)
                           : fitted.convertToFormat(QImage::Format_RGB32)))
        return {};
    return bytes;
}

QImage ReferenceLink::DecodeShown(const QByteArray& shown)
{
    if (shown.isEmpty())
        return {};
    QBuffer buffer;
    buffer.setData(shown);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    // Only what a kept copy can be: nothing larger than a cell is decoded.
    if (size.isEmpty() || size.width() > Thumbnail::Side || size.height() > Thumbnail::Side)
        return {};
    return reader.read();
}

QString ReferenceLink::ShownSuffix(const QByteArray& shown)
{
    return shown.startsWith("\xFF\xD8") ? QStringLiteral("jpg") : QStringLiteral("png");
}
