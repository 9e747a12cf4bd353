// conversion_messages.h: the message texts of the lexical conversions, whitespace rules,
// facet checks and the variant, kept as constants so the tests compare against the same text
// the code throws. Spelling is part of the interface: callers match on these strings.
#pragma once

namespace Tessel16::detail {

constexpr const char kMsgUnknownWhitespaceRule[] = "Unknown WhitespaceRule";

constexpr const char kMsgI4NotConverted[] = "The value [%s] can not be converted to a i4";
constexpr const char kMsgI4TooLarge[] = "The value [%s] is to large to fit in a i4";
constexpr const char kMsgI8NotConverted[] = "The value [%s] can not be converted to a i8";
constexpr const char kMsgI8TooLarge[] = "The value [%s] is to large to fit in a i8";
constexpr const char kMsgUI4NotConverted[] = "The value [%s] can not be converted to a ui4";
constexpr const char kMsgUI4TooLarge[] = "The value [%s] is to large to fit in a ui4";
constexpr const char kMsgUI8NotConverted[] = "The value [%s] can not be converted to a ui8";
constexpr const char kMsgUI8TooLarge[] = "The value [%s] is to large to fit in a ui8";
constexpr const char kMsgI1TooLarge[] = "The value [%s] is to large to fit in a i1";
constexpr const char kMsgI2TooLarge[] = "The value [%s] is to large to fit in a i2";
constexpr const char kMsgUI1TooLarge[] = "The value [%s] is to large to fit in a ui1";
constexpr const char kMsgUI2TooLarge[] = "The value [%s] is to large to fit in a ui2";
constexpr const char kMsgR4NotConverted[] = "The value [%s] can not be converted to a r4";
constexpr const char kMsgR8NotConverted[] = "The value [%s] can not be converted to a r8";
constexpr const char kMsgBadBoolean[] =
    "A Boolean Value read from an XML document was invalid [%s]. Valid values are 'true', "
    "'false', '1', or '0'";
constexpr const char kMsgBadChar[] =
    "The value [%s] can not be a char as it is either empty of greater than 1 char long";
constexpr const char kMsgBadBase64[] = "The value [%s] can not be converted to a base64Binary";
constexpr const char kMsgBadFloatFormat[] =
    "The format [%s] is not a printf format for one floating point value";

constexpr const char kMsgInvalidRegex[] = "Invalid Regular Expression: %s Error: '%s'";
// A match that hit the engine's resource limits: neither a match nor a mismatch.
constexpr const char kMsgRegexGaveUp[] =
    "Regular Expression: %s gave up before deciding on the value. Error: '%s'";
constexpr const char kMsgInvalidValueText[] = "Invalid Value for %s [%s].";
constexpr const char kMsgInvalidValueInt[] = "Invalid Value for %s [%d]";
constexpr const char kMsgInvalidValueReal[] = "Invalid Value for %s [%f]";
constexpr const char kMsgInvalidValueAfterError[] = "%s\nInvalid Value for %s [%s].";
constexpr const char kMsgUnknownCheckType[] = "Unknown type [%d].";

constexpr const char kMsgUnknownType[] = "Unknown Type";
constexpr const char kMsgInvalidType[] = "Invalid Type %d";
constexpr const char kMsgInvalidTypeToString[] = "Invalid Type %d to convert to string";

}  // namespace Tessel16::detail
