#include "app/canvas/MirrorView.h"

#include "app/BottomBand.h"
#include "app/Commands.h"
#include "app/canvas/CanvasView.h"

#include <QAction>
#include <QLabel>

TMirrorView::TMirrorView(TCanvasView& canvas, const TCommands& commands, TBottomBand& band, QWidget* window)
    : QObject(window), FCanvas(canvas),
      FMark(new QLabel(tr("反転表示中"), window))
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
    font.setPixelSize(TBottomBand::Height - 5);
    FMark->setFont(font);
    FMark->setMinimumWidth(FMark->sizeHint().width() + 12);
    FMark->hide();
    band.Add(FMark, TBottomBand::TSlot::Mark);
    connect(commands.MirrorView, &QAction::toggled, this, &TMirrorView::SetMirrored);
}

void TMirrorView::SetMirrored(bool mirrored)
{
    FCanvas.SetMirrored(mirrored);
    FMark->setVisible(mirrored);
}
