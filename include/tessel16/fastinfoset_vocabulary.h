// fastinfoset_vocabulary.h: CFIVocabulary, the indexing tables of a Fast Infoset document
// (prefixes, namespace names, local names, qualified names, attribute values, character
// chunks). Writers look strings up to find their index; readers resolve indices to strings.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "tessel16/export.h"

namespace Tessel16 {

// Strings in index order: entry i sits at position i - 1.
class TESSEL16_API CFIStringTable {
public:
    // Finds the index of `s` (1-based), or 0. The lookup hashes into a table of indices
    // over the entries themselves, so no string is stored twice.
    std::uint32_t Find(const std::string& s) const;

    using const_iterator = std::vector<std::string>::const_iterator;
    const_iterator begin() const { return m_entries.begin(); }
    const_iterator end() const { return m_entries.end(); }
    std::uint32_t size() const { return static_cast<std::uint32_t>(m_entries.size()); }
    // Entry `index` (1-based); the caller checks the range.
    const std::string& Get(std::uint32_t index) const { return m_entries[index - 1]; }

private:
    friend class CFIVocabulary;
    void Append(const std::string& s);
    void Rehash(std::size_t slots);

    std::vector<std::string> m_entries;
    // Open addressing, linear probing: 0 = empty slot, else an entry's index.
    std::vector<std::uint32_t> m_slots;
};

class TESSEL16_API CFIVocabulary {
public:
    // The table indices of one qualified name; 0 marks an absent prefix or namespace.
    struct CQNameParts {
        std::uint32_t prefix = 0;
        std::uint32_t namespaceName = 0;
        std::uint32_t localName = 0;
    };

    class TESSEL16_API CFIQNameTable {
    public:
        using const_iterator = std::vector<CQNameParts>::const_iterator;
        const_iterator begin() const { return m_entries.begin(); }
        const_iterator end() const { return m_entries.end(); }
        std::uint32_t size() const { return static_cast<std::uint32_t>(m_entries.size()); }
        const CQNameParts& Get(std::uint32_t index) const { return m_entries[index - 1]; }

    private:
        friend class CFIVocabulary;
        std::vector<CQNameParts> m_entries;
    };

    // No table grows past this many entries; further additions are ignored.
    static constexpr std::uint32_t kMaxTableSize = 1u << 20;
    // The two built-in restricted alphabets (indices 1 and 2), each ending in a space.
    static const char* const kNumericAlphabet;
    static const char* const kDateTimeAlphabet;
    static const char* const kXmlNamespace;

    // Prefix 1 is "xml", namespace name 1 the XML namespace; every other table is empty.
    CFIVocabulary();
    CFIVocabulary(const CFIVocabulary&) = default;
    CFIVocabulary& operator=(const CFIVocabulary&) = default;
    virtual ~CFIVocabulary();

    // Each appends without looking for an existing entry (callers look first).
    void AddPrefixName(const std::string& s) { Add(m_prefixes, s); }
    void AddNamespaceName(const std::string& s) { Add(m_namespaces, s); }
    void AddLocalName(const std::string& s) { Add(m_localNames, s); }
    void AddAttributeValue(const std::string& s) { Add(m_attributeValues, s); }
    void AddElementValue(const std::string& s) { Add(m_chunks, s); }
    // Enters the qualified name (and its missing parts) unless it is already there.
    void AddElement(const std::string& prefix, const std::string& namespaceName,
                    const std::string& localName);
    void AddAttribute(const std::string& prefix, const std::string& namespaceName,
                      const std::string& localName);

    // Lookups: true and the index when the entry exists.
    bool FindPrefix(const std::string& s, std::uint32_t& index) const {
        return Find(m_prefixes, s, index);
    }
    bool FindNamespaceName(const std::string& s, std::uint32_t& index) const {
        return Find(m_namespaces, s, index);
    }
    bool FindLocalName(const std::string& s, std::uint32_t& index) const {
        return Find(m_localNames, s, index);
    }
    bool FindAttributeValue(const std::string& s, std::uint32_t& index) const {
        return Find(m_attributeValues, s, index);
    }
    bool FindElementValue(const std::string& s, std::uint32_t& index) const {
        return Find(m_chunks, s, index);
    }
    bool FindElement(const std::string& prefix, const std::string& namespaceName,
                     const std::string& localName, std::uint32_t& index) const;
    bool FindAttribute(const std::string& prefix, const std::string& namespaceName,
                       const std::string& localName, std::uint32_t& index) const;

    const CFIStringTable& GetPrefixNamesTable() const { return m_prefixes; }
    const CFIStringTable& GetNamespaceNamesTable() const { return m_namespaces; }
    const CFIStringTable& GetLocalNamesTable() const { return m_localNames; }
    const CFIQNameTable& GetElementNamesTable() const { return m_elementNames; }
    const CFIQNameTable& GetAttributeNamesTable() const { return m_attributeNames; }
    const CFIStringTable& GetAttributeValuesTable() const { return m_attributeValues; }
    const CFIStringTable& GetCharacterChunksTable() const { return m_chunks; }
    // Alphabet 1 or 2; null for any other index.
    static const char* GetRestrictedAlphabet(std::uint32_t index);

    // The lookup key of a qualified name: prefix, 0x01, namespace name, 0x01, local name.
    static void MakeQNameKey(std::string& key, const std::string& prefix,
                             const std::string& namespaceName, const std::string& localName);
    // Appends a qualified name whose parts are already in their tables (the writer has just
    // entered them); ignored when the table is full.
    void AppendElementName(const std::string& key, const CQNameParts& parts) {
        AppendQName(m_elementNames, m_elementNameMap, key, parts);
    }
    void AppendAttributeName(const std::string& key, const CQNameParts& parts) {
        AppendQName(m_attributeNames, m_attributeNameMap, key, parts);
    }
    bool FindElementKey(const std::string& key, std::uint32_t& index) const {
        return Find(m_elementNameMap, key, index);
    }
    bool FindAttributeKey(const std::string& key, std::uint32_t& index) const {
        return Find(m_attributeNameMap, key, index);
    }

private:
    using Map = std::unordered_map<std::string, std::uint32_t>;
    static void Add(CFIStringTable& table, const std::string& s);
    static bool Find(const CFIStringTable& table, const std::string& s, std::uint32_t& index) {
        index = table.Find(s);
        return index != 0;
    }
    static bool Find(const Map& map, const std::string& s, std::uint32_t& index) {
        auto it = map.find(s);
        if (it == map.end()) return false;
        index = it->second;
        return true;
    }
    void AddQName(CFIQNameTable& table, Map& map, const std::string& prefix,
                  const std::string& namespaceName, const std::string& localName);
    static void AppendQName(CFIQNameTable& table, Map& map, const std::string& key,
                            const CQNameParts& parts);

    CFIStringTable m_prefixes, m_namespaces, m_localNames, m_attributeValues, m_chunks;
    CFIQNameTable m_elementNames, m_attributeNames;
    Map m_elementNameMap, m_attributeNameMap;
};

using CFIQNameTable = CFIVocabulary::CFIQNameTable;

}  // namespace Tessel16
