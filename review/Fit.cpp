#include "review/Fit.h"

#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cmath>
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <vector>

namespace {
constexpr int kMinEdges = 30;         // fewer edge pixels than this is a flat reference
constexpr int kMinInk = 10;           // fewer ink pixels than this is no drawing to fit
constexpr int kCoarseSide = 128;      // the coarsest level of the search
constexpr int kCoarsePoints = 300;    // ink samples at the coarse level; all of them at the finest
constexpr int kScaleSteps = 31;       // geometric, 0.5× to 2×: about 4.7 % apart
constexpr double kShiftRange = 0.45;  // of the cell, each way
constexpr float kDistanceCap = 0.08f; // of the side: an ink pixel far from every edge costs no more

struct TCandidate
{
    double Scale;
    double ShiftX, ShiftY; // in pixels of the level
    double Cost;
};

// One level of the search: the distance to the nearest reference edge, and the ink on it.
struct TLevel
{
    int Side = 0;
    cv::Mat Distance; // CV_32F, capped
    std::vector<cv::Point2f> Ink;
    float Cap = 0;

    double Cost(double scale, double dx, double dy) const
    {
        const double c = Side / 2.0;
        double sum = 0;
        for (const cv::Point2f& p : Ink) {
            const int x = cvRound(c + scale * (p.x - c) + dx);
            const int y = cvRound(c + scale * (p.y - c) + dy);
            sum += x >= 0 && y >= 0 && x < Side && y < Side ? Distance.at<float>(y, x) : Cap;
        }
        return sum / double(Ink.size());
    }
};

cv::Mat GreyOf(const QImage& image)
{
    const QImage grey = image.convertToFormat(QImage::Format_Grayscale8);
    cv::Mat view(grey.height(), grey.width(), CV_8UC1, const_cast<uchar*>(grey.constBits()),
                 size_t(grey.bytesPerLine()));
    return view.clone();
}

// The reference's edges: Canny on the lightly smoothed grey image, its thresholds from the
// image's own median so that dim and bright photographs both give their outlines.
cv::Mat EdgesOf(const cv::Mat& grey)
{
    cv::Mat smooth;
    cv::GaussianBlur(grey, smooth, cv::Size(5, 5), 1.2);
    std::vector<uchar> values(smooth.begin<uchar>(), smooth.end<uchar>());
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    const double median = values[values.size() / 2];
    const double low = std::max(10.0, 0.66 * median), high = std::max(30.0, std::min(255.0, 1.33 * median));
    cv::Mat edges;
    cv::Canny(smooth, edges, std::min(low, high / 2), high);
    return edges;
}

// A reference fitted into the square is centred on white: the border between the picture and
// the white bands is no edge of the picture, and is left out.
void DropLetterbox(const cv::Mat& grey, cv::Mat& edges)
{
    const auto blankRow = [&](int y) { return cv::countNonZero(grey.row(y) != 255) == 0; };
    const auto blankColumn = [&](int x) { return cv::countNonZero(grey.col(x) != 255) == 0; };
    int top = 0, bottom = grey.rows - 1, left = 0, right = grey.cols - 1;
    while (top < bottom && blankRow(top))
        ++top;
    while (bottom > top && blankRow(bottom))
        --bottom;
    while (left < right && blankColumn(left))
        ++left;
    while (right > left && blankColumn(right))
        --right;
    constexpr int band = 3;
    const auto clear = [&](cv::Rect area) { edges(area & cv::Rect(0, 0, edges.cols, edges.rows)).setTo(0); };
    if (top > 0)
        clear({0, top - band, edges.cols, 2 * band + 1});
    if (bottom < grey.rows - 1)
        clear({0, bottom - band, edges.cols, 2 * band + 1});
    if (left > 0)
        clear({left - band, 0, 2 * band + 1, edges.rows});
    if (right < grey.cols - 1)
        clear({right - band, 0, 2 * band + 1, edges.rows});
}

TLevel MakeLevel(const cv::Mat& edges, const std::vector<cv::Point2f>& ink, int side, size_t points)
{
    TLevel level;
    level.Side = side;
    const double factor = double(side) / edges.cols;
    cv::Mat small;
    if (side == edges.cols) {
        small = edges;
    } else {
        cv::resize(edges, small, cv::Size(side, side), 0, 0, cv::INTER_AREA);
        cv::threshold(small, small, 0, 255, cv::THRESH_BINARY);
    }
    cv::Mat free = small == 0; // the distance is to the nearest zero: the edges become zeros
    cv::distanceTransform(free, level.Distance, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    level.Cap = kDistanceCap * side;
    cv::min(level.Distance, level.Cap, level.Distance);
    const size_t stride = std::max<size_t>(1, ink.size() / points);
    for (size_t i = 0; i < ink.size(); i += stride)
        level.Ink.emplace_back(float(ink[i].x * factor), float(ink[i].y * factor));
    return level;
}

// The best frames of a grid of scales and shifts. For each scale the ink is placed once, in
// whole pixels; each shift then only adds to an index into the distances, padded with the cap
// so that no lookup needs a bounds check.
std::vector<TCandidate> CoarseSearch(const TLevel& level)
{
    const int range = int(kShiftRange * level.Side);
    const int pad = level.Side / 2 + range + 2;
    cv::Mat padded;
    cv::copyMakeBorder(level.Distance, padded, pad, pad, pad, pad, cv::BORDER_CONSTANT,
                       cv::Scalar(level.Cap));
    const int stride = padded.cols;
    const float* origin = padded.ptr<float>(pad) + pad;
    std::vector<TCandidate> found;
    std::vector<int> offsets(level.Ink.size());
    const double c = level.Side / 2.0;
    for (int s = 0; s < kScaleSteps; ++s) {
        const double scale =
            Fit::MinScale * std::pow(Fit::MaxScale / Fit::MinScale, s / double(kScaleSteps - 1));
        for (size_t i = 0; i < level.Ink.size(); ++i) {
            const int x = cvRound(c + scale * (level.Ink[i].x - c));
            const int y = cvRound(c + scale * (level.Ink[i].y - c));
            offsets[i] = y * stride + x;
        }
        for (int dy = -range; dy <= range; dy += 2)
            for (int dx = -range; dx <= range; dx += 2) {
                const float* at = origin + dy * stride + dx;
                float sum = 0;
                for (const int offset : offsets)
                    sum += at[offset];
                found.push_back({scale, double(dx), double(dy), sum / double(offsets.size())});
            }
    }
    constexpr size_t keep = 6;
    std::partial_sort(found.begin(), found.begin() + keep, found.end(),
                      [](const TCandidate& a, const TCandidate& b) { return a.Cost < b.Cost; });
    found.resize(keep);
    return found;
}

// Moves a frame downhill on one level, in steps that halve down to a pixel.
TCandidate Refine(const TLevel& level, TCandidate at, double shiftStep, double scaleStep)
{
    at.Cost = level.Cost(at.Scale, at.ShiftX, at.ShiftY);
    while (shiftStep >= 0.5) {
        bool moved = true;
        while (moved) {
            moved = false;
            for (const auto& [ds, dx, dy] : std::array<std::array<double, 3>, 6>{{{scaleStep, 0, 0},
                                                                                  {-scaleStep, 0, 0},
                                                                                  {0, shiftStep, 0},
                                                                                  {0, -shiftStep, 0},
                                                                                  {0, 0, shiftStep},
                                                                                  {0, 0, -shiftStep}}}) {
                const double scale = std::clamp(at.Scale * (1 + ds), Fit::MinScale, Fit::MaxScale);
                const double cost = level.Cost(scale, at.ShiftX + dx, at.ShiftY + dy);
                if (cost < at.Cost - 1e-9) {
                    at = {scale, at.ShiftX + dx, at.ShiftY + dy, cost};
                    moved = true;
                }
            }
        }
        shiftStep /= 2;
        scaleStep /= 2;
    }
    return at;
}
} // namespace

TFitResult FitDrawing(const QImage& drawing, const QImage& reference)
{
    TFitResult result;
    if (drawing.isNull() || reference.isNull() || drawing.size() != reference.size() ||
        drawing.width() != drawing.height())
        return result;
    const int side = drawing.width();
    const cv::Mat grey = GreyOf(reference);
    cv::Mat edges = EdgesOf(grey);
    DropLetterbox(grey, edges);
    const cv::Mat ink = GreyOf(drawing);
    std::vector<cv::Point2f> inkPoints;
    const QRect stamp = Fit::StampArea;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            if (ink.at<uchar>(y, x) < Fit::InkLevel && !stamp.contains(x, y))
                inkPoints.emplace_back(float(x), float(y));
    if (cv::countNonZero(edges) < kMinEdges || int(inkPoints.size()) < kMinInk)
        return result;

    const TLevel coarse = MakeLevel(edges, inkPoints, std::min(side, kCoarseSide), kCoarsePoints);
    const TLevel middle = MakeLevel(edges, inkPoints, std::min(side, 2 * kCoarseSide), 4 * kCoarsePoints);
    const TLevel fine = MakeLevel(edges, inkPoints, side, inkPoints.size());
    TCandidate best{1, 0, 0, 1e300};
    for (TCandidate candidate : CoarseSearch(coarse)) {
        // Up a level: shifts double, the scale stays.
        const double up = double(middle.Side) / coarse.Side;
        candidate =
            Refine(middle, {candidate.Scale, candidate.ShiftX * up, candidate.ShiftY * up, 0}, 2, 0.02);
        if (candidate.Cost < best.Cost)
            best = candidate;
    }
    const double up = double(fine.Side) / middle.Side;
    best = Refine(fine, {best.Scale, best.ShiftX * up, best.ShiftY * up, 0}, 2, 0.01);
    result.Found = true;
    result.Frame = {best.Scale, QPointF(best.ShiftX, best.ShiftY)};
    result.MeanDistance = best.Cost;
    return result;
}
