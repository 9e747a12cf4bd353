// namespace_constraint.h: the one reading of an XSD wildcard namespace constraint, shared by
// bound objects, untyped content and attribute records so that they cannot disagree.
#pragma once

#include <string>

namespace Tessel16::detail {

// Whether `namespaceUri` passes `allowed`, a list of tokens separated by single spaces; the
// first token that accepts it decides. "##any" accepts everything, "##other" every namespace
// but `targetNamespace` (the empty one included), "##local" the empty namespace,
// "##targetNamespace" `targetNamespace`, and any other token the namespace equal to it and
// the empty namespace. The empty constraint is one empty token, so it accepts exactly the
// empty namespace: an element or attribute without a namespace.
bool IsNamespaceAllowed(const std::string& namespaceUri, const std::string& allowed,
                        const std::string& targetNamespace);

}  // namespace Tessel16::detail
