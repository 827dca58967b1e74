#include "app/StudyGrid.h"

#include "app/CanvasView.h"
#include "app/Commands.h"
#include "app/ReferencePane.h"
#include "app/Settings.h"

#include <QAction>
#include <QPainter>

void PaintStudyGrid(QPainter& painter, const QRectF& area, int divisions)
{
    for (int i = 1; i < divisions; ++i) {
        const qreal x = area.left() + area.width() * i / divisions,
                    y = area.top() + area.height() * i / divisions;
        for (const auto& [colour, offset] :
             {std::pair{QColor(255, 255, 255, 160), 1.0}, std::pair{QColor(0, 0, 0, 200), 0.0}}) {
            painter.setPen(QPen(colour, 1));
            painter.drawLine(QPointF(x + offset, area.top()), QPointF(x + offset, area.bottom()));
            painter.drawLine(QPointF(area.left(), y + offset), QPointF(area.right(), y + offset));
        }
    }
}

TStudyGrid::TStudyGrid(TCanvasView& canvas, const TCommands& commands, TReferencePane& references,
                       QObject* parent)
    : QObject(parent), FCanvas(canvas), FReferences(references)
{
    setObjectName(QStringLiteral("StudyGrid"));
    connect(commands.Grid, &QAction::triggered, this, [this] {
        Set(FDivisions == 0 ? 3 : FDivisions == 3 ? 4 : 0);
    });
    connect(&references, &TReferencePane::GridChosen, this, &TStudyGrid::Set);
    const int remembered = OpenSettings()->value(QLatin1String(Settings::Grid), 0).toInt();
    Set(remembered == 3 || remembered == 4 ? remembered : 0);
}

void TStudyGrid::Set(int divisions)
{
    FDivisions = divisions;
    FCanvas.SetGrid(divisions);
    FReferences.SetGrid(divisions);
    OpenSettings()->setValue(QLatin1String(Settings::Grid), divisions);
}
