#include "references/ReferenceImage.h"

#include "raster/FileName.h"

#include <QFile>
#include <QImageReader>
#include <array>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

std::unique_ptr<QIODevice> OpenReferenceFile(const QString& path)
{
    const int fd = ::open(FileName::ToNative(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info
    {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

namespace {
// A JPEG's frame header: whether it is progressive, and its components; nothing for another
// format or a header that cannot be read.
struct TJpegFrame
{
    bool Progressive = false;
    int Components = 0;
};
std::optional<TJpegFrame> JpegFrame(QIODevice& file)
{
    const QByteArray head = file.peek(256 * 1024);
    if (head.size() < 4 || uchar(head[0]) != 0xFF || uchar(head[1]) != 0xD8)
        return std::nullopt;
    qsizetype at = 2;
    while (at + 4 <= head.size()) {
        if (uchar(head[at]) != 0xFF)
            return std::nullopt;
        const uchar marker = uchar(head[at + 1]);
        const int length = (uchar(head[at + 2]) << 8) | uchar(head[at + 3]);
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (at + 10 > head.size())
                return std::nullopt;
            return TJpegFrame{marker == 0xC2 || marker == 0xC6 || marker == 0xCA || marker == 0xCE,
                              uchar(head[at + 9])};
        }
        at += 2 + length;
    }
    return std::nullopt;
}
} // namespace

bool OverBudget(QIODevice& file, QSize declared)
{
    const qint64 pixels = qint64(declared.width()) * declared.height();
    if (const std::optional<TJpegFrame> jpeg = JpegFrame(file))
        // A progressive decode holds 2 bytes a coefficient for each component of the whole
        // image; a baseline one decodes at the shown size and needs little.
        return jpeg->Progressive && pixels * qMax(1, jpeg->Components) * 2 > Reference::MemoryBudget;
    return pixels * 4 > Reference::MemoryBudget;
}

QImage ReadReference(const QString& path, QSize box)
{
    const std::unique_ptr<QIODevice> file = OpenReferenceFile(path);
    if (!file)
        return {};
    QImageReader reader(file.get());
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(int(Reference::MemoryBudget >> 20));
    QSize size = reader.size();
    if (!size.isValid() || box.isEmpty() || OverBudget(*file, size))
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

namespace {
// The grey level below which `share` of the pixels lie.
int Percentile(const QImage& grey, double share)
{
    std::array<qint64, 256> counts{};
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            ++counts[row[x]];
    }
    const qint64 wanted = qint64(share * grey.width() * grey.height());
    qint64 seen = 0;
    for (int level = 0; level < 256; ++level) {
        seen += counts[size_t(level)];
        if (seen > wanted)
            return level;
    }
    return 255;
}

QImage Reduced(const QImage& image, int tones)
{
    QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    const int low = Percentile(grey, tones == 2 ? 0.5 : 1.0 / 3),
              high = tones == 2 ? 256 : Percentile(grey, 2.0 / 3);
    for (int y = 0; y < grey.height(); ++y) {
        uchar* row = grey.scanLine(y);
        for (int x = 0; x < grey.width(); ++x)
            row[x] = row[x] < low ? 0 : row[x] < high ? (tones == 2 ? 255 : 128) : 255;
    }
    return grey;
}

// A box blur run twice each way, close to a Gaussian, over every channel.
QImage Blurred(const QImage& image)
{
    QImage out = image.convertToFormat(image.format() == QImage::Format_Grayscale8 ? QImage::Format_Grayscale8
                                                                                   : QImage::Format_ARGB32);
    const int channels = out.format() == QImage::Format_Grayscale8 ? 1 : 4;
    const int radius = qMax(1, qMax(out.width(), out.height()) / 200); // two passes: about 1 % wide
    const auto pass = [&](bool across) {
        const int lines = across ? out.height() : out.width(), length = across ? out.width() : out.height();
        std::vector<int> line(size_t(length) * channels);
        for (int l = 0; l < lines; ++l) {
            const auto at = [&](int i, int c) -> uchar& {
                return across ? out.scanLine(l)[i * channels + c] : out.scanLine(i)[l * channels + c];
            };
            for (int i = 0; i < length; ++i)
                for (int c = 0; c < channels; ++c)
                    line[size_t(i) * channels + c] = at(i, c);
            for (int c = 0; c < channels; ++c) {
                int sum = 0;
                for (int i = -radius; i <= radius; ++i)
                    sum += line[size_t(qBound(0, i, length - 1)) * channels + c];
                for (int i = 0; i < length; ++i) {
                    at(i, c) = uchar(sum / (2 * radius + 1));
                    sum += line[size_t(qMin(length - 1, i + radius + 1)) * channels + c] -
                           line[size_t(qMax(0, i - radius)) * channels + c];
                }
            }
        }
    };
    for (int round = 0; round < 2; ++round) {
        pass(true);
        pass(false);
    }
    return out;
}
} // namespace

QImage ViewOfReference(const QImage& image, const TReferenceView& view)
{
    QImage shown = view.Grey || view.Tones ? image.convertToFormat(QImage::Format_Grayscale8) : image;
    if (view.Blur)
        shown = Blurred(shown);
    if (view.Tones == 2 || view.Tones == 3)
        shown = Reduced(shown, view.Tones);
    if (view.Mirror || view.Flip)
        shown = shown.mirrored(view.Mirror, view.Flip);
    return shown;
}
