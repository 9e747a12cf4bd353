// writer_messages.h: the messages the writers and the namespace alias map throw, kept in one
// table so callers and tests compare against the same text.
#pragma once

namespace Tessel16::detail {

inline constexpr const char* kMsgElementNotClosed = "An Element has not been closed.";
inline constexpr const char* kMsgAttributesBeforeElements =
    "Attributes must be added before elements";
inline constexpr const char* kMsgInvalidEolType = "Invalid EOL type.";
inline constexpr const char* kMsgNamespaceAliasNotFound = "Namespace alias [%s] not found";
// Also what a name becomes when the local code page cannot hold one of its characters.
inline constexpr const char* kMsgInvalidXmlName =
    "The name [%s] is not a valid XML name and cannot be written";
inline constexpr const char* kMsgIndexOutOfRange = "Index %d is out of range, use 0 - %d";

inline constexpr const char* kXmlNamespaceUri = "http://www.w3.org/XML/1998/namespace";
inline constexpr const char* kXsiNamespaceUri = "http://www.w3.org/2001/XMLSchema-instance";

}  // namespace Tessel16::detail
