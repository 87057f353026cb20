// The configuration's data and its profile file.
//
// Profile format (UTF-8, one setting per line):
//
//   # a comment; blank lines are ignored
//   /org.ambrel.Setup/Language/UserLocale = "de-CH"
//   /org.ambrel.Office.Linguistic/GrammarChecking/SentenceChecking/en/cap = false
//   /some/node/count = 42
//   /some/node/ratio = 0.5
//
// The path runs from the root to the value; names may hold any character but
// "/" and "=".  Values: true or false (boolean), a decimal integer (long, or
// hyper when it does not fit), a number with a "." or an exponent (double), or
// a string in double quotes with the escapes \" \\ \n \r \t and \uXXXX.  A line
// that cannot be read is logged and skipped; a later line for the same path
// wins.

#include "store.hxx"

#include <officehost/configuration.hxx>
#include <rtl/ustrbuf.hxx>
#include <sal/logging.hxx>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

namespace officehost::configuration::detail {

using ::com::qam::vexo::lang::DisposedException;
using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::util::ChangesEvent;
using ::com::qam::vexo::util::ElementChange;
using ::com::qam::vexo::util::XChangesListener;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::TypeClass;
using ::zel::uno::XInterface;

struct Store::Node {
    bool isValue = false;
    Any value;
    std::map<OUString, std::unique_ptr<Node>> children;

    std::unique_ptr<Node> clone() const {
        auto copy = std::make_unique<Node>();
        copy->isValue = isValue;
        copy->value = value;
        for (const auto& [name, child] : children) copy->children.emplace(name, child->clone());
        return copy;
    }
};

namespace {

using namespace std::string_view_literals;
using Node = Store::Node;
constexpr char kLogArea[] = "configmgr";

bool startsWith(const Path& path, const Path& prefix) {
    if (prefix.size() > path.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (path[i] != prefix[i]) return false;
    return true;
}

Node* find(Node* root, const Path& path) {
    Node* node = root;
    for (const OUString& name : path) {
        if (!node || node->isValue) return nullptr;
        auto it = node->children.find(name);
        node = it == node->children.end() ? nullptr : it->second.get();
    }
    return node;
}

void collectLeaves(const Node& node, Path& path, std::map<Path, Any>& out) {
    if (node.isValue) {
        out.emplace(path, node.value);
        return;
    }
    for (const auto& [name, child] : node.children) {
        path.push_back(name);
        collectLeaves(*child, path, out);
        path.pop_back();
    }
}

std::map<Path, Any> leavesOf(const Node& node, Path base = {}) {
    std::map<Path, Any> out;
    collectLeaves(node, base, out);
    return out;
}

std::vector<Change> differences(const Node& before, const Node& after) {
    std::map<Path, Any> a = leavesOf(before), b = leavesOf(after);
    std::vector<Change> changes;
    for (const auto& [path, value] : a) {
        auto it = b.find(path);
        if (it == b.end())
            changes.push_back({path, value, Any()});
        else if (!(it->second == value))
            changes.push_back({path, value, it->second});
    }
    for (const auto& [path, value] : b)
        if (!a.count(path)) changes.push_back({path, Any(), value});
    return changes;
}

// Puts value at path below root; the message says why it cannot.
bool put(Node& root, const Path& path, const Any& value, OUString* why) {
    if (path.empty()) {
        *why = u"the root is a node, not a value";
        return false;
    }
    Node* node = &root;
    for (std::size_t i = 0; i + 1 < path.size(); ++i) {
        auto& child = node->children[path[i]];
        if (!child) child = std::make_unique<Node>();
        if (child->isValue) {
            Path prefix(path.begin(), path.begin() + static_cast<std::ptrdiff_t>(i) + 1);
            *why = pathText(prefix) + u" is a value, not a node";
            return false;
        }
        node = child.get();
    }
    auto& leaf = node->children[path.back()];
    if (leaf && !leaf->isValue) {
        *why = pathText(path) + u" is a node, not a value";
        return false;
    }
    if (!leaf) leaf = std::make_unique<Node>();
    leaf->isValue = true;
    leaf->value = value;
    return true;
}

// --- profile text ---------------------------------------------------------

OUString quoted(const OUString& s) {
    static const char hex[] = "0123456789ABCDEF";
    OUStringBuffer b(s.getLength() + 2);
    b.append(u'"');
    for (sal_Int32 i = 0; i < s.getLength(); ++i) {
        sal_Unicode c = s[i];
        switch (c) {
        case u'"': b.append(u"\\\""sv); continue;
        case u'\\': b.append(u"\\\\"sv); continue;
        case u'\n': b.append(u"\\n"sv); continue;
        case u'\r': b.append(u"\\r"sv); continue;
        case u'\t': b.append(u"\\t"sv); continue;
        }
        // Control characters and surrogates are escaped, so that every string,
        // even one with a lone surrogate, comes back unit for unit.
        if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
            b.append(u"\\u"sv);
            for (int shift = 12; shift >= 0; shift -= 4) b.append(static_cast<sal_Unicode>(hex[(c >> shift) & 0xF]));
            continue;
        }
        b.append(c);
    }
    b.append(u'"');
    return b.makeStringAndClear();
}

OUString valueText(const Any& value) {
    switch (value.getValueTypeClass()) {
    case TypeClass::TypeClass_BOOLEAN: return OUString::boolean(value.get<bool>());
    case TypeClass::TypeClass_BYTE:
    case TypeClass::TypeClass_SHORT:
    case TypeClass::TypeClass_UNSIGNED_SHORT:
    case TypeClass::TypeClass_LONG:
    case TypeClass::TypeClass_HYPER: return OUString::number(static_cast<long long>(value.get<sal_Int64>()));
    case TypeClass::TypeClass_DOUBLE: {
        OUString text = OUString::number(value.get<double>());
        if (text.indexOf(u'.') < 0 && text.indexOf(u'e') < 0 && text.indexOf(u'E') < 0) text += u".0"sv;
        return text;
    }
    case TypeClass::TypeClass_STRING: return quoted(value.get<OUString>());
    default: return OUString();
    }
}

bool parseString(std::u16string_view text, Any& out, OUString* why) {
    if (text.size() < 2 || text.back() != u'"') {
        *why = u"unterminated string";
        return false;
    }
    OUStringBuffer b;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        sal_Unicode c = text[i];
        if (c == u'"') {
            *why = u"unescaped quote in a string";
            return false;
        }
        if (c != u'\\') {
            b.append(c);
            continue;
        }
        if (i + 2 >= text.size()) {
            *why = u"unterminated escape in a string";
            return false;
        }
        sal_Unicode e = text[++i];
        switch (e) {
        case u'"': b.append(u'"'); continue;
        case u'\\': b.append(u'\\'); continue;
        case u'n': b.append(u'\n'); continue;
        case u'r': b.append(u'\r'); continue;
        case u't': b.append(u'\t'); continue;
        case u'u': {
            if (i + 4 >= text.size()) {
                *why = u"short \\u escape in a string";
                return false;
            }
            unsigned code = 0;
            for (int k = 0; k < 4; ++k) {
                sal_Unicode h = text[++i];
                unsigned digit = h >= '0' && h <= '9'   ? h - '0'
                                 : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                 : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                        : 16u;
                if (digit == 16) {
                    *why = u"bad \\u escape in a string";
                    return false;
                }
                code = code * 16 + digit;
            }
            b.append(static_cast<sal_Unicode>(code));
            continue;
        }
        }
        *why = OUString(u"unknown escape \\") + OUString(e) + u" in a string";
        return false;
    }
    out = Any(b.makeStringAndClear());
    return true;
}

bool parseValue(std::u16string_view text, Any& out, OUString* why) {
    if (text.empty()) {
        *why = u"missing value";
        return false;
    }
    if (text.front() == u'"') return parseString(text, out, why);
    if (text == u"true" || text == u"false") {
        out = Any(text == u"true");
        return true;
    }
    std::string ascii;
    for (sal_Unicode c : text) {
        if (c > 0x7F) break;
        ascii.push_back(static_cast<char>(c));
    }
    if (ascii.size() == text.size() && !ascii.empty()) {
        const char* first = ascii.data();
        const char* last = first + ascii.size();
        if (*first == '+') ++first;
        bool isDouble = ascii.find_first_of(".eE") != std::string::npos;
        if (!isDouble) {
            sal_Int64 v = 0;
            auto [end, ec] = std::from_chars(first, last, v);
            if (ec == std::errc() && end == last) {
                if (v >= std::numeric_limits<sal_Int32>::min() && v <= std::numeric_limits<sal_Int32>::max())
                    out = Any(static_cast<sal_Int32>(v));
                else
                    out = Any(v);
                return true;
            }
        } else {
            double d = 0;
            auto [end, ec] = std::from_chars(first, last, d);
            if (ec == std::errc() && end == last && std::isfinite(d)) {
                out = Any(d);
                return true;
            }
        }
    }
    *why = OUString(u"unreadable value ") + OUString(text);
    return false;
}

std::unique_ptr<Node> readProfile(const OUString& file) {
    auto root = std::make_unique<Node>();
    std::ifstream in(file.toUtf8().toStdString(), std::ios::binary);
    if (!in) return root; // no profile yet: every value has its default
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        auto warn = [&](const OUString& why) {
            QX_LOG_WARN(kLogArea, file << ":" << lineNumber << ": " << why << ", line ignored");
        };
        OUString text;
        if (!rtl_convertStringToUString(&text.pData, line.data(), static_cast<sal_Int32>(line.size()),
                                        RTL_TEXTENCODING_UTF8, RTL_TEXTTOUNICODE_FLAGS_STRICT)) {
            warn(u"not UTF-8");
            continue;
        }
        OUString trimmed = text.trim();
        if (trimmed.isEmpty() || trimmed[0] == u'#') continue;
        sal_Int32 eq = trimmed.indexOf(u'=');
        if (eq < 0) {
            warn(u"no \"=\"");
            continue;
        }
        Path path;
        OUString pathPart = trimmed.copy(0, eq).trim();
        if (!parsePath(pathPart, path) || path.empty()) {
            warn(OUString(u"malformed path ") + pathPart);
            continue;
        }
        Any value;
        OUString why;
        if (!parseValue(trimmed.copy(eq + 1).trim(), value, &why) || !put(*root, path, value, &why)) warn(why);
    }
    return root;
}

void writeNode(const Node& node, Path& path, std::string& out) {
    if (node.isValue) {
        out += (pathText(path) + u" = " + valueText(node.value)).toUtf8().toStdString();
        out += '\n';
        return;
    }
    for (const auto& [name, child] : node.children) {
        path.push_back(name);
        writeNode(*child, path, out);
        path.pop_back();
    }
}

} // namespace

bool parsePath(std::u16string_view text, Path& path) {
    path.clear();
    if (text.empty() || text.front() != u'/') return false;
    if (text == u"/") return true;
    std::size_t start = 1;
    for (;;) {
        std::size_t slash = text.find(u'/', start);
        std::u16string_view name = text.substr(start, slash == std::u16string_view::npos ? text.npos : slash - start);
        if (name.empty() || name.find(u'=') != name.npos) return false;
        path.emplace_back(name);
        if (slash == std::u16string_view::npos) return true;
        start = slash + 1;
    }
}

OUString pathText(const Path& path) {
    if (path.empty()) return u"/";
    OUStringBuffer b;
    for (const OUString& name : path) b.append(u'/').append(name);
    return b.makeStringAndClear();
}

bool isStorable(const Any& value, OUString* why) {
    switch (value.getValueTypeClass()) {
    case TypeClass::TypeClass_BOOLEAN:
    case TypeClass::TypeClass_BYTE:
    case TypeClass::TypeClass_SHORT:
    case TypeClass::TypeClass_UNSIGNED_SHORT:
    case TypeClass::TypeClass_LONG:
    case TypeClass::TypeClass_HYPER:
    case TypeClass::TypeClass_STRING: return true;
    case TypeClass::TypeClass_DOUBLE:
        if (std::isfinite(value.get<double>())) return true;
        *why = u"a double that is not finite cannot be stored";
        return false;
    default: *why = u"values of type " + value.getValueTypeName() + u" cannot be stored"; return false;
    }
}

Store::Store() : root_(std::make_unique<Node>()) {}

Store::~Store() = default;

void Store::ensureLoaded() {
    if (loaded_) return;
    loaded_ = true;
    profileFile_ = profilePath();
    root_ = readProfile(profileFile_);
}

Store::Entry Store::lookup(const Path& path) {
    std::lock_guard guard(mutex_);
    ensureLoaded();
    Node* node = find(root_.get(), path);
    if (!node) return {};
    if (node->isValue) return {Kind::Value, node->value};
    return {Kind::Node, Any()};
}

std::vector<OUString> Store::childNames(const Path& path) {
    std::lock_guard guard(mutex_);
    ensureLoaded();
    std::vector<OUString> names;
    Node* node = find(root_.get(), path);
    if (!node || node->isValue) return names;
    for (const auto& entry : node->children) names.push_back(entry.first);
    return names;
}

void Store::setValues(const std::vector<std::pair<Path, Any>>& values, const char16_t* operation) {
    std::vector<Change> changes;
    {
        std::lock_guard guard(mutex_);
        ensureLoaded();
        // Work on a copy so that a refused value leaves everything as it was.
        std::unique_ptr<Node> copy = root_->clone();
        for (const auto& [path, value] : values) {
            OUString why;
            if (!isStorable(value, &why) || !put(*copy, path, value, &why))
                throw IllegalArgumentException(OUString(std::u16string_view(operation)) + u": " + why);
        }
        changes = differences(*root_, *copy);
        root_ = std::move(copy);
    }
    notify(changes);
}

bool Store::remove(const Path& path) {
    std::vector<Change> changes;
    {
        std::lock_guard guard(mutex_);
        ensureLoaded();
        if (path.empty()) {
            for (const auto& [leaf, value] : leavesOf(*root_)) changes.push_back({leaf, value, Any()});
            root_->children.clear();
        } else {
            Path parentPath(path.begin(), path.end() - 1);
            Node* parent = find(root_.get(), parentPath);
            if (!parent || parent->isValue) return false;
            auto it = parent->children.find(path.back());
            if (it == parent->children.end()) return false;
            for (const auto& [leaf, value] : leavesOf(*it->second, path)) changes.push_back({leaf, value, Any()});
            parent->children.erase(it);
        }
    }
    notify(changes);
    return true;
}

void Store::reload() {
    std::vector<Change> changes;
    {
        std::lock_guard guard(mutex_);
        if (!loaded_) {
            ensureLoaded(); // nothing was read before, so nobody saw other values
            return;
        }
        std::unique_ptr<Node> fresh = readProfile(profileFile_);
        changes = differences(*root_, *fresh);
        root_ = std::move(fresh);
    }
    notify(changes);
}

void Store::storeProfile() {
    std::lock_guard guard(mutex_);
    ensureLoaded();
    std::string text = "# qx user profile: one setting per line, PATH = VALUE\n";
    Path path;
    writeNode(*root_, path, text);
    std::filesystem::path file(profileFile_.toUtf8().toStdString());
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    std::error_code ec;
    if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path(), ec);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        if (!out) ec = std::make_error_code(std::errc::io_error);
    }
    // Replacing the file by rename means a crash leaves the old profile or the new one, never half of it.
    if (!ec) std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        throw ::zel::uno::RuntimeException(u"storeProfile: cannot write " + profileFile_);
    }
}

void Store::addListener(const Reference<XInterface>& source, const Path& node,
                        const Reference<XChangesListener>& listener) {
    if (!listener.is()) return;
    std::lock_guard guard(mutex_);
    for (Registration& r : registrations_) {
        if (r.source.get() != source.get()) continue;
        for (const auto& l : r.listeners)
            if (l == listener) return;
        r.listeners.push_back(listener);
        return;
    }
    registrations_.push_back({source, node, {listener}});
}

void Store::removeListener(XInterface* source, const Reference<XChangesListener>& listener) {
    // The registration holds the notifier; it must go after the lock is released,
    // because the notifier's destructor may come back here.
    std::vector<Registration> dropped;
    {
        std::lock_guard guard(mutex_);
        for (auto it = registrations_.begin(); it != registrations_.end(); ++it) {
            if (it->source.get() != source) continue;
            std::erase_if(it->listeners, [&](const auto& l) { return l == listener; });
            if (it->listeners.empty()) {
                dropped.push_back(std::move(*it));
                registrations_.erase(it);
            }
            break;
        }
    }
}

void Store::dispose() {
    std::vector<Registration> registrations;
    {
        std::lock_guard guard(mutex_);
        registrations.swap(registrations_);
    }
    for (const Registration& r : registrations) {
        for (const auto& listener : r.listeners) {
            try {
                listener->disposing(::com::qam::vexo::lang::EventObject{r.source});
            } catch (const ::zel::uno::Exception& e) {
                QX_LOG_WARN(kLogArea, "a listener failed on disposing: " << e.Message);
            }
        }
    }
}

void Store::notify(const std::vector<Change>& changes) {
    if (changes.empty()) return;
    struct Delivery {
        Reference<XInterface> source;
        std::vector<Reference<XChangesListener>> listeners;
        ChangesEvent event;
    };
    std::vector<Delivery> deliveries;
    {
        std::lock_guard guard(mutex_);
        for (const Registration& r : registrations_) {
            std::vector<ElementChange> relevant;
            for (const Change& c : changes) {
                if (c.path.size() <= r.node.size() || !startsWith(c.path, r.node)) continue;
                OUStringBuffer accessor;
                for (std::size_t i = r.node.size(); i < c.path.size(); ++i) {
                    if (i > r.node.size()) accessor.append(u'/');
                    accessor.append(c.path[i]);
                }
                relevant.push_back({Any(accessor.makeStringAndClear()), c.newValue, c.oldValue});
            }
            if (relevant.empty()) continue;
            ChangesEvent event;
            event.Source = r.source;
            event.Base = Any(r.source);
            event.Changes = Sequence<ElementChange>(std::move(relevant));
            deliveries.push_back({r.source, r.listeners, std::move(event)});
        }
    }
    for (const Delivery& d : deliveries) {
        for (const auto& listener : d.listeners) {
            try {
                listener->changesOccurred(d.event);
            } catch (const DisposedException&) {
                // A listener that has gone away does not want to hear more.
                removeListener(d.source.get(), listener);
            } catch (const ::zel::uno::Exception& e) {
                QX_LOG_WARN(kLogArea, "a changes listener failed: " << e.Message);
            }
        }
    }
}

} // namespace officehost::configuration::detail
