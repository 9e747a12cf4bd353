// json_messages.h: every message the JSON writer, reader and JSON-to-XML mapping throw, in
// one table so callers and tests compare against the same text. Reader messages take the
// line and position of the failure last.
#pragma once

namespace Tessel16::detail::JsonMessages {

inline constexpr const char* kUnknownNamespace = "Unknown Namespace: %s.";
// A member cannot follow a value already written for the same element (text, then a child).
inline constexpr const char* kMemberAfterValue =
    "JSON member [%s] cannot follow the value of its element.";

inline constexpr const char* kDepthLimit = "JSON exceeded depth limit at line %d, position %d.";
inline constexpr const char* kExpectedValue =
    "Expected Value '{', '[', '\"', '0-9', '-', 'true', 'false' or 'null', found '%c' at line "
    "%d, position %d.";
// Empty input, or input of only whitespace and comments: JSON text holds exactly one value.
inline constexpr const char* kEofExpectedValue =
    "Unexpected End of File. Expected Value at line %d, position %d.";
// Anything but whitespace (and comments, when allowed) after the document's value.
inline constexpr const char* kTrailingContent =
    "Unexpected character '%c' after the JSON value at line %d, position %d.";
// The doubled brace is part of the message.
inline constexpr const char* kEofObjectTerminatorEmpty =
    "Unexpected End of File. Expected Object terminator character '}}' at line %d, position "
    "%d.";
inline constexpr const char* kExpectedNameQuote =
    "Expected quotation mark character '\"' before Name, found '%c' at line %d, position %d.";
inline constexpr const char* kEofNameSeparator =
    "Unexpected End of File. Expected Object Name/Value separator character ':' at line %d, "
    "position %d.";
inline constexpr const char* kExpectedNameSeparator =
    "Expected Object Name/Value separator character ':', found '%c' at line %d, position %d.";
inline constexpr const char* kEofObjectValue =
    "Unexpected End of File. Expected Object Value at line %d, position %d.";
inline constexpr const char* kEofObjectTerminator =
    "Unexpected End of File. Expected Object terminator character '}' at line %d, position %d.";
inline constexpr const char* kExpectedObjectSeparator =
    "Expected Object separator character ',', found '%c' at line %d, position %d.";
inline constexpr const char* kEofArrayTerminator =
    "Unexpected End of File. Expected Array terminator character ']' at line %d, position %d.";
inline constexpr const char* kExpectedArraySeparator =
    "Expected Array separator character ',', found '%c' at line %d, position %d.";
inline constexpr const char* kEofNull =
    "Unexpected End of File. Expected value 'NULL' at line %d, position %d.";
inline constexpr const char* kEofTrue =
    "Unexpected End of File. Expected value 'true' at line %d, position %d.";
inline constexpr const char* kEofFalse =
    "Unexpected End of File. Expected value 'false' at line %d, position %d.";
inline constexpr const char* kExpectedNull = "Expected 'NULL' at line %d, position %d.";
inline constexpr const char* kExpectedTrue = "Expected 'true' at line %d, position %d.";
inline constexpr const char* kExpectedFalse = "Expected 'false' at line %d, position %d.";
inline constexpr const char* kEofNumber =
    "Unexpected End of File. Expected a number at line %d, position %d.";
inline constexpr const char* kEofDigit =
    "Unexpected End of File. Expected a digit '0' to '9' at line %d, position %d.";
inline constexpr const char* kExpectedDigit =
    "Expected a digit '0' to '9', found '%c' at line %d, position %d.";
inline constexpr const char* kEofExponent =
    "Unexpected End of File. Expected '+', '-' or a number at line %d, position %d.";
inline constexpr const char* kEofString =
    "Unexpected End of File. Expected string value at line %d, position %d.";
inline constexpr const char* kEofHexDigits =
    "Unexpected End of File. Expected 4 hexadecimal digits'\\uxxxx' at line %d, position %d.";
inline constexpr const char* kInvalidEscape =
    "Invalid Escape Character '%c' at line %d, position %d.";
// RFC 8259: control characters inside strings must be escaped, line feeds included.
inline constexpr const char* kControlInString =
    "Invalid control character [0x%02X] in string at line %d, position %d.";
inline constexpr const char* kInvalidHexDigits =
    "Expected 4 hexadecimal digits '\\uxxxx', found '%c' at line %d, position %d.";
inline constexpr const char* kLoneSurrogate =
    "Invalid surrogate [\\u%04X] in string at line %d, position %d.";
inline constexpr const char* kInvalidUtf8 =
    "Invalid UTF-8 sequence in string at line %d, position %d.";

inline constexpr const char* kEmptyName = "JSON item has an empty Name.";
inline constexpr const char* kArrayWithoutName = "JSON Array has no Name.";
inline constexpr const char* kElementNameFailed =
    "Failed to convert name '%s' to Element name in XML.";
inline constexpr const char* kAttributeValueFailed =
    "Failed to convert value '%s' to Attribute string value in XML.";
inline constexpr const char* kElementValueFailed =
    "Failed to convert value '%s' to Element string value in XML.";

inline constexpr const char* kStringEmpty = "JSON String is empty!";
inline constexpr const char* kStreamEmpty = "JSON Stream is empty!";
inline constexpr const char* kConvertFailed = "Error converting JSON to XML:\n%s";

}  // namespace Tessel16::detail::JsonMessages
