// fastinfoset_messages.h: the messages of the Fast Infoset writer, reader and value
// encodings, kept in one table so callers and tests compare against the same text.
#pragma once

namespace Tessel16::detail::FastInfosetMessages {

inline constexpr const char* kUnknownByteEncoding = "Unknown byte encoding.";
inline constexpr const char* kInvalidShort = "Invalid value for SHORT byte encoding.";
inline constexpr const char* kInvalidInt = "Invalid value for INT byte encoding.";
inline constexpr const char* kInvalidLong = "Invalid value for LONG byte encoding.";
inline constexpr const char* kInvalidFloat = "Invalid value for FLOAT byte encoding.";
inline constexpr const char* kInvalidDouble = "Invalid value for DOUBLE byte encoding.";
inline constexpr const char* kInvalidUuid = "Invalid value for UUID byte encoding.";

inline constexpr const char* kWriteUtf16 =
    "Failed to write FastInfoset. Unsupported Feature UTF16BE in EncodedCharacterStringBit5.";
inline constexpr const char* kWriteBadAlphabet =
    "Failed to write FastInfoset. Invalid Restricted Alphabet value [%d]";
inline constexpr const char* kWriteBadAlgorithm =
    "Failed to write FastInfoset. Invalid Encoding Algorithm value [%d]";
inline constexpr const char* kWriteUnknownBit5 =
    "Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit5.";
inline constexpr const char* kWriteUnknownBit7 =
    "Failed to write FastInfoset. Unknown encoding in EncodedCharacterStringBit7.";
inline constexpr const char* kWriteAlphabetWidth =
    "Failed to write FastInfoset. Unsupported Feature in AppendRestrictedAlphabetString.";
inline constexpr const char* kWriteAlphabetChar =
    "Failed to write FastInfoset. Invalid character not found for Restricted Alphabet.";
inline constexpr const char* kWriteAlphabetSize =
    "Failed to write FastInfoset. Invalid Restricted Alphabet. Alphabet must contain between 2 "
    "and 2^20 characters.";

inline constexpr const char* kReadEof = "Failed to parse FastInfoset. Unexpected End of File.";
inline constexpr const char* kReadOctetString2 =
    "Failed to parse FastInfoset. Invalid NonEmptyOctetString type  on the second bit of an "
    "octet.";
inline constexpr const char* kReadOctetString5 =
    "Failed to parse FastInfoset. Invalid NonEmptyOctetString type  on the fifth bit of an octet.";
inline constexpr const char* kReadOctetString7 =
    "Failed to parse FastInfoset. Invalid NonEmptyOctetString type  on the seventh bit of an "
    "octet.";
inline constexpr const char* kReadInt1Bit2 =
    "Failed to parse FastInfoset. Invalid Encoding of integers 1 To 2^20 type  on the second bit "
    "of an octet.";
inline constexpr const char* kReadInt0Bit2 =
    "Failed to parse FastInfoset. Invalid Encoding of integers 0 To 2^20 type  on the second bit "
    "of an octet.";
inline constexpr const char* kReadInt1Bit3 =
    "Failed to parse FastInfoset. Invalid Encoding of integers 1 To 2^20 type  on the third bit "
    "of an octet.";
inline constexpr const char* kReadInt1Bit4 =
    "Failed to parse FastInfoset. Invalid Encoding of integers 1 To 2^20 type  on the fourth bit "
    "of an octet.";
inline constexpr const char* kReadEncoded3 =
    "Failed to parse FastInfoset. Invalid EncodedCharacterString type  on the third bit of an "
    "octet.";
inline constexpr const char* kReadEncoded5 =
    "Failed to parse FastInfoset. Invalid EncodedCharacterString type  on the fifth bit of an "
    "octet.";
inline constexpr const char* kReadPrefixWithoutNamespace =
    "Failed to parse FastInfoset. Invalid QName type Prefix without Namespace.";
inline constexpr const char* kReadBadElementItem =
    "Failed to parse FastInfoset. Invalid Encoding of Element type.";
inline constexpr const char* kReadAlphabetSize =
    "Failed to parse FastInfoset. Invalid Encoding of Restricted Alphabet. Alphabet must contain "
    "between 2 and 2^20 characters.";
// Our own wording for what the format leaves to each reader.
inline constexpr const char* kReadIndexOutOfRange =
    "Failed to parse FastInfoset. Index [%u] is beyond the end of the %s table.";
inline constexpr const char* kReadAlphabetIndex =
    "Failed to parse FastInfoset. Restricted alphabet character index [%u] is out of range.";
inline constexpr const char* kReadUnknownAlphabet =
    "Failed to parse FastInfoset. Restricted alphabet [%u] is not in the vocabulary.";
inline constexpr const char* kReadBadUtf8 = "Failed to parse FastInfoset. Invalid UTF-8 string.";
inline constexpr const char* kReadZeroInName =
    "Failed to parse FastInfoset. A name contains a zero character.";
inline constexpr const char* kWriteEmptyName =
    "Failed to write FastInfoset. A name or namespace must not be empty.";
inline constexpr const char* kReadBadUtf16 =
    "Failed to parse FastInfoset. Invalid UTF-16 string.";
inline constexpr const char* kReadBadHeader =
    "Failed to parse FastInfoset. Invalid document header.";
inline constexpr const char* kReadBadDocumentItem =
    "Failed to parse FastInfoset. Invalid Encoding of Document child.";
inline constexpr const char* kReadNoRoot =
    "Failed to parse FastInfoset. The document has no element.";
inline constexpr const char* kReadTrailing =
    "Failed to parse FastInfoset. Data after the end of the document.";

}  // namespace Tessel16::detail::FastInfosetMessages
