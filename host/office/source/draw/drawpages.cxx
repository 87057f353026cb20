// The page objects of the stand-in draw model: slides, master pages and notes
// pages, one object per page node.  A page is the collection of its shapes
// (XDrawPage), has a name (XNamed), the page properties ("Width", "Height" and,
// on slides of presentations, "Layout", "Visible", "BookmarkURL"; "Background"
// on slides and masters) and replaces text in its shapes (XReplaceable).
// Slides have a master page (XMasterPageTarget); slides and masters of
// presentations have a notes page (XPresentationPage).

#include "drawobjects.hxx"

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/presentation/presentation.hxx>
#include <com/qam/vexo/util/replace.hxx>
#include <cppu/implbase.hxx>

#include <algorithm>

namespace officehost::draw {
namespace {

namespace css = ::com::qam::vexo;
using css::beans::Property;
using css::lang::IllegalArgumentException;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::XInterface;

[[noreturn]] void unknownProperty(const OUString& op, const OUString& name) {
    throw css::beans::UnknownPropertyException(op + u": unknown property " + name);
}

[[noreturn]] void wrongType(const OUString& op, const OUString& name, const Type& type, const Any& value) {
    throw IllegalArgumentException(op + u": property " + name + u" takes a value of type " + type.getTypeName() +
                                   u", got " + (value.hasValue() ? value.getValueTypeName() : OUString(u"void")));
}

class PropertyInfoImpl : public cppu::WeakImplHelper<css::beans::XPropertySetInfo> {
public:
    explicit PropertyInfoImpl(std::vector<Property> props) : props_(std::move(props)) {}
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

// The properties a page of this kind has, with their types.
std::vector<Property> pageProperties(const PageNode& page) {
    std::vector<Property> props{{u"Width", -1, cppu::UnoType<sal_Int32>::get(), 0},
                                {u"Height", -1, cppu::UnoType<sal_Int32>::get(), 0}};
    if (page.kind == PageKind::Notes) return props;
    props.push_back(Property{u"Background", -1, cppu::UnoType<css::beans::XPropertySet>::get(),
                             css::beans::PropertyAttribute::MAYBEVOID});
    if (page.kind == PageKind::Slide && page.core.presentation) {
        props.push_back(Property{u"Layout", -1, cppu::UnoType<sal_Int16>::get(), 0});
        props.push_back(Property{u"Visible", -1, cppu::UnoType<bool>::get(), 0});
        props.push_back(Property{u"BookmarkURL", -1, cppu::UnoType<OUString>::get(), 0});
    }
    return props;
}

// A replace descriptor: search text, replacement and "SearchCaseSensitive".
class ReplaceDescriptorImpl : public cppu::WeakImplHelper<css::util::XReplaceDescriptor> {
public:
    OUString getSearchString() override { return search_; }
    void setSearchString(const OUString& text) override { search_ = text; }
    OUString getReplaceString() override { return replace_; }
    void setReplaceString(const OUString& text) override { replace_ = text; }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return new PropertyInfoImpl({Property{u"SearchCaseSensitive", -1, cppu::UnoType<bool>::get(), 0}});
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        if (name != u"SearchCaseSensitive") unknownProperty(u"setPropertyValue", name);
        if (value.getValueTypeClass() != ::zel::uno::TypeClass_BOOLEAN)
            wrongType(u"setPropertyValue", name, cppu::UnoType<bool>::get(), value);
        caseSensitive_ = value.get<bool>();
    }
    Any getPropertyValue(const OUString& name) override {
        if (name != u"SearchCaseSensitive") unknownProperty(u"getPropertyValue", name);
        return Any(caseSensitive_);
    }

    bool caseSensitive() const { return caseSensitive_; }
    const OUString& search() const { return search_; }
    const OUString& replacement() const { return replace_; }

private:
    OUString search_;
    OUString replace_;
    bool caseSensitive_ = false;
};

sal_Int32 replaceInShapes(DrawCore& core, std::vector<std::unique_ptr<ShapeNode>>& shapes,
                          const ReplaceDescriptorImpl& d) {
    sal_Int32 count = 0;
    for (auto& s : shapes) {
        if (s->text) count += replaceInText(*core.text, *s->text, d.search(), d.replacement(), d.caseSensitive());
        count += replaceInShapes(core, s->shapes, d);
    }
    return count;
}

// The side of a page object that pageNodeOf needs, whatever its interfaces.
class PageAccess {
public:
    virtual const DrawCore* accessCore() = 0;
    virtual PageNode* accessNode() = 0;

protected:
    ~PageAccess() = default;
};

// A background: a solid fill or none, with its colour.
class BackgroundImpl : public cppu::WeakImplHelper<css::beans::XPropertySet, css::lang::XServiceInfo> {
public:
    BackgroundImpl(sal_Int32 style, sal_Int32 color) : style_(style), color_(color) {}
    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return new PropertyInfoImpl({Property{u"FillStyle", -1, cppu::UnoType<css::drawing::FillStyle>::get(), 0},
                                     Property{u"FillColor", -1, cppu::UnoType<sal_Int32>::get(), 0}});
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        if (name == u"FillStyle") {
            css::drawing::FillStyle style = css::drawing::FillStyle_NONE;
            if (!(value >>= style)) wrongType(op, name, cppu::UnoType<css::drawing::FillStyle>::get(), value);
            style_ = style;
            return;
        }
        if (name == u"FillColor") {
            if (!value.isExtractableTo(cppu::UnoType<sal_Int32>::get()))
                wrongType(op, name, cppu::UnoType<sal_Int32>::get(), value);
            color_ = value.get<sal_Int32>();
            return;
        }
        unknownProperty(op, name);
    }
    Any getPropertyValue(const OUString& name) override {
        if (name == u"FillStyle") return Any(static_cast<css::drawing::FillStyle>(style_));
        if (name == u"FillColor") return Any(color_);
        unknownProperty(u"getPropertyValue", name);
    }
    OUString getImplementationName() override { return u"officehost.draw.Background"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.drawing.Background"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.drawing.Background")}; }

private:
    sal_Int32 style_;
    sal_Int32 color_;
};

// What every page object shares.  Main is drawing::XDrawPage, or
// presentation::XPresentationPage for pages with a notes page.
template <class Main, class... Ifc>
class PageBase : public cppu::WeakImplHelper<Main, css::beans::XPropertySet, css::container::XNamed,
                                             css::util::XReplaceable, css::lang::XServiceInfo, Ifc...>,
                 public Linked,
                 public PageAccess {
public:
    PageBase(DrawCorePtr core, PageNode* node) : core_(std::move(core)), node_(node) { node_->obj = this; }
    const DrawCore* accessCore() override { return core_.get(); }
    PageNode* accessNode() override { return node_; }
    ~PageBase() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::drawing::XDrawPage*>(this); }

    sal_Int32 getCount() override { return static_cast<sal_Int32>(node(u"getCount").shapes.size()); }
    Any getByIndex(sal_Int32 index) override { return shapeAt(core_, node(u"getByIndex").shapes, index, u"getByIndex"); }
    Type getElementType() override { return cppu::UnoType<css::drawing::XShape>::get(); }
    bool hasElements() override { return !node(u"hasElements").shapes.empty(); }
    void add(const Reference<css::drawing::XShape>& shape) override {
        PageNode& n = node(u"add");
        std::unique_ptr<ShapeNode> adopted = adoptShape(*core_, shape.get());
        if (!adopted) throw IllegalArgumentException(u"add: expected a shape of this document that is on no page");
        core_->addShape(std::move(adopted), &n, nullptr);
    }
    void remove(const Reference<css::drawing::XShape>& shape) override {
        PageNode& n = node(u"remove");
        ShapeNode* s = shapeNodeOf(*core_, shape.get());
        if (!s || s->page != &n) throw css::container::NoSuchElementException(u"remove: the shape is not on this page");
        returnShape(core_->takeShape(s));
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        return new PropertyInfoImpl(pageProperties(node(u"getPropertySetInfo")));
    }
    void setPropertyValue(const OUString& name, const Any& value) override {
        static const OUString op(u"setPropertyValue");
        PageNode& n = node(op);
        const Property p = describe(op, n, name);
        if (name == u"Background") {
            // The page keeps the values of the background it is given, not the object.
            Reference<css::beans::XPropertySet> set;
            if (value.hasValue() && !(value >>= set)) wrongType(op, name, p.Type, value);
            if (!set.is()) {
                n.hasBackground = false;
                return;
            }
            css::drawing::FillStyle style = css::drawing::FillStyle_NONE;
            sal_Int32 color = 0;
            set->getPropertyValue(u"FillStyle") >>= style;
            set->getPropertyValue(u"FillColor") >>= color;
            n.hasBackground = true;
            n.fillStyle = style;
            n.fillColor = color;
            return;
        }
        if (!value.isExtractableTo(p.Type)) wrongType(op, name, p.Type, value);
        if (name == u"Width" || name == u"Height") {
            const sal_Int32 v = value.get<sal_Int32>();
            if (v <= 0)
                throw IllegalArgumentException(op + u": " + name + u" must be positive, got " + OUString::number(v));
            css::awt::Size& size = n.kind == PageKind::Notes ? core_->notesSize : core_->pageSize;
            (name == u"Width" ? size.Width : size.Height) = v;
        } else if (name == u"Layout") {
            n.layout = value.get<sal_Int16>();
        } else if (name == u"Visible") {
            n.visible = value.get<bool>();
        } else {
            n.bookmark = value.get<OUString>();
        }
    }
    Any getPropertyValue(const OUString& name) override {
        static const OUString op(u"getPropertyValue");
        PageNode& n = node(op);
        describe(op, n, name);
        const css::awt::Size& size = n.kind == PageKind::Notes ? core_->notesSize : core_->pageSize;
        if (name == u"Width") return Any(size.Width);
        if (name == u"Height") return Any(size.Height);
        if (name == u"Layout") return Any(n.layout);
        if (name == u"Visible") return Any(n.visible);
        if (name == u"BookmarkURL") return Any(n.bookmark);
        if (!n.hasBackground) return Any();
        return Any(Reference<css::beans::XPropertySet>(newBackground(n.fillStyle, n.fillColor), UNO_QUERY));
    }

    // A slide without a name of its own is called after its place, as "page1".
    OUString getName() override {
        PageNode& n = node(u"getName");
        if (n.name.isEmpty() && n.kind == PageKind::Slide) return u"page" + OUString::number(core_->indexOf(&n) + 1);
        return n.name;
    }
    void setName(const OUString& name) override {
        PageNode& n = node(u"setName");
        if (n.kind == PageKind::Master) {
            if (name.isEmpty()) throw IllegalArgumentException(u"setName: a master page needs a name");
            for (auto& m : core_->masters)
                if (m.get() != &n && m->name == name)
                    throw css::container::ElementExistException(u"setName: there is already a master page named " + name);
        }
        n.name = name;
    }

    Reference<css::util::XReplaceDescriptor> createReplaceDescriptor() override {
        node(u"createReplaceDescriptor");
        return new ReplaceDescriptorImpl;
    }
    sal_Int32 replaceAll(const Reference<css::util::XSearchDescriptor>& descriptor) override {
        PageNode& n = node(u"replaceAll");
        auto* d = dynamic_cast<ReplaceDescriptorImpl*>(descriptor.get());
        if (!d) throw IllegalArgumentException(u"replaceAll: expected a descriptor made by createReplaceDescriptor");
        return replaceInShapes(*core_, n.shapes, *d);
    }

    OUString getImplementationName() override { return u"officehost.draw.Page"; }
    bool supportsService(const OUString& name) override {
        const auto all = getSupportedServiceNames();
        return std::find(all.begin(), all.end(), name) != all.end();
    }
    Sequence<OUString> getSupportedServiceNames() override {
        switch (node(u"getSupportedServiceNames").kind) {
        case PageKind::Slide: return {OUString(u"com.qam.vexo.drawing.DrawPage")};
        case PageKind::Master: return {OUString(u"com.qam.vexo.drawing.MasterPage")};
        case PageKind::Notes: return {OUString(u"com.qam.vexo.presentation.NotesPage")};
        }
        return {};
    }

protected:
    PageNode& node(const OUString& op) {
        if (!node_) pageGone(op);
        return *node_;
    }
    Property describe(const OUString& op, const PageNode& n, const OUString& name) {
        for (const Property& p : pageProperties(n))
            if (p.Name == name) return p;
        unknownProperty(op, name);
    }
    Reference<css::drawing::XDrawPage> masterOf(const OUString& op) {
        PageNode* m = node(op).master;
        return m ? pageObject(core_, m) : Reference<css::drawing::XDrawPage>();
    }
    void setMasterOf(const OUString& op, const Reference<css::drawing::XDrawPage>& master) {
        PageNode& n = node(op);
        for (auto& m : core_->masters) {
            if (!Reference<XInterface>::sameObject(pageObject(core_, m.get()).get(), master.get())) continue;
            n.master = m.get();
            return;
        }
        throw IllegalArgumentException(op + u": expected a master page of this document");
    }
    Reference<css::drawing::XDrawPage> notesOf(const OUString& op) {
        PageNode& n = node(op);
        return n.notes ? pageObject(core_, n.notes.get()) : Reference<css::drawing::XDrawPage>();
    }

    DrawCorePtr core_;
    PageNode* node_;
};

class DrawSlideImpl : public PageBase<css::drawing::XDrawPage, css::drawing::XMasterPageTarget> {
public:
    using PageBase::PageBase;
    Reference<css::drawing::XDrawPage> getMasterPage() override { return masterOf(u"getMasterPage"); }
    void setMasterPage(const Reference<css::drawing::XDrawPage>& m) override { setMasterOf(u"setMasterPage", m); }
};

class PresentationSlideImpl : public PageBase<css::presentation::XPresentationPage, css::drawing::XMasterPageTarget> {
public:
    using PageBase::PageBase;
    Reference<css::drawing::XDrawPage> getMasterPage() override { return masterOf(u"getMasterPage"); }
    void setMasterPage(const Reference<css::drawing::XDrawPage>& m) override { setMasterOf(u"setMasterPage", m); }
    Reference<css::drawing::XDrawPage> getNotesPage() override { return notesOf(u"getNotesPage"); }
};

class DrawMasterImpl : public PageBase<css::drawing::XDrawPage> {
public:
    using PageBase::PageBase;
};

class PresentationMasterImpl : public PageBase<css::presentation::XPresentationPage> {
public:
    using PageBase::PageBase;
    Reference<css::drawing::XDrawPage> getNotesPage() override { return notesOf(u"getNotesPage"); }
};

class NotesPageImpl : public PageBase<css::drawing::XDrawPage> {
public:
    using PageBase::PageBase;
};

template <class Impl>
Reference<css::drawing::XDrawPage> make(const DrawCorePtr& core, PageNode* node) {
    return static_cast<css::drawing::XDrawPage*>(new Impl(core, node));
}

} // namespace

[[noreturn]] void pageGone(const OUString& operation) {
    throw css::lang::DisposedException(operation + u": the page is no longer part of the document");
}

PageNode* pageNodeOf(const DrawCore& core, XInterface* page) {
    auto* access = page ? dynamic_cast<PageAccess*>(page) : nullptr;
    if (!access || access->accessCore() != &core) return nullptr;
    return access->accessNode();
}

Reference<XInterface> newBackground(sal_Int32 fillStyle, sal_Int32 fillColor) {
    return Reference<XInterface>(static_cast<css::beans::XPropertySet*>(new BackgroundImpl(fillStyle, fillColor)));
}

Reference<css::drawing::XDrawPage> pageObject(const DrawCorePtr& core, PageNode* node) {
    if (node->obj) return Reference<css::drawing::XDrawPage>(node->obj->linkedInterface(), UNO_QUERY);
    switch (node->kind) {
    case PageKind::Slide:
        return core->presentation ? make<PresentationSlideImpl>(core, node) : make<DrawSlideImpl>(core, node);
    case PageKind::Master:
        return core->presentation ? make<PresentationMasterImpl>(core, node) : make<DrawMasterImpl>(core, node);
    case PageKind::Notes: return make<NotesPageImpl>(core, node);
    }
    return {};
}

} // namespace officehost::draw
