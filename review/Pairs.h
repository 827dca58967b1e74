#ifndef TENARAI_REVIEW_PAIRS_H
#define TENARAI_REVIEW_PAIRS_H

#include "practice/FinishedDrawing.h"

#include <QImage>
#include <QString>

/**
 * @brief One drawing of a review beside its reference: the thumbnail with its stamp, and the
 * reference as it was shown fitted into the same square, as the reference sheets hold it.
 */
struct TReviewPair
{
    QImage Drawing;  // 512 × 512, the stamp included
    QString Caption; // "3 · 00:12.345": its number in the practice and its time
    bool HasReference = false;
    QImage Reference; // null while it is read, or when there is none; "見つかりません" when gone
};

// The pair of the practice's drawing `number` (from 1), its reference still to be read.
TReviewPair PairOf(const TFinishedDrawing& drawing, int number);
// A drawing of a saved practice, found again in its sheets.
struct TSheetDrawing
{
    QString Caption;
    int Sheet = 1;     // "<stamp>_<sheet>.png"
    int Cell = 0;      // 0 to 63, across then down
    QString Reference; // the file, where it is not on a reference sheet; empty for none
    bool HasReference = false;
};
// The pairs of a saved practice, from the cells of its result sheets and of its reference
// sheets (or, where there is none, its reference files); a sheet that is gone gives
// "見つかりません". Reads files: off the user-interface thread.
QList<TReviewPair> PairsFromSheets(const QString& folder, const QString& stamp,
                                   const QList<TSheetDrawing>& drawings);

// The drawing's lines in a strong colour on transparent, two pixels wide, for laying over the
// reference; the stamp is left out.
QImage InkLayer(const QImage& drawing, QColor colour);

#endif
