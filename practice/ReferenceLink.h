#ifndef TENARAI_PRACTICE_REFERENCELINK_H
#define TENARAI_PRACTICE_REFERENCELINK_H

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QString>

/**
 * @brief The reference a drawing was made from, as it was shown: the file, the study aids in
 * force, and a copy of the picture itself, reduced to a sheet cell, so that the reference sheet
 * and the review show what was seen even when the file has changed or gone since.
 */
struct TReferenceLink
{
    QString Path; // empty: drawn without a reference; bytes beyond UTF-8 as FileName keeps them
    bool Grey = false;
    bool Mirror = false;
    bool Flip = false; // top to bottom
    int Tones = 0;     // 0, 2 or 3
    bool Blur = false;
    // The picture as it was shown, study aids applied, fitted into 512 × 512: a JPEG, or a PNG
    // for reduced tones, which JPEG would smear. Empty where none was kept (older journals).
    QByteArray Shown = {};

    bool IsEmpty() const { return Path.isEmpty(); }
    bool operator==(const TReferenceLink&) const = default;
};

namespace ReferenceLink {
// The link without its picture, as text that fits a PNG text chunk and a JSON manifest: the
// path goes as its file-name bytes, percent-encoded.
QJsonObject ToJson(const TReferenceLink& link);
TReferenceLink FromJson(const QJsonObject& json);
QByteArray ToText(const TReferenceLink& link);
TReferenceLink FromText(const QByteArray& text);

// The kept copy of a picture as shown: fitted into 512 × 512 (never enlarged) and compressed.
QByteArray EncodeShown(const QImage& shown, bool fewTones);
// The kept copy decoded; null when there is none or it is damaged.
QImage DecodeShown(const QByteArray& shown);
// The file name extension the kept copy's bytes call for: "jpg" or "png".
QString ShownSuffix(const QByteArray& shown);
} // namespace ReferenceLink

#endif
