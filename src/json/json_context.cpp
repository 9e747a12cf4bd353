// json_context.cpp: out-of-line destructor, so the class's vtable lives in the library.
#include "tessel16/json_context.h"

namespace Tessel16 {

CJsonContext::~CJsonContext() = default;

}  // namespace Tessel16
