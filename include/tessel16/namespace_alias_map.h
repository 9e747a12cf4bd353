// namespace_alias_map.h: CNamespaceAliasMap, the user's table of namespace URI to alias that
// the serialization context carries and that is declared on the root element of the output.
#pragma once

#include <map>
#include <string>

#include "tessel16/export.h"

namespace Tessel16 {

// Namespace URI to alias, kept in byte-wise URI order (the order of the root declarations).
class TESSEL16_API CNamespaceAliasMap {
public:
    CNamespaceAliasMap() = default;
    CNamespaceAliasMap(const CNamespaceAliasMap& other) = default;
    CNamespaceAliasMap& operator=(const CNamespaceAliasMap& other) = default;
    virtual ~CNamespaceAliasMap();

    // Binds `namespaceUri` to `alias`, replacing an earlier alias of that URI.
    void Add(const char* alias, const char* namespaceUri);
    // The alias of the URI, or "" when the URI is not in the map.
    std::string GetAliasFromNamespace(const char* namespaceUri) const;
    // The first URI (in URI order) bound to `alias`; throws CTsException when there is none.
    std::string GetNamespaceFromAlias(const char* alias) const;
    bool DoesAliasExist(const char* alias) const;
    bool DoesNamespaceExist(const char* namespaceUri) const;
    int GetNamespaceCount() const;
    // The URI at `index` in URI order; an index below 1 gives the first. Throws
    // CTsException "Index %d is out of range, use 0 - %d" past the end.
    std::string GetNamespaceAt(int index) const;
    // Removes the URI's entry; an absent URI is no error.
    void RemoveNamespace(const char* namespaceUri);

private:
    std::map<std::string, std::string> m_map;
};

}  // namespace Tessel16
