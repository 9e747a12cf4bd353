// metadata_messages.h: the messages of the element and attribute records. Tests compare
// against these constants, so the texts (typos included) live only here.
#pragma once

namespace Tessel16::detail {

inline constexpr const char* kMsgNotImplemented = "Not implemented, should never be called";
inline constexpr const char* kMsgGetPropertyFailed = "Failed to get the property value for [%s].";
inline constexpr const char* kMsgSetPropertyFailed = "Failed to set the property value.";
inline constexpr const char* kMsgSetAttributeFailed = "Failed to set the property value [%s].";
inline constexpr const char* kMsgElementNilOnNonNillable =
    "Invalid use of 'nil' attribute in non-nillable element.";
inline constexpr const char* kMsgElementUnexpectedNilValue =
    "Unexpected Value [%s] for 'nil' Attribute found.";
inline constexpr const char* kMsgElementUnexpectedAttribute = "Unexpected Attribute found.";
inline constexpr const char* kMsgCannotCheckRestriction = "Cannot CheckRestriction for type: ";

inline constexpr const char* kMsgMandatoryNull =
    "The Property [%s] is mandatory, it may not be NULL";
inline constexpr const char* kMsgRequiredChildMissing =
    "Failed to find the required child element [%s].";
inline constexpr const char* kMsgNoSubstitution =
    "Failed to find a suitable substitution element for [%s].";
inline constexpr const char* kMsgMandatoryMissing = "Failed to find the mandatory element [%s].";
inline constexpr const char* kMsgRequiredFromNamespace =
    "Failed to find the required element from namespace [%s].";

inline constexpr const char* kMsgInvalidNamespace =
    "Invalid namespace [%s]. The namespace must be one of [%s] where the target namespace is "
    "[%s].";
inline constexpr const char* kMsgRequiredAttributeMissing =
    "Failed to find the required Attribute [%s].";

inline constexpr const char* kMsgNotAttributeCollection =
    "Serialization Data Error : The collection should be a CAttributeCol, it was not!";

}  // namespace Tessel16::detail
