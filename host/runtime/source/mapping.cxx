// The mapping registry and mapping factories of the runtime's C level.
//
// The registry does not count the mappings it holds.  Its lock is recursive
// because acquiring a registered mapping (done under it, so that the mapping
// cannot be freed meanwhile) may register that mapping again.  Free functions
// and factories run with no lock held.

#include <uno/mapping.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct MappingEntry {
    uno_Environment* from;
    uno_Environment* to;
    std::u16string purpose;
    uno_Mapping* mapping;
    uno_freeMappingFunc freeMapping;
    sal_Int32 nCount;
};

struct Mappings {
    std::recursive_mutex mutex;
    std::vector<MappingEntry> entries;
    std::vector<std::pair<uno_getMappingFunc*, void*>> factories;
};

Mappings& mappings() {
    static Mappings* m = new Mappings;
    return *m;
}

std::u16string purposeOf(rtl_uString* p) {
    return p == nullptr ? std::u16string() : std::u16string(p->buffer, std::size_t(p->length));
}

MappingEntry* findLocked(Mappings& m, uno_Environment* from, uno_Environment* to, const std::u16string& purpose) {
    for (MappingEntry& e : m.entries)
        if (e.from == from && e.to == to && e.purpose == purpose) return &e;
    return nullptr;
}

} // namespace

extern "C" {

void uno_registerMapping(uno_Mapping** ppMapping, uno_freeMappingFunc freeMapping, uno_Environment* pFrom,
                         uno_Environment* pTo, rtl_uString* pAddPurpose) {
    Mappings& m = mappings();
    uno_Mapping* mine = *ppMapping;
    const std::u16string purpose = purposeOf(pAddPurpose);
    {
        std::lock_guard g(m.mutex);
        MappingEntry* e = findLocked(m, pFrom, pTo, purpose);
        if (e == nullptr) {
            m.entries.push_back({pFrom, pTo, purpose, mine, freeMapping, 1});
            return;
        }
        if (e->mapping == mine) {
            ++e->nCount;
            return;
        }
        uno_Mapping* held = e->mapping;
        held->acquire(held);
        *ppMapping = held;
    }
    freeMapping(mine);
}

void uno_revokeMapping(uno_Mapping* pMapping) {
    Mappings& m = mappings();
    uno_freeMappingFunc freeMapping = nullptr;
    {
        std::lock_guard g(m.mutex);
        auto it = std::find_if(m.entries.begin(), m.entries.end(),
                               [&](const MappingEntry& e) { return e.mapping == pMapping; });
        if (it == m.entries.end() || --it->nCount > 0) return;
        freeMapping = it->freeMapping;
        m.entries.erase(it);
    }
    freeMapping(pMapping);
}

void uno_getMapping(uno_Mapping** ppMapping, uno_Environment* pFrom, uno_Environment* pTo, rtl_uString* pAddPurpose) {
    if (*ppMapping != nullptr) {
        (*ppMapping)->release(*ppMapping);
        *ppMapping = nullptr;
    }
    Mappings& m = mappings();
    std::vector<std::pair<uno_getMappingFunc*, void*>> factories;
    {
        std::lock_guard g(m.mutex);
        if (MappingEntry* e = findLocked(m, pFrom, pTo, purposeOf(pAddPurpose))) {
            e->mapping->acquire(e->mapping);
            *ppMapping = e->mapping;
            return;
        }
        factories = m.factories;
    }
    for (auto& [factory, ctx] : factories) {
        factory(ppMapping, pFrom, pTo, pAddPurpose, ctx);
        if (*ppMapping != nullptr) return;
    }
}

void uno_registerMappingFactory(uno_getMappingFunc* pFactory, void* pContext) {
    std::lock_guard g(mappings().mutex);
    mappings().factories.emplace_back(pFactory, pContext);
}

void uno_revokeMappingFactory(uno_getMappingFunc* pFactory, void* pContext) {
    std::lock_guard g(mappings().mutex);
    auto& f = mappings().factories;
    f.erase(std::remove(f.begin(), f.end(), std::make_pair(pFactory, pContext)), f.end());
}

} // extern "C"
