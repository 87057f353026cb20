// The interface objects of the stand-in text document: texts, paragraphs,
// portions, ranges, cursors, tables, footnotes, graphic objects and numbering
// rules.  Each is a view into the document's Core (textcore.hxx).  The
// document, its view and its styles are in textdocument.cxx.
//
// Identity: a paragraph, table, row, cell, footnote, text or style is presented
// by one object at a time (the node remembers it without owning it), so that
// objects from two enumerations compare equal by XInterface identity.  Ranges,
// cursors and portions are new objects on every call.
//
// Objects of removed content stay alive as long as they are held; using them
// raises lang::DisposedException.

#include "shapetext.hxx"
#include "textcore.hxx"
#include "textobjects.hxx"

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/graphic/graphic.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/style/style.hxx>
#include <com/qam/vexo/table/table.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>
#include <rtl/ustrbuf.hxx>

#include <algorithm>
#include <cassert>
#include <optional>

namespace officehost::text {
namespace {

namespace css = ::com::qam::vexo;
using namespace ::officehost::textcore;
using css::beans::Property;
using css::beans::PropertyState;
using css::beans::PropertyValue;
using css::container::XEnumeration;
using css::container::XIndexAccess;
using css::container::XIndexReplace;
using css::lang::IllegalArgumentException;
using css::lang::IndexOutOfBoundsException;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::XInterface;
using CorePtr = std::shared_ptr<Core>;

[[noreturn]] void gone(const OUString& operation) {
    throw css::lang::DisposedException(operation + u": the object is no longer part of the document");
}

[[noreturn]] void unknownProperty(const OUString& operation, const OUString& name) {
    throw css::beans::UnknownPropertyException(operation + u": unknown property " + name);
}

Sequence<OUString> names(std::initializer_list<OUString> list) { return Sequence<OUString>(list); }

bool contains(const Sequence<OUString>& list, const OUString& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

// ---- ranges as positions ------------------------------------------------------

// Implemented by every object that is a range of a text of this model.
class RangeSource {
public:
    virtual Core* rangeCore() = 0;
    // The range now, start first; false when it is no longer in the document.
    virtual bool rangeOf(Pos& start, Pos& end) = 0;

protected:
    ~RangeSource() = default;
};

// The positions of a range of this document; false for foreign or removed ranges.
bool resolve(XInterface* range, const Core& core, Pos& a, Pos& b) {
    if (auto* shape = range ? dynamic_cast<ShapeText*>(range) : nullptr) return shape->wholeText(core, a, b);
    auto* src = range ? dynamic_cast<RangeSource*>(range) : nullptr;
    if (!src || src->rangeCore() != &core) return false;
    return src->rangeOf(a, b);
}

void ordered(Pos& a, Pos& b) {
    if (compare(a, b) > 0) std::swap(a, b);
}

template <class F>
void forEachUnitRange(const Pos& a, const Pos& b, F fn) {
    TextNode& t = *a.para->text;
    for (sal_Int32 i = t.indexOf(a.para), e = t.indexOf(b.para); i <= e; ++i) {
        if (t.blocks[i]->isTable()) continue;
        auto& p = static_cast<ParaNode&>(*t.blocks[i]);
        fn(p, &p == a.para ? a.off : 0, &p == b.para ? b.off : p.length());
    }
}

Reference<css::text::XText> textObject(const CorePtr& core, TextNode* node);
Reference<css::text::XTextContent> paragraphObject(const CorePtr& core, ParaNode* node);
Reference<css::text::XTextContent> clippedParagraph(const CorePtr& core, Pos a, Pos b);
Reference<css::text::XTextContent> tableObject(const CorePtr& core, TableNode* node);
Reference<css::text::XFootnote> footnoteObject(const CorePtr& core, InlineNode* node);
Reference<css::text::XTextContent> graphicObject(const CorePtr& core, InlineNode* node);
Reference<css::text::XTextRange> makeRange(const CorePtr& core, Pos a, Pos b);
Reference<css::text::XTextRange> makePortion(const CorePtr& core, Pos a, Pos b);
Reference<XIndexReplace> makeRules(const NumberingData& data);
NumberingPtr toNumbering(Core& core, const Any& value, const OUString& operation);

// ---- small collections --------------------------------------------------------

// An enumeration over what a collection held when the enumeration was made.
class EnumerationImpl : public cppu::WeakImplHelper<XEnumeration> {
public:
    explicit EnumerationImpl(std::vector<Any> items) : items_(std::move(items)) {}
    bool hasMoreElements() override { return next_ < items_.size(); }
    Any nextElement() override {
        if (next_ >= items_.size())
            throw css::container::NoSuchElementException(u"nextElement: the enumeration has no more elements");
        return items_[next_++];
    }

private:
    std::vector<Any> items_;
    std::size_t next_ = 0;
};

// The names, types and attributes of an object's properties (no handles).
class PropertySetInfoImpl : public cppu::WeakImplHelper<css::beans::XPropertySetInfo> {
public:
    explicit PropertySetInfoImpl(std::vector<Property> props) : props_(std::move(props)) {}
    Sequence<Property> getProperties() override { return Sequence<Property>(props_); }
    Property getPropertyByName(const OUString& name) override {
        for (auto& p : props_)
            if (p.Name == name) return p;
        unknownProperty(u"getPropertyByName", name);
    }
    bool hasPropertyByName(const OUString& name) override {
        return std::any_of(props_.begin(), props_.end(), [&](const Property& p) { return p.Name == name; });
    }

private:
    std::vector<Property> props_;
};

Reference<css::beans::XPropertySetInfo> infoFor(std::initializer_list<PropScope> scopes) {
    std::vector<Property> props;
    for (const PropDesc& d : propertyTable()) {
        if (std::find(scopes.begin(), scopes.end(), d.scope) == scopes.end()) continue;
        sal_Int16 attrs = 0;
        if (d.maybeVoid) attrs |= css::beans::PropertyAttribute::MAYBEVOID;
        if (d.readOnly) attrs |= css::beans::PropertyAttribute::READONLY;
        props.push_back(Property{d.name, -1, d.type, attrs});
    }
    return new PropertySetInfoImpl(std::move(props));
}

// ---- paragraph and character properties ---------------------------------------

bool isChar(const PropDesc& d) { return d.scope == PropScope::Character; }

Any paraProperty(Core& core, const ParaNode& p, const OUString& name) {
    if (name == u"ParaStyleName") return Any(p.style);
    NumberingPtr numbering = core.effectiveNumbering(p);
    if (name == u"NumberingRules") return numbering ? Any(makeRules(*numbering)) : Any();
    if (name == u"NumberingIsNumber") {
        if (!numbering) return Any();
        auto it = p.props.find(name);
        return it != p.props.end() ? it->second : Any(true);
    }
    if (name == u"ListId") {
        if (!numbering) return Any(OUString());
        auto it = p.props.find(name);
        return it != p.props.end() ? it->second : Any(numbering->listId);
    }
    return core.paraValue(p, name);
}

PropertyState paraState(const ParaNode& p, const OUString& name) {
    if (name == u"ParaStyleName") return css::beans::PropertyState_DIRECT_VALUE;
    if (name == u"NumberingRules")
        return p.numbering || p.numberingCleared ? css::beans::PropertyState_DIRECT_VALUE
                                                 : css::beans::PropertyState_DEFAULT_VALUE;
    return p.props.count(name) ? css::beans::PropertyState_DIRECT_VALUE : css::beans::PropertyState_DEFAULT_VALUE;
}

void stripUnitAttr(ParaNode& p, const OUString& name) {
    for (Unit& u : p.units) {
        if (!u.attrs || !u.attrs->count(name)) continue;
        auto copy = std::make_shared<Attrs>(*u.attrs);
        copy->erase(name);
        u.attrs = copy->empty() ? nullptr : AttrsPtr(copy);
    }
}

// Sets a property on the paragraph itself: a character property then applies to
// the whole paragraph, replacing the values of its characters.
void setParaProperty(Core& core, ParaNode& p, const PropDesc& d, const Any& value, const OUString& op) {
    if (d.readOnly) throw css::beans::PropertyVetoException(op + u": property " + d.name + u" is read-only");
    if (d.name == u"ParaStyleName") {
        OUString style;
        if (!(value >>= style)) coerce(d, value, op);
        if (!core.findStyle(style))
            throw IllegalArgumentException(op + u": there is no paragraph style named " + style);
        p.style = style;
        p.numberingCleared = false;
        return;
    }
    if (d.name == u"NumberingRules") {
        if (!value.hasValue()) {
            p.numbering = nullptr;
            p.numberingCleared = true;
            return;
        }
        p.numbering = toNumbering(core, value, op);
        p.numberingCleared = false;
        return;
    }
    Any v = coerce(d, value, op);
    if (d.name == u"NumberingLevel") {
        sal_Int16 level = v.get<sal_Int16>();
        // A shape's paragraph takes -1 for "no bullet"; a document's lists start at level 0.
        const sal_Int16 lowest = p.text->kind == TextKind::Shape ? -1 : 0;
        if (level < lowest || level >= NumberingData::levelCount)
            throw IllegalArgumentException(op + u": NumberingLevel must lie between " + OUString::number(lowest) +
                                           u" and 9, got " + OUString::number(level));
    }
    if (!v.hasValue()) {
        p.props.erase(d.name);
        return;
    }
    p.props[d.name] = v;
    if (isChar(d)) stripUnitAttr(p, d.name);
}

void resetParaProperty(ParaNode& p, const PropDesc& d) {
    if (d.name == u"ParaStyleName") {
        p.style = u"Standard";
        return;
    }
    if (d.name == u"NumberingRules") {
        p.numbering = nullptr;
        p.numberingCleared = false;
        return;
    }
    p.props.erase(d.name);
    if (isChar(d)) stripUnitAttr(p, d.name);
}

// The unit whose character properties a range shows: its first, or for an
// empty range the one before it (at a paragraph start, the one after).
std::pair<ParaNode*, sal_Int32> sampleUnit(const Pos& a, const Pos& b) {
    std::pair<ParaNode*, sal_Int32> found{nullptr, -1};
    forEachUnitRange(a, b, [&](ParaNode& p, sal_Int32 lo, sal_Int32 hi) {
        if (!found.first && lo < hi) found = {&p, lo};
    });
    if (found.first) return found;
    return {a.para, a.off > 0 ? a.off - 1 : a.off};
}

bool unitHas(const ParaNode& p, sal_Int32 i, const OUString& name) {
    return i >= 0 && i < p.length() && p.units[i].attrs && p.units[i].attrs->count(name);
}

// XPropertySet and XPropertyState of ranges, cursors, portions and paragraphs,
// over the range that the derived class reports.
template <class Base>
class RangeProperties : public Base {
public:
    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        if (portion()) return infoFor({PropScope::Character, PropScope::Paragraph, PropScope::Portion});
        return infoFor({PropScope::Character, PropScope::Paragraph});
    }

    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        const PropDesc& d = describe(op, name);
        Pos a, b;
        span(op, a, b);
        Core& core = *this->core_;
        if (d.readOnly) throw css::beans::PropertyVetoException(op + u": property " + name + u" is read-only");
        if (!isChar(d) || paragraph()) {
            // Validate once before touching anything, so a bad value changes nothing.
            if (isChar(d) || d.name == u"NumberingLevel") coerce(d, value, op);
            forEachUnitRange(a, b, [&](ParaNode& p, sal_Int32, sal_Int32) { setParaProperty(core, p, d, value, op); });
            return;
        }
        Any v = coerce(d, value, op);
        forEachUnitRange(a, b, [&](ParaNode& p, sal_Int32 lo, sal_Int32 hi) {
            AttrsPtr lastOld, lastNew;
            for (sal_Int32 i = lo; i < hi; ++i) {
                Unit& u = p.units[i];
                if (!lastNew || u.attrs != lastOld) {
                    lastOld = u.attrs;
                    auto copy = std::make_shared<Attrs>(u.attrs ? *u.attrs : Attrs());
                    if (v.hasValue())
                        (*copy)[name] = v;
                    else
                        copy->erase(name);
                    lastNew = copy;
                }
                u.attrs = lastNew;
            }
        });
    }

    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        const PropDesc& d = describe(op, name);
        Pos a, b;
        span(op, a, b);
        Core& core = *this->core_;
        if (d.scope == PropScope::Portion) return portionValue(name, a, b);
        if (!isChar(d) || paragraph()) return paraProperty(core, *a.para, name);
        auto [p, i] = sampleUnit(a, b);
        return core.unitValue(*p, i, name);
    }

    PropertyState getPropertyState(const OUString& name) override {
        static const OUString op(u"getPropertyState");
        const PropDesc& d = describe(op, name);
        Pos a, b;
        span(op, a, b);
        if (d.scope == PropScope::Portion) return css::beans::PropertyState_DIRECT_VALUE;
        if (!isChar(d) || paragraph()) return paraState(*a.para, name);
        sal_Int32 with = 0, without = 0;
        forEachUnitRange(a, b, [&](ParaNode& p, sal_Int32 lo, sal_Int32 hi) {
            for (sal_Int32 i = lo; i < hi; ++i) (unitHas(p, i, name) ? with : without) += 1;
        });
        if (with && without) return css::beans::PropertyState_AMBIGUOUS_VALUE;
        if (with) return css::beans::PropertyState_DIRECT_VALUE;
        if (without) return css::beans::PropertyState_DEFAULT_VALUE;
        auto [p, i] = sampleUnit(a, b);
        return unitHas(*p, i, name) ? css::beans::PropertyState_DIRECT_VALUE : css::beans::PropertyState_DEFAULT_VALUE;
    }

    Sequence<PropertyState> getPropertyStates(const Sequence<OUString>& names) override {
        std::vector<PropertyState> states;
        for (const OUString& n : names) states.push_back(getPropertyState(n));
        return Sequence<PropertyState>(states);
    }

    void setPropertyToDefault(const OUString& name) override {
        static const OUString op(u"setPropertyToDefault");
        const PropDesc& d = describe(op, name);
        Pos a, b;
        span(op, a, b);
        if (d.readOnly) throw css::beans::PropertyVetoException(op + u": property " + name + u" is read-only");
        if (!isChar(d) || paragraph()) {
            forEachUnitRange(a, b, [&](ParaNode& p, sal_Int32, sal_Int32) { resetParaProperty(p, d); });
            return;
        }
        forEachUnitRange(a, b, [&](ParaNode& p, sal_Int32 lo, sal_Int32 hi) {
            for (sal_Int32 i = lo; i < hi; ++i) {
                Unit& u = p.units[i];
                if (!u.attrs || !u.attrs->count(name)) continue;
                auto copy = std::make_shared<Attrs>(*u.attrs);
                copy->erase(name);
                u.attrs = copy->empty() ? nullptr : AttrsPtr(copy);
            }
        });
    }

    Any getPropertyDefault(const OUString& name) override {
        static const OUString op(u"getPropertyDefault");
        const PropDesc& d = describe(op, name);
        Pos a, b;
        span(op, a, b);
        if (d.scope == PropScope::Portion) return d.defaultValue;
        return this->core_->styleValue(a.para->style, name);
    }

protected:
    explicit RangeProperties(CorePtr core) : core_(std::move(core)) {}
    // The range the properties apply to, start first; throws DisposedException when gone.
    virtual void span(const OUString& op, Pos& a, Pos& b) = 0;
    // Paragraph objects read and write character properties on the paragraph itself.
    virtual bool paragraph() const { return false; }
    virtual bool portion() const { return false; }
    virtual Any portionValue(const OUString&, const Pos&, const Pos&) { return Any(); }

    const PropDesc& describe(const OUString& op, const OUString& name) {
        const PropDesc* d = findProp(name);
        if (!d || (d->scope == PropScope::Portion && !portion())) unknownProperty(op, name);
        return *d;
    }

    CorePtr core_;
};

// The XTextRange reads of ranges, portions, cursors and paragraphs, over the
// range that span() reports.  setString stays with each object: what happens to
// its own ends after the replacement differs.
template <class Base>
class RangeReads : public RangeProperties<Base> {
public:
    Reference<css::text::XText> getText() override {
        Pos a, b;
        this->span(u"getText", a, b);
        return textObject(this->core_, a.para->text);
    }
    Reference<css::text::XTextRange> getStart() override {
        Pos a, b;
        this->span(u"getStart", a, b);
        return makeRange(this->core_, a, a);
    }
    Reference<css::text::XTextRange> getEnd() override {
        Pos a, b;
        this->span(u"getEnd", a, b);
        return makeRange(this->core_, b, b);
    }
    OUString getString() override {
        Pos a, b;
        this->span(u"getString", a, b);
        return rangeString(a, b);
    }

protected:
    using RangeProperties<Base>::RangeProperties;
};

// ---- numbering rules -----------------------------------------------------------

// Numbering rules as a value object: ten levels of property values.  Setting them
// on a paragraph copies them; changing them afterwards changes nothing else.
class NumberingRulesImpl : public cppu::WeakImplHelper<XIndexReplace, css::lang::XServiceInfo> {
public:
    explicit NumberingRulesImpl(const NumberingData& data) : data_(data) {}

    sal_Int32 getCount() override { return static_cast<sal_Int32>(data_.levels.size()); }
    Any getByIndex(sal_Int32 index) override {
        check(u"getByIndex", index);
        return Any(Sequence<PropertyValue>(data_.levels[index]));
    }
    Type getElementType() override { return cppu::UnoType<Sequence<PropertyValue>>::get(); }
    bool hasElements() override { return !data_.levels.empty(); }
    void replaceByIndex(sal_Int32 index, const Any& element) override {
        check(u"replaceByIndex", index);
        Sequence<PropertyValue> values;
        if (!(element >>= values))
            throw IllegalArgumentException(u"replaceByIndex: expected a sequence of property values, got " +
                                           element.getValueTypeName());
        auto& level = data_.levels[index];
        for (const PropertyValue& v : values) {
            auto it = std::find_if(level.begin(), level.end(), [&](const PropertyValue& e) { return e.Name == v.Name; });
            if (it != level.end())
                it->Value = v.Value;
            else
                level.push_back(v);
        }
    }

    OUString getImplementationName() override { return u"officehost.text.NumberingRules"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override { return names({u"com.qam.vexo.text.NumberingRules"}); }

    const NumberingData& data() const { return data_; }

private:
    void check(const OUString& op, sal_Int32 index) {
        if (index < 0 || index >= getCount())
            throw IndexOutOfBoundsException(op + u": there is no numbering level " + OUString::number(index));
    }
    NumberingData data_;
};

Reference<XIndexReplace> makeRules(const NumberingData& data) { return new NumberingRulesImpl(data); }

NumberingPtr toNumbering(Core& core, const Any& value, const OUString& operation) {
    Reference<XIndexAccess> access(value, UNO_QUERY);
    if (!access.is())
        throw IllegalArgumentException(operation + u": NumberingRules takes numbering rules, got " +
                                       value.getValueTypeName());
    if (auto* ours = dynamic_cast<NumberingRulesImpl*>(access.get()))
        return std::make_shared<NumberingData>(ours->data());
    auto data = NumberingData::create(core);
    sal_Int32 n = std::min(access->getCount(), NumberingData::levelCount);
    for (sal_Int32 i = 0; i < n; ++i) {
        Sequence<PropertyValue> level;
        if (access->getByIndex(i) >>= level) data->levels[i].assign(level.begin(), level.end());
    }
    return data;
}

// ---- ranges --------------------------------------------------------------------

// A range between two positions of one text (also the collapsed ranges that
// getStart and getEnd give).  Both ends move with edits.
class RangeImpl
    : public RangeReads<cppu::WeakImplHelper<css::text::XTextRange, css::beans::XPropertySet,
                                             css::beans::XPropertyState, css::container::XEnumerationAccess,
                                             css::lang::XServiceInfo>>,
      public RangeSource {
public:
    RangeImpl(CorePtr core, Pos a, Pos b)
        : RangeReads(core), start_(*core, a), end_(*core, b) {}

    void setString(const OUString& s) override {
        Pos a, b;
        span(u"setString", a, b);
        core_->erase(a, b);
        Pos start = start_.get();
        Pos end = core_->insertString(start, s);
        start_.set(start);
        end_.set(end);
    }

    Type getElementType() override { return cppu::UnoType<css::text::XTextContent>::get(); }
    bool hasElements() override { return true; }
    Reference<XEnumeration> createEnumeration() override;

    OUString getImplementationName() override { return u"officehost.text.TextRange"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override { return services(); }

    Core* rangeCore() override { return core_.get(); }
    bool rangeOf(Pos& a, Pos& b) override {
        a = start_.get();
        b = end_.get();
        if (!a.valid() || !b.valid() || textOf(a) != textOf(b)) return false;
        ordered(a, b);
        return true;
    }

protected:
    virtual Sequence<OUString> services() { return names({u"com.qam.vexo.text.TextRange"}); }
    void span(const OUString& op, Pos& a, Pos& b) override {
        if (!rangeOf(a, b)) gone(op);
    }
    Position start_;
    Position end_;
};

// The paragraphs (cut to the range) and the tables of a range, in order.
std::vector<Any> rangeContents(const CorePtr& core, const Pos& a, const Pos& b) {
    std::vector<Any> items;
    TextNode& t = *a.para->text;
    for (sal_Int32 i = t.indexOf(a.para), e = t.indexOf(b.para); i <= e; ++i) {
        Block* blk = t.blocks[i].get();
        if (blk->isTable()) {
            items.push_back(Any(tableObject(core, static_cast<TableNode*>(blk))));
            continue;
        }
        auto* p = static_cast<ParaNode*>(blk);
        Pos lo{p, p == a.para ? a.off : 0};
        Pos hi{p, p == b.para ? b.off : p->length()};
        items.push_back(Any(clippedParagraph(core, lo, hi)));
    }
    return items;
}

Reference<XEnumeration> RangeImpl::createEnumeration() {
    Pos a, b;
    span(u"createEnumeration", a, b);
    return new EnumerationImpl(rangeContents(core_, a, b));
}

// A text portion: a run of characters with the same properties, or one footnote
// anchor ("Footnote"), or one character-anchored frame ("Frame").
class PortionImpl : public RangeImpl, public css::container::XContentEnumerationAccess {
public:
    using RangeImpl::RangeImpl;

    Any queryInterface(const Type& type) override { return RangeImpl::queryInterface(type); }
    void acquire() noexcept override { RangeImpl::acquire(); }
    void release() noexcept override { RangeImpl::release(); }

    Reference<XEnumeration> createContentEnumeration(const OUString& serviceName) override {
        Pos a, b;
        span(u"createContentEnumeration", a, b);
        std::vector<Any> items;
        InlineNode* node = inlineAt(a, b);
        if (node && node->kind == InlineKind::Frame &&
            (serviceName == u"com.qam.vexo.text.TextContent" || serviceName == u"com.qam.vexo.text.TextGraphicObject"))
            items.push_back(Any(graphicObject(core_, node)));
        return new EnumerationImpl(std::move(items));
    }
    Sequence<OUString> getAvailableServiceNames() override { return names({u"com.qam.vexo.text.TextContent"}); }

protected:
    Sequence<OUString> services() override { return names({u"com.qam.vexo.text.TextPortion"}); }
    bool portion() const override { return true; }
    static InlineNode* inlineAt(const Pos& a, const Pos& b) {
        if (a.para != b.para || b.off != a.off + 1) return nullptr;
        return a.para->units[a.off].object.get();
    }
    Any portionValue(const OUString& name, const Pos& a, const Pos& b) override {
        InlineNode* node = inlineAt(a, b);
        if (name == u"TextPortionType") {
            if (!node) return Any(OUString(u"Text"));
            switch (node->kind) {
            case InlineKind::Footnote: return Any(OUString(u"Footnote"));
            case InlineKind::Frame: return Any(OUString(u"Frame"));
            }
        }
        if (name == u"Footnote" && node && node->kind == InlineKind::Footnote)
            return Any(footnoteObject(core_, node));
        return Any();
    }
};

Reference<css::text::XTextRange> makeRange(const CorePtr& core, Pos a, Pos b) { return new RangeImpl(core, a, b); }
Reference<css::text::XTextRange> makePortion(const CorePtr& core, Pos a, Pos b) {
    return static_cast<RangeImpl*>(new PortionImpl(core, a, b));
}

bool sameAttrs(const AttrsPtr& x, const AttrsPtr& y) {
    if (x == y) return true;
    if (!x || !y) return (!x || x->empty()) && (!y || y->empty());
    return *x == *y;
}

std::vector<Any> portionsOf(const CorePtr& core, ParaNode* p, sal_Int32 lo, sal_Int32 hi) {
    std::vector<Any> items;
    auto add = [&](sal_Int32 s, sal_Int32 e) { items.push_back(Any(makePortion(core, Pos{p, s}, Pos{p, e}))); };
    if (lo == hi) {
        add(lo, hi);
        return items;
    }
    for (sal_Int32 i = lo; i < hi;) {
        if (p->units[i].object) {
            add(i, i + 1);
            ++i;
            continue;
        }
        sal_Int32 j = i + 1;
        while (j < hi && !p->units[j].object && sameAttrs(p->units[j].attrs, p->units[i].attrs)) ++j;
        add(i, j);
        i = j;
    }
    return items;
}

// ---- cursors -------------------------------------------------------------------

// A text cursor: a mark that stays and a point that moves; the range lies
// between them.  A cursor stays within its text, except the view cursor, which
// follows gotoRange into any text of the document.
template <class... Ifc>
class CursorBase
    : public RangeReads<cppu::WeakImplHelper<css::beans::XPropertySet, css::beans::XPropertyState,
                                             css::container::XEnumerationAccess, css::lang::XServiceInfo, Ifc...>>,
      public RangeSource {
    using Props = RangeReads<cppu::WeakImplHelper<css::beans::XPropertySet, css::beans::XPropertyState,
                                                  css::container::XEnumerationAccess, css::lang::XServiceInfo, Ifc...>>;

public:
    CursorBase(CorePtr core, Pos mark, Pos point, bool roams)
        : Props(core), mark_(*core, mark), point_(*core, point), roams_(roams) {}

    void setString(const OUString& s) override {
        Pos a, b;
        span(u"setString", a, b);
        this->core_->erase(a, b);
        Pos start = mark_.get();
        Pos end = this->core_->insertString(start, s);
        mark_.set(start);
        point_.set(end);
    }

    void collapseToStart() override {
        Pos a, b;
        span(u"collapseToStart", a, b);
        mark_.set(a);
        point_.set(a);
        moved();
    }
    void collapseToEnd() override {
        Pos a, b;
        span(u"collapseToEnd", a, b);
        mark_.set(b);
        point_.set(b);
        moved();
    }
    bool isCollapsed() override {
        Pos a, b;
        span(u"isCollapsed", a, b);
        return a == b;
    }
    bool goLeft(sal_Int16 count, bool expand) override { return move(u"goLeft", count, expand, &stepLeft); }
    bool goRight(sal_Int16 count, bool expand) override { return move(u"goRight", count, expand, &stepRight); }
    void gotoStart(bool expand) override {
        Pos a, b;
        span(u"gotoStart", a, b);
        place(startOf(*a.para->text), expand);
    }
    void gotoEnd(bool expand) override {
        Pos a, b;
        span(u"gotoEnd", a, b);
        place(endOf(*a.para->text), expand);
    }
    void gotoRange(const Reference<css::text::XTextRange>& range, bool expand) override {
        Pos a, b;
        span(u"gotoRange", a, b);
        Pos ra, rb;
        if (!resolve(range.get(), *this->core_, ra, rb))
            throw RuntimeException(u"gotoRange: the range is not part of this document");
        if (textOf(ra) != textOf(a)) {
            if (!roams_ || expand) throw RuntimeException(u"gotoRange: the range is not in the cursor's text");
            mark_.set(ra);
            point_.set(rb);
            moved();
            return;
        }
        if (!expand) {
            mark_.set(ra);
            point_.set(rb);
            moved();
            return;
        }
        point_.set(compare(ra, mark_.get()) < 0 ? ra : rb);
        moved();
    }

    Type getElementType() override { return cppu::UnoType<css::text::XTextContent>::get(); }
    bool hasElements() override { return true; }
    Reference<XEnumeration> createEnumeration() override {
        Pos a, b;
        span(u"createEnumeration", a, b);
        return new EnumerationImpl(rangeContents(this->core_, a, b));
    }

    bool supportsService(const OUString& n) override { return contains(this->getSupportedServiceNames(), n); }

    Core* rangeCore() override { return this->core_.get(); }
    bool rangeOf(Pos& a, Pos& b) override {
        a = mark_.get();
        b = point_.get();
        if (!a.valid() || !b.valid() || textOf(a) != textOf(b)) return false;
        ordered(a, b);
        return true;
    }

protected:
    void span(const OUString& op, Pos& a, Pos& b) override {
        if (!rangeOf(a, b)) gone(op);
    }
    // Called after every move of the cursor (not after edits that carry it along).
    virtual void moved() {}

private:
    bool move(const OUString& op, sal_Int16 count, bool expand, bool (*step)(Pos&)) {
        Pos a, b;
        span(op, a, b);
        if (count < 0) return false;
        Pos p = point_.get();
        sal_Int16 moved = 0;
        while (moved < count && step(p)) ++moved;
        place(p, expand);
        return moved == count;
    }
    void place(Pos p, bool expand) {
        point_.set(p);
        if (!expand) mark_.set(p);
        moved();
    }

    Position mark_;
    Position point_;
    bool roams_;
};

// A text cursor made by a text; it stays within that text.
class TextCursorImpl : public CursorBase<css::text::XTextCursor> {
public:
    TextCursorImpl(CorePtr core, Pos mark, Pos point) : CursorBase(std::move(core), mark, point, false) {}
    OUString getImplementationName() override { return u"officehost.text.TextCursor"; }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.TextCursor", u"com.qam.vexo.text.TextRange"});
    }
};

// The cursor of a document view.  It is visible or not, and may go to any text.
// It counts its moves, so that the view can tell whether it moved since a
// selection was made.
class ViewCursorImpl : public CursorBase<css::text::XTextViewCursor> {
public:
    ViewCursorImpl(CorePtr core, Pos at) : CursorBase(std::move(core), at, at, true) {}
    sal_uInt64 moves() const { return moves_; }
    bool isVisible() override { return visible_; }
    void setVisible(bool visible) override { visible_ = visible; }
    OUString getImplementationName() override { return u"officehost.text.ViewCursor"; }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.TextViewCursor", u"com.qam.vexo.text.TextCursor"});
    }

protected:
    void moved() override { ++moves_; }

private:
    bool visible_ = true;
    sal_uInt64 moves_ = 0;
};

Reference<css::text::XTextCursor> makeCursor(const CorePtr& core, Pos a, Pos b) {
    return new TextCursorImpl(core, a, b);
}

// ---- paragraphs ----------------------------------------------------------------

// A paragraph.  The paragraph object of a text's enumeration presents the whole
// paragraph (and is the same object as long as anyone holds it); the paragraphs
// of a range's enumeration are cut to the range and are new objects each time.
class ParagraphImpl
    : public RangeReads<cppu::WeakImplHelper<css::text::XTextContent, css::text::XTextRange,
                                             css::beans::XPropertySet, css::beans::XPropertyState,
                                             css::container::XEnumerationAccess,
                                             css::container::XContentEnumerationAccess, css::lang::XServiceInfo>>,
      public RangeSource,
      public Linked {
public:
    ParagraphImpl(CorePtr core, ParaNode* node) : RangeReads(core), node_(node) { node_->obj = this; }
    ParagraphImpl(CorePtr core, Pos a, Pos b)
        : RangeReads(core), clipStart_(std::in_place, *core, a), clipEnd_(std::in_place, *core, b) {}
    ~ParagraphImpl() override {
        if (node_) node_->obj = nullptr;
    }

    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::text::XTextContent*>(this); }

    void attach(const Reference<css::text::XTextRange>&) override {
        throw RuntimeException(u"attach: a paragraph is made by the text that holds it");
    }
    Reference<css::text::XTextRange> getAnchor() override {
        Pos a, b;
        span(u"getAnchor", a, b);
        return this;
    }

    // A paragraph's span lies in the one paragraph.
    OUString getString() override {
        Pos a, b;
        span(u"getString", a, b);
        return renderUnits(*a.para, a.off, b.off);
    }
    void setString(const OUString& s) override {
        Pos a, b;
        span(u"setString", a, b);
        core_->erase(a, b);
        core_->insertString(a, s);
    }

    Type getElementType() override { return cppu::UnoType<css::text::XTextRange>::get(); }
    bool hasElements() override { return true; }
    Reference<XEnumeration> createEnumeration() override {
        Pos a, b;
        span(u"createEnumeration", a, b);
        return new EnumerationImpl(portionsOf(core_, a.para, a.off, b.off));
    }

    Reference<XEnumeration> createContentEnumeration(const OUString& serviceName) override {
        Pos a, b;
        span(u"createContentEnumeration", a, b);
        std::vector<Any> items;
        // Objects anchored at the paragraph; character-anchored ones are in the portions.
        if (serviceName == u"com.qam.vexo.text.TextContent" || serviceName == u"com.qam.vexo.text.TextGraphicObject")
            for (auto& n : a.para->anchored) items.push_back(Any(graphicObject(core_, n.get())));
        return new EnumerationImpl(std::move(items));
    }
    Sequence<OUString> getAvailableServiceNames() override { return names({u"com.qam.vexo.text.TextContent"}); }

    OUString getImplementationName() override { return u"officehost.text.Paragraph"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.Paragraph", u"com.qam.vexo.text.TextContent"});
    }

    Core* rangeCore() override { return core_.get(); }
    bool rangeOf(Pos& a, Pos& b) override {
        if (clipStart_) {
            a = clipStart_->get();
            b = clipEnd_->get();
            if (!a.valid() || a.para != b.para) return false;
            ordered(a, b);
            return true;
        }
        if (!node_) return false;
        a = Pos{node_, 0};
        b = Pos{node_, node_->length()};
        return true;
    }
    ParaNode* node() const { return node_; }

protected:
    void span(const OUString& op, Pos& a, Pos& b) override {
        if (!rangeOf(a, b)) gone(op);
    }
    bool paragraph() const override { return true; }

private:
    ParaNode* node_ = nullptr;
    std::optional<Position> clipStart_;
    std::optional<Position> clipEnd_;
};

Reference<css::text::XTextContent> paragraphObject(const CorePtr& core, ParaNode* node) {
    if (node->obj) return dynamic_cast<ParagraphImpl*>(node->obj);
    return new ParagraphImpl(core, node);
}

Reference<css::text::XTextContent> clippedParagraph(const CorePtr& core, Pos a, Pos b) {
    return new ParagraphImpl(core, a, b);
}

// ---- texts ---------------------------------------------------------------------

class TableImpl;
class FootnoteImpl;
class GraphicObjectImpl;
TableImpl* asTable(XInterface* x);
FootnoteImpl* asFootnote(XInterface* x);
void insertContent(const CorePtr& core, TextNode& text, Pos at, XInterface* content, const OUString& op);
void removeContent(const CorePtr& core, TextNode& text, XInterface* content);

// What the body, a table cell and a footnote share: a text of paragraphs and
// tables, with cursors, comparison, enumeration and appending.
template <class... Ifc>
class TextBase
    : public cppu::WeakImplHelper<css::text::XText, css::text::XTextRangeCompare, css::container::XEnumerationAccess,
                                  css::text::XParagraphAppend, css::text::XTextPortionAppend, css::lang::XServiceInfo,
                                  Ifc...>,
      public RangeSource {
public:
    Reference<css::text::XText> getText() override {
        node(u"getText");
        return this;
    }
    Reference<css::text::XTextRange> getStart() override {
        TextNode& t = node(u"getStart");
        return makeRange(core_, startOf(t), startOf(t));
    }
    Reference<css::text::XTextRange> getEnd() override {
        TextNode& t = node(u"getEnd");
        return makeRange(core_, endOf(t), endOf(t));
    }
    OUString getString() override { return textString(node(u"getString")); }
    void setString(const OUString& s) override {
        TextNode& t = node(u"setString");
        core_->clearText(t);
        core_->insertString(startOf(t), s);
    }

    Reference<css::text::XTextCursor> createTextCursor() override {
        TextNode& t = node(u"createTextCursor");
        return makeCursor(core_, startOf(t), startOf(t));
    }
    Reference<css::text::XTextCursor> createTextCursorByRange(const Reference<css::text::XTextRange>& range) override {
        auto [a, b] = inThis(u"createTextCursorByRange", range);
        return makeCursor(core_, a, b);
    }
    void insertString(const Reference<css::text::XTextRange>& range, const OUString& s, bool absorb) override {
        auto [a, b] = inThis(u"insertString", range);
        if (absorb) core_->erase(a, b);
        core_->insertString(absorb ? a : b, s);
    }
    void insertControlCharacter(const Reference<css::text::XTextRange>& range, sal_Int16 ch, bool absorb) override {
        auto [a, b] = inThis(u"insertControlCharacter", range);
        if (ch != css::text::ControlCharacter::PARAGRAPH_BREAK && ch != css::text::ControlCharacter::LINE_BREAK)
            throw IllegalArgumentException(u"insertControlCharacter: unknown control character " +
                                           OUString::number(ch));
        if (absorb) core_->erase(a, b);
        Pos at = absorb ? a : b;
        if (ch == css::text::ControlCharacter::PARAGRAPH_BREAK)
            core_->splitParagraph(at);
        else
            core_->insertString(at, OUString(u"\u2028"));
    }
    void insertTextContent(const Reference<css::text::XTextRange>& range,
                           const Reference<css::text::XTextContent>& content, bool absorb) override {
        auto [a, b] = inThis(u"insertTextContent", range);
        if (!content.is()) throw IllegalArgumentException(u"insertTextContent: the content must not be empty");
        if (absorb) core_->erase(a, b);
        insertContent(core_, node(u"insertTextContent"), absorb ? a : b, content.get(), u"insertTextContent");
    }
    void removeTextContent(const Reference<css::text::XTextContent>& content) override {
        removeContent(core_, node(u"removeTextContent"), content.get());
    }

    sal_Int16 compareRegionStarts(const Reference<css::text::XTextRange>& r1,
                                  const Reference<css::text::XTextRange>& r2) override {
        auto [a1, b1] = inThis(u"compareRegionStarts", r1);
        auto [a2, b2] = inThis(u"compareRegionStarts", r2);
        return static_cast<sal_Int16>(-compare(a1, a2));
    }
    sal_Int16 compareRegionEnds(const Reference<css::text::XTextRange>& r1,
                                const Reference<css::text::XTextRange>& r2) override {
        auto [a1, b1] = inThis(u"compareRegionEnds", r1);
        auto [a2, b2] = inThis(u"compareRegionEnds", r2);
        return static_cast<sal_Int16>(-compare(b1, b2));
    }

    Type getElementType() override { return cppu::UnoType<css::text::XTextContent>::get(); }
    bool hasElements() override { return true; }
    Reference<XEnumeration> createEnumeration() override {
        TextNode& t = node(u"createEnumeration");
        std::vector<Any> items;
        for (auto& b : t.blocks) {
            if (b->isTable())
                items.push_back(Any(tableObject(core_, static_cast<TableNode*>(b.get()))));
            else
                items.push_back(Any(paragraphObject(core_, static_cast<ParaNode*>(b.get()))));
        }
        return new EnumerationImpl(std::move(items));
    }

    Reference<css::text::XTextRange> finishParagraph(const Sequence<PropertyValue>& properties) override {
        TextNode& t = node(u"finishParagraph");
        ParaNode* last = t.lastPara();
        Reference<css::text::XTextContent> para = paragraphObject(core_, last);
        Reference<css::beans::XPropertySet> props(para, UNO_QUERY);
        for (const PropertyValue& v : properties) props->setPropertyValue(v.Name, v.Value);
        core_->splitParagraph(Pos{last, last->length()});
        return Reference<css::text::XTextRange>(para, UNO_QUERY);
    }
    Reference<css::text::XTextRange> appendTextPortion(const OUString& s,
                                                       const Sequence<PropertyValue>& properties) override {
        TextNode& t = node(u"appendTextPortion");
        Pos start = endOf(t);
        Pos end = core_->insertString(start, s);
        // Insertion leaves everything before the insertion point where it was.  The
        // new portion has the given properties alone, none taken from its neighbour.
        forEachUnitRange(start, end, [](ParaNode& p, sal_Int32 lo, sal_Int32 hi) {
            for (sal_Int32 i = lo; i < hi; ++i) p.units[i].attrs = nullptr;
        });
        Reference<css::text::XTextRange> range = makeRange(core_, start, end);
        Reference<css::beans::XPropertySet> props(range, UNO_QUERY);
        for (const PropertyValue& v : properties) props->setPropertyValue(v.Name, v.Value);
        return range;
    }

    bool supportsService(const OUString& n) override { return contains(this->getSupportedServiceNames(), n); }

    Core* rangeCore() override { return core_.get(); }
    bool rangeOf(Pos& a, Pos& b) override {
        TextNode* t = textNode();
        if (!t) return false;
        a = startOf(*t);
        b = endOf(*t);
        return true;
    }

protected:
    explicit TextBase(CorePtr core) : core_(std::move(core)) {}
    virtual TextNode* textNode() = 0;

    TextNode& node(const OUString& op) {
        TextNode* t = textNode();
        if (!t) gone(op);
        return *t;
    }
    std::pair<Pos, Pos> inThis(const OUString& op, const Reference<css::text::XTextRange>& range) {
        TextNode& t = node(op);
        Pos a, b;
        if (!resolve(range.get(), *core_, a, b) || textOf(a) != &t)
            throw IllegalArgumentException(op + u": the range is not in this text");
        return {a, b};
    }

    CorePtr core_;
};

// The main text of a document.
class BodyTextImpl : public TextBase<>, public Linked {
public:
    BodyTextImpl(CorePtr core, TextNode* node) : TextBase(std::move(core)), node_(node) { node_->obj = this; }
    ~BodyTextImpl() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::text::XText*>(this); }
    OUString getImplementationName() override { return u"officehost.text.BodyText"; }
    Sequence<OUString> getSupportedServiceNames() override { return names({u"com.qam.vexo.text.Text"}); }

protected:
    TextNode* textNode() override { return node_; }

private:
    TextNode* node_;
};

// A table cell: a text of its own, with the cell's value interface and properties.
class CellImpl : public TextBase<css::table::XCell, css::beans::XPropertySet>, public Linked {
public:
    CellImpl(CorePtr core, TextNode* node) : TextBase(std::move(core)), node_(node) { node_->obj = this; }
    ~CellImpl() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::text::XText*>(this); }

    OUString getFormula() override { return getString(); }
    void setFormula(const OUString& formula) override { setString(formula); }
    double getValue() override { return getString().toDouble(); }
    void setValue(double value) override { setString(OUString::number(value)); }
    sal_Int32 getType() override {
        return getString().isEmpty() ? css::table::CellContentType::EMPTY : css::table::CellContentType::TEXT;
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return new PropertySetInfoImpl({Property{u"RowSpan", -1, cppu::UnoType<sal_Int32>::get(),
                                                 css::beans::PropertyAttribute::READONLY}});
    }
    void setPropertyValue(const OUString& name, const Any&) override {
        node(u"setPropertyValue");
        if (name == u"RowSpan")
            throw css::beans::PropertyVetoException(u"setPropertyValue: property RowSpan is read-only");
        unknownProperty(u"setPropertyValue", name);
    }
    Any getPropertyValue(const OUString& name) override {
        node(u"getPropertyValue");
        // Cells are never merged in this model.
        if (name == u"RowSpan") return Any(sal_Int32(1));
        unknownProperty(u"getPropertyValue", name);
    }

    OUString getImplementationName() override { return u"officehost.text.Cell"; }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.Cell", u"com.qam.vexo.text.Text"});
    }

protected:
    TextNode* textNode() override { return node_; }

private:
    TextNode* node_;
};

// attach() of the contents the service factory makes (footnotes, tables, graphic
// objects): the text of the range inserts them there.
void attachAt(const Reference<css::text::XTextRange>& range, const Reference<css::text::XTextContent>& content) {
    if (!range.is()) throw IllegalArgumentException(u"attach: the range must not be empty");
    range->getText()->insertTextContent(range, content, false);
}

// A footnote: a text content that stands in a paragraph as one character showing
// its label, and a text of its own.  Made by the document's service factory, it
// holds its contents until it is inserted.
class FootnoteImpl : public TextBase<css::text::XFootnote>, public Linked {
public:
    explicit FootnoteImpl(CorePtr core)
        : TextBase(core), pending_(std::make_unique<InlineNode>(*core, InlineKind::Footnote)), node_(pending_.get()) {
        node_->obj = this;
    }
    FootnoteImpl(CorePtr core, InlineNode* node) : TextBase(std::move(core)), node_(node) { node_->obj = this; }
    ~FootnoteImpl() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::text::XText*>(this); }

    void attach(const Reference<css::text::XTextRange>& range) override { attachAt(range, this); }
    Reference<css::text::XTextRange> getAnchor() override {
        if (!node_) gone(u"getAnchor");
        if (pending_) return {};
        Pos p = locate(*node_);
        if (!p.valid()) return {};
        return makeRange(core_, p, Pos{p.para, p.off + 1});
    }
    OUString getLabel() override {
        if (!node_) gone(u"getLabel");
        return node_->label;
    }
    void setLabel(const OUString& label) override {
        if (!node_) gone(u"setLabel");
        node_->label = label;
    }

    OUString getImplementationName() override { return u"officehost.text.Footnote"; }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.Footnote", u"com.qam.vexo.text.TextContent", u"com.qam.vexo.text.Text"});
    }

    std::unique_ptr<InlineNode> takePending() { return std::move(pending_); }
    bool isPending() const { return pending_ != nullptr; }
    InlineNode* inlineNode() const { return node_; }

protected:
    TextNode* textNode() override { return node_ ? node_->text.get() : nullptr; }

private:
    std::unique_ptr<InlineNode> pending_;
    InlineNode* node_;
};

Reference<css::text::XText> textObject(const CorePtr& core, TextNode* node) {
    switch (node->kind) {
    case TextKind::Body:
        if (node->obj) return dynamic_cast<BodyTextImpl*>(node->obj);
        return new BodyTextImpl(core, node);
    case TextKind::Cell:
        if (node->obj) return dynamic_cast<CellImpl*>(node->obj);
        return new CellImpl(core, node);
    case TextKind::Footnote: return Reference<css::text::XText>(footnoteObject(core, node->footnote), UNO_QUERY);
    case TextKind::Shape:
        if (!node->owner) return {};
        return Reference<css::text::XText>(node->owner->textPresenter(), UNO_QUERY);
    }
    return {};
}

// The text model's side of a shape's text (see shapetext.hxx): made for one call
// of the shape, it names the shape as the text and takes no text contents.
class ShapeTextImpl : public TextBase<> {
public:
    ShapeTextImpl(CorePtr core, TextNode& node, ShapeText& shape)
        : TextBase(std::move(core)), node_(node), shape_(shape) {}
    Reference<css::text::XText> getText() override { return &shape_; }
    void insertTextContent(const Reference<css::text::XTextRange>&, const Reference<css::text::XTextContent>&,
                           bool) override {
        throw IllegalArgumentException(u"insertTextContent: the text of a shape takes no text contents");
    }
    void removeTextContent(const Reference<css::text::XTextContent>&) override {
        throw css::container::NoSuchElementException(u"removeTextContent: the content is not in this text");
    }
    // Appended text goes behind every range that exists: a range that ends at the
    // end of the text keeps its end, as the ranges of a drawing program's text do.
    Reference<css::text::XTextRange> finishParagraph(const Sequence<PropertyValue>& properties) override {
        return keepingEnds([&] { return TextBase::finishParagraph(properties); });
    }
    Reference<css::text::XTextRange> appendTextPortion(const OUString& s,
                                                       const Sequence<PropertyValue>& properties) override {
        return keepingEnds([&] { return TextBase::appendTextPortion(s, properties); });
    }
    OUString getImplementationName() override { return u"officehost.text.ShapeText"; }
    Sequence<OUString> getSupportedServiceNames() override { return names({u"com.qam.vexo.text.Text"}); }

protected:
    TextNode* textNode() override { return &node_; }

private:
    template <class F>
    Reference<css::text::XTextRange> keepingEnds(F append) {
        const Pos end = endOf(node_);
        std::vector<Position*> atEnd;
        for (Position* p : core_->positions)
            if (p->get() == end) atEnd.push_back(p);
        Reference<css::text::XTextRange> result = append();
        for (Position* p : atEnd)
            if (core_->positions.count(p)) p->set(end);
        return result;
    }

    TextNode& node_;
    ShapeText& shape_;  // the caller, alive for the call
};

Reference<css::text::XFootnote> footnoteObject(const CorePtr& core, InlineNode* node) {
    if (node->obj) return dynamic_cast<FootnoteImpl*>(node->obj);
    return new FootnoteImpl(core, node);
}

FootnoteImpl* asFootnote(XInterface* x) { return dynamic_cast<FootnoteImpl*>(x); }

// ---- tables --------------------------------------------------------------------

// A table of rows and columns of cells, each cell a text.  Made by the document's
// service factory (two rows, two columns until initialize), it holds its cells
// until it is inserted.  It has no position of its own: its anchor is the start
// of the paragraph that follows it.
class TableImpl : public cppu::WeakImplHelper<css::text::XTextTable, css::table::XCellRange, css::lang::XServiceInfo>,
                  public Linked {
public:
    explicit TableImpl(CorePtr core)
        : core_(core), pending_(std::make_unique<TableNode>(*core, nullptr, 2, 2)), node_(pending_.get()) {
        node_->obj = this;
    }
    TableImpl(CorePtr core, TableNode* node) : core_(std::move(core)), node_(node) { node_->obj = this; }
    ~TableImpl() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::text::XTextTable*>(this); }

    void attach(const Reference<css::text::XTextRange>& range) override { attachAt(range, this); }
    Reference<css::text::XTextRange> getAnchor() override {
        TableNode& t = table(u"getAnchor");
        if (pending_) return {};
        TextNode& text = *t.text;
        for (std::size_t i = text.indexOf(&t) + 1; i < text.blocks.size(); ++i)
            if (!text.blocks[i]->isTable()) {
                Pos p{static_cast<ParaNode*>(text.blocks[i].get()), 0};
                return makeRange(core_, p, p);
            }
        return {};
    }

    void initialize(sal_Int32 rows, sal_Int32 columns) override {
        if (!pending_) throw RuntimeException(u"initialize: the table is already part of a text");
        if (rows < 1 || columns < 1)
            throw IllegalArgumentException(u"initialize: a table needs at least one row and one column, got " +
                                           OUString::number(rows) + u" x " + OUString::number(columns));
        pending_ = std::make_unique<TableNode>(*core_, nullptr, rows, columns);
        node_ = pending_.get();
        node_->obj = this;
    }
    Reference<css::table::XTableRows> getRows() override;
    Reference<css::table::XTableColumns> getColumns() override;
    Reference<css::table::XCell> getCellByName(const OUString& name) override {
        sal_Int32 column, row;
        if (!parseCellName(name, column, row)) return {};
        TableNode& t = table(u"getCellByName");
        if (row >= static_cast<sal_Int32>(t.rows.size()) || column >= t.columns) return {};
        return getCellByPosition(column, row);
    }
    Sequence<OUString> getCellNames() override {
        TableNode& t = table(u"getCellNames");
        std::vector<OUString> out;
        for (std::size_t r = 0; r < t.rows.size(); ++r)
            for (sal_Int32 c = 0; c < t.columns; ++c) out.push_back(cellName(c, static_cast<sal_Int32>(r)));
        return Sequence<OUString>(out);
    }

    Reference<css::table::XCell> getCellByPosition(sal_Int32 column, sal_Int32 row) override {
        TableNode& t = table(u"getCellByPosition");
        if (column < 0 || row < 0 || column >= t.columns || row >= static_cast<sal_Int32>(t.rows.size()))
            throw IndexOutOfBoundsException(u"getCellByPosition: there is no cell at column " +
                                            OUString::number(column) + u", row " + OUString::number(row));
        TextNode* cell = t.rows[row]->cells[column].get();
        return Reference<css::table::XCell>(textObject(core_, cell), UNO_QUERY);
    }
    Reference<css::table::XCellRange> getCellRangeByPosition(sal_Int32 left, sal_Int32 top, sal_Int32 right,
                                                             sal_Int32 bottom) override;
    Reference<css::table::XCellRange> getCellRangeByName(const OUString& name) override {
        sal_Int32 sep = name.indexOf(u':');
        sal_Int32 c1, r1, c2, r2;
        if (sep < 0 || !parseCellName(name.copy(0, sep), c1, r1) || !parseCellName(name.copy(sep + 1), c2, r2))
            throw IllegalArgumentException(u"getCellRangeByName: expected a range like A1:B2, got " + name);
        return getCellRangeByPosition(c1, r1, c2, r2);
    }

    OUString getImplementationName() override { return u"officehost.text.TextTable"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.TextTable", u"com.qam.vexo.text.TextContent"});
    }

    TableNode& table(const OUString& op) {
        if (!node_) gone(op);
        return *node_;
    }
    bool isPending() const { return pending_ != nullptr; }
    std::unique_ptr<TableNode> takePending() { return std::move(pending_); }
    const CorePtr& core() const { return core_; }

    static OUString cellName(sal_Int32 column, sal_Int32 row) {
        OUString letters;
        for (sal_Int32 c = column + 1; c > 0; c = (c - 1) / 26)
            letters = OUString(static_cast<sal_Unicode>(u'A' + (c - 1) % 26)) + letters;
        return letters + OUString::number(row + 1);
    }
    static bool parseCellName(const OUString& name, sal_Int32& column, sal_Int32& row) {
        sal_Int32 i = 0, c = 0;
        while (i < name.getLength() && name[i] >= u'A' && name[i] <= u'Z' && c < 100000) c = c * 26 + (name[i++] - u'A' + 1);
        if (i == 0 || i == name.getLength() || i > 4) return false;
        sal_Int32 r = 0;
        for (sal_Int32 j = i; j < name.getLength(); ++j) {
            if (name[j] < u'0' || name[j] > u'9' || r > 1000000) return false;
            r = r * 10 + (name[j] - u'0');
        }
        if (r < 1) return false;
        column = c - 1;
        row = r - 1;
        return true;
    }

private:
    CorePtr core_;
    std::unique_ptr<TableNode> pending_;
    TableNode* node_;
};

TableImpl* asTable(XInterface* x) { return dynamic_cast<TableImpl*>(x); }

Reference<css::text::XTextContent> tableObject(const CorePtr& core, TableNode* node) {
    if (node->obj) return dynamic_cast<TableImpl*>(node->obj);
    return new TableImpl(core, node);
}

// A rectangle of a table's cells, positions counted from its top left cell.
class CellRangeImpl : public cppu::WeakImplHelper<css::table::XCellRange> {
public:
    CellRangeImpl(Reference<TableImpl> table, sal_Int32 left, sal_Int32 top, sal_Int32 right, sal_Int32 bottom)
        : table_(std::move(table)), left_(left), top_(top), right_(right), bottom_(bottom) {}
    Reference<css::table::XCell> getCellByPosition(sal_Int32 column, sal_Int32 row) override {
        if (column < 0 || row < 0 || column > right_ - left_ || row > bottom_ - top_)
            throw IndexOutOfBoundsException(u"getCellByPosition: there is no cell at column " +
                                            OUString::number(column) + u", row " + OUString::number(row));
        return table_->getCellByPosition(left_ + column, top_ + row);
    }
    Reference<css::table::XCellRange> getCellRangeByPosition(sal_Int32 l, sal_Int32 t, sal_Int32 r,
                                                             sal_Int32 b) override {
        if (l < 0 || t < 0 || r < l || b < t || r > right_ - left_ || b > bottom_ - top_)
            throw IndexOutOfBoundsException(u"getCellRangeByPosition: the range lies outside the cells");
        return new CellRangeImpl(table_, left_ + l, top_ + t, left_ + r, top_ + b);
    }
    Reference<css::table::XCellRange> getCellRangeByName(const OUString& name) override {
        throw IllegalArgumentException(u"getCellRangeByName: name ranges of the whole table, got " + name);
    }

private:
    Reference<TableImpl> table_;
    sal_Int32 left_, top_, right_, bottom_;
};

Reference<css::table::XCellRange> TableImpl::getCellRangeByPosition(sal_Int32 left, sal_Int32 top, sal_Int32 right,
                                                                    sal_Int32 bottom) {
    TableNode& t = table(u"getCellRangeByPosition");
    if (left < 0 || top < 0 || right < left || bottom < top || right >= t.columns ||
        bottom >= static_cast<sal_Int32>(t.rows.size()))
        throw IndexOutOfBoundsException(u"getCellRangeByPosition: the range lies outside the table");
    return new CellRangeImpl(this, left, top, right, bottom);
}

// A row of a table as the rows collection gives it.
class RowImpl : public cppu::WeakImplHelper<css::beans::XPropertySet, css::lang::XServiceInfo>, public Linked {
public:
    RowImpl(Reference<TableImpl> table, RowNode* node) : table_(std::move(table)), node_(node) { node_->obj = this; }
    ~RowImpl() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::beans::XPropertySet*>(this); }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return new PropertySetInfoImpl({Property{u"Height", -1, cppu::UnoType<sal_Int32>::get(), 0},
                                        Property{u"IsAutoHeight", -1, cppu::UnoType<bool>::get(), 0}});
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        if (!node_) gone(u"setPropertyValue");
        if (name == u"Height") {
            if (!(value >>= height_)) throw IllegalArgumentException(u"setPropertyValue: Height takes a long");
            return;
        }
        if (name == u"IsAutoHeight") {
            if (!(value >>= autoHeight_))
                throw IllegalArgumentException(u"setPropertyValue: IsAutoHeight takes a boolean");
            return;
        }
        unknownProperty(u"setPropertyValue", name);
    }
    Any getPropertyValue(const OUString& name) override {
        if (!node_) gone(u"getPropertyValue");
        if (name == u"Height") return Any(height_);
        if (name == u"IsAutoHeight") return Any(autoHeight_);
        unknownProperty(u"getPropertyValue", name);
    }
    OUString getImplementationName() override { return u"officehost.text.TextTableRow"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.text.TextTableRow"; }
    Sequence<OUString> getSupportedServiceNames() override { return names({u"com.qam.vexo.text.TextTableRow"}); }

private:
    Reference<TableImpl> table_;
    RowNode* node_;
    sal_Int32 height_ = 0;
    bool autoHeight_ = true;
};

// Rows (or columns) of a table: inserting and removing rebuilds cells, and
// removes the paragraphs, cursors' places and footnotes inside removed cells.
class TableRowsImpl : public cppu::WeakImplHelper<css::table::XTableRows> {
public:
    explicit TableRowsImpl(Reference<TableImpl> table) : table_(std::move(table)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(table_->table(u"getCount").rows.size()); }
    Any getByIndex(sal_Int32 index) override {
        TableNode& t = table_->table(u"getByIndex");
        if (index < 0 || index >= static_cast<sal_Int32>(t.rows.size()))
            throw IndexOutOfBoundsException(u"getByIndex: there is no row " + OUString::number(index));
        RowNode* row = t.rows[index].get();
        Reference<css::beans::XPropertySet> obj;
        if (row->obj)
            obj = dynamic_cast<RowImpl*>(row->obj);
        else
            obj = new RowImpl(table_, row);
        return Any(obj);
    }
    Type getElementType() override { return cppu::UnoType<css::beans::XPropertySet>::get(); }
    bool hasElements() override { return getCount() > 0; }
    void insertByIndex(sal_Int32 index, sal_Int32 count) override {
        TableNode& t = table_->table(u"insertByIndex");
        if (index < 0 || index > static_cast<sal_Int32>(t.rows.size()) || count < 1)
            throw IndexOutOfBoundsException(u"insertByIndex: cannot insert " + OUString::number(count) +
                                            u" rows at " + OUString::number(index));
        for (sal_Int32 i = 0; i < count; ++i) t.rows.insert(t.rows.begin() + index, t.makeRow());
        t.core.changed();
    }
    void removeByIndex(sal_Int32 index, sal_Int32 count) override {
        TableNode& t = table_->table(u"removeByIndex");
        if (index < 0 || count < 1 || index + count > static_cast<sal_Int32>(t.rows.size()))
            throw IndexOutOfBoundsException(u"removeByIndex: cannot remove " + OUString::number(count) +
                                            u" rows at " + OUString::number(index));
        std::vector<std::unique_ptr<RowNode>> trash(std::make_move_iterator(t.rows.begin() + index),
                                                    std::make_move_iterator(t.rows.begin() + index + count));
        t.rows.erase(t.rows.begin() + index, t.rows.begin() + index + count);
        t.core.changed();
    }

private:
    Reference<TableImpl> table_;
};

// The columns of a table.  A column has no object of its own here: its element is its index.
class TableColumnsImpl : public cppu::WeakImplHelper<css::table::XTableColumns> {
public:
    explicit TableColumnsImpl(Reference<TableImpl> table) : table_(std::move(table)) {}
    sal_Int32 getCount() override { return table_->table(u"getCount").columns; }
    Any getByIndex(sal_Int32 index) override {
        if (index < 0 || index >= getCount())
            throw IndexOutOfBoundsException(u"getByIndex: there is no column " + OUString::number(index));
        // Columns have no properties in this model; the column is its index.
        return Any(index);
    }
    Type getElementType() override { return cppu::UnoType<sal_Int32>::get(); }
    bool hasElements() override { return getCount() > 0; }
    void insertByIndex(sal_Int32 index, sal_Int32 count) override {
        TableNode& t = table_->table(u"insertByIndex");
        if (index < 0 || index > t.columns || count < 1)
            throw IndexOutOfBoundsException(u"insertByIndex: cannot insert " + OUString::number(count) +
                                            u" columns at " + OUString::number(index));
        for (auto& row : t.rows)
            for (sal_Int32 i = 0; i < count; ++i) {
                auto cell = std::make_unique<TextNode>(t.core, TextKind::Cell);
                cell->table = &t;
                row->cells.insert(row->cells.begin() + index, std::move(cell));
            }
        t.columns += count;
        t.core.changed();
    }
    void removeByIndex(sal_Int32 index, sal_Int32 count) override {
        TableNode& t = table_->table(u"removeByIndex");
        if (index < 0 || count < 1 || index + count > t.columns)
            throw IndexOutOfBoundsException(u"removeByIndex: cannot remove " + OUString::number(count) +
                                            u" columns at " + OUString::number(index));
        if (count == t.columns) throw RuntimeException(u"removeByIndex: a table keeps at least one column");
        std::vector<std::unique_ptr<TextNode>> trash;
        for (auto& row : t.rows) {
            trash.insert(trash.end(), std::make_move_iterator(row->cells.begin() + index),
                         std::make_move_iterator(row->cells.begin() + index + count));
            row->cells.erase(row->cells.begin() + index, row->cells.begin() + index + count);
        }
        t.columns -= count;
        t.core.changed();
    }

private:
    Reference<TableImpl> table_;
};

Reference<css::table::XTableRows> TableImpl::getRows() {
    table(u"getRows");
    return new TableRowsImpl(this);
}
Reference<css::table::XTableColumns> TableImpl::getColumns() {
    table(u"getColumns");
    return new TableColumnsImpl(this);
}

// ---- graphic objects -----------------------------------------------------------

// A graphic object: properties only ("AnchorType", "Width", "Height" in 1/100 mm,
// "Title", "Description", "Graphic": a graphic::XGraphic).  Anchored as a
// character it is one unit of its paragraph (a "Frame" portion); anchored
// otherwise it belongs to the paragraph at the insertion point.  The anchor type
// is fixed once it is inserted.  A graphic gives the object its natural size
// unless a size was set; the object does not draw or crop it.
class GraphicObjectImpl
    : public cppu::WeakImplHelper<css::text::XTextContent, css::beans::XPropertySet, css::lang::XServiceInfo>,
      public Linked {
public:
    explicit GraphicObjectImpl(CorePtr core)
        : core_(core), pending_(std::make_unique<InlineNode>(*core, InlineKind::Frame)), node_(pending_.get()) {
        node_->obj = this;
        node_->props = {{u"AnchorType", Any(css::text::TextContentAnchorType_AT_PARAGRAPH)},
                        {u"Width", Any(sal_Int32(0))},
                        {u"Height", Any(sal_Int32(0))},
                        {u"Title", Any(OUString())},
                        {u"Description", Any(OUString())},
                        {u"Graphic", Any()}};
    }
    GraphicObjectImpl(CorePtr core, InlineNode* node) : core_(std::move(core)), node_(node) { node_->obj = this; }
    ~GraphicObjectImpl() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::text::XTextContent*>(this); }

    void attach(const Reference<css::text::XTextRange>& range) override { attachAt(range, this); }
    Reference<css::text::XTextRange> getAnchor() override {
        InlineNode& n = node(u"getAnchor");
        if (pending_) return {};
        bool atParagraph = false;
        Pos p = locate(n, &atParagraph);
        if (!p.valid()) return {};
        return makeRange(core_, p, atParagraph ? p : Pos{p.para, p.off + 1});
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        std::vector<Property> list;
        for (const auto& [name, type] : types()) list.push_back(Property{name, -1, type, 0});
        return new PropertySetInfoImpl(std::move(list));
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        InlineNode& n = node(op);
        const Type* type = typeOf(name);
        if (!type) unknownProperty(op, name);
        if (name == u"Graphic") {
            Reference<css::graphic::XGraphic> graphic(value, UNO_QUERY);
            if (value.hasValue() && !graphic.is())
                throw IllegalArgumentException(op + u": property Graphic takes a com.qam.vexo.graphic.XGraphic, got " +
                                               value.getValueTypeName());
            n.props[name] = graphic.is() ? Any(graphic) : Any();
            // An object whose size was never set takes the graphic's natural size.
            if (graphic.is()) {
                const css::awt::Size natural = graphic->getSize100thMM();
                if (!n.widthSet) n.props[u"Width"] = Any(natural.Width);
                if (!n.heightSet) n.props[u"Height"] = Any(natural.Height);
            }
            return;
        }
        if (!value.isExtractableTo(*type))
            throw IllegalArgumentException(op + u": property " + name + u" takes a value of type " +
                                           type->getTypeName() + u", got " +
                                           (value.hasValue() ? value.getValueTypeName() : OUString(u"void")));
        if (name == u"AnchorType" && !pending_ && !(value == n.props[name]))
            throw IllegalArgumentException(op + u": the anchor type of an inserted object cannot change");
        n.props[name] = type->getTypeClass() == ::zel::uno::TypeClass_LONG ? Any(value.get<sal_Int32>()) : value;
        if (name == u"Width") n.widthSet = true;
        if (name == u"Height") n.heightSet = true;
    }
    Any getPropertyValue(const OUString& name) override {
        InlineNode& n = node(u"getPropertyValue");
        if (!typeOf(name)) unknownProperty(u"getPropertyValue", name);
        return n.props[name];
    }

    OUString getImplementationName() override { return u"officehost.text.TextGraphicObject"; }
    bool supportsService(const OUString& n) override { return contains(getSupportedServiceNames(), n); }
    Sequence<OUString> getSupportedServiceNames() override {
        return names({u"com.qam.vexo.text.TextGraphicObject", u"com.qam.vexo.text.TextContent"});
    }

    bool isPending() const { return pending_ != nullptr; }
    std::unique_ptr<InlineNode> takePending() { return std::move(pending_); }
    InlineNode* inlineNode() const { return node_; }
    const CorePtr& core() const { return core_; }
    bool asCharacter() {
        css::text::TextContentAnchorType t = css::text::TextContentAnchorType_AT_PARAGRAPH;
        node(u"insertTextContent").props[u"AnchorType"] >>= t;
        return t == css::text::TextContentAnchorType_AS_CHARACTER;
    }

private:
    static const std::vector<std::pair<OUString, Type>>& types() {
        static const std::vector<std::pair<OUString, Type>> list = {
            {u"AnchorType", cppu::UnoType<css::text::TextContentAnchorType>::get()},
            {u"Width", cppu::UnoType<sal_Int32>::get()},
            {u"Height", cppu::UnoType<sal_Int32>::get()},
            {u"Title", cppu::UnoType<OUString>::get()},
            {u"Description", cppu::UnoType<OUString>::get()},
            {u"Graphic", cppu::UnoType<css::graphic::XGraphic>::get()},
        };
        return list;
    }
    static const Type* typeOf(const OUString& name) {
        for (auto& [n, t] : types())
            if (n == name) return &t;
        return nullptr;
    }
    InlineNode& node(const OUString& op) {
        if (!node_) gone(op);
        return *node_;
    }
    CorePtr core_;
    std::unique_ptr<InlineNode> pending_;
    InlineNode* node_;
};

GraphicObjectImpl* asGraphic(XInterface* x) { return dynamic_cast<GraphicObjectImpl*>(x); }

Reference<css::text::XTextContent> graphicObject(const CorePtr& core, InlineNode* node) {
    if (node->obj) return dynamic_cast<GraphicObjectImpl*>(node->obj);
    return new GraphicObjectImpl(core, node);
}

// ---- inserting and removing contents --------------------------------------------

void insertContent(const CorePtr& core, TextNode& text, Pos at, XInterface* content, const OUString& op) {
    if (TableImpl* table = asTable(content)) {
        if (table->core() != core) throw IllegalArgumentException(op + u": the table belongs to another document");
        if (!table->isPending()) throw IllegalArgumentException(op + u": the table is already part of a text");
        core->insertTable(at, table->takePending());
        return;
    }
    if (FootnoteImpl* footnote = asFootnote(content)) {
        if (!footnote->isPending()) throw IllegalArgumentException(op + u": the footnote is already part of a text");
        if (text.kind == TextKind::Footnote) throw IllegalArgumentException(op + u": a footnote cannot hold a footnote");
        std::vector<Unit> units;
        AttrsPtr attrs = at.off > 0 ? at.para->units[at.off - 1].attrs : nullptr;
        units.push_back(Unit{0, attrs, footnote->takePending()});
        core->insertUnits(at, std::move(units));
        return;
    }
    if (GraphicObjectImpl* graphic = asGraphic(content)) {
        if (graphic->core() != core) throw IllegalArgumentException(op + u": the object belongs to another document");
        if (!graphic->isPending()) throw IllegalArgumentException(op + u": the object is already part of a text");
        if (!graphic->asCharacter()) {
            at.para->anchored.push_back(graphic->takePending());
            core->changed();
            return;
        }
        std::vector<Unit> units;
        AttrsPtr attrs = at.off > 0 ? at.para->units[at.off - 1].attrs : nullptr;
        units.push_back(Unit{0, attrs, graphic->takePending()});
        core->insertUnits(at, std::move(units));
        return;
    }
    throw IllegalArgumentException(op + u": this kind of content cannot be inserted into a text");
}

void removeContent(const CorePtr& core, TextNode& text, XInterface* content) {
    static const OUString notHere(u"removeTextContent: the content is not in this text");
    if (auto* para = dynamic_cast<ParagraphImpl*>(content)) {
        ParaNode* node = para->node();
        if (!node || node->text != &text) throw css::container::NoSuchElementException(notHere);
        core->removeBlock(*node);
        return;
    }
    if (TableImpl* table = asTable(content)) {
        if (table->isPending()) throw css::container::NoSuchElementException(notHere);
        TableNode& node = table->table(u"removeTextContent");
        if (node.text != &text) throw css::container::NoSuchElementException(notHere);
        core->removeBlock(node);
        return;
    }
    if (FootnoteImpl* footnote = asFootnote(content)) {
        InlineNode* node = footnote->inlineNode();
        Pos p = node && !footnote->isPending() ? locate(*node) : Pos{};
        if (!p.valid() || p.para->text != &text) throw css::container::NoSuchElementException(notHere);
        core->erase(p, Pos{p.para, p.off + 1});
        return;
    }
    if (GraphicObjectImpl* graphic = asGraphic(content)) {
        InlineNode* node = graphic->inlineNode();
        bool atParagraph = false;
        Pos p = node && !graphic->isPending() ? locate(*node, &atParagraph) : Pos{};
        if (!p.valid() || p.para->text != &text) throw css::container::NoSuchElementException(notHere);
        if (!atParagraph) {
            core->erase(p, Pos{p.para, p.off + 1});
            return;
        }
        auto& list = p.para->anchored;
        auto it = std::find_if(list.begin(), list.end(), [&](const auto& a) { return a.get() == node; });
        std::unique_ptr<InlineNode> trash = std::move(*it);
        list.erase(it);
        core->changed();
        return;
    }
    throw css::container::NoSuchElementException(notHere);
}

// ---- footnote list -------------------------------------------------------------

// The document's footnotes in document order, read anew on every call.
class FootnotesImpl : public cppu::WeakImplHelper<XIndexAccess> {
public:
    explicit FootnotesImpl(CorePtr core) : core_(std::move(core)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(footnotes(*core_).size()); }
    Any getByIndex(sal_Int32 index) override {
        auto list = footnotes(*core_);
        if (index < 0 || index >= static_cast<sal_Int32>(list.size()))
            throw IndexOutOfBoundsException(u"getByIndex: there is no footnote " + OUString::number(index));
        return Any(footnoteObject(core_, list[index]));
    }
    Type getElementType() override { return cppu::UnoType<css::text::XFootnote>::get(); }
    bool hasElements() override { return getCount() > 0; }

private:
    CorePtr core_;
};

} // namespace

// ---- shape texts ---------------------------------------------------------------

Reference<css::text::XText> ShapeText::model() { return new ShapeTextImpl(textCore(), textNode(), *this); }
Reference<css::text::XText> ShapeText::getText() { return this; }
Reference<css::text::XTextRange> ShapeText::getStart() { return model()->getStart(); }
Reference<css::text::XTextRange> ShapeText::getEnd() { return model()->getEnd(); }
OUString ShapeText::getString() { return model()->getString(); }
void ShapeText::setString(const OUString& text) { model()->setString(text); }
Reference<css::text::XTextCursor> ShapeText::createTextCursor() { return model()->createTextCursor(); }
Reference<css::text::XTextCursor> ShapeText::createTextCursorByRange(const Reference<css::text::XTextRange>& range) {
    return model()->createTextCursorByRange(range);
}
void ShapeText::insertString(const Reference<css::text::XTextRange>& range, const OUString& text, bool absorb) {
    model()->insertString(range, text, absorb);
}
void ShapeText::insertControlCharacter(const Reference<css::text::XTextRange>& range, sal_Int16 character,
                                       bool absorb) {
    model()->insertControlCharacter(range, character, absorb);
}
void ShapeText::insertTextContent(const Reference<css::text::XTextRange>& range,
                                  const Reference<css::text::XTextContent>& content, bool absorb) {
    model()->insertTextContent(range, content, absorb);
}
void ShapeText::removeTextContent(const Reference<css::text::XTextContent>& content) {
    model()->removeTextContent(content);
}
sal_Int16 ShapeText::compareRegionStarts(const Reference<css::text::XTextRange>& first,
                                         const Reference<css::text::XTextRange>& second) {
    return Reference<css::text::XTextRangeCompare>(model(), ::zel::uno::UNO_QUERY_THROW)->compareRegionStarts(first, second);
}
sal_Int16 ShapeText::compareRegionEnds(const Reference<css::text::XTextRange>& first,
                                       const Reference<css::text::XTextRange>& second) {
    return Reference<css::text::XTextRangeCompare>(model(), ::zel::uno::UNO_QUERY_THROW)->compareRegionEnds(first, second);
}
Type ShapeText::getElementType() { return cppu::UnoType<css::text::XTextContent>::get(); }
bool ShapeText::hasElements() { return true; }
Reference<XEnumeration> ShapeText::createEnumeration() {
    return Reference<css::container::XEnumerationAccess>(model(), ::zel::uno::UNO_QUERY_THROW)->createEnumeration();
}
Reference<css::text::XTextRange> ShapeText::finishParagraph(const Sequence<PropertyValue>& properties) {
    return Reference<css::text::XParagraphAppend>(model(), ::zel::uno::UNO_QUERY_THROW)->finishParagraph(properties);
}
Reference<css::text::XTextRange> ShapeText::appendTextPortion(const OUString& text,
                                                              const Sequence<PropertyValue>& properties) {
    return Reference<css::text::XTextPortionAppend>(model(), ::zel::uno::UNO_QUERY_THROW)->appendTextPortion(text, properties);
}
bool ShapeText::wholeText(const Core& core, Pos& start, Pos& end) {
    if (textCore().get() != &core) return false;
    start = startOf(textNode());
    end = endOf(textNode());
    return true;
}

namespace objects {

void gone(const OUString& operation) { ::officehost::text::gone(operation); }
void unknownProperty(const OUString& operation, const OUString& name) {
    ::officehost::text::unknownProperty(operation, name);
}
Reference<css::beans::XPropertySetInfo> styleInfo() { return infoFor({PropScope::Character, PropScope::Paragraph}); }
Reference<XIndexReplace> rulesOf(const NumberingData& data) { return makeRules(data); }
NumberingPtr numberingOf(Core& core, const Any& value, const OUString& operation) {
    return toNumbering(core, value, operation);
}

Reference<XInterface> newContent(const CorePtr& core, const OUString& service) {
    if (service == u"com.qam.vexo.text.TextTable")
        return Reference<XInterface>(static_cast<css::text::XTextTable*>(new TableImpl(core)));
    if (service == u"com.qam.vexo.text.Footnote")
        return Reference<XInterface>(static_cast<css::text::XText*>(new FootnoteImpl(core)));
    if (service == u"com.qam.vexo.text.TextGraphicObject")
        return Reference<XInterface>(static_cast<css::text::XTextContent*>(new GraphicObjectImpl(core)));
    return {};
}

Reference<css::text::XText> textObjectOf(const CorePtr& core, TextNode* text) { return textObject(core, text); }
Reference<XIndexAccess> footnoteList(const CorePtr& core) { return new FootnotesImpl(core); }

Reference<css::text::XTextViewCursor> newViewCursor(const CorePtr& core, Pos at) { return new ViewCursorImpl(core, at); }
sal_uInt64 movesOf(css::text::XTextViewCursor& cursor) {
    auto* impl = dynamic_cast<ViewCursorImpl*>(&cursor);
    assert(impl && "a view cursor of this model");
    return impl->moves();
}
bool rangeOf(XInterface* range, const Core& core, Pos& start, Pos& end) { return resolve(range, core, start, end); }
Reference<css::text::XTextRange> rangeBetween(const CorePtr& core, Pos start, Pos end) {
    ordered(start, end);
    return makeRange(core, start, end);
}
bool isInsertedGraphic(XInterface* object, const Core* core) {
    GraphicObjectImpl* graphic = asGraphic(object);
    return graphic && (!core || graphic->core().get() == core) && !graphic->isPending() && graphic->inlineNode();
}
bool isGraphic(XInterface* object) { return asGraphic(object) != nullptr; }

} // namespace objects
} // namespace officehost::text
