// engine_messages.h: the messages of the generated-class engine and the typed collections.
// Tests compare against these constants, so the texts (typos included) live only here.
#pragma once

namespace Tessel16::detail {

inline constexpr const char* kMsgChoiceNoneSet =
    "This element is a choice, and as such must have at one (and only one) valid item, "
    "currently there are none set";
inline constexpr const char* kMsgUnknownXmlGroupType = "Unknown XML Group Type";
inline constexpr const char* kMsgUnknownGroupType = "Unknown Group Type";
inline constexpr const char* kMsgNilOnNonNillable =
    "Invalid use of 'nil' attribute in non-nillable element.";
inline constexpr const char* kMsgUnexpectedNilValue =
    "Unexpected Value [%s] for 'nil' Attribute found.";
inline constexpr const char* kMsgUnexpectedAttribute = "Unexpected Attribute found.";
inline constexpr const char* kMsgElementsRemain =
    "Failed read all the elements held within the element [%s]. The unexpected element [%s] "
    "remains un processed";
inline constexpr const char* kMsgChoiceNothingRead =
    "No child elements within the element [%s] were populated. The element represents a "
    "choice, so one and only one element should be populated. The element contained no "
    "sutable child elements";

inline constexpr const char* kMsgCollectionMaximum =
    "The Maximum number of [%s] elements allowed in this collection is %d";
inline constexpr const char* kMsgCollectionMinimum =
    "The Minimum number of [%s] elements allowed in this collection is %d";
inline constexpr const char* kMsgIndexOutOfRangeUse = "Index %d is out of range, use 0 - %d";
inline constexpr const char* kMsgIndexOutOfRange = "Index out of range";
inline constexpr const char* kMsgObjectNotInCollection =
    "The object was not found in the collection";
inline constexpr const char* kMsgCollectionTargetNamespace =
    "CXmlCollectionBase::GetTargetNamespace Should not be used from within a Collection "
    "(program logic error)";

inline constexpr const char* kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";

}  // namespace Tessel16::detail
