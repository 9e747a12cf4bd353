// fastinfoset_vocabulary.cpp: the indexing tables. Indices start at 1 and follow the order
// of addition, which is what keeps a writer and a reader of one document in step.
#include "tessel16/fastinfoset_vocabulary.h"

namespace Tessel16 {

// Position 13 of the numeric alphabet is the exponent letter, upper case as other Fast
// Infoset implementations read it.
const char* const CFIVocabulary::kNumericAlphabet = "0123456789-+.E ";
const char* const CFIVocabulary::kDateTimeAlphabet = "0123456789-:TZ ";
const char* const CFIVocabulary::kXmlNamespace = "http://www.w3.org/XML/1998/namespace";

CFIVocabulary::CFIVocabulary() {
    AddPrefixName("xml");
    AddNamespaceName(kXmlNamespace);
}

CFIVocabulary::~CFIVocabulary() = default;

const char* CFIVocabulary::GetRestrictedAlphabet(std::uint32_t index) {
    if (index == 1) return kNumericAlphabet;
    if (index == 2) return kDateTimeAlphabet;
    return nullptr;
}

namespace {
// FNV-1a: the strings are mostly short values and names.
std::size_t HashOf(const std::string& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
}
}  // namespace

std::uint32_t CFIStringTable::Find(const std::string& s) const {
    if (m_slots.empty()) return 0;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = HashOf(s) & mask;; i = (i + 1) & mask) {
        const std::uint32_t index = m_slots[i];
        if (index == 0) return 0;
        const std::string& entry = m_entries[index - 1];
        if (entry.size() == s.size() && entry == s) return index;
    }
}

void CFIStringTable::Rehash(std::size_t slots) {
    m_slots.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::uint32_t index = 1; index <= m_entries.size(); ++index) {
        std::size_t i = HashOf(m_entries[index - 1]) & mask;
        while (m_slots[i] != 0) i = (i + 1) & mask;
        m_slots[i] = index;
    }
}

// Entries are appended even when equal to an earlier one (callers look first); the index
// then finds the earlier entry, which is the one a writer refers to.
void CFIStringTable::Append(const std::string& s) {
    m_entries.push_back(s);
    if (m_entries.size() * 2 > m_slots.size()) {
        Rehash(m_slots.empty() ? 16 : m_slots.size() * 2);
        return;
    }
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = HashOf(s) & mask;
    while (m_slots[i] != 0) i = (i + 1) & mask;
    m_slots[i] = static_cast<std::uint32_t>(m_entries.size());
}

void CFIVocabulary::Add(CFIStringTable& table, const std::string& s) {
    if (table.m_entries.size() >= kMaxTableSize) return;
    table.Append(s);
}

void CFIVocabulary::MakeQNameKey(std::string& key, const std::string& prefix,
                                 const std::string& namespaceName, const std::string& localName) {
    key.clear();
    key.reserve(prefix.size() + namespaceName.size() + localName.size() + 2);
    key += prefix;
    key += '\x01';
    key += namespaceName;
    key += '\x01';
    key += localName;
}

void CFIVocabulary::AppendQName(CFIQNameTable& table, Map& map, const std::string& key,
                                const CQNameParts& parts) {
    if (table.m_entries.size() >= kMaxTableSize) return;
    table.m_entries.push_back(parts);
    map.emplace(key, static_cast<std::uint32_t>(table.m_entries.size()));
}

void CFIVocabulary::AddQName(CFIQNameTable& table, Map& map, const std::string& prefix,
                             const std::string& namespaceName, const std::string& localName) {
    std::string key;
    MakeQNameKey(key, prefix, namespaceName, localName);
    if (map.count(key)) return;
    CQNameParts parts;
    if (!prefix.empty() && !FindPrefix(prefix, parts.prefix)) {
        AddPrefixName(prefix);
        FindPrefix(prefix, parts.prefix);
    }
    if (!namespaceName.empty() && !FindNamespaceName(namespaceName, parts.namespaceName)) {
        AddNamespaceName(namespaceName);
        FindNamespaceName(namespaceName, parts.namespaceName);
    }
    if (!FindLocalName(localName, parts.localName)) {
        AddLocalName(localName);
        FindLocalName(localName, parts.localName);
    }
    AppendQName(table, map, key, parts);
}

void CFIVocabulary::AddElement(const std::string& prefix, const std::string& namespaceName,
                               const std::string& localName) {
    AddQName(m_elementNames, m_elementNameMap, prefix, namespaceName, localName);
}

void CFIVocabulary::AddAttribute(const std::string& prefix, const std::string& namespaceName,
                                 const std::string& localName) {
    AddQName(m_attributeNames, m_attributeNameMap, prefix, namespaceName, localName);
}

bool CFIVocabulary::FindElement(const std::string& prefix, const std::string& namespaceName,
                                const std::string& localName, std::uint32_t& index) const {
    std::string key;
    MakeQNameKey(key, prefix, namespaceName, localName);
    return Find(m_elementNameMap, key, index);
}

bool CFIVocabulary::FindAttribute(const std::string& prefix, const std::string& namespaceName,
                                  const std::string& localName, std::uint32_t& index) const {
    std::string key;
    MakeQNameKey(key, prefix, namespaceName, localName);
    return Find(m_attributeNameMap, key, index);
}

}  // namespace Tessel16
