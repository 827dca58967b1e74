#include "raster/SheetPng.h"

#include "raster/Error.h"
#include "raster/PngWriter.h"

#include <QCoreApplication>
#include <QFileDevice>
#include <QFuture>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>
#include <atomic>
#include <cerrno>
#include <isa-l/igzip_lib.h>
#include <vector>
#include <zlib.h>

namespace {
// ISA-L's level 2 deflates a filtered photograph as fast as level 1, and a little smaller.
constexpr int kIsalLevel = 2;

struct TBand
{
    QByteArray Deflated;
    uLong Adler = 1;
    uLong Length = 0; // uncompressed bytes
    bool Ok = false;
};

int BytesPerPixel(TPngColor color)
{
    return color == TPngColor::Grey ? 1 : color == TPngColor::Rgb ? 3 : 4;
}

// Rows [first, last) as PNG scanlines: a filter byte, then the packed pixels; Up-filtered
// (each byte less the one above it, the row before the first one included) when asked.
QByteArray PackRows(const QImage& image, TPngColor color, int first, int last, bool up)
{
    const int width = image.width();
    const qsizetype pixelBytes = qsizetype(width) * BytesPerPixel(color);
    const qsizetype rowBytes = 1 + pixelBytes;
    QByteArray raw(rowBytes * (last - first), Qt::Uninitialized);
    QByteArray above, packed;
    if (up) {
        above = QByteArray(pixelBytes, '\0'); // above the first row of the image: zeros
        packed = QByteArray(pixelBytes, Qt::Uninitialized);
        if (first > 0)
            PackPngRow(reinterpret_cast<const QRgb*>(image.constScanLine(first - 1)), width, color,
                       reinterpret_cast<uchar*>(above.data()));
    }
    for (int y = first; y < last; ++y) {
        auto* out = reinterpret_cast<uchar*>(raw.data()) + (y - first) * rowBytes;
        const auto* in = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        if (!up) {
            *out = 0;
            PackPngRow(in, width, color, out + 1);
            continue;
        }
        *out = 2; // Up
        auto* row = reinterpret_cast<uchar*>(packed.data());
        PackPngRow(in, width, color, row);
        const auto* prior = reinterpret_cast<const uchar*>(above.constData());
        for (qsizetype i = 0; i < pixelBytes; ++i)
            out[1 + i] = uchar(row[i] - prior[i]);
        std::swap(above, packed);
    }
    return raw;
}

// A band read once: its colour type, and its rows packed as grey in case the whole image is.
struct TScannedBand
{
    TPngColor Color = TPngColor::Grey;
    QByteArray GreyRows;
};

TScannedBand ScanBand(const QImage& image, int first, int last)
{
    // One pass over the pixels does both, without branches in the inner loop: every pixel of a
    // 64 MiB sheet is read here, and reading it twice costs more than the packing.
    TScannedBand band;
    const int width = image.width();
    band.GreyRows = QByteArray((1 + qsizetype(width)) * (last - first), Qt::Uninitialized);
    quint32 diff = 0;
    for (int y = first; y < last; ++y) {
        auto* out = reinterpret_cast<uchar*>(band.GreyRows.data()) + (y - first) * (1 + qsizetype(width));
        const auto* in = reinterpret_cast<const quint32*>(image.constScanLine(y));
        *out++ = 0;
        quint32 all = 0xFFFFFFFFu;
        for (int x = 0; x < width; ++x) {
            const quint32 p = in[x];
            all &= p;
            diff |= (p ^ (p >> 8)) & 0xFFFFu; // B against G, G against R
            out[x] = uchar(p >> 8);
        }
        if ((all >> 24) != 0xFFu) {
            band.Color = TPngColor::Rgba;
            band.GreyRows.clear();
            return band;
        }
    }
    if (diff) {
        band.Color = TPngColor::Rgb;
        band.GreyRows.clear();
    }
    return band;
}

// Deflates a band's scanlines raw, with the settings WritePng gives libpng: level 1, run-length
// matching only, so a band loses nothing by not seeing the one before it (runs never reach
// back past a row). All but the last band end on a full flush.
TBand DeflateBandRunLength(const QByteArray& raw, bool final, const std::atomic<bool>& stop)
{
    TBand band;
    if (stop)
        return band;
    band.Length = uLong(raw.size());
    band.Adler = adler32(1, reinterpret_cast<const Bytef*>(raw.constData()), uInt(raw.size()));
    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 8, Z_RLE) != Z_OK)
        return band;
    band.Deflated.resize(qsizetype(deflateBound(&z, uLong(raw.size()))) + 64);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(raw.constData()));
    z.avail_in = uInt(raw.size());
    z.next_out = reinterpret_cast<Bytef*>(band.Deflated.data());
    z.avail_out = uInt(band.Deflated.size());
    const int result = deflate(&z, final ? Z_FINISH : Z_FULL_FLUSH);
    band.Ok = final ? result == Z_STREAM_END : (result == Z_OK && z.avail_in == 0);
    band.Deflated.resize(qsizetype(z.total_out));
    deflateEnd(&z);
    return band;
}

// The same with ISA-L's deflate: about three times zlib's speed on filtered photographs, at half
// the size of their unfiltered run-length form. A full flush ends all but the last band, which
// leaves each byte-aligned with no reach into the band before.
TBand DeflateBandFast(const QByteArray& raw, bool final, const std::atomic<bool>& stop)
{
    TBand band;
    if (stop)
        return band;
    band.Length = uLong(raw.size());
    // ISA-L's own Adler-32, five times zlib's speed. Not on the run-length path: on some
    // processors its wide vector instructions slow the core down for zlib's deflate after it.
    band.Adler =
        isal_adler32(1, reinterpret_cast<const unsigned char*>(raw.constData()), uint64_t(raw.size()));
    std::vector<uint8_t> levelBuffer(ISAL_DEF_LVL2_DEFAULT);
    isal_zstream z{};
    isal_deflate_init(&z);
    z.level = kIsalLevel;
    z.level_buf = levelBuffer.data();
    z.level_buf_size = uint32_t(levelBuffer.size());
    z.gzip_flag = IGZIP_DEFLATE;
    z.flush = final ? NO_FLUSH : FULL_FLUSH;
    z.end_of_stream = final ? 1 : 0;
    z.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(raw.constData()));
    z.avail_in = uint32_t(raw.size());
    band.Deflated.resize(raw.size() + raw.size() / 8 + 4096);
    qsizetype written = 0;
    for (;;) {
        z.next_out = reinterpret_cast<uint8_t*>(band.Deflated.data()) + written;
        z.avail_out = uint32_t(band.Deflated.size() - written);
        const uint32_t before = z.avail_out;
        if (isal_deflate(&z) != COMP_OK)
            return band;
        written += before - z.avail_out;
        const bool done = z.avail_in == 0 && (final ? z.internal_state.state == ZSTATE_END
                                                    : z.internal_state.state == ZSTATE_NEW_HDR);
        if (done)
            break;
        if (z.avail_out > 0 && z.avail_in == 0 && !final)
            break;
        band.Deflated.resize(band.Deflated.size() * 2);
    }
    band.Deflated.resize(written);
    band.Ok = true;
    return band;
}

QByteArray BigEndian(quint32 value)
{
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, 4);
}

class TChunkWriter
{
public:
    explicit TChunkWriter(QIODevice& device) : FDevice(device) {}

    void Raw(QByteArrayView bytes)
    {
        errno = 0;
        if (FDevice.write(bytes.data(), bytes.size()) != bytes.size()) {
            int err = errno;
            if (err == 0) {
                const auto* file = qobject_cast<const QFileDevice*>(&FDevice);
                err = file && file->error() == QFileDevice::ResourceError ? ENOSPC : EIO;
            }
            throw EError(QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。(%1)").arg(FileErrorText(err)));
        }
    }

    // A chunk whose data are the pieces one after another, written as they are: a reference
    // sheet's image data run to tens of megabytes, not worth copying to join them.
    void Chunk(const char type[4], std::initializer_list<QByteArrayView> pieces)
    {
        qsizetype length = 0;
        uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type), 4);
        for (QByteArrayView piece : pieces) {
            if (piece.isEmpty())
                continue; // zlib takes no data for a request of the starting value
            length += piece.size();
            crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data()), uInt(piece.size()));
        }
        Raw(BigEndian(quint32(length)) + QByteArray(type, 4));
        for (QByteArrayView piece : pieces)
            if (!piece.isEmpty())
                Raw(piece);
        Raw(BigEndian(quint32(crc)));
    }

private:
    QIODevice& FDevice;
};
} // namespace

void WriteSheetPng(const QImage& image, QIODevice& device, int threads, SheetPng::TCodec codec)
{
    // PNG stores straight alpha; opaque premultiplied pixels are straight already, so only an
    // image with translucent pixels, or of another layout, is converted.
    const bool argbLayout = image.format() == QImage::Format_ARGB32 ||
                            image.format() == QImage::Format_RGB32 ||
                            image.format() == QImage::Format_ARGB32_Premultiplied;
    if (image.isNull())
        throw EError(QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。"));
    if (!argbLayout) {
        WriteSheetPng(image.convertToFormat(QImage::Format_ARGB32), device, threads, codec);
        return;
    }

    QThreadPool pool;
    pool.setMaxThreadCount(threads > 0 ? threads : QThread::idealThreadCount());
    std::atomic<bool> stop{false};
    std::vector<QFuture<TScannedBand>> scans;
    std::vector<QFuture<TBand>> work;
    QImage source;
    // Whatever happens below, no worker outlives what it reads: this is undone first.
    struct TStopAndWait
    {
        std::atomic<bool>& Stop;
        QThreadPool& Pool;
        ~TStopAndWait()
        {
            Stop = true;
            Pool.waitForDone();
        }
    } guard{stop, pool};

    const int bands = (image.height() + SheetPng::BandRows - 1) / SheetPng::BandRows;
    const auto rowsOf = [&](int b) {
        return std::pair{b * SheetPng::BandRows, qMin(image.height(), (b + 1) * SheetPng::BandRows)};
    };
    // The colour type needs every pixel read before a byte is written.
    for (int b = 0; b < bands; ++b)
        scans.push_back(QtConcurrent::run(
            &pool, [&image, rows = rowsOf(b)] { return ScanBand(image, rows.first, rows.second); }));
    TPngColor color = TPngColor::Grey;
    for (QFuture<TScannedBand>& scan : scans)
        color = qMax(color, scan.result().Color);
    source = image.format() == QImage::Format_ARGB32_Premultiplied && color == TPngColor::Rgba
                 ? image.convertToFormat(QImage::Format_ARGB32)
                 : image;

    TChunkWriter out(device);
    out.Raw(QByteArray("\x89PNG\r\n\x1a\n", 8));
    QByteArray header = BigEndian(quint32(source.width())) + BigEndian(quint32(source.height()));
    header.append(char(8));
    header.append(char(color == TPngColor::Grey ? 0 : color == TPngColor::Rgb ? 2 : 6));
    header.append(QByteArray(3, '\0')); // deflate, adaptive filtering (None or Up), no interlace
    out.Chunk("IHDR", {header});

    const bool fast = codec == SheetPng::TCodec::Fast;
    // Grey line art deflates smallest by zlib's run-length matching (ISA-L's files are a fifth
    // larger), photographs fastest and smallest by ISA-L on Up-filtered rows.
    const bool isal = fast && color != TPngColor::Grey;
    const auto deflateBand = [isal](const QByteArray& raw, bool final, const std::atomic<bool>& halt) {
        return isal ? DeflateBandFast(raw, final, halt) : DeflateBandRunLength(raw, final, halt);
    };
    for (int b = 0; b < bands; ++b) {
        const bool final = b + 1 == bands;
        work.push_back(QtConcurrent::run(&pool, [&, b, final] {
            if (color == TPngColor::Grey)
                return deflateBand(scans[size_t(b)].result().GreyRows, final, stop);
            const auto rows = rowsOf(b);
            return deflateBand(PackRows(source, color, rows.first, rows.second, fast), final, stop);
        }));
    }

    uLong adler = 1;
    for (int b = 0; b < bands; ++b) {
        const TBand band = work[size_t(b)].result();
        if (!band.Ok)
            throw EError(QCoreApplication::translate("Raster", "ビットマップの保存に失敗しました。(deflate)"));
        adler = adler32_combine(adler, band.Adler, z_off_t(band.Length));
        // The zlib header before the first band, the Adler-32 of all after the last.
        const QByteArray header = b == 0 ? QByteArray("\x78\x01", 2) : QByteArray(); // 32 KiB window, fastest
        const QByteArray trailer = b + 1 == bands ? BigEndian(quint32(adler)) : QByteArray();
        out.Chunk("IDAT", {header, band.Deflated, trailer});
        scans[size_t(b)] = {}; // its grey rows are deflated: let them go
    }
    out.Chunk("IEND", {});
}
