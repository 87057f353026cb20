#pragma once
// The configuration's data: a tree of named nodes whose leaves are values, read
// from the user's profile, and the change listeners registered on its nodes.
//
// Models the part of an office configuration that services and the host use:
// reading values below a node path, changing them, and telling listeners.  It
// deliberately has no schema (any path can hold any storable value, and a path
// that names nothing yet reads as an empty node), no layers (one profile file,
// no shared or default layer), no locale-dependent values and no write-back
// unless the host asks for it (storeProfile).
//
// Thread safety: every member may be called from any thread.  Listeners are
// called without the store's lock held, so they may read and change values.

#include <com/qam/vexo/util/changes.hxx>

#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace officehost::configuration::detail {

using Path = std::vector<OUString>;

// "/a/b/c" -> {a, b, c}; false for an empty path, one that does not start with
// "/", and one with an empty name.  "/" is the root (no names).
bool parsePath(std::u16string_view text, Path& path);
OUString pathText(const Path& path);

// One change of a value: void oldValue for a new value, void newValue for a removed one.
struct Change {
    Path path;
    ::zel::uno::Any oldValue;
    ::zel::uno::Any newValue;
};

// Whether a value can be kept in the profile; the message says why not.
bool isStorable(const ::zel::uno::Any& value, OUString* why);

class Store {
public:
    // The profile file is officehost::configuration::profilePath() at first use.
    Store();
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    enum class Kind { None, Node, Value };
    struct Entry {
        Kind kind = Kind::None;
        ::zel::uno::Any value; // for values
    };

    Entry lookup(const Path& path);
    // Names of the node's children in ascending order; empty when path is not a node.
    std::vector<OUString> childNames(const Path& path);

    // Throw IllegalArgumentException (message beginning with operation) for
    // unusable input; change nothing when one change is refused.
    void setValues(const std::vector<std::pair<Path, ::zel::uno::Any>>& values, const char16_t* operation);
    bool remove(const Path& path);
    void reload();
    void storeProfile();

    // The listener hears of changes below node, as the object source reports them.
    // One registration per (source, listener); a second add changes nothing.
    void addListener(const ::zel::uno::Reference<::zel::uno::XInterface>& source, const Path& node,
                     const ::zel::uno::Reference<::com::qam::vexo::util::XChangesListener>& listener);
    void removeListener(::zel::uno::XInterface* source,
                        const ::zel::uno::Reference<::com::qam::vexo::util::XChangesListener>& listener);
    // Tells every listener that the configuration goes away, and forgets them.
    void dispose();

    struct Node;

private:
    struct Registration {
        ::zel::uno::Reference<::zel::uno::XInterface> source;
        Path node;
        std::vector<::zel::uno::Reference<::com::qam::vexo::util::XChangesListener>> listeners;
    };

    void ensureLoaded(); // lock held
    void notify(const std::vector<Change>& changes);

    std::mutex mutex_;
    OUString profileFile_;
    bool loaded_ = false;
    std::unique_ptr<Node> root_;
    std::vector<Registration> registrations_;
};

} // namespace officehost::configuration::detail
