// The document and its view, and the paragraph styles of a document: what a
// text document is beyond its texts.  The texts, ranges, cursors and contents
// are in textobjects.cxx; this file reaches them through textobjects.hxx.

#include "textcore.hxx"
#include "textdocument.hxx"
#include "textobjects.hxx"

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/style/style.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/util/modify.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>

#include <algorithm>
#include <vector>

namespace officehost::text {
namespace {

namespace css = ::com::qam::vexo;
using namespace ::officehost::textcore;
using css::beans::PropertyValue;
using css::container::XIndexAccess;
using css::lang::IllegalArgumentException;
using css::lang::IndexOutOfBoundsException;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::XInterface;
using objects::CorePtr;

Sequence<OUString> names(std::initializer_list<OUString> list) { return Sequence<OUString>(list); }

bool contains(const Sequence<OUString>& list, const OUString& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// ---- styles --------------------------------------------------------------------

// A paragraph style: a name, a parent, paragraph and character properties and
// maybe numbering.  Made by the document's service factory, it belongs to no
// document until it is inserted into the family.
class StyleImpl : public cppu::WeakImplHelper<css::style::XStyle, css::beans::XPropertySet, css::lang::XServiceInfo>,
                  public Linked {
public:
    explicit StyleImpl(CorePtr core) : core_(std::move(core)), pending_(std::make_unique<Style>()), style_(pending_.get()) {
        style_->userDefined = true;
        style_->parent = u"Standard";
    }
    StyleImpl(CorePtr core, Style* style) : core_(std::move(core)), style_(style) { style_->obj = this; }
    ~StyleImpl() override {
        if (style_ && !pending_) style_->obj = nullptr;
    }
    void nodeGone() override { style_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::style::XStyle*>(this); }

    OUString getName() override { return style(u"getName").name; }
    void setName(const OUString& name) override {
        Style& s = style(u"setName");
        if (!pending_) throw RuntimeException(u"setName: a style of a document keeps its name");
        s.name = name;
    }
    bool isUserDefined() override { return style(u"isUserDefined").userDefined; }
    bool isInUse() override {
        Style& s = style(u"isInUse");
        if (pending_) return false;
        bool used = false;
        std::vector<TextNode*> texts{core_->body.get()};
        while (!texts.empty() && !used) {
            TextNode* t = texts.back();
            texts.pop_back();
            for (auto& b : t->blocks) {
                if (b->isTable()) {
                    for (auto& row : static_cast<TableNode&>(*b).rows)
                        for (auto& cell : row->cells) texts.push_back(cell.get());
                    continue;
                }
                auto& p = static_cast<ParaNode&>(*b);
                used = used || p.style == s.name;
                for (auto& u : p.units)
                    if (u.object && u.object->text) texts.push_back(u.object->text.get());
            }
        }
        return used;
    }
    OUString getParentStyle() override { return style(u"getParentStyle").parent; }
    void setParentStyle(const OUString& parent) override {
        Style& s = style(u"setParentStyle");
        if (!parent.isEmpty() && !core_->findStyle(parent))
            throw css::container::NoSuchElementException(u"setParentStyle: there is no paragraph style named " + parent);
        for (OUString p = parent; !p.isEmpty();) {
            if (p == s.name) throw IllegalArgumentException(u"setParentStyle: a style cannot inherit from itself");
            const Style* ps = core_->findStyle(p);
            p = ps ? ps->parent : OUString();
        }
        s.parent = parent;
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return objects::styleInfo();
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        Style& s = style(op);
        const PropDesc* d = findProp(name);
        if (!d || d->scope == PropScope::Portion || name == u"ParaStyleName") objects::unknownProperty(op, name);
        if (name == u"NumberingRules") {
            s.numbering = value.hasValue() ? objects::numberingOf(*core_, value, op) : nullptr;
            return;
        }
        Any v = coerce(*d, value, op);
        if (v.hasValue())
            s.props[name] = v;
        else
            s.props.erase(name);
    }
    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        Style& s = style(op);
        const PropDesc* d = findProp(name);
        if (!d || d->scope == PropScope::Portion || name == u"ParaStyleName") objects::unknownProperty(op, name);
        if (name == u"NumberingRules") return s.numbering ? Any(objects::rulesOf(*s.numbering)) : Any();
        auto it = s.props.find(name);
        if (it != s.props.end()) return it->second;
        return s.parent.isEmpty() ? d->defaultValue : core_->styleValue(s.parent, name);
    }

    OUString getImplementationName() override { return u"officehost.text.ParagraphStyle"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.style.ParagraphStyle", u"com.qam.vexo.style.Style"});
    }

    bool isPending() const { return pending_ != nullptr; }
    std::unique_ptr<Style> takePending() { return std::move(pending_); }
    const CorePtr& core() const { return core_; }
    void adopt(Style* s) {
        style_ = s;
        s->obj = this;
    }

private:
    Style& style(const OUString& op) {
        if (!style_) objects::gone(op);
        return *style_;
    }
    CorePtr core_;
    std::unique_ptr<Style> pending_;
    Style* style_;
};

Reference<css::style::XStyle> styleObject(const CorePtr& core, Style* s) {
    if (s->obj) return dynamic_cast<StyleImpl*>(s->obj);
    return new StyleImpl(core, s);
}

// The paragraph styles of a document by name.  Removing one gives its paragraphs
// (and the styles that inherit from it) the style "Standard"; "Standard" stays.
class ParagraphStylesImpl : public cppu::WeakImplHelper<css::container::XNameContainer> {
public:
    explicit ParagraphStylesImpl(CorePtr core) : core_(std::move(core)) {}
    Any getByName(const OUString& name) override {
        auto it = core_->styles.find(name);
        if (it == core_->styles.end())
            throw css::container::NoSuchElementException(u"getByName: there is no paragraph style named " + name);
        return Any(styleObject(core_, &it->second));
    }
    Sequence<OUString> getElementNames() override {
        std::vector<OUString> out;
        for (auto& [n, s] : core_->styles) out.push_back(n);
        return Sequence<OUString>(out);
    }
    bool hasByName(const OUString& name) override { return core_->styles.count(name) != 0; }
    Type getElementType() override { return cppu::UnoType<css::style::XStyle>::get(); }
    bool hasElements() override { return !core_->styles.empty(); }
    void replaceByName(const OUString& name, const Any& element) override {
        if (!hasByName(name))
            throw css::container::NoSuchElementException(u"replaceByName: there is no paragraph style named " + name);
        StyleImpl* s = pendingStyle(u"replaceByName", element);
        removeByName(name);
        adopt(name, s);
    }
    void insertByName(const OUString& name, const Any& element) override {
        if (hasByName(name))
            throw css::container::ElementExistException(u"insertByName: there is already a paragraph style named " +
                                                        name);
        adopt(name, pendingStyle(u"insertByName", element));
    }
    void removeByName(const OUString& name) override {
        auto it = core_->styles.find(name);
        if (it == core_->styles.end())
            throw css::container::NoSuchElementException(u"removeByName: there is no paragraph style named " + name);
        if (name == u"Standard") throw IllegalArgumentException(u"removeByName: the style Standard cannot be removed");
        // Paragraphs and styles that used it fall back to the standard style.
        std::vector<TextNode*> texts{core_->body.get()};
        while (!texts.empty()) {
            TextNode* t = texts.back();
            texts.pop_back();
            for (auto& b : t->blocks) {
                if (b->isTable()) {
                    for (auto& row : static_cast<TableNode&>(*b).rows)
                        for (auto& cell : row->cells) texts.push_back(cell.get());
                    continue;
                }
                auto& p = static_cast<ParaNode&>(*b);
                if (p.style == name) p.style = u"Standard";
                for (auto& u : p.units)
                    if (u.object && u.object->text) texts.push_back(u.object->text.get());
            }
        }
        for (auto& [n, s] : core_->styles)
            if (s.parent == name) s.parent = u"Standard";
        if (it->second.obj) it->second.obj->nodeGone();
        core_->styles.erase(it);
    }

private:
    StyleImpl* pendingStyle(const OUString& op, const Any& element) {
        Reference<css::style::XStyle> style(element, UNO_QUERY);
        auto* impl = dynamic_cast<StyleImpl*>(style.get());
        if (!impl || !impl->isPending() || impl->core() != core_)
            throw IllegalArgumentException(op + u": expected a new paragraph style of this document");
        return impl;
    }
    void adopt(const OUString& name, StyleImpl* impl) {
        std::unique_ptr<Style> s = impl->takePending();
        s->name = name;
        Style& placed = core_->styles[name] = std::move(*s);
        placed.obj = nullptr;
        impl->adopt(&placed);
    }
    CorePtr core_;
};

// The style families of a document: only "ParagraphStyles" in this model.
class StyleFamiliesImpl : public cppu::WeakImplHelper<css::container::XNameAccess> {
public:
    explicit StyleFamiliesImpl(CorePtr core) : core_(std::move(core)) {}
    Any getByName(const OUString& name) override {
        if (name != u"ParagraphStyles")
            throw css::container::NoSuchElementException(u"getByName: there is no style family named " + name);
        return Any(Reference<css::container::XNameContainer>(new ParagraphStylesImpl(core_)));
    }
    Sequence<OUString> getElementNames() override { return names({u"ParagraphStyles"}); }
    bool hasByName(const OUString& name) override { return name == u"ParagraphStyles"; }
    Type getElementType() override { return cppu::UnoType<css::container::XNameContainer>::get(); }
    bool hasElements() override { return true; }

private:
    CorePtr core_;
};

void addStandardStyles(Core& core) {
    auto add = [&](const OUString& name, const OUString& parent, Attrs props) -> Style& {
        Style& s = core.styles[name];
        s.name = name;
        s.parent = parent;
        s.props = std::move(props);
        return s;
    };
    add(u"Standard", OUString(), {});
    add(u"Text body", u"Standard", {{u"ParaLeftMargin", Any(sal_Int32(0))}});
    add(u"Heading", u"Standard", {{u"CharHeight", Any(14.0f)}});
    for (int level = 1; level <= 6; ++level)
        add(u"Heading " + OUString::number(level), u"Heading",
            {{u"CharWeight", Any(css::awt::FontWeight::BOLD)}, {u"CharHeight", Any(float(20 - 2 * level))}});
    add(u"Title", u"Heading",
        {{u"CharWeight", Any(css::awt::FontWeight::BOLD)}, {u"ParaAdjust", Any(css::style::ParagraphAdjust::CENTER)}});
    add(u"Subtitle", u"Heading", {{u"ParaAdjust", Any(css::style::ParagraphAdjust::CENTER)}});
    Style& bullets = add(u"List Bullet", u"Text body", {});
    bullets.numbering = NumberingData::create(core);
    Style& numbers = add(u"List Number", u"Text body", {});
    auto arabic = NumberingData::create(core);
    for (auto& level : arabic->levels)
        for (auto& v : level)
            if (v.Name == u"NumberingType") v.Value = Any(css::style::NumberingType::ARABIC);
    numbers.numbering = arabic;
}

// ---- the document and its view --------------------------------------------------

class TextControllerImpl;

// A text document: the body, styles, footnotes and the service factory for its
// contents.  It keeps its controllers without owning them (the frame that shows
// a controller disconnects it); it has no URL, storage or undo, and dispose only
// tells the listeners (the content stays usable until the last reference goes).
// Modify listeners hear of every edit of the content (texts, tables, anchored
// objects), not of property changes.
class TextDocumentImpl
    : public cppu::WeakImplHelper<css::text::XTextDocument, css::lang::XMultiServiceFactory, css::lang::XServiceInfo,
                                  css::text::XFootnotesSupplier, css::style::XStyleFamiliesSupplier,
                                  css::util::XModifyBroadcaster> {
public:
    TextDocumentImpl() : core_(std::make_shared<Core>()) {
        addStandardStyles(*core_);
        core_->onEdit = [this] { modified(); };
    }
    ~TextDocumentImpl() override { core_->onEdit = nullptr; }

    void addModifyListener(const Reference<css::util::XModifyListener>& l) override {
        if (l.is()) modifyListeners_.push_back(l);
    }
    void removeModifyListener(const Reference<css::util::XModifyListener>& l) override {
        std::erase_if(modifyListeners_,
                      [&](const Reference<css::util::XModifyListener>& x) { return x.get() == l.get(); });
    }

    Reference<css::text::XText> getText() override { return objects::textObjectOf(core_, core_->body.get()); }
    void reformat() override {}

    OUString getURL() override { return OUString(); }
    Sequence<PropertyValue> getArgs() override { return {}; }
    void connectController(const Reference<css::frame::XController>& c) override {
        if (!c.is()) throw IllegalArgumentException(u"connectController: the controller must not be empty");
        if (std::find(controllers_.begin(), controllers_.end(), c.get()) == controllers_.end())
            controllers_.push_back(c.get());
    }
    void disconnectController(const Reference<css::frame::XController>& c) override { forget(c.get()); }
    Reference<css::frame::XController> getCurrentController() override { return current_; }
    void setCurrentController(const Reference<css::frame::XController>& c) override {
        if (std::find(controllers_.begin(), controllers_.end(), c.get()) == controllers_.end())
            throw css::container::NoSuchElementException(
                u"setCurrentController: the controller is not connected to this document");
        current_ = c.get();
    }

    void dispose() override {
        auto listeners = std::move(listeners_);
        listeners_.clear();
        css::lang::EventObject event{Reference<XInterface>(static_cast<css::text::XTextDocument*>(this))};
        for (auto& l : listeners) l->disposing(event);
    }
    void addEventListener(const Reference<css::lang::XEventListener>& l) override {
        if (l.is()) listeners_.push_back(l);
    }
    void removeEventListener(const Reference<css::lang::XEventListener>& l) override {
        std::erase_if(listeners_, [&](const Reference<css::lang::XEventListener>& x) { return x.get() == l.get(); });
    }

    Reference<XInterface> createInstance(const OUString& service) override {
        if (service == u"com.qam.vexo.text.NumberingRules")
            return Reference<XInterface>(objects::rulesOf(*NumberingData::create(*core_)), UNO_QUERY);
        if (service == u"com.qam.vexo.style.ParagraphStyle")
            return Reference<XInterface>(static_cast<css::style::XStyle*>(new StyleImpl(core_)));
        return objects::newContent(core_, service);
    }
    Reference<XInterface> createInstanceWithArguments(const OUString& service, const Sequence<Any>&) override {
        return createInstance(service);
    }
    Sequence<OUString> getAvailableServiceNames() override {
        return names({u"com.qam.vexo.text.TextTable", u"com.qam.vexo.text.Footnote", u"com.qam.vexo.text.NumberingRules",
                      u"com.qam.vexo.text.TextGraphicObject", u"com.qam.vexo.style.ParagraphStyle"});
    }

    OUString getImplementationName() override { return u"officehost.text.TextDocument"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.TextDocument", u"com.qam.vexo.document.OfficeDocument"});
    }

    Reference<XIndexAccess> getFootnotes() override { return objects::footnoteList(core_); }
    Reference<css::beans::XPropertySet> getFootnoteSettings() override { return {}; }

    Reference<css::container::XNameAccess> getStyleFamilies() override { return new StyleFamiliesImpl(core_); }

    const CorePtr& core() const { return core_; }
    void forget(css::frame::XController* c) {
        std::erase(controllers_, c);
        if (current_ == c) current_ = controllers_.empty() ? nullptr : controllers_.front();
    }

private:
    CorePtr core_;
    std::vector<css::frame::XController*> controllers_;
    css::frame::XController* current_ = nullptr;
    std::vector<Reference<css::lang::XEventListener>> listeners_;
    std::vector<Reference<css::util::XModifyListener>> modifyListeners_;

    void modified() {
        if (modifyListeners_.empty()) return;
        const auto listeners = modifyListeners_;
        const css::lang::EventObject event{Reference<XInterface>(static_cast<css::text::XTextDocument*>(this))};
        for (const auto& l : listeners) l->modified(event);
    }
};

// The ranges of a view's selection, copied when the selection was asked for.
class SelectionRangesImpl : public cppu::WeakImplHelper<XIndexAccess> {
public:
    explicit SelectionRangesImpl(std::vector<Reference<css::text::XTextRange>> ranges) : ranges_(std::move(ranges)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(ranges_.size()); }
    Any getByIndex(sal_Int32 index) override {
        if (index < 0 || index >= getCount())
            throw IndexOutOfBoundsException(u"getByIndex: there is no selected range " + OUString::number(index));
        return Any(ranges_[index]);
    }
    Type getElementType() override { return cppu::UnoType<css::text::XTextRange>::get(); }
    bool hasElements() override { return !ranges_.empty(); }

private:
    std::vector<Reference<css::text::XTextRange>> ranges_;
};

// The view of a text document: its view cursor and its selection.  The selection
// is the text between the view cursor's mark and point, or a selected graphic
// object, or several ranges selected at once (an XIndexAccess of ranges); the
// last two last until the view cursor moves or something else is selected.  The
// ranges of a multiple selection follow edits.  It has no window, layout or
// scrolling.
class TextControllerImpl : public cppu::WeakImplHelper<css::frame::XController, css::text::XTextViewCursorSupplier,
                                                       css::view::XSelectionSupplier, css::lang::XServiceInfo> {
public:
    explicit TextControllerImpl(Reference<TextDocumentImpl> model)
        : model_(std::move(model)),
          cursor_(objects::newViewCursor(model_->core(), startOf(*model_->core()->body))) {}
    ~TextControllerImpl() override { model_->forget(this); }

    void attachFrame(const Reference<css::frame::XFrame>& frame) override { frame_ = frame.get(); }
    bool attachModel(const Reference<css::frame::XModel>& model) override {
        return Reference<css::frame::XModel>::sameObject(model.get(), static_cast<css::text::XTextDocument*>(model_.get()));
    }
    bool suspend(bool) override { return true; }
    Reference<css::frame::XFrame> getFrame() override { return frame_; }
    Reference<css::frame::XModel> getModel() override { return model_.get(); }

    Reference<css::text::XTextViewCursor> getViewCursor() override { return cursor_.get(); }

    bool select(const Any& selection) override {
        if (selection.getValueTypeClass() != ::zel::uno::TypeClass_INTERFACE)
            throw IllegalArgumentException(u"select: expected an object, got " + selection.getValueTypeName());
        Reference<XInterface> obj(selection, UNO_QUERY);
        if (objects::isGraphic(obj.get())) {
            if (!objects::isInsertedGraphic(obj.get(), model_->core().get())) return false;
            selected_ = obj;
            ranges_.clear();
            movesAtSelection_ = objects::movesOf(*cursor_);
            return true;
        }
        Pos a, b;
        if (objects::rangeOf(obj.get(), *model_->core(), a, b)) {
            cursor_->gotoRange(Reference<css::text::XTextRange>(obj, UNO_QUERY), false);
            selected_.clear();
            ranges_.clear();
            return true;
        }
        Reference<XIndexAccess> list(obj, UNO_QUERY);
        return list.is() && selectRanges(*list);
    }
    Any getSelection() override {
        if (objects::movesOf(*cursor_) != movesAtSelection_) {
            selected_.clear();
            ranges_.clear();
        }
        if (objects::isInsertedGraphic(selected_.get(), nullptr))
            return Any(selected_);
        selected_.clear();
        std::vector<Reference<css::text::XTextRange>> ranges;
        Pos a, b;
        for (const auto& [start, end] : ranges_) {
            a = start.get();
            b = end.get();
            if (!a.valid() || !b.valid() || textOf(a) != textOf(b)) continue;
            ranges.push_back(objects::rangeBetween(model_->core(), a, b));
        }
        if (ranges.empty() && objects::rangeOf(cursor_.get(), *model_->core(), a, b))
            ranges.push_back(objects::rangeBetween(model_->core(), a, b));
        return Any(Reference<XIndexAccess>(new SelectionRangesImpl(std::move(ranges))));
    }

    OUString getImplementationName() override { return u"officehost.text.TextView"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override { return names({u"com.qam.vexo.text.TextDocumentView"}); }

private:
    // Several ranges at once: all must be ranges of this document, else nothing
    // changes.  The view cursor goes to the last of them.
    bool selectRanges(XIndexAccess& list) {
        const sal_Int32 count = list.getCount();
        if (count == 0) return false;
        std::vector<std::pair<Pos, Pos>> found;
        Reference<css::text::XTextRange> last;
        for (sal_Int32 i = 0; i < count; ++i) {
            Reference<css::text::XTextRange> range(list.getByIndex(i), UNO_QUERY);
            Pos a, b;
            if (!range.is() || !objects::rangeOf(range.get(), *model_->core(), a, b)) return false;
            found.emplace_back(a, b);
            last = range;
        }
        cursor_->gotoRange(last, false);
        selected_.clear();
        ranges_.clear();
        if (count > 1)
            for (const auto& [a, b] : found) ranges_.emplace_back(Position(*model_->core(), a), Position(*model_->core(), b));
        movesAtSelection_ = objects::movesOf(*cursor_);
        return true;
    }

    Reference<TextDocumentImpl> model_;
    Reference<css::text::XTextViewCursor> cursor_;
    Reference<XInterface> selected_;  // a selected graphic object, if any
    std::vector<std::pair<Position, Position>> ranges_;  // a multiple selection, if any
    sal_uInt64 movesAtSelection_ = 0;
    css::frame::XFrame* frame_ = nullptr;  // the frame that shows this view; it outlives the attachment
};

} // namespace

Reference<css::frame::XModel> createTextDocument() { return new TextDocumentImpl(); }

Reference<css::frame::XController> createTextController(const Reference<css::frame::XModel>& model) {
    auto* doc = dynamic_cast<TextDocumentImpl*>(model.get());
    if (!doc) throw IllegalArgumentException(u"createTextController: the model is not a text document of this host");
    return new TextControllerImpl(doc);
}

} // namespace officehost::text
