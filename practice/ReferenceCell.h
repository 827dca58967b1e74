#ifndef TENARAI_PRACTICE_REFERENCECELL_H
#define TENARAI_PRACTICE_REFERENCECELL_H

#include "practice/ReferenceLink.h"

#include <QImage>

/**
 * @brief One cell of a reference sheet: the reference as it was shown (its kept copy, or the
 * file seen through the link's study aids where no copy was kept), fitted into 512 × 512 with
 * its aspect kept and centred on white; "見つかりません" on white when there is neither; null for
 * a drawing made without a reference (the cell stays white).
 */
QImage ReferenceCell(const TReferenceLink& reference);

#endif
