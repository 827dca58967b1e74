#ifndef TENARAI_REFERENCES_GRIDPAINTER_H
#define TENARAI_REFERENCES_GRIDPAINTER_H

#include <QRectF>

class QPainter;

// The study grid's thin lines over `area`: black edged with white, so they show on light and
// dark images alike. Symmetric: mirrored or flipped, it lies at the same divisions.
void PaintStudyGrid(QPainter& painter, const QRectF& area, int divisions);

#endif
