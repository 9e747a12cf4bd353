// types.h: the enumerations that cross the public interface. Their numeric values are part
// of the interface (generated code and stored documents depend on them), so never renumber.
#pragma once

#include <cstdint>

#include "tessel16/export.h"

namespace Tessel16 {

// The XSD kind of a value; enumerator names follow the labels TsVariant::GetType returns.
enum ItemType : std::int32_t {
    ItemType_none = 0,
    ItemType_hexBinary = 1,
    ItemType_base64Binary = 2,
    ItemType_i1 = 3,
    ItemType_i2 = 4,
    ItemType_i4 = 5,
    ItemType_i8 = 6,
    ItemType_ui1 = 7,
    ItemType_ui2 = 8,
    ItemType_ui4 = 9,
    ItemType_ui8 = 10,
    ItemType_r4 = 11,
    ItemType_r8 = 12,
    ItemType_duration = 13,
    ItemType_yearMonth = 14,
    ItemType_monthDay = 15,
    ItemType_year = 16,
    ItemType_month = 17,
    ItemType_day = 18,
    ItemType_date = 19,
    ItemType_datetime = 20,
    ItemType_time = 21,
    ItemType_char = 22,
    ItemType_string = 23,
    ItemType_boolean = 24,
    ItemType_decimal = 25,
    ItemType_integer = 26,
    ItemType_object = 27,
    ItemType_collection = 28
};

// Line end written by the text writers.
enum EOLType : std::int32_t { EOLType_CRLF = 0, EOLType_LF = 1 };

// Encoding of text output: 0 is in-memory text only.
enum XmlEncoding : std::int32_t {
    XmlEncoding_None = 0,
    XmlEncoding_UTF8 = 1,
    XmlEncoding_UTF16 = 2,
    XmlEncoding_UTF16_NoDecl = 3
};

// Compression of stream output; zlib framing only for the methods that return a buffer.
enum CompressionType : std::int32_t {
    CompressionType_None = 0,
    CompressionType_GZip = 1,
    CompressionType_ZLib = 2
};

// 0 writes no declaration at the head of a Fast Infoset document; 1..9 pick one of nine.
enum FInfoDecl : std::int32_t {
    FInfoDecl_None = 0,
    FInfoDecl_1 = 1,
    FInfoDecl_2 = 2,
    FInfoDecl_3 = 3,
    FInfoDecl_4 = 4,
    FInfoDecl_5 = 5,
    FInfoDecl_6 = 6,
    FInfoDecl_7 = 7,
    FInfoDecl_8 = 8,
    FInfoDecl_9 = 9
};

// Base of the library's internal helper classes (writers, readers, writer contexts). It
// keeps nothing; the name documents which class an instance belongs to.
class TESSEL16_API CInstanceMonitor {
public:
    explicit CInstanceMonitor(const char* /*className*/) {}
};

}  // namespace Tessel16

namespace Tessel16Data {

// How a generated class groups its child elements.
enum XmlElementGroupType : std::int32_t {
    XmlElementGroupType_Sequence = 0,
    XmlElementGroupType_Choice = 1,
    XmlElementGroupType_All = 2
};

// 0: an element with its own tag; 1: a pseudo element inlined in its parent.
enum XmlElementType : std::int32_t { XmlElementType_Element = 0, XmlElementType_Pseudo = 1 };

}  // namespace Tessel16Data
