#include "references/ReferenceImage.h"

#include <QFile>
#include <QImageReader>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

std::unique_ptr<QIODevice> OpenReferenceFile(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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

QImage ViewOfReference(const QImage& image, bool grey, bool mirror)
{
    QImage view = grey ? image.convertToFormat(QImage::Format_Grayscale8) : image;
    if (mirror)
        view = view.mirrored(true, false);
    return view;
}
