// strict_reading.h: what the readers share when the context asks for strict reading: failures
// re-raised with the place they were found (node path and source line), and the messages of
// the checks that only strict reading makes.
#pragma once

#include <string>

#include "tessel16/exception.h"
#include "tessel16/fwd.h"

namespace Tessel16::detail {

inline constexpr const char* kMsgRootMismatch =
    "The document element [%s] in namespace [%s] does not match the element [%s] in namespace "
    "[%s] that this object reads.";
inline constexpr const char* kMsgUnknownEnumText =
    "The value [%s] is not one of the enumerated values of [%s].";
inline constexpr const char* kMsgStrayText =
    "The element [%s] holds element-only content, but it contains the text [%s].";
inline constexpr const char* kMsgNamespaceNote =
    " The element [%s] is in namespace [%s], where [%s] is expected.";
inline constexpr const char* kMsgAtLine = " at line %u";

// True when the error's message already names a source line, so outer readers leave it be.
bool NamesLine(const CTsException& error);

// Throws `error` again as an object of its own class, its message followed by `note` and
// the line of `element` (when the tree knows it), with `path` as its path when the error has
// none of its own. The inner exception is kept.
[[noreturn]] void RethrowAt(const CTsException& error, const CXmlElement& element,
                            const std::string& path, const std::string& note = std::string());

// Strict reading of a whole document: the document element must carry the name and
// namespace of the object's own element (namespaces count unless the context ignores them).
void CheckRootElement(const CSerializationContext& context, const CXmlElement& root,
                      const std::string& elementName, const std::string& namespaceUri);

// A note for the message of a content error in `element`: names the first child whose local
// name some record of `records` expects in another namespace. Empty when there is none.
std::string NamespaceMismatchNote(const CSerializationContext& context, const CXmlElement& element,
                                  Tessel16Data::CElementInfo* const* records);

}  // namespace Tessel16::detail
