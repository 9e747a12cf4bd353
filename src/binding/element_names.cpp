// element_names.cpp: the interned element names behind CXmlObjectBase::SetElementName. Kept
// apart from the object base because it owns process-wide state and its lock.
#include "binding/element_names.h"

#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>

namespace Tessel16::detail {

namespace {

// Far above any schema's vocabulary, small enough that a flood of invented names costs a
// bounded amount; names beyond it are owned by their objects.
constexpr std::size_t kMaxInternedNames = 4096;
constexpr int kCachedNames = 8;

struct NameTable {
    std::mutex lock;
    std::unordered_set<std::string> names;  // node-based: an entry's text never moves
};

// Never destroyed, so objects that outlive static destruction keep valid names.
NameTable& Table() {
    static NameTable* table = new NameTable;
    return *table;
}

}  // namespace

const char* InternElementName(const char* name) {
    // The objects made while reading carry the same few names, so most lookups end in this
    // thread's cache without taking the lock. It holds interned texts only, which never die.
    thread_local const char* cache[kCachedNames] = {};
    thread_local int next = 0;
    // A copied object hands over the interned text itself, so the address settles it.
    for (const char* cached : cache) {
        if (cached == name) return cached;
    }
    for (const char* cached : cache) {
        // The first letters settle most misses without a call.
        if (cached && cached[0] == name[0] && std::strcmp(cached, name) == 0) return cached;
    }
    NameTable& table = Table();
    const char* interned = nullptr;
    {
        const std::lock_guard<std::mutex> guard(table.lock);
        auto found = table.names.find(name);
        if (found == table.names.end()) {
            if (table.names.size() >= kMaxInternedNames) return nullptr;
            found = table.names.insert(name).first;
        }
        interned = found->c_str();
    }
    cache[next] = interned;
    next = (next + 1) % kCachedNames;
    return interned;
}

}  // namespace Tessel16::detail
