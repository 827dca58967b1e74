#include "practice/ShiftState.h"

#include <QEvent>
#include <QInputDevice>
#include <QMouseEvent>

TShiftState ShiftStateOf(const QSinglePointEvent& event)
{
    TShiftState state;
    const Qt::KeyboardModifiers keys = event.modifiers();
    if (keys & Qt::ShiftModifier)
        state |= ssShift;
    if (keys & Qt::AltModifier)
        state |= ssAlt;
    if (keys & Qt::ControlModifier)
        state |= ssCtrl;
    if (keys & Qt::MetaModifier)
        state |= ssCommand;

    const Qt::MouseButtons buttons = event.buttons();
    if (buttons & Qt::LeftButton)
        state |= ssLeft;
    if (buttons & Qt::RightButton)
        state |= ssRight;
    if (buttons & Qt::MiddleButton)
        state |= ssMiddle;
    if (event.type() == QEvent::MouseButtonDblClick)
        state |= ssDouble;

    switch (event.device() ? event.device()->type() : QInputDevice::DeviceType::Mouse) {
    case QInputDevice::DeviceType::TouchScreen:
    case QInputDevice::DeviceType::TouchPad:
        state |= ssTouch;
        break;
    case QInputDevice::DeviceType::Stylus:
    case QInputDevice::DeviceType::Airbrush:
        state |= ssPen;
        break;
    default:
        break;
    }
    return state;
}
