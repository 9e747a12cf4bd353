// binding_messages.h: the messages of the object base, its entry points and the
// serialization context, in one table so callers and tests compare against the same text.
#pragma once

namespace Tessel16::detail {

inline constexpr const char* kMsgIgnoreUnknownElements =
    "The parser can only ignore additional elements, or ignore the fact that some required "
    "ones are missing, you can not ignore both\nSet IgnoreMissingMandatoryElements to false "
    "before setting IgnoreUnknownElements to true";
inline constexpr const char* kMsgIgnoreMissingMandatory =
    "The parser can only ignore additional elements, or ignore the fact that some required "
    "ones are missing, you can not ignore both\nSet IgnoreUnknownElements to false before "
    "setting IgnoreMissingMandatoryElements to true";
// The message holds a backslash and a 't', not a tab.
inline constexpr const char* kMsgIndentChars =
    "IndentChars can only contain Whitespace characters, i.e. \\t or spaces";

inline constexpr const char* kMsgInvalidAmplification =
    "The entity amplification limit must be at least 1 [%g]";

inline constexpr const char* kVersionBoxCaption = "Version Mismatch Error";
inline constexpr const char* kMsgVersionBox =
    "Please ensure your generated code is the same version as this library (Corvid Runtime: "
    "v%d.%d, Generator: v%d.%d).";
inline constexpr const char* kMsgWrongVersion =
    "Wrong Version (Corvid Runtime: v%d.%d, Generator: v%d.%d)";
inline constexpr const char* kMsgZlibFileCompression =
    "ZLIB Compression only available for To Stream methods.";
inline constexpr const char* kMsgCompressFailed = "Failed to compress data. [Error Code: %d]";
inline constexpr const char* kMsgChoiceAlreadySet =
    "The Property [%s] is already set. Only one element within this class bay be set at a time";
inline constexpr const char* kMsgChoiceAlreadySetSimple =
    "The Property %s is already set. Only one element within this class bay be set at a time";
inline constexpr const char* kMsgPropertyIsNull =
    "The Property [%s] is mandatory, it may node be NULL";
inline constexpr const char* kMsgElementNameDiffers =
    "This property requires an element with the name %s the element being set has the "
    "element name %s";
inline constexpr const char* kMsgInvalidNamespace =
    "Invalid namespace [%s]. The namespace must be one of [%s] where the target namespace is "
    "[%s].";
// Entry points whose reader or writer has not been built yet.
inline constexpr const char* kMsgNotAvailable = "%s is not available yet in this build.";

}  // namespace Tessel16::detail
