#include "app/Application.h"

#include "app/ErrorReport.h"

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // The name also goes into the journal's lock files, where it must be the program's file name.
    setApplicationName(QStringLiteral("tenarai"));
    setApplicationVersion(QStringLiteral(TENARAI_VERSION));
    setDesktopFileName(QStringLiteral("io.github.tenarai.Tenarai"));
}

void TApplication::PrepareStart()
{
    // Every pointer sample becomes its own segment, so fast strokes keep their shape.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    QCoreApplication::setAttribute(Qt::AA_CompressTabletEvents, false);
    // Keep fractional scale factors: at 1.5 one unit is still one canvas pixel, shown 1.5 wide.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
        return false;
    }
}
