#pragma once
// zel::uno::Mapping: a counted handle to a uno_Mapping.

#include <uno/mapping.h>

#include <utility>

namespace com::qam::vexo::uno {

class Mapping {
public:
    Mapping() noexcept = default;
    // Asks the runtime for the mapping from pFrom to pTo (empty when there is none).
    Mapping(uno_Environment* pFrom, uno_Environment* pTo, rtl_uString* pAddPurpose = nullptr) {
        uno_getMapping(&m_pMapping, pFrom, pTo, pAddPurpose);
    }
    explicit Mapping(uno_Mapping* pMapping) noexcept : m_pMapping(pMapping) {
        if (m_pMapping != nullptr) m_pMapping->acquire(m_pMapping);
    }
    Mapping(const Mapping& m) noexcept : Mapping(m.m_pMapping) {}
    Mapping(Mapping&& m) noexcept : m_pMapping(std::exchange(m.m_pMapping, nullptr)) {}
    ~Mapping() { clear(); }
    Mapping& operator=(Mapping m) noexcept {
        std::swap(m_pMapping, m.m_pMapping);
        return *this;
    }
    // Takes over one count of pMapping.
    void takeOver(uno_Mapping* pMapping) noexcept {
        clear();
        m_pMapping = pMapping;
    }
    void clear() noexcept {
        if (uno_Mapping* m = std::exchange(m_pMapping, nullptr)) m->release(m);
    }
    bool is() const noexcept { return m_pMapping != nullptr; }
    uno_Mapping* get() const noexcept { return m_pMapping; }

    // The interface mapped, counted, or null.
    void* mapInterface(void* pInterface, typelib_InterfaceTypeDescription* pTypeDescr) const {
        void* out = nullptr;
        m_pMapping->mapInterface(m_pMapping, &out, pInterface, pTypeDescr);
        return out;
    }

private:
    uno_Mapping* m_pMapping = nullptr;
};

} // namespace com::qam::vexo::uno

namespace zel {
namespace uno = ::com::qam::vexo::uno;
}
