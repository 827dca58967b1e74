#ifndef TENARAI_TESTS_TESTSUPPORT_H
#define TENARAI_TESTS_TESTSUPPORT_H

#include "practice/Clock.h"
#include "raster/Bitmap.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTest>

// A clock that moves only when the test says so.
class TManualClock final : public TClock
{
public:
    qint64 NowMs() const override { return FNow; }
    void Advance(qint64 ms) { FNow += ms; }

private:
    qint64 FNow = 1'000'000;
};

// Whether two colours are the same but for what a lossy copy (a JPEG) may change.
inline bool Near(QRgb a, QRgb b, int tolerance = 6)
{
    return qAbs(qRed(a) - qRed(b)) <= tolerance && qAbs(qGreen(a) - qGreen(b)) <= tolerance &&
           qAbs(qBlue(a) - qBlue(b)) <= tolerance;
}

inline bool IsDark(QRgb p)
{
    return qGray(p) < 128;
}

// The bounding box of the pixels darker than mid-grey inside `area` (the whole image if empty).
inline QRect DarkBox(const QImage& image, QRect area = {})
{
    if (area.isEmpty())
        area = image.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (IsDark(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

inline bool AllWhite(const QImage& image, QRect area = {})
{
    if (area.isEmpty())
        area = image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != 0xFFFFFFFFu)
                return false;
    return true;
}

// Replaces a file's content with the bytes (a test's fixture; fails the test if it cannot).
inline void WriteText(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Runs an outside program; returns its exit code and fills its standard output.
inline int RunTool(const QString& program, const QStringList& args, QString* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, args);
    if (!process.waitForFinished(60000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

#endif
