// namespace_alias_map.cpp: the user's namespace aliases. Keyed by URI because that is the
// order the root declarations come out in; alias lookups are linear, the map is small.
#include "tessel16/namespace_alias_map.h"

#include "tessel16/exception.h"
#include "writers/writer_messages.h"

namespace Tessel16 {

namespace {
std::string Str(const char* text) { return text ? text : ""; }
}  // namespace

CNamespaceAliasMap::~CNamespaceAliasMap() = default;

void CNamespaceAliasMap::Add(const char* alias, const char* namespaceUri) {
    m_map[Str(namespaceUri)] = Str(alias);
}

std::string CNamespaceAliasMap::GetAliasFromNamespace(const char* namespaceUri) const {
    auto it = m_map.find(Str(namespaceUri));
    return it == m_map.end() ? std::string() : it->second;
}

std::string CNamespaceAliasMap::GetNamespaceFromAlias(const char* alias) const {
    const std::string wanted = Str(alias);
    for (const auto& entry : m_map) {
        if (entry.second == wanted) return entry.first;
    }
    throw CTsException(FormatString(detail::kMsgNamespaceAliasNotFound, wanted.c_str()));
}

bool CNamespaceAliasMap::DoesAliasExist(const char* alias) const {
    const std::string wanted = Str(alias);
    for (const auto& entry : m_map) {
        if (entry.second == wanted) return true;
    }
    return false;
}

bool CNamespaceAliasMap::DoesNamespaceExist(const char* namespaceUri) const {
    return m_map.find(Str(namespaceUri)) != m_map.end();
}

int CNamespaceAliasMap::GetNamespaceCount() const { return static_cast<int>(m_map.size()); }

std::string CNamespaceAliasMap::GetNamespaceAt(int index) const {
    const int count = GetNamespaceCount();
    if (index < 0) index = 0;
    if (index >= count)
        throw CTsException(FormatString(detail::kMsgIndexOutOfRange, index, count - 1));
    auto it = m_map.begin();
    std::advance(it, index);
    return it->first;
}

void CNamespaceAliasMap::RemoveNamespace(const char* namespaceUri) {
    m_map.erase(Str(namespaceUri));
}

}  // namespace Tessel16
