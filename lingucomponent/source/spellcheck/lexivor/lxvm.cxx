#include "lxvm.hxx"

#include "lxops.hxx"
#include "lxrfile.hxx"

#include <rtl/character.hxx>
#include <rtl/ustrbuf.hxx>
#include <sal/logging.hxx>

#include <unicode/locid.h>
#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/utext.h>

#include <algorithm>
#include <cassert>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <utility>

static_assert(sizeof(UChar) == sizeof(sal_Unicode), "ICU and the runtime share UTF-16 units");

namespace lexivor {

bool Value::isTrue() const {
    switch (kind) {
    case Kind::None:
        return false;
    case Kind::Boolean:
        return flag;
    case Kind::Integer:
        return number != 0;
    case Kind::String:
        return !str.isEmpty();
    case Kind::List:
        return !items.empty();
    case Kind::Constant:
        return true;
    }
    return false;
}

namespace {

constexpr char logArea[] = "lingucomponent.lexivor";

const Value& noneValue() {
    static const Value none;
    return none;
}

const OUString& emptyString() {
    static const OUString empty;
    return empty;
}

sal_uInt32 readU32(const unsigned char* p) {
    return sal_uInt32(p[0]) | sal_uInt32(p[1]) << 8 | sal_uInt32(p[2]) << 16 | sal_uInt32(p[3]) << 24;
}

// The value stack.  The first eight values live inside the run's frame, so a
// typical run never allocates for its stack; deeper stacks move to the heap.
class Stack {
public:
    Stack() = default;
    Stack(const Stack&) = delete;
    Stack& operator=(const Stack&) = delete;
    ~Stack() {
        std::destroy_n(data_, size_);
        if (data_ != inlineData()) std::allocator<Value>().deallocate(data_, capacity_);
    }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const Value& at(std::size_t i) const {
        assert(i < size_ && "stack index checked by the caller");
        return data_[i];
    }
    const Value* top() const { return size_ == 0 ? nullptr : &data_[size_ - 1]; }
    // The value depth places below the top (0 = the top), None beyond the bottom.
    const Value& peek(std::size_t depth) const;

    void push(Value&& v) {
        if (size_ == capacity_) grow();
        std::construct_at(data_ + size_, std::move(v));
        ++size_;
    }
    // A new None on top, to be filled in place.
    Value& emplace() {
        if (size_ == capacity_) grow();
        Value* v = std::construct_at(data_ + size_);
        ++size_;
        return *v;
    }
    // The top value, or None from an empty stack.
    Value pop() {
        if (size_ == 0) return Value();
        --size_;
        Value v = std::move(data_[size_]);
        std::destroy_at(data_ + size_);
        return v;
    }
    void drop(std::size_t n) {
        n = std::min(n, size_);
        std::destroy_n(data_ + size_ - n, n);
        size_ -= n;
    }

private:
    static constexpr std::size_t inlineCapacity = 8;
    Value* inlineData() { return std::launder(reinterpret_cast<Value*>(inline_)); }
    void grow() {
        const std::size_t capacity = capacity_ * 2;
        Value* bigger = std::allocator<Value>().allocate(capacity);
        std::uninitialized_move_n(data_, size_, bigger);
        std::destroy_n(data_, size_);
        if (data_ != inlineData()) std::allocator<Value>().deallocate(data_, capacity_);
        data_ = bigger;
        capacity_ = capacity;
    }

    alignas(Value) unsigned char inline_[inlineCapacity * sizeof(Value)];
    Value* data_ = inlineData();
    std::size_t size_ = 0;
    std::size_t capacity_ = inlineCapacity;
};

const Value& Stack::peek(std::size_t depth) const {
    if (depth >= size_) return noneValue();
    return data_[size_ - 1 - depth];
}

// A string's UTF-8 bytes, for searching the package's word lists in place.
// Short strings are converted into a buffer inside the object; a string with an
// unpaired surrogate goes through the runtime's conversion so that the bytes are
// exactly what its default conversion gives.
class Utf8Key {
public:
    explicit Utf8Key(std::u16string_view s) {
        char* out = s.size() * 3 <= sizeof buffer_ ? buffer_ : (heap_.resize(s.size() * 3), heap_.data());
        char* p = out;
        for (std::size_t i = 0; i < s.size(); ++i) {
            const sal_uInt32 c = s[i];
            if (c < 0x80) {
                *p++ = static_cast<char>(c);
            } else if (c < 0x800) {
                *p++ = static_cast<char>(0xC0 | c >> 6);
                *p++ = static_cast<char>(0x80 | (c & 0x3F));
            } else if (c < 0xD800 || c > 0xDFFF) {
                *p++ = static_cast<char>(0xE0 | c >> 12);
                *p++ = static_cast<char>(0x80 | (c >> 6 & 0x3F));
                *p++ = static_cast<char>(0x80 | (c & 0x3F));
            } else if (c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
                const sal_uInt32 cp = ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00) + 0x10000;
                ++i;
                *p++ = static_cast<char>(0xF0 | cp >> 18);
                *p++ = static_cast<char>(0x80 | (cp >> 12 & 0x3F));
                *p++ = static_cast<char>(0x80 | (cp >> 6 & 0x3F));
                *p++ = static_cast<char>(0x80 | (cp & 0x3F));
            } else {
                view_ = fallback_.emplace(OUString(s).toUtf8()).view();
                return;
            }
        }
        view_ = std::string_view(out, static_cast<std::size_t>(p - out));
    }
    Utf8Key(const Utf8Key&) = delete;
    Utf8Key& operator=(const Utf8Key&) = delete;
    std::string_view view() const { return view_; }

private:
    char buffer_[192];
    std::string heap_;
    std::optional<OString> fallback_;
    std::string_view view_;
};

icu::UnicodeString aliasOf(std::u16string_view s) {
    // A read-only alias: ICU copies on write, the runtime's string stays untouched.
    return icu::UnicodeString(false, s.data(), static_cast<int32_t>(s.size()));
}

OUString fromIcu(const icu::UnicodeString& u) {
    if (u.isBogus() || u.isEmpty()) return OUString();
    return OUString(u.getBuffer(), u.length());
}

OUString fromView(std::u16string_view s) {
    if (s.empty()) return OUString();
    return OUString(s);
}

// Leaves a pattern matcher that belongs to the host without a reference to a
// string of this run.
void release(icu::RegexMatcher& m) {
    static const icu::UnicodeString empty;
    m.reset(empty);
}

// First occurrence of needle in hay at or after from, or npos.  Long needles go
// through Boyer-Moore so that no search degrades to hay × needle comparisons.
std::size_t findIn(std::u16string_view hay, std::u16string_view needle, std::size_t from) {
    if (from > hay.size()) return std::u16string_view::npos;
    if (needle.size() <= 32) return hay.find(needle, from);
    const auto it = std::search(hay.begin() + from, hay.end(),
                                std::boyer_moore_searcher(needle.begin(), needle.end()));
    return it == hay.end() ? std::u16string_view::npos : static_cast<std::size_t>(it - hay.begin());
}

bool isWordUnit(sal_Unicode c) { return u_isalnum(c) || c == '%' || c == '-' || c == '.' || c == '_'; }

// The n-th word to the right of the text's start, each word preceded by exactly
// one space; "" when there is no such word.
OUString wordAfter(std::u16string_view text, int n) {
    if (n <= 0) return OUString();
    std::size_t i = 0;
    for (int k = 0;;) {
        if (i >= text.size() || text[i] != u' ') return OUString();
        const std::size_t j = i + 1;
        std::size_t e = j;
        while (e < text.size() && isWordUnit(text[e])) ++e;
        if (e == j) return OUString();
        if (++k == n) return fromView(text.substr(j, e - j));
        i = e;
    }
}

// The mirror of wordAfter from the text's end, which must be a space.
OUString wordBefore(std::u16string_view text, int n) {
    if (n <= 0) return OUString();
    std::size_t end = text.size();
    for (int k = 0;;) {
        if (end == 0 || text[end - 1] != u' ') return OUString();
        const std::size_t j = end - 1;
        std::size_t s = j;
        while (s > 0 && isWordUnit(text[s - 1])) --s;
        if (s == j) return OUString();
        if (++k == n) return fromView(text.substr(s, j - s));
        end = s;
    }
}

// ICU's full case mapping in the root locale (locale id ""), written straight
// into a new runtime string: one allocation when the length does not change.
OUString changeCase(OUString s, bool upper) {
    if (s.isEmpty()) return s;
    // ASCII text maps letter by letter, as the full mapping does for it; this
    // skips ICU's locale and case-map set-up, which costs more than the mapping.
    const sal_Unicode* in = s.getStr();
    const sal_Int32 n = s.getLength();
    sal_Int32 ascii = 0;
    while (ascii < n && in[ascii] < 0x80) ++ascii;
    if (ascii == n) {
        // A string that nobody else holds (a value just popped off the stack) is
        // changed in place instead of being copied.
        OUString out = s.pData->refCount.load(std::memory_order_acquire) == 1 ? std::move(s)
                                                                                : OUString(rtl_uString_alloc(n), nullptr);
        for (sal_Int32 i = 0; i < n; ++i)
            out.pData->buffer[i] = static_cast<sal_Unicode>(upper ? rtl::toAsciiUpperCase(in[i]) : rtl::toAsciiLowerCase(in[i]));
        return out;
    }
    const auto map = upper ? u_strToUpper : u_strToLower;
    sal_Int32 capacity = s.getLength();
    for (int attempt = 0; attempt < 2; ++attempt) {
        OUString out(rtl_uString_alloc(capacity), nullptr);
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = map(out.pData->buffer, capacity, s.getStr(), s.getLength(), "", &status);
        if (status == U_BUFFER_OVERFLOW_ERROR) {
            capacity = length;
            continue;
        }
        if (U_FAILURE(status)) return OUString();
        // The fresh string belongs to this function alone, so it may be shortened.
        out.pData->length = length;
        out.pData->buffer[length] = 0;
        return out;
    }
    return OUString();
}

OUString capitalize(const OUString& s) {
    if (s.isEmpty()) return s;
    icu::UnicodeString first(static_cast<UChar>(s[0]));
    first.toUpper(icu::Locale::getRoot());
    icu::UnicodeString rest = aliasOf(s.view().substr(1));
    rest.toLower(icu::Locale::getRoot());
    first.append(rest);
    return fromIcu(first);
}

// The word-list entries whose key (the text before the first space) is the
// word, joined by line breaks.
OUString suggestForeign(const Context& ctx, const Value& constant, const OUString& word) {
    if (constant.kind != Value::Kind::Constant || word.isEmpty()) return OUString();
    const auto index = static_cast<sal_uInt32>(constant.number);
    const sal_uInt32 count = ctx.file.constantEntryCount(index);
    OUStringBuffer out;
    bool any = false;
    for (sal_uInt32 i = 0; i < count; ++i) {
        const OUString entry = ctx.file.constantEntry(index, i);
        const sal_Int32 space = entry.indexOf(u' ');
        const std::u16string_view key = space < 0 ? entry.view() : entry.view().substr(0, space);
        if (key != word.view()) continue;
        if (any) out.append(u'\n');
        out.append(entry);
        any = true;
    }
    return out.makeStringAndClear();
}

// The values compare equal when they are of one kind and carry the same payload.
// Booleans compare their flags and Lists their items, so true never equals false.
bool equalValues(const Value& a, const Value& b) {
    return a.kind == b.kind && a.number == b.number && a.flag == b.flag && a.str == b.str && a.items == b.items;
}

struct Operand {
    sal_uInt32 u = 0;       // U32 and I32 operands
    unsigned function = 0;  // Call
    unsigned argCount = 0;  // Call
};

// The arguments of a Call: the top argCount values, argument 0 deepest.  When the
// stack holds fewer, the missing deepest arguments are None.
class Args {
public:
    Args(const Stack& stack, unsigned n)
        : stack_(stack), n_(n), present_(std::min<std::size_t>(n, stack.size())),
          first_(stack.size() - present_) {}
    unsigned count() const { return n_; }
    std::size_t present() const { return present_; }
    const Value& operator[](unsigned i) const {
        const std::size_t missing = n_ - present_;
        if (i >= n_ || i < missing) return noneValue();
        return stack_.at(first_ + i - missing);
    }
    // The str field of argument i, "" when fewer arguments were given.
    const OUString& s(unsigned i) const { return (*this)[i].str; }

private:
    const Stack& stack_;
    unsigned n_;
    std::size_t present_;
    std::size_t first_;
};

template <OperandKind kind>
Operand decodeOperand(const unsigned char* p) {
    Operand o;
    if constexpr (kind == OperandKind::U32 || kind == OperandKind::I32) {
        o.u = readU32(p);
    } else if constexpr (kind == OperandKind::Call) {
        o.function = p[0];
        o.argCount = p[1];
    }
    return o;
}

class Machine {
public:
    Machine(const Context& ctx, const unsigned char* code, const unsigned char* end, const RunLimits& limits)
        : ctx_(ctx), code_(code), end_(end), limits_(limits) {}

    Value run();

private:
    // Stop: Return, the result is the top value; Fail: the run ends with None.
    enum class Flow { Next, Jump, Stop, Fail };

#define LEXIVOR_DECLARE(code, name, operand, meaning) Flow exec##name(const Operand& o);
    LEXIVOR_INSTRUCTIONS(LEXIVOR_DECLARE)
#undef LEXIVOR_DECLARE

    // Counts work; false once the run has used up its budget.
    bool charge(std::size_t units) {
        work_ += units;
        return work_ <= limits_.work;
    }
    // Values are made in their stack slot: a Value move costs calls into the
    // runtime's string functions, and runs are short enough for that to show.
    Flow pushString(OUString s) {
        const std::size_t n = static_cast<std::size_t>(s.getLength());
        Value& v = stack_.emplace();
        v.kind = Value::Kind::String;
        v.str = std::move(s);
        return charge(n) ? Flow::Next : overBudget();
    }
    Flow pushShared(const OUString& s) {
        Value& v = stack_.emplace();
        v.kind = Value::Kind::String;
        v.str = s;
        return Flow::Next;
    }
    Flow pushNone() {
        stack_.emplace();
        return Flow::Next;
    }
    Flow pushBool(bool b) {
        Value& v = stack_.emplace();
        v.kind = Value::Kind::Boolean;
        v.flag = b;
        return Flow::Next;
    }
    Flow pushInt(int i) {
        Value& v = stack_.emplace();
        v.kind = Value::Kind::Integer;
        v.number = i;
        return Flow::Next;
    }
    Flow push(Value&& v) {
        stack_.push(std::move(v));
        return Flow::Next;
    }
    Flow overBudget() {
        QX_LOG_WARN(logArea, "rule code stopped: it used more than " << limits_.work << " units of work");
        return Flow::Fail;
    }
    Flow jumpTo(sal_uInt32 target) {
        jumpTarget_ = target;
        return Flow::Jump;
    }
    Flow groupPosition(sal_uInt32 group, bool end);
    Flow truth(bool negate);
    Flow equality(bool negate);
    Flow membership(bool negate);
    Value callHost(unsigned function, const Args& args);

    const Context& ctx_;
    const unsigned char* code_;
    const unsigned char* end_;
    const RunLimits limits_;
    Stack stack_;
    sal_uInt32 jumpTarget_ = 0;
    unsigned long long work_ = 0;
};

Value Machine::run() {
    const unsigned char* pc = code_;
    for (unsigned long executed = 0;; ++executed) {
        if (pc == end_) return Value();
        if (executed == limits_.instructions) {
            QX_LOG_WARN(logArea, "rule code stopped after " << limits_.instructions << " instructions");
            return Value();
        }
        // One switch on the opcode byte, generated from the instruction list: each
        // case knows its operand layout at compile time.
        const std::size_t available = static_cast<std::size_t>(end_ - pc) - 1;
        const unsigned char* next = nullptr;
        Flow flow = Flow::Next;
        switch (*pc) {
#define LEXIVOR_DISPATCH(code, name, operand, meaning)                                  \
    case code: {                                                                        \
        constexpr std::size_t size = operandSize(OperandKind::operand);                 \
        if (available < size) return Value();                                           \
        flow = exec##name(decodeOperand<OperandKind::operand>(pc + 1));                 \
        next = pc + 1 + size;                                                           \
        break;                                                                          \
    }
            LEXIVOR_INSTRUCTIONS(LEXIVOR_DISPATCH)
#undef LEXIVOR_DISPATCH
        default:
            QX_LOG_WARN(logArea, "opcode " << unsigned(*pc) << " is not implemented");
            return Value();
        }

        switch (flow) {
        case Flow::Next:
            pc = next;
            break;
        case Flow::Jump:
            if (jumpTarget_ >= static_cast<std::size_t>(end_ - code_)) return Value();
            pc = code_ + jumpTarget_;
            break;
        case Flow::Stop:
            return stack_.pop();
        case Flow::Fail:
            return Value();
        }
    }
}

// The stack ends with the run, so its top is moved out rather than copied.
Machine::Flow Machine::execReturn(const Operand&) { return Flow::Stop; }

Machine::Flow Machine::execPushString(const Operand& o) { return pushString(ctx_.file.getString(o.u)); }
Machine::Flow Machine::execPushInteger(const Operand& o) { return pushInt(static_cast<sal_Int32>(o.u)); }
Machine::Flow Machine::execPushBoolean(const Operand& o) { return pushBool(o.u != 0); }
Machine::Flow Machine::execPushNone(const Operand&) { return pushNone(); }
Machine::Flow Machine::execPushConstant(const Operand& o) {
    Value& v = stack_.emplace();
    v.kind = Value::Kind::Constant;
    v.number = static_cast<int>(o.u);
    return Flow::Next;
}
Machine::Flow Machine::execPushText(const Operand&) { return pushShared(ctx_.text); }
Machine::Flow Machine::execPushTextAlt(const Operand&) { return pushShared(ctx_.text); }
Machine::Flow Machine::execPushNoneAlt(const Operand&) { return pushNone(); }
Machine::Flow Machine::execPushLanguage(const Operand&) { return pushShared(ctx_.locale.Language); }
Machine::Flow Machine::execPushCountry(const Operand&) { return pushShared(ctx_.locale.Country); }

Machine::Flow Machine::execPushGroup(const Operand& o) {
    icu::RegexMatcher* m = ctx_.matcher;
    if (m == nullptr) return pushNone();
    const auto group = static_cast<int32_t>(o.u);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t start = m->start(group, status);
    if (U_FAILURE(status) || start < 0) return pushNone();
    const int32_t end = m->end(group, status);
    if (U_FAILURE(status) || end < start) return pushNone();
    if (end == start) return pushString(OUString());
    // Straight from the matcher's input into the new string: one allocation.
    const int32_t length = end - start;
    OUString text(rtl_uString_alloc(length), nullptr);
    utext_extract(m->inputText(), start, end, text.pData->buffer, length, &status);
    if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return pushNone();
    text.pData->buffer[length] = 0;
    return pushString(std::move(text));
}

Machine::Flow Machine::groupPosition(sal_uInt32 group, bool end) {
    icu::RegexMatcher* m = ctx_.matcher;
    if (m == nullptr) return pushInt(-1);
    UErrorCode status = U_ZERO_ERROR;
    const int32_t start = m->start(static_cast<int32_t>(group), status);
    if (U_FAILURE(status) || start < 0) return pushInt(-1);
    if (!end) return pushInt(start);
    const int32_t e = m->end(static_cast<int32_t>(group), status);
    return pushInt(U_FAILURE(status) ? -1 : e);
}

Machine::Flow Machine::execPushGroupStart(const Operand& o) { return groupPosition(o.u, false); }
Machine::Flow Machine::execPushGroupEnd(const Operand& o) { return groupPosition(o.u, true); }

Machine::Flow Machine::truth(bool negate) {
    const bool truthy = stack_.peek(0).isTrue();
    stack_.drop(1);
    return pushBool(truthy != negate);
}
Machine::Flow Machine::execNot(const Operand&) { return truth(true); }
Machine::Flow Machine::execBool(const Operand&) { return truth(false); }

Machine::Flow Machine::execJumpIfFalse(const Operand& o) {
    const Value* top = stack_.top();
    return top != nullptr && !top->isTrue() ? jumpTo(o.u) : Flow::Next;
}
Machine::Flow Machine::execJumpIfTrue(const Operand& o) {
    const Value* top = stack_.top();
    return top != nullptr && top->isTrue() ? jumpTo(o.u) : Flow::Next;
}
Machine::Flow Machine::execJump(const Operand& o) { return jumpTo(o.u); }

Machine::Flow Machine::execPop(const Operand&) {
    stack_.drop(1);
    return Flow::Next;
}

Machine::Flow Machine::equality(bool negate) {
    const Value& b = stack_.peek(0);
    const Value& a = stack_.peek(1);
    if (!charge(static_cast<std::size_t>(std::min(a.str.getLength(), b.str.getLength())))) return overBudget();
    const bool equal = equalValues(a, b);
    stack_.drop(2);
    return pushBool(equal != negate);
}
Machine::Flow Machine::execEqual(const Operand&) { return equality(false); }
Machine::Flow Machine::execNotEqual(const Operand&) { return equality(true); }

Machine::Flow Machine::membership(bool negate) {
    const Value& b = stack_.peek(0);
    const Value& a = stack_.peek(1);
    bool in = false;
    if (b.kind == Value::Kind::Constant) {
        if (!charge(static_cast<std::size_t>(a.str.getLength()))) return overBudget();
        const Utf8Key key(a.str.view());
        in = ctx_.file.constantContains(static_cast<sal_uInt32>(b.number), key.view());
    } else if (b.kind == Value::Kind::String && a.kind == Value::Kind::String) {
        if (!charge(static_cast<std::size_t>(a.str.getLength()) + b.str.getLength())) return overBudget();
        in = findIn(b.str.view(), a.str.view(), 0) != std::u16string_view::npos;
    }
    stack_.drop(2);
    return pushBool(in != negate);
}
Machine::Flow Machine::execIn(const Operand&) { return membership(false); }
Machine::Flow Machine::execNotIn(const Operand&) { return membership(true); }

Machine::Flow Machine::execConcat(const Operand&) {
    const Value b = stack_.pop();
    const Value a = stack_.pop();
    if (b.str.isEmpty()) return pushString(a.str);
    if (a.str.isEmpty()) return pushString(b.str);
    if (!charge(static_cast<std::size_t>(a.str.getLength()) + b.str.getLength())) return overBudget();
    return pushString(a.str + b.str);
}

Machine::Flow Machine::execLower(const Operand&) {
    Value a = stack_.pop();
    if (!charge(static_cast<std::size_t>(a.str.getLength()))) return overBudget();
    return pushString(changeCase(std::move(a.str), false));
}
Machine::Flow Machine::execUpper(const Operand&) {
    Value a = stack_.pop();
    if (!charge(static_cast<std::size_t>(a.str.getLength()))) return overBudget();
    return pushString(changeCase(std::move(a.str), true));
}
Machine::Flow Machine::execCapitalize(const Operand&) {
    const Value a = stack_.pop();
    if (!charge(static_cast<std::size_t>(a.str.getLength()))) return overBudget();
    return pushString(capitalize(a.str));
}

Machine::Flow Machine::execReplace(const Operand&) {
    const Value count = stack_.pop();
    const Value replacement = stack_.pop();
    const Value old = stack_.pop();
    const Value text = stack_.pop();
    const std::u16string_view from = old.str.view();
    const std::u16string_view to = replacement.str.view();
    // An empty `old` occurs nowhere: replacing it would insert without end.
    if (from.empty() || (count.kind == Value::Kind::Integer && count.number <= 0)) return pushString(text.str);
    if (!charge(text.str.view().size())) return overBudget();

    if (count.kind == Value::Kind::Integer) {
        // Every round searches the whole current string again, so text that an
        // earlier round inserted can be replaced by a later one.
        if (from == to) return pushString(text.str);
        std::u16string current(text.str.view());
        bool changed = false;
        for (int round = 0; round < count.number; ++round) {
            const std::size_t pos = findIn(current, from, 0);
            if (pos == std::u16string::npos) break;
            current.replace(pos, from.size(), to);
            changed = true;
            if (!charge(current.size())) return overBudget();
        }
        return changed ? pushString(fromView(current)) : pushString(text.str);
    }

    // Replace-all: scan left to right, continuing after each replacement, so
    // inserted text is never searched again.
    const std::u16string_view source = text.str.view();
    std::size_t pos = findIn(source, from, 0);
    if (pos == std::u16string_view::npos) return pushString(text.str);
    OUStringBuffer out(static_cast<sal_Int32>(source.size()));
    std::size_t done = 0;
    while (pos != std::u16string_view::npos) {
        out.append(source.substr(done, pos - done)).append(to);
        if (!charge(to.size())) return overBudget();
        done = pos + from.size();
        pos = findIn(source, from, done);
    }
    out.append(source.substr(done));
    return pushString(out.makeStringAndClear());
}

Machine::Flow Machine::execTranslate(const Operand&) {
    const Value to = stack_.pop();
    const Value from = stack_.pop();
    const Value text = stack_.pop();
    const std::u16string_view f = from.str.view();
    const std::u16string_view t = to.str.view();
    const std::u16string_view s = text.str.view();
    if (!charge(s.size() + f.size() + t.size())) return overBudget();
    if (f.empty() || s.empty()) return pushString(text.str);

    // For each unit of `from`, its first position; looked up by binary search
    // when `from` is long, so the cost stays near-linear.
    std::vector<std::pair<sal_Unicode, std::size_t>> firstPos;
    const bool indexed = f.size() > 64;
    if (indexed) {
        firstPos.reserve(f.size());
        for (std::size_t k = 0; k < f.size(); ++k) firstPos.emplace_back(f[k], k);
        std::stable_sort(firstPos.begin(), firstPos.end(),
                         [](const auto& x, const auto& y) { return x.first < y.first; });
    }
    auto positionOf = [&](sal_Unicode c) -> std::size_t {
        if (!indexed) return f.find(c);
        auto it = std::lower_bound(firstPos.begin(), firstPos.end(), c,
                                   [](const auto& x, sal_Unicode v) { return x.first < v; });
        return it != firstPos.end() && it->first == c ? it->second : std::u16string_view::npos;
    };

    std::u16string out(s);
    for (sal_Unicode& c : out) {
        const std::size_t k = positionOf(c);
        if (k != std::u16string_view::npos && k < t.size()) c = t[k];
    }
    return pushString(fromView(out));
}

Machine::Flow Machine::execSlice(const Operand&) {
    const Value stop = stack_.pop();
    const Value start = stack_.pop();
    const Value a = stack_.pop();
    if (a.kind != Value::Kind::String) return pushNone();
    const sal_Int64 length = a.str.getLength();
    sal_Int64 s = start.kind == Value::Kind::Integer ? start.number : 0;
    sal_Int64 e = stop.kind == Value::Kind::Integer ? stop.number : length;
    if (s < 0) s += length;
    if (e < 0) e += length;
    s = std::clamp<sal_Int64>(s, 0, length);
    e = std::clamp<sal_Int64>(e, 0, length);
    if (s >= e) return pushString(OUString());
    if (s == 0 && e == length) return pushString(a.str);
    return pushString(a.str.copy(static_cast<sal_Int32>(s), static_cast<sal_Int32>(e - s)));
}

Machine::Flow Machine::execIndex(const Operand&) {
    const Value i = stack_.pop();
    const Value a = stack_.pop();
    if (a.kind == Value::Kind::Constant) {
        if (!charge(static_cast<std::size_t>(i.str.getLength()))) return overBudget();
        const Utf8Key key(i.str.view());
        std::optional<OUString> found = ctx_.file.constantLookup(static_cast<sal_uInt32>(a.number), key.view());
        if (!found) return pushNone();
        return pushString(std::move(*found));
    }
    if (i.kind != Value::Kind::Integer) return pushNone();
    sal_Int64 k = i.number;
    if (a.kind == Value::Kind::List) {
        const auto length = static_cast<sal_Int64>(a.items.size());
        if (k < 0) k += length;
        if (k < 0 || k >= length) return pushNone();
        return pushString(a.items[static_cast<std::size_t>(k)]);
    }
    if (a.kind == Value::Kind::String) {
        const sal_Int64 length = a.str.getLength();
        if (k < 0) k += length;
        if (k < 0 || k >= length) return pushNone();
        return pushString(OUString(a.str[static_cast<sal_Int32>(k)]));
    }
    return pushNone();
}

Machine::Flow Machine::execSearch(const Operand& o) {
    const Value a = stack_.pop();
    if (!charge(hostCallWork + a.str.view().size())) return overBudget();
    icu::RegexMatcher* m = ctx_.host.getConstantMatcher(o.u);
    if (m == nullptr) return pushBool(false);
    const icu::UnicodeString input = aliasOf(a.str.view());
    m->reset(input);
    UErrorCode status = U_ZERO_ERROR;
    const bool found = m->find(status) && U_SUCCESS(status);
    release(*m);
    return pushBool(found);
}

Machine::Flow Machine::execMatch(const Operand& o) {
    const Value a = stack_.pop();
    if (!charge(hostCallWork + a.str.view().size())) return overBudget();
    icu::RegexMatcher* m = ctx_.host.getConstantMatcher(o.u);
    if (m == nullptr) return pushBool(false);
    const icu::UnicodeString input = aliasOf(a.str.view());
    m->reset(input);
    UErrorCode status = U_ZERO_ERROR;
    const bool found = m->lookingAt(status) && U_SUCCESS(status);
    release(*m);
    return pushBool(found);
}

Machine::Flow Machine::execSubstitute(const Operand& o) {
    const Value repl = stack_.pop();
    const Value text = stack_.pop();
    if (!charge(hostCallWork + text.str.view().size())) return overBudget();
    icu::RegexMatcher* m = ctx_.host.getConstantMatcher(o.u);
    if (m == nullptr) return pushString(text.str);
    // ICU's replace-all, step by step, so that a pattern matching everywhere with a
    // long replacement cannot grow the result beyond the run's budget.
    const icu::UnicodeString input = aliasOf(text.str.view());
    const icu::UnicodeString replacement = aliasOf(repl.str.view());
    m->reset(input);
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString out;
    bool overrun = false;
    while (m->find(status) && U_SUCCESS(status)) {
        m->appendReplacement(out, replacement, status);
        if (U_FAILURE(status)) break;
        if (work_ + static_cast<unsigned long long>(out.length()) > limits_.work) {
            overrun = true;
            break;
        }
    }
    if (U_SUCCESS(status) && !overrun) m->appendTail(out);
    release(*m);
    if (overrun) return overBudget();
    if (U_FAILURE(status) || out.isBogus()) return pushString(text.str);
    return pushString(fromIcu(out));
}

Value Machine::callHost(unsigned function, const Args& args) {
    const auto& locale = ctx_.locale;
    Host& host = ctx_.host;
    switch (function) {
    case 0: { // option
        if (args.count() != 2) return Value::boolean(false);
        const sal_Int32 index = ctx_.file.findOption(args.s(1).view());
        if (index < 0 || static_cast<std::size_t>(index) >= ctx_.options.size()) return Value::boolean(false);
        return Value::boolean(ctx_.options[static_cast<std::size_t>(index)]);
    }
    case 1: // spell
        return Value::boolean(host.spell(locale, args.s(1)));
    case 2:   // morph
    case 3: { // morphLast
        const bool all = args.count() < 4 || args[3].isTrue();
        OUString r = host.morph(locale, args.s(1), args.s(2), all, function == 3);
        return r.isEmpty() ? Value() : Value::string(std::move(r));
    }
    case 4: // stem
        return Value::list(host.stem(locale, args.s(1)));
    case 5: // generate
        return Value::list(host.generate(locale, args.s(1), args.s(2)));
    case 6: // suggest
        return Value::string(host.suggest(locale, args.s(1)));
    case 7: // wordAfter
    case 8: { // wordBefore
        const int n = args[1].kind == Value::Kind::Integer ? args[1].number : 1;
        return Value::string(function == 7 ? wordAfter(args.s(0).view(), n) : wordBefore(args.s(0).view(), n));
    }
    case 9: // calc
        if (args.s(0) != u"NUMBERTEXT") return Value();
        return Value::string(host.numberText(args.s(1), args.s(2)));
    case 10: // measurement
        if (args.count() > 5)
            return Value::string(host.measurement(args.s(0), args.s(1), args.s(2), args.s(3), args.s(4), args.s(5), true));
        return Value::string(host.measurement(args.s(0), args.s(1), args.s(2), args.s(3), u",", emptyString(), false));
    case 11: // suggestForeign
        if (args.count() < 2) return Value::string(OUString());
        return Value::string(suggestForeign(ctx_, args[1], args.s(0)));
    }
    QX_LOG_WARN(logArea, "host function " << function << " is not implemented");
    return Value();
}

Machine::Flow Machine::execCall(const Operand& o) {
    const Args args(stack_, o.argCount);
    std::size_t cost = 0;
    for (unsigned i = 0; i < args.count(); ++i) cost += args.s(i).view().size();
    const bool service = (o.function >= 1 && o.function <= 6) || o.function == 9 || o.function == 10;
    if (service) cost += hostCallWork;
    // suggestForeign reads every entry of its word list.
    if (o.function == 11 && args[1].kind == Value::Kind::Constant)
        cost += ctx_.file.constantEntryCount(static_cast<sal_uInt32>(args[1].number));
    if (!charge(cost)) return overBudget();
    Value result = callHost(o.function, args);
    stack_.drop(args.present());
    if (result.kind == Value::Kind::String) return pushString(std::move(result.str));
    if (result.kind == Value::Kind::List) {
        std::size_t units = 0;
        for (const OUString& s : result.items) units += static_cast<std::size_t>(s.getLength());
        if (!charge(units)) return overBudget();
    }
    return push(std::move(result));
}

} // namespace

Value run(const Context& context, const unsigned char* code) { return run(context, code, RunLimits()); }

Value run(const Context& context, const unsigned char* code, const RunLimits& limits) {
    const RuleFile& file = context.file;
    const unsigned char* begin = file.codeBegin();
    const unsigned char* end = file.codeEnd();
    if (begin == nullptr || code == nullptr) return Value();
    // Compared as addresses: a pointer from another object must not be trusted.
    const auto c = reinterpret_cast<std::uintptr_t>(code);
    if (c < reinterpret_cast<std::uintptr_t>(begin) || c >= reinterpret_cast<std::uintptr_t>(end)) return Value();
    return Machine(context, code, end, limits).run();
}

} // namespace lexivor
