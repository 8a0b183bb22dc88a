// The press latch of both backends (see press_latch.h).
#include "platform/press_latch.h"

#include <utility>

void PressLatch::press(int buttons, int x, int y)
{
    buttons_ |= buttons;
    x_ = x;
    y_ = y;
}

bool PressLatch::fold(int& x, int& y, int& buttons)
{
    const int latched = std::exchange(buttons_, 0);
    if ((latched & ~buttons) == 0) return false;
    x = x_;
    y = y_;
    buttons |= latched;
    return true;
}
