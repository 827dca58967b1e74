#include "app/canvas/PenEnds.h"

#include "app/canvas/CanvasView.h"
#include "app/Commands.h"

#include <QAction>

TPenEnds::TPenEnds(TCanvasView& canvas, const TCommands& commands, QObject* parent)
    : QObject(parent), FCommands(commands)
{
    setObjectName(QStringLiteral("PenEnds"));
    connect(&canvas, &TCanvasView::EraserEndChanged, this, &TPenEnds::EraserEndChanged);
}

void TPenEnds::EraserEndChanged(bool eraser)
{
    if (eraser) {
        FPenBefore = FCommands.Pen->isChecked();
        FCommands.Eraser->trigger();
    } else {
        (FPenBefore ? FCommands.Pen : FCommands.Eraser)->trigger();
    }
}
