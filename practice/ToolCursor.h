#ifndef TENARAI_PRACTICE_TOOLCURSOR_H
#define TENARAI_PRACTICE_TOOLCURSOR_H

#include "practice/DrawingSheet.h"

#include <QImage>

/**
 * @brief The pointer's picture over the canvas: the tool at the size the canvas shows it, at
 * `scale` device pixels per canvas pixel. A small cross for the pen, a circle as wide as the
 * eraser for the eraser; black lines edged in white, so they show on black and on white.
 * The image's device pixel ratio is `scale`; its hot spot is its centre.
 */
QImage ToolCursorImage(TTool tool, qreal scale);

#endif
