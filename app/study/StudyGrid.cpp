#include "app/study/StudyGrid.h"

#include "app/canvas/CanvasView.h"
#include "app/Commands.h"
#include "app/study/ReferencePane.h"
#include "app/Settings.h"

#include <QAction>

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
