// primitive_collection_messages.h: the messages of the primitive value collections that the
// shared collection table does not already hold, named so tests compare against them.
#pragma once

namespace Tessel16::detail {

// Filled with the CDateTime kind name the collection holds (dt_date, dt_dateTime, ...).
inline constexpr const char kMsgWrongDateKind[] =
    "Dates added to this collection must be of type %s";

}  // namespace Tessel16::detail
