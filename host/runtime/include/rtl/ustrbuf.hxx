#pragma once
// rtl::OUStringBuffer: a growable UTF-16 buffer that makes OUStrings.

#include <rtl/ustring.hxx>

#include <string>

namespace rtl {

class SALQX_DLLPUBLIC OUStringBuffer {
public:
    OUStringBuffer() = default;
    explicit OUStringBuffer(sal_Int32 capacity) { buf_.reserve(capacity > 0 ? capacity : 0); }
    explicit OUStringBuffer(std::u16string_view s) : buf_(s) {}
    OUStringBuffer(const OUString& s) : buf_(s.view()) {}

    sal_Int32 getLength() const noexcept { return static_cast<sal_Int32>(buf_.size()); }
    bool isEmpty() const noexcept { return buf_.empty(); }
    const sal_Unicode* getStr() const noexcept { return buf_.c_str(); }
    sal_Unicode& operator[](sal_Int32 i) { return buf_[i]; }
    sal_Unicode operator[](sal_Int32 i) const { return buf_[i]; }
    void setLength(sal_Int32 len) { buf_.resize(len > 0 ? len : 0, u'\0'); }
    void ensureCapacity(sal_Int32 cap) { buf_.reserve(cap > 0 ? cap : 0); }

    OUStringBuffer& append(std::u16string_view s) { buf_.append(s); return *this; }
    OUStringBuffer& append(const OUString& s) { buf_.append(s.view()); return *this; }
    OUStringBuffer& append(const sal_Unicode* s, sal_Int32 len) { buf_.append(s, len); return *this; }
    OUStringBuffer& append(sal_Unicode c) { buf_.push_back(c); return *this; }
    OUStringBuffer& append(sal_Int32 i) { return append(OUString::number(i)); }
    OUStringBuffer& append(sal_Int64 i) { return append(OUString::number(static_cast<long long>(i))); }
    OUStringBuffer& append(double d) { return append(OUString::number(d)); }
    OUStringBuffer& appendAscii(std::string_view ascii) {
        for (char c : ascii) buf_.push_back(static_cast<unsigned char>(c));
        return *this;
    }
    OUStringBuffer& appendUtf32(sal_uInt32 c);
    OUStringBuffer& insert(sal_Int32 pos, std::u16string_view s) { buf_.insert(pos, s); return *this; }
    OUStringBuffer& remove(sal_Int32 start, sal_Int32 len) { buf_.erase(start, len); return *this; }
    OUStringBuffer& truncate(sal_Int32 len = 0) { buf_.resize(len); return *this; }
    OUStringBuffer& replace(sal_Int32 start, sal_Int32 len, std::u16string_view s) { buf_.replace(start, len, s); return *this; }
    sal_Int32 indexOf(std::u16string_view s, sal_Int32 from = 0) const noexcept {
        auto p = buf_.find(s, from);
        return p == std::u16string::npos ? -1 : static_cast<sal_Int32>(p);
    }
    std::u16string_view view() const noexcept { return buf_; }
    operator std::u16string_view() const noexcept { return buf_; }

    OUString toString() const { return OUString(buf_.data(), getLength()); }
    OUString makeStringAndClear() {
        OUString s(buf_.data(), getLength());
        buf_.clear();
        return s;
    }

private:
    std::u16string buf_;
};

} // namespace rtl

using rtl::OUStringBuffer;
