// untyped_messages.h: the messages of untyped elements and attributes, kept in one table so
// the tests compare against the same texts the code throws.
#pragma once

namespace Tessel16::detail::UntypedMessages {

inline constexpr const char kElementNameMissing[] = "Element Name must have a value";
inline constexpr const char kRestrictionMissing[] = "Namespace Restriction must have a value";
inline constexpr const char kTargetNamespaceMissing[] = "Target Namespace must have a value";
inline constexpr const char kInvalidNamespaceArgument[] = "Invalid Namespace [%s].";
inline constexpr const char kChildBreaksRestriction[] =
    "The namespace %s in the class %s is invalid against restriction %s";
inline constexpr const char kInvalidElement[] = "Invalid Element [%s] found.";
inline constexpr const char kNoCollectionNamespace[] =
    "A Namespace has not been set for this Collection";
inline constexpr const char kInvalidAttribute[] =
    "Invalid Attribute [%s]. The attributes namespace is Inappropriate.";
// An untyped element cannot be made from a null object.
inline constexpr const char kNoSourceObject[] = "The object to copy into an element is null";
// A null element handed to a collection.
inline constexpr const char kNoElementToAdd[] = "The element to add is null";
// A null attribute handed to a collection.
inline constexpr const char kNoAttributeToAdd[] = "The attribute to add is null";
// FromXmlElement given no element to read.
inline constexpr const char kNoElementToRead[] = "The element to read from is null";
inline constexpr const char kAttributeReadByCollection[] = "This should be done by the collection";

}  // namespace Tessel16::detail::UntypedMessages
