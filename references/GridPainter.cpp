#include "references/GridPainter.h"

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
