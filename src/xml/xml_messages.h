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
// Input beyond a reader's limits; each names the limit and the setting that raises it.
inline constexpr char kInflatedTooLarge[] =
    "The compressed input inflates to more than %llu bytes, the largest inflated size "
    "allowed [%llu compressed bytes]. Raise it with CSerializationContext::SetMaxInflatedSize "
    "and SetMaxInflateRatio.";
inline constexpr char kTooDeep[] =
    "The document nests elements deeper than %u levels, the deepest nesting allowed, at line "
    "%d. Raise it with CSerializationContext::SetMaxDepth.";
inline constexpr char kAmplification[] =
    "The document expands its entities more than %g times its own size, the largest "
    "amplification allowed, at line %d. Raise it with "
    "CSerializationContext::SetMaxEntityAmplification.";
inline constexpr char kInputTooLarge[] =
    "The input of %llu bytes is larger than the 4294967295 bytes a document may have";
inline constexpr char kOutOfMemory[] = "Out of memory while reading the document";

// The error number reported for a file that ends before its first chunk: the value the
// original platform gives for reading at end of file, kept so the message is stable.
inline constexpr unsigned kEndOfFileError = 38;

}  // namespace Tessel16::detail::XmlMessages
