// xml_messages.h: the texts of every failure of the XML loader, kept in one table so the
// tests compare against the same constants the loader throws with.
#pragma once

namespace Tessel16::detail::XmlMessages {

inline constexpr char kOpenFailed[] = "Failed to open the file [%s] Error [0x%08x]";
inline constexpr char kSizeFailed[] = "Failed to get the size of the file [%s] Error [0x%08x]";
inline constexpr char kReadFailed[] = "Failed to read the contents of the file [%s] Error [0x%08x]";
inline constexpr char kChunkReadFailed[] =
    "Failed to read the contents of the file. Error [0x%08x]";
inline constexpr char kInvalidOrEmpty[] = "Invalid or empty XML document";
inline constexpr char kStringEmpty[] = "XML String is empty!";
inline constexpr char kStreamEmpty[] = "XML Stream is empty!";
inline constexpr char kParseError[] = "%s at line %d";
inline constexpr char kNullElement[] = "FromXmlElement was given no element";

// The error number reported for a file that ends before its first chunk: the value the
// original platform gives for reading at end of file, kept so the message is stable.
inline constexpr unsigned kEndOfFileError = 38;

}  // namespace Tessel16::detail::XmlMessages
