// nillable.h: which generated objects are INillable. Writing asks for every object and
// reading for every element, and the cross cast behind the answer searches the class
// hierarchy each time, so the answer is remembered per class.
#pragma once

#include "tessel16/xml_generated_class.h"

namespace Tessel16::detail {

// The object as INillable, or null.
const INillable* AsNillable(const CXmlGeneratedClass* object);

}  // namespace Tessel16::detail
