#include "app/MirrorView.h"

#include "app/CanvasView.h"
#include "app/Commands.h"
#include "app/CountdownBar.h"

#include <QAction>
#include <QEvent>
#include <QLabel>

TMirrorView::TMirrorView(TCanvasView& canvas, const TCommands& commands, QWidget* window)
    : QObject(window), FCanvas(canvas), FWindow(window),
      FMark(new QLabel(QStringLiteral("反転表示中"), window))
{
    setObjectName(QStringLiteral("MirrorView"));
    FMark->setObjectName(QStringLiteral("MirrorMark"));
    FMark->setAlignment(Qt::AlignCenter);
    FMark->setAutoFillBackground(true);
    FMark->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette palette = FMark->palette();
    palette.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    palette.setColor(QPalette::WindowText, Qt::white);
    FMark->setPalette(palette);
    QFont font = FMark->font();
    font.setPixelSize(TCountdownBar::BarHeight - 5);
    FMark->setFont(font);
    FMark->hide();
    connect(commands.MirrorView, &QAction::toggled, this, &TMirrorView::SetMirrored);
    window->installEventFilter(this);
}

void TMirrorView::SetMirrored(bool mirrored)
{
    FCanvas.SetMirrored(mirrored);
    FMark->setVisible(mirrored);
    PlaceMark();
}

void TMirrorView::PlaceMark()
{
    const int h = TCountdownBar::BarHeight;
    const int w = FMark->sizeHint().width() + 12;
    FMark->setGeometry(FWindow->width() - w, FWindow->height() - h, w, h);
    FMark->raise();
}

bool TMirrorView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FWindow && event->type() == QEvent::Resize && FMark->isVisible())
        PlaceMark();
    return QObject::eventFilter(watched, event);
}
