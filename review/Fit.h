#ifndef TENARAI_REVIEW_FIT_H
#define TENARAI_REVIEW_FIT_H

#include <QImage>
#include <QPointF>
#include <QRect>

/**
 * @brief How a drawing lies over its reference in the review: scaled about the cell's centre
 * and shifted, p' = centre + Scale · (p − centre) + Shift, in cell pixels. The starting frame
 * is the identity: the drawing's square over the reference fitted into that square, centred.
 */
struct TOverlayFrame
{
    double Scale = 1.0;
    QPointF Shift;

    QPointF Map(QPointF p, double side) const
    {
        const QPointF centre(side / 2, side / 2);
        return centre + Scale * (p - centre) + Shift;
    }
};

struct TFitResult
{
    TOverlayFrame Frame;     // the starting frame when nothing was found
    bool Found = false;      // false: the reference has no edges, or the drawing no lines
    double MeanDistance = 0; // of the ink to the nearest edge, in cell pixels, at the fit
};

namespace Fit {
inline constexpr double MinScale = 0.5;
inline constexpr double MaxScale = 2.0;
// A pixel of a thumbnail darker than this is ink: a 1-pixel line scaled down to the thumbnail
// can fall between two rows and leave each of them only a light grey.
inline constexpr int InkLevel = 224;
// The stamp in a thumbnail's top-left corner is no line of the drawing.
inline constexpr QRect StampArea(0, 0, 170, 30);
} // namespace Fit

/**
 * @brief Lays the drawing's lines best on the reference's edges: the frame (scale 0.5× to 2×,
 * any shift that keeps the drawing over the cell) with the least mean distance from each ink
 * pixel to the nearest edge of the reference (a chamfer match), searched coarse to fine on
 * reduced images.
 *
 * `drawing` is a thumbnail (dark lines on white, its stamp left out), `reference` the
 * reference as it was shown, fitted into the same square; both square and of one side.
 * Takes tens of milliseconds: call it off the user-interface thread.
 */
TFitResult FitDrawing(const QImage& drawing, const QImage& reference);

#endif
