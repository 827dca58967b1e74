#ifndef TENARAI_PRACTICE_SHIFTSTATE_H
#define TENARAI_PRACTICE_SHIFTSTATE_H

#include <QFlags>

class QSinglePointEvent;

// The keys, buttons and kind of pointer that come with a pointer event.
enum TShiftStateFlag : unsigned
{
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
    ssTouch = 1u << 7,
    ssPen = 1u << 8,
    ssCommand = 1u << 9,
    ssHorizontal = 1u << 10,
};
Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TShiftState)

// The buttons held during the event (after a press, the pressed one is among them), the
// modifier keys and the device kind.
TShiftState ShiftStateOf(const QSinglePointEvent& event);

#endif
