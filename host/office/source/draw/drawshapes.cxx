// The shape objects of the stand-in draw model: one object per shape node, made
// when a page, a group or the factory first hands the shape out.  Every shape
// has a position, a size, its type name, its kind's properties and its parent;
// shapes of kinds with text are their own text (officehost::text::ShapeText);
// groups hold shapes.  A shape that is on no page keeps working on its own.

#include "drawobjects.hxx"

#include "../text/shapetext.hxx"

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <cppu/implbase.hxx>

#include <algorithm>

namespace officehost::draw {
namespace {

namespace css = ::com::qam::vexo;
using css::beans::Property;
using css::beans::PropertyValue;
using css::lang::IllegalArgumentException;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::XInterface;

[[noreturn]] void shapeGone(const OUString& operation) {
    throw css::lang::DisposedException(operation + u": the shape is no longer part of the document");
}

// The names and types of a shape's own properties.
class ShapePropertyInfo : public cppu::WeakImplHelper<css::beans::XPropertySetInfo> {
public:
    explicit ShapePropertyInfo(std::vector<Property> props) : props_(std::move(props)) {}
    Sequence<Property> getProperties() override { return Sequence<Property>(props_); }
    Property getPropertyByName(const OUString& name) override {
        for (auto& p : props_)
            if (p.Name == name) return p;
        throw css::beans::UnknownPropertyException(u"getPropertyByName: unknown property " + name);
    }
    bool hasPropertyByName(const OUString& name) override {
        return std::any_of(props_.begin(), props_.end(), [&](const Property& p) { return p.Name == name; });
    }

private:
    std::vector<Property> props_;
};

Type propertyType(const OUString& name) {
    if (name == u"TextAutoGrowHeight") return cppu::UnoType<bool>::get();
    return cppu::UnoType<Sequence<PropertyValue>>::get();  // "CustomShapeGeometry"
}

// What every shape object shares: the node it presents (owned while the shape is
// on no page), geometry, type name, properties and parent.
template <class... Ifc>
class ShapeBase : public cppu::WeakImplHelper<css::drawing::XShape, css::beans::XPropertySet, css::lang::XServiceInfo,
                                              css::container::XChild, Ifc...>,
                  public Linked {
public:
    ShapeBase(DrawCorePtr core, ShapeNode* node) : core_(std::move(core)), node_(node) { node_->obj = this; }
    ShapeBase(DrawCorePtr core, std::unique_ptr<ShapeNode> pending)
        : core_(std::move(core)), pending_(std::move(pending)), node_(pending_.get()) {
        node_->obj = this;
    }
    ~ShapeBase() override {
        if (node_) node_->obj = nullptr;
    }
    void nodeGone() override { node_ = nullptr; }
    XInterface* linkedInterface() override { return static_cast<css::drawing::XShape*>(this); }

    OUString getShapeType() override { return OUString(node(u"getShapeType").kind.type); }
    css::awt::Point getPosition() override { return node(u"getPosition").position; }
    void setPosition(const css::awt::Point& position) override { node(u"setPosition").position = position; }
    css::awt::Size getSize() override { return node(u"getSize").size; }
    void setSize(const css::awt::Size& size) override {
        ShapeNode& n = node(u"setSize");
        if (size.Width < 0 || size.Height < 0)
            throw IllegalArgumentException(u"setSize: expected a non-negative size, got " +
                                           OUString::number(size.Width) + u" x " + OUString::number(size.Height));
        n.size = size;
    }

    Reference<css::beans::XPropertySetInfo> getPropertySetInfo() override {
        std::vector<Property> props;
        for (auto& [name, value] : node(u"getPropertySetInfo").props)
            props.push_back(Property{name, -1, propertyType(name), 0});
        return new ShapePropertyInfo(std::move(props));
    }
    void setPropertyValue(const OUString& name, const ::zel::uno::Any& value) override {
        ShapeNode& n = node(u"setPropertyValue");
        auto it = n.props.find(name);
        if (it == n.props.end())
            throw css::beans::UnknownPropertyException(u"setPropertyValue: unknown property " + name);
        const Type type = propertyType(name);
        if (!(value.getValueType() == type))
            throw IllegalArgumentException(u"setPropertyValue: property " + name + u" takes a value of type " +
                                           type.getTypeName() + u", got " +
                                           (value.hasValue() ? value.getValueTypeName() : OUString(u"void")));
        it->second = value;
    }
    ::zel::uno::Any getPropertyValue(const OUString& name) override {
        ShapeNode& n = node(u"getPropertyValue");
        auto it = n.props.find(name);
        if (it == n.props.end())
            throw css::beans::UnknownPropertyException(u"getPropertyValue: unknown property " + name);
        return it->second;
    }

    OUString getImplementationName() override { return u"officehost.draw.Shape"; }
    bool supportsService(const OUString& name) override {
        const ShapeNode& n = node(u"supportsService");
        return name == n.kind.type || name == u"com.qam.vexo.drawing.Shape";
    }
    Sequence<OUString> getSupportedServiceNames() override {
        return {OUString(node(u"getSupportedServiceNames").kind.type), OUString(u"com.qam.vexo.drawing.Shape")};
    }

    // The page or group that holds the shape; empty when it is on none.
    Reference<XInterface> getParent() override {
        ShapeNode& n = node(u"getParent");
        if (n.group) return Reference<XInterface>(shapeObject(core_, n.group));
        if (n.page) return Reference<XInterface>(pageObject(core_, n.page));
        return {};
    }
    void setParent(const Reference<XInterface>&) override {
        throw RuntimeException(u"setParent: a shape moves with XShapes::add and XShapes::remove");
    }

    const DrawCorePtr& core() const { return core_; }
    ShapeNode* shapeNode() const { return node_; }
    std::unique_ptr<ShapeNode> hand() { return std::move(pending_); }
    void take(std::unique_ptr<ShapeNode> node) { pending_ = std::move(node); }
    bool onPage() const { return node_ && !pending_; }

protected:
    ShapeNode& node(const OUString& op) {
        if (!node_) shapeGone(op);
        return *node_;
    }

    DrawCorePtr core_;                    // declared first: outlives the node
    std::unique_ptr<ShapeNode> pending_;  // the node while the shape is on no page
    ShapeNode* node_;
};

// The side that adoptShape and returnShape need, whatever the shape's interfaces.
class ShapeAccess {
public:
    virtual const DrawCorePtr& accessCore() = 0;
    virtual ShapeNode* accessNode() = 0;
    virtual bool accessOnPage() = 0;
    virtual std::unique_ptr<ShapeNode> accessHand() = 0;
    virtual void accessTake(std::unique_ptr<ShapeNode> node) = 0;

protected:
    ~ShapeAccess() = default;
};

template <class Base>
class Shape : public Base, public ShapeAccess {
public:
    using Base::Base;
    const DrawCorePtr& accessCore() override { return this->core(); }
    ShapeNode* accessNode() override { return this->shapeNode(); }
    bool accessOnPage() override { return this->onPage(); }
    std::unique_ptr<ShapeNode> accessHand() override { return this->hand(); }
    void accessTake(std::unique_ptr<ShapeNode> node) override { this->take(std::move(node)); }
};

// A shape without text and without shapes of its own: pictures of pages, media,
// tables and embedded objects.
using PlainShapeImpl = Shape<ShapeBase<>>;

// A shape with text: the shape is its text.
class TextShapeBase : public ShapeBase<>, public text::ShapeText {
public:
    using ShapeBase::ShapeBase;

protected:
    const std::shared_ptr<textcore::Core>& textCore() override { return core_->text; }
    textcore::TextNode& textNode() override { return *node(u"getText").text; }
};
using TextShapeImpl = Shape<TextShapeBase>;

// A group: a shape that holds shapes, as a page does.
class GroupShapeBase : public ShapeBase<css::drawing::XShapes> {
public:
    using ShapeBase::ShapeBase;

    sal_Int32 getCount() override { return static_cast<sal_Int32>(node(u"getCount").shapes.size()); }
    ::zel::uno::Any getByIndex(sal_Int32 index) override {
        return shapeAt(core_, node(u"getByIndex").shapes, index, u"getByIndex");
    }
    Type getElementType() override { return cppu::UnoType<css::drawing::XShape>::get(); }
    bool hasElements() override { return !node(u"hasElements").shapes.empty(); }
    void add(const Reference<css::drawing::XShape>& shape) override {
        ShapeNode& n = node(u"add");
        // A group cannot go into itself or into a group inside it.
        for (ShapeNode* up = &n; up; up = up->group)
            if (shapeNodeOf(*core_, shape.get()) == up)
                throw IllegalArgumentException(u"add: a group cannot hold itself");
        std::unique_ptr<ShapeNode> adopted = adoptShape(*core_, shape.get());
        if (!adopted) throw IllegalArgumentException(u"add: expected a shape of this document that is on no page");
        core_->addShape(std::move(adopted), nullptr, &n);
    }
    void remove(const Reference<css::drawing::XShape>& shape) override {
        ShapeNode& n = node(u"remove");
        ShapeNode* child = shapeNodeOf(*core_, shape.get());
        if (!child || child->group != &n)
            throw css::container::NoSuchElementException(u"remove: the shape is not in this group");
        returnShape(core_->takeShape(child));
    }
};
using GroupShapeImpl = Shape<GroupShapeBase>;

ShapeAccess* accessOf(XInterface* shape) { return shape ? dynamic_cast<ShapeAccess*>(shape) : nullptr; }

template <class Impl, class Node>
Reference<css::drawing::XShape> make(const DrawCorePtr& core, Node node) {
    return static_cast<css::drawing::XShape*>(new Impl(core, std::move(node)));
}

template <class Node>
Reference<css::drawing::XShape> makeFor(const DrawCorePtr& core, const ShapeKind& kind, Node node) {
    if (kind.group) return make<GroupShapeImpl>(core, std::move(node));
    if (kind.text) return make<TextShapeImpl>(core, std::move(node));
    return make<PlainShapeImpl>(core, std::move(node));
}

} // namespace

::zel::uno::Reference<::zel::uno::XInterface> ShapeNode::textPresenter() {
    return Reference<XInterface>(shapeObject(core.shared_from_this(), this));
}

Reference<css::drawing::XShape> shapeObject(const DrawCorePtr& core, ShapeNode* node) {
    if (node->obj) return Reference<css::drawing::XShape>(node->obj->linkedInterface(), ::zel::uno::UNO_QUERY);
    return makeFor(core, node->kind, node);
}

Reference<css::drawing::XShape> newShape(const DrawCorePtr& core, const ShapeKind& kind) {
    return makeFor(core, kind, core->makeShape(kind));
}

ShapeNode* shapeNodeOf(const DrawCore& core, XInterface* shape) {
    ShapeAccess* access = accessOf(shape);
    if (!access || access->accessCore().get() != &core) return nullptr;
    return access->accessNode();
}

std::unique_ptr<ShapeNode> adoptShape(const DrawCore& core, XInterface* shape) {
    ShapeAccess* access = accessOf(shape);
    if (!access || access->accessCore().get() != &core || !access->accessNode() || access->accessOnPage()) return nullptr;
    return access->accessHand();
}

void returnShape(std::unique_ptr<ShapeNode> node) {
    // The caller holds the shape's object (it named the shape to take it off).
    ShapeAccess* access = node->obj ? accessOf(node->obj->linkedInterface()) : nullptr;
    if (access) access->accessTake(std::move(node));
}

::zel::uno::Any shapeAt(const DrawCorePtr& core, std::vector<std::unique_ptr<ShapeNode>>& list, sal_Int32 index,
                        const OUString& op) {
    if (index < 0 || index >= static_cast<sal_Int32>(list.size()))
        throw css::lang::IndexOutOfBoundsException(op + u": there is no shape " + OUString::number(index));
    return ::zel::uno::Any(shapeObject(core, list[static_cast<std::size_t>(index)].get()));
}

} // namespace officehost::draw
