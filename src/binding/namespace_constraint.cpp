// namespace_constraint.cpp: the wildcard namespace test behind every IsNamespaceValid.
#include "binding/namespace_constraint.h"

namespace Tessel16::detail {

bool IsNamespaceAllowed(const std::string& namespaceUri, const std::string& allowed,
                        const std::string& targetNamespace) {
    // An empty list has no token, so it admits nothing, as XSD's empty namespace list does.
    if (allowed.empty()) return false;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type end = allowed.find(' ', start);
        if (end == std::string::npos) end = allowed.size();
        const std::string token = allowed.substr(start, end - start);
        if (token == "##any") return true;
        if (token == "##other") {
            if (namespaceUri != targetNamespace) return true;
        } else if (token == "##local") {
            if (namespaceUri.empty()) return true;
        } else if (token == "##targetNamespace") {
            if (namespaceUri == targetNamespace) return true;
        } else if (namespaceUri == token || namespaceUri.empty()) {
            // A list of URIs also admits unqualified content.
            return true;
        }
        if (end == allowed.size()) return false;
        start = end + 1;
    }
}

}  // namespace Tessel16::detail
