#pragma once
#include "app/Deklarat.h"

#include <initializer_list>
#include <vector>

// A whole reply arriving on the line, as the serial link stores it: `frame`
// (unit identifier first, CRC bytes if wanted) from RxFrame[6] on. It goes to
// the window whose request is outstanding, as a real reply would.
void HandReply(Deklarat &d, const std::vector<quint8> &frame);
void HandReply(Deklarat &d, std::initializer_list<quint8> frame);
