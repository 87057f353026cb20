// Page elements and shapes: what sits on a page, with its kind, geometry in
// points, and removal; a shape also gives its text.  PageElementStub<T> holds
// every operation that the model does not carry out, PageElementCommon<T> the
// members and the operations that both kinds share.

#include "shared.hxx"

#include <units.hxx>

#include <com/qam/vexo/beans/properties.hxx>
#include <cppu/implbase.hxx>

namespace corvane::presentation {
namespace {

using ::com::qam::vexo::beans::PropertyValue;
using ::zel::uno::Any;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

template <class T>
class PageElementStub : public cppu::WeakImplHelper<T> {
public:
    void alignOnPage(AlignmentPosition) override { notImplemented(u"alignOnPage"); }
    void bringForward() override { notImplemented(u"bringForward"); }
    void bringToFront() override { notImplemented(u"bringToFront"); }
    void duplicate() override { notImplemented(u"duplicate"); }
    void getConnectionSites() override { notImplemented(u"getConnectionSites"); }
    void getDescription() override { notImplemented(u"getDescription"); }
    void getInherentHeight() override { notImplemented(u"getInherentHeight"); }
    void getInherentWidth() override { notImplemented(u"getInherentWidth"); }
    void getObjectId() override { notImplemented(u"getObjectId"); }
    void getParentGroup() override { notImplemented(u"getParentGroup"); }
    void getParentPage() override { notImplemented(u"getParentPage"); }
    void getRotation() override { notImplemented(u"getRotation"); }
    void getTitle() override { notImplemented(u"getTitle"); }
    void getTransform() override { notImplemented(u"getTransform"); }
    void preconcatenateTransform(const Reference<XAffineTransform>&) override {
        notImplemented(u"preconcatenateTransform");
    }
    void scaleHeight(double) override { notImplemented(u"scaleHeight"); }
    void scaleWidth(double) override { notImplemented(u"scaleWidth"); }
    void select() override { notImplemented(u"select"); }
    void selectWithReplace(bool) override { notImplemented(u"selectWithReplace"); }
    void sendBackward() override { notImplemented(u"sendBackward"); }
    void sendToBack() override { notImplemented(u"sendToBack"); }
    void setDescription(const OUString&) override { notImplemented(u"setDescription"); }
    void setRotation(double) override { notImplemented(u"setRotation"); }
    void setTitle(const OUString&) override { notImplemented(u"setTitle"); }
    void setTransform(const Reference<XAffineTransform>&) override { notImplemented(u"setTransform"); }
};

template <class T>
class PageElementCommon : public PageElementStub<T> {
public:
    PageElementCommon(Page page, HostShape shape) : page_(std::move(page)), shape_(std::move(shape)) {}

    Reference<XInterface> getuno() override { return Reference<XInterface>(shape_); }

    double getHeight() override { return detail::hundredthMmToPoints(shape_->getSize().Height); }
    double getLeft() override { return detail::hundredthMmToPoints(shape_->getPosition().X); }
    double getTop() override { return detail::hundredthMmToPoints(shape_->getPosition().Y); }
    double getWidth() override { return detail::hundredthMmToPoints(shape_->getSize().Width); }
    PageElementType getPageElementType() override { return pageElementType(shape_); }

    void remove() override { Reference<drawing::XShapes>(page_, UNO_QUERY_THROW)->remove(shape_); }

    Reference<XPageElementBase> setHeight(double height) override {
        auto size = shape_->getSize();
        size.Height = detail::extentToHundredthMm(height);
        shape_->setSize(size);
        return this;
    }
    Reference<XPageElementBase> setLeft(double left) override {
        auto position = shape_->getPosition();
        position.X = detail::pointsToHundredthMm(left);
        shape_->setPosition(position);
        return this;
    }
    Reference<XPageElementBase> setTop(double top) override {
        auto position = shape_->getPosition();
        position.Y = detail::pointsToHundredthMm(top);
        shape_->setPosition(position);
        return this;
    }
    Reference<XPageElementBase> setWidth(double width) override {
        auto size = shape_->getSize();
        size.Width = detail::extentToHundredthMm(width);
        shape_->setSize(size);
        return this;
    }

protected:
    const Page page_;        // may be empty for a shape whose page is unknown
    const HostShape shape_;  // never empty
};

class PageElementImpl : public PageElementCommon<XPageElement> {
public:
    using PageElementCommon::PageElementCommon;
    void asGroup() override { notImplemented(u"asGroup"); }
    void asImage() override { notImplemented(u"asImage"); }
    void asLine() override { notImplemented(u"asLine"); }
    Reference<XShape> asShape() override {
        if (pageElementType(shape_) != PageElementType::SHAPE)
            throw RuntimeException(u"asShape: the page element is not a shape");
        return makeShape(page_, shape_);
    }
    void asTable() override { notImplemented(u"asTable"); }
    void asVideo() override { notImplemented(u"asVideo"); }
    void asWordArt() override { notImplemented(u"asWordArt"); }
};

class ShapeImpl : public PageElementCommon<XShape> {
public:
    using PageElementCommon::PageElementCommon;
    void getAutofit() override { notImplemented(u"getAutofit"); }
    void getBorder() override { notImplemented(u"getBorder"); }
    void getContentAlignment() override { notImplemented(u"getContentAlignment"); }
    void getFill() override { notImplemented(u"getFill"); }
    void getLink() override { notImplemented(u"getLink"); }
    void getParentPlaceholder() override { notImplemented(u"getParentPlaceholder"); }
    void getPlaceholderIndex() override { notImplemented(u"getPlaceholderIndex"); }
    void getPlaceholderType() override { notImplemented(u"getPlaceholderType"); }
    void getShapeType() override { notImplemented(u"getShapeType"); }
    Reference<XTextRange> getText() override {
        Reference<hosttext::XText> text(shape_, UNO_QUERY);
        if (!text.is()) throw RuntimeException(u"getText: shape cannot hold text");
        return makeTextRange(text, {}, false);
    }
    void removeLink() override { notImplemented(u"removeLink"); }
    void replaceWithImage(const Any&) override { notImplemented(u"replaceWithImage"); }
    void replaceWithImageCropped(const Any&, bool) override { notImplemented(u"replaceWithImageCropped"); }
    void setContentAlignment(ContentAlignment) override { notImplemented(u"setContentAlignment"); }
    void setLinkSlide(const Any&) override { notImplemented(u"setLinkSlide"); }
    void setLinkUrl(const OUString&) override { notImplemented(u"setLinkUrl"); }
};

// Whether a custom shape's geometry marks it as text on a path: the first inner
// "TextPath" entry found (in the outer "TextPath" entries, in order) decides.
bool isWordArt(const HostShape& shape) {
    Reference<::com::qam::vexo::beans::XPropertySet> props(shape, UNO_QUERY);
    if (!props.is()) return false;
    Sequence<PropertyValue> geometry;
    props->getPropertyValue(u"CustomShapeGeometry") >>= geometry;
    for (const PropertyValue& outer : geometry) {
        if (outer.Name != u"TextPath") continue;
        Sequence<PropertyValue> inner;
        outer.Value >>= inner;
        for (const PropertyValue& entry : inner) {
            if (entry.Name != u"TextPath") continue;
            if (entry.Value.getValueTypeClass() != ::zel::uno::TypeClass_BOOLEAN) return false;
            return entry.Value.get<bool>();
        }
    }
    return false;
}

bool oneOf(const OUString& name, std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names)
        if (name == n) return true;
    return false;
}

} // namespace

PageElementType pageElementType(const HostShape& shape) {
    const OUString type = shape->getShapeType();
    if (oneOf(type, {u"com.qam.vexo.drawing.GraphicObjectShape", u"com.qam.vexo.presentation.GraphicObjectShape"}))
        return PageElementType::IMAGE;
    if (oneOf(type, {u"com.qam.vexo.drawing.MediaShape", u"com.qam.vexo.presentation.MediaShape"}))
        return PageElementType::VIDEO;
    if (oneOf(type, {u"com.qam.vexo.drawing.TableShape", u"com.qam.vexo.presentation.TableShape"}))
        return PageElementType::TABLE;
    if (type == u"com.qam.vexo.drawing.GroupShape") return PageElementType::GROUP;
    if (oneOf(type, {u"com.qam.vexo.drawing.LineShape", u"com.qam.vexo.drawing.ConnectorShape"}))
        return PageElementType::LINE;
    if (type == u"com.qam.vexo.drawing.CustomShape" && isWordArt(shape)) return PageElementType::WORD_ART;
    if (oneOf(type, {u"com.qam.vexo.drawing.OLE2Shape", u"com.qam.vexo.presentation.OLE2Shape",
                     u"com.qam.vexo.presentation.ChartShape", u"com.qam.vexo.presentation.CalcShape",
                     u"com.qam.vexo.presentation.OrgChartShape", u"com.qam.vexo.drawing.AppletShape",
                     u"com.qam.vexo.drawing.PluginShape", u"com.qam.vexo.drawing.FrameShape",
                     u"com.qam.vexo.drawing.ControlShape"}))
        return PageElementType::UNSUPPORTED;
    return PageElementType::SHAPE;
}

PlaceholderType placeholderType(const HostShape& shape, sal_Int16 layout) {
    const OUString type = shape->getShapeType();
    if (type == u"com.qam.vexo.presentation.TitleTextShape")
        return layout == 0 ? PlaceholderType::MAIN_TITLE : PlaceholderType::TITLE;
    if (oneOf(type, {u"com.qam.vexo.presentation.OutlinerShape", u"com.qam.vexo.presentation.NotesShape"}))
        return PlaceholderType::BODY;
    struct Row {
        const char16_t* type;
        PlaceholderType placeholder;
    };
    static const Row rows[] = {
        {u"com.qam.vexo.presentation.SubtitleShape", PlaceholderType::SUBTITLE},
        {u"com.qam.vexo.presentation.GraphicObjectShape", PlaceholderType::GRAPHIC},
        {u"com.qam.vexo.presentation.ChartShape", PlaceholderType::CHART},
        {u"com.qam.vexo.presentation.TableShape", PlaceholderType::TABLE},
        {u"com.qam.vexo.presentation.PageShape", PlaceholderType::PAGE_IMAGE},
        {u"com.qam.vexo.presentation.HeaderShape", PlaceholderType::HEADER},
        {u"com.qam.vexo.presentation.FooterShape", PlaceholderType::FOOTER},
        {u"com.qam.vexo.presentation.SlideNumberShape", PlaceholderType::SLIDE_NUMBER},
        {u"com.qam.vexo.presentation.DateTimeShape", PlaceholderType::DATE_TIME},
        {u"com.qam.vexo.presentation.MediaShape", PlaceholderType::MEDIA},
        {u"com.qam.vexo.presentation.OLE2Shape", PlaceholderType::OBJECT},
        {u"com.qam.vexo.presentation.CalcShape", PlaceholderType::OBJECT},
        {u"com.qam.vexo.presentation.OrgChartShape", PlaceholderType::OBJECT},
        {u"com.qam.vexo.presentation.HandoutShape", PlaceholderType::UNSUPPORTED},
    };
    for (const Row& r : rows)
        if (type == r.type) return r.placeholder;
    return PlaceholderType::NONE;
}

Reference<XPageElement> makePageElement(const Page& page, const HostShape& shape) {
    return new PageElementImpl(page, shape);
}

Reference<XShape> makeShape(const Page& page, const HostShape& shape) { return new ShapeImpl(page, shape); }

} // namespace corvane::presentation
