#include "raster/FileName.h"

namespace {
constexpr char16_t kEscape = 0xDC00;

// The length of the valid UTF-8 sequence at `at`, or 0 when the byte there starts none.
int SequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return uchar(bytes[i]); };
    const uchar lead = byte(at);
    if (lead < 0x80)
        return 1;
    int length = 0;
    uint min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    uint code = lead & (0x7F >> length);
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}
} // namespace

QString FileName::FromNative(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    qsizetype run = 0; // the start of the valid UTF-8 not yet taken
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = SequenceLength(bytes, at);
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(bytes.sliced(run, at - run));
        name += QChar(char16_t(kEscape + uchar(bytes[at])));
        run = ++at;
    }
    name += QString::fromUtf8(bytes.sliced(run));
    return name;
}

QByteArray FileName::ToNative(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype run = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i].unicode();
        // A lone low surrogate in the escaped range: one byte of the original name.
        const bool escaped =
            unit >= kEscape + 0x80 && unit <= kEscape + 0xFF && (i == 0 || !name[i - 1].isHighSurrogate());
        if (!escaped)
            continue;
        bytes += name.sliced(run, i - run).toUtf8();
        bytes += char(unit - kEscape);
        run = i + 1;
    }
    bytes += name.sliced(run).toUtf8();
    return bytes;
}
