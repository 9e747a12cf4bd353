// date_time_span.h: CDateTimeSpan, the XSD duration. It shares date_time.h with CDateTime,
// which it needs for its order; this header exists so callers can include it by its name.
#pragma once

#include "tessel16/date_time.h"
