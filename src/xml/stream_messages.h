// stream_messages.h: the messages of the text and binary streams, in one table so the
// callers and the tests compare against the same text.
#pragma once

namespace Tessel16::detail {

inline constexpr const char* kMsgUnknownEncoding =
    "Unknown Encoding, select UTF-8 (contact our support team)";
inline constexpr const char* kMsgFileWriteFailed =
    "Failed to write data to the file [%s] error [0x%08X]";
inline constexpr const char* kMsgFileWriteFailedNoName =
    "Failed to write data to the file. Error [0x%08X]";
// Raised where the platform needs a completion event for overlapped writes; the POSIX layer
// has none, so it is kept only for the platforms that do.
inline constexpr const char* kMsgFileEventFailed =
    "Failed to create event for file overlap [%s] error [0x%08X]";

}  // namespace Tessel16::detail
