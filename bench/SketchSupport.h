#ifndef TENARAI_BENCH_SKETCHSUPPORT_H
#define TENARAI_BENCH_SKETCHSUPPORT_H

#include "practice/DrawingSheet.h"
#include "practice/FinishedDrawing.h"
#include "practice/Thumbnail.h"

#include <QList>
#include <QRandomGenerator>

// A realistic finished drawing: a few dozen pen strokes of wandering segments on a 667-pixel
// canvas, some erased, reduced and stamped as "Next" does.
inline TBitmap SketchThumbnail(quint32 seed)
{
    QRandomGenerator random(seed);
    TDrawingSheet sheet;
    sheet.Refit(QSizeF(667, 667));
    const int strokes = 20 + int(random.bounded(30));
    for (int s = 0; s < strokes; ++s) {
        QPointF p(random.bounded(667.0), random.bounded(667.0));
        const TTool tool = s % 9 == 8 ? TTool::Eraser : TTool::Pen;
        sheet.MouseDown(ssLeft, p);
        const int steps = 10 + int(random.bounded(60));
        for (int i = 0; i < steps; ++i) {
            p += QPointF(random.bounded(16.0) - 8, random.bounded(16.0) - 8);
            sheet.MouseMove(ssLeft, p, tool);
        }
        sheet.MouseUp();
    }
    const int ms = int(random.bounded(600000));
    return MakeThumbnail(sheet.Bitmap(),
                         QString::asprintf("%.2d:%.2d.%.3d", ms / 60000, ms / 1000 % 60, ms % 1000));
}

// Finished drawings in the form the practice keeps them.
inline QList<TFinishedDrawing> SketchDrawings(int count)
{
    QList<TFinishedDrawing> list;
    for (int i = 0; i < count; ++i)
        list << TFinishedDrawing::Pack(SketchThumbnail(quint32(1000 + i)), {}, 0);
    return list;
}

#endif
