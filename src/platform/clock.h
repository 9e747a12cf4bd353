// clock.h: the one place the library reads the wall clock. The rest of the date code does its
// own calendar arithmetic and never asks the platform for time zones.
#pragma once

#include "tessel16/date_time.h"

namespace Tessel16::detail {

// The present local date and time, to the millisecond.
TsSystemTime LocalNow();

}  // namespace Tessel16::detail
