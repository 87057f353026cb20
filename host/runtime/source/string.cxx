// rtl_String storage and the members of rtl::OString; the same scheme as
// rtl_uString (one block per string, a static empty string that is never freed).

#include <rtl/character.hxx>
#include <rtl/string.hxx>

#include "strimpl.hxx"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <ostream>
#include <string>

namespace {

constinit rtl_String g_emptyString{{1}, 0, {0}};

rtl_String* allocString(sal_Int32 len) {
    salqx::checkedLength(static_cast<std::size_t>(len));
    void* block = std::malloc(offsetof(rtl_String, buffer) + static_cast<std::size_t>(len) + 1);
    if (block == nullptr) throw std::bad_alloc();
    auto* s = static_cast<rtl_String*>(block);
    new (&s->refCount) std::atomic<sal_Int32>(1);
    s->length = len;
    s->buffer[len] = 0;
    return s;
}

} // namespace

extern "C" {

void rtl_string_acquire(rtl_String* str) noexcept {
    if (str == &g_emptyString) return;
    str->refCount.fetch_add(1, std::memory_order_relaxed);
}

void rtl_string_release(rtl_String* str) noexcept {
    if (str == &g_emptyString) return;
    if (str->refCount.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
    str->refCount.~atomic();
    std::free(str);
}

rtl_String* rtl_string_newEmpty() noexcept { return &g_emptyString; }

rtl_String* rtl_string_newFromStr(const char* str, sal_Int32 len) {
    if (str == nullptr || len <= 0) return rtl_string_newEmpty();
    rtl_String* s = allocString(len);
    std::copy(str, str + len, s->buffer);
    return s;
}

} // extern "C"

namespace rtl {

OString OString::number(long long i) { return OString(std::to_string(i)); }

sal_Int32 OString::indexOf(char c, sal_Int32 from) const noexcept {
    if (from < 0) from = 0;
    if (from >= getLength()) return -1;
    auto p = view().find(c, static_cast<std::size_t>(from));
    return p == std::string_view::npos ? -1 : static_cast<sal_Int32>(p);
}

sal_Int32 OString::indexOf(std::string_view s, sal_Int32 from) const noexcept {
    if (from < 0) from = 0;
    if (from > getLength()) return -1;
    auto p = view().find(s, static_cast<std::size_t>(from));
    return p == std::string_view::npos ? -1 : static_cast<sal_Int32>(p);
}

sal_Int32 OString::lastIndexOf(char c) const noexcept {
    auto p = view().rfind(c);
    return p == std::string_view::npos ? -1 : static_cast<sal_Int32>(p);
}

// Indices outside the string are clamped to it.
OString OString::copy(sal_Int32 begin, sal_Int32 count) const {
    begin = std::clamp(begin, 0, getLength());
    count = std::clamp(count, 0, getLength() - begin);
    if (begin == 0 && count == getLength()) return *this;
    return OString(getStr() + begin, count);
}

OString OString::concat(std::string_view s) const {
    if (s.empty()) return *this;
    sal_Int32 len = salqx::checkedLength(static_cast<std::size_t>(getLength()) + s.size());
    rtl_String* r = allocString(len);
    std::copy(getStr(), getStr() + getLength(), r->buffer);
    std::copy(s.begin(), s.end(), r->buffer + getLength());
    return OString(r, nullptr);
}

OString OString::toAsciiLowerCase() const {
    if (std::none_of(getStr(), getStr() + getLength(), [](char c) { return rtl::isAsciiUpperCase(static_cast<unsigned char>(c)); }))
        return *this;
    std::string s(view());
    for (auto& c : s) c = static_cast<char>(rtl::toAsciiLowerCase(static_cast<unsigned char>(c)));
    return OString(s);
}

std::ostream& operator<<(std::ostream& os, const OString& s) { return os << s.view(); }

} // namespace rtl
