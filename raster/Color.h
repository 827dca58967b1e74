#ifndef TENARAI_RASTER_COLOR_H
#define TENARAI_RASTER_COLOR_H

#include <QtGlobal>

// 32-bit colour written $AARRGGBB, as QRgb.
using TAlphaColor = quint32;

namespace TAlphaColors {
inline constexpr TAlphaColor White = 0xFFFFFFFFu;
inline constexpr TAlphaColor Black = 0xFF000000u;
} // namespace TAlphaColors

#endif
