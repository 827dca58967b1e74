#ifndef TENARAI_APP_WINDOWPLACE_H
#define TENARAI_APP_WINDOWPLACE_H

#include <QRect>

class QWidget;

/**
 * @brief Where a window of the program first opens: beside the main window, to its right
 * where the screen has room, else to its left, as tall as it and `widthPerHeight` times as wide
 * as tall where there is room, never over it.
 */
QRect PlaceBeside(const QWidget* mainWindow, double widthPerHeight);

#endif
