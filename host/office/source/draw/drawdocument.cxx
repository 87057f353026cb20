// The drawing and presentation documents of the stand-in: the model (its slide
// and master page containers, document properties, the service factory for
// shapes and backgrounds, slide duplication, its location) and the view that
// shows it, with a current page and a selection.  The view has no window.

#include "drawdocument.hxx"
#include "drawobjects.hxx"

#include <com/qam/vexo/document/document.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>

#include <algorithm>

namespace officehost::draw {
namespace {

namespace css = ::com::qam::vexo;
using css::lang::IllegalArgumentException;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::XInterface;

// The slides or the master pages of a document, read live on every call.
class DrawPagesImpl : public cppu::WeakImplHelper<css::drawing::XDrawPages> {
public:
    DrawPagesImpl(DrawCorePtr core, bool masters) : core_(std::move(core)), masters_(masters) {}

    sal_Int32 getCount() override { return static_cast<sal_Int32>(list().size()); }
    Any getByIndex(sal_Int32 index) override {
        if (index < 0 || index >= getCount())
            throw css::lang::IndexOutOfBoundsException(u"getByIndex: there is no page " + OUString::number(index));
        return Any(pageObject(core_, list()[static_cast<std::size_t>(index)].get()));
    }
    Type getElementType() override { return cppu::UnoType<css::drawing::XDrawPage>::get(); }
    bool hasElements() override { return !list().empty(); }

    // The new page follows the page at the index; a new slide takes that page's
    // master and layout (the first master and layout 0 when there is none).
    Reference<css::drawing::XDrawPage> insertNewByIndex(sal_Int32 index) override {
        const auto count = getCount();
        if (!(index >= 0 && (index < count || (count == 0 && index == 0))))
            throw css::lang::IndexOutOfBoundsException(u"insertNewByIndex: there is no page " + OUString::number(index));
        const std::size_t at = count == 0 ? 0 : static_cast<std::size_t>(index) + 1;
        if (masters_) return pageObject(core_, core_->insertMaster(at));
        PageNode* before = count == 0 ? nullptr : core_->slides[static_cast<std::size_t>(index)].get();
        PageNode* master = before ? before->master : (core_->masters.empty() ? nullptr : core_->masters.front().get());
        return pageObject(core_, core_->insertSlide(at, master, before ? before->layout : sal_Int16(0)));
    }
    void remove(const Reference<css::drawing::XDrawPage>& page) override {
        auto& pages = list();
        for (auto& p : pages) {
            if (!Reference<XInterface>::sameObject(pageObject(core_, p.get()).get(), page.get())) continue;
            if (pages.size() == 1)
                throw RuntimeException(masters_ ? OUString(u"remove: a document keeps at least one master page")
                                                : OUString(u"remove: a document keeps at least one slide"));
            core_->removePage(p.get());
            return;
        }
        throw css::container::NoSuchElementException(u"remove: the page is not one of these pages");
    }

private:
    std::vector<std::unique_ptr<PageNode>>& list() { return masters_ ? core_->masters : core_->slides; }
    DrawCorePtr core_;
    bool masters_;
};

class DocumentPropertiesImpl : public cppu::WeakImplHelper<css::document::XDocumentProperties> {
public:
    explicit DocumentPropertiesImpl(DrawCorePtr core) : core_(std::move(core)) {}
    OUString getTitle() override { return core_->title; }
    void setTitle(const OUString& title) override { core_->title = title; }

private:
    DrawCorePtr core_;
};

// A drawing or presentation document.  It keeps its controllers without owning
// them (the frame that shows a controller disconnects it); dispose tells the
// listeners and leaves the content usable until the last reference goes.
class DrawDocumentImpl
    : public cppu::WeakImplHelper<css::frame::XModel, css::lang::XServiceInfo, css::lang::XMultiServiceFactory,
                                  css::drawing::XDrawPagesSupplier, css::drawing::XMasterPagesSupplier,
                                  css::document::XDocumentPropertiesSupplier, css::drawing::XDrawPageDuplicator> {
public:
    DrawDocumentImpl(bool presentation, sal_Int32 slides, const OUString& url)
        : core_(std::make_shared<DrawCore>(presentation)) {
        core_->url = url;
        PageNode* master = core_->insertMaster(0);
        for (sal_Int32 i = 0; i < slides; ++i) core_->insertSlide(static_cast<std::size_t>(i), master, 0);
    }

    OUString getURL() override { return core_->url; }
    Sequence<css::beans::PropertyValue> getArgs() override { return {}; }
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
        css::lang::EventObject event{Reference<XInterface>(static_cast<css::frame::XModel*>(this))};
        for (auto& l : listeners) l->disposing(event);
    }
    void addEventListener(const Reference<css::lang::XEventListener>& l) override {
        if (l.is()) listeners_.push_back(l);
    }
    void removeEventListener(const Reference<css::lang::XEventListener>& l) override {
        std::erase_if(listeners_, [&](const Reference<css::lang::XEventListener>& x) { return x.get() == l.get(); });
    }

    OUString getImplementationName() override { return u"officehost.draw.DrawDocument"; }
    bool supportsService(const OUString& n) override {
        const auto all = getSupportedServiceNames();
        return std::find(all.begin(), all.end(), n) != all.end();
    }
    Sequence<OUString> getSupportedServiceNames() override {
        if (core_->presentation)
            return {OUString(u"com.qam.vexo.presentation.PresentationDocument"),
                    OUString(u"com.qam.vexo.drawing.DrawingDocument"), OUString(u"com.qam.vexo.document.OfficeDocument")};
        return {OUString(u"com.qam.vexo.drawing.DrawingDocument"), OUString(u"com.qam.vexo.document.OfficeDocument")};
    }

    // Shapes of every kind this document holds and backgrounds; an empty reference for other names.
    Reference<XInterface> createInstance(const OUString& service) override {
        if (service == u"com.qam.vexo.drawing.Background") return newBackground(css::drawing::FillStyle_NONE, 0xFFFFFF);
        const ShapeKind* kind = shapeKind(service);
        if (!kind || (kind->presentation && !core_->presentation)) return {};
        return Reference<XInterface>(newShape(core_, *kind));
    }
    Reference<XInterface> createInstanceWithArguments(const OUString& service, const Sequence<Any>&) override {
        return createInstance(service);
    }
    Sequence<OUString> getAvailableServiceNames() override {
        std::vector<OUString> all;
        for (const ShapeKind& k : shapeKinds())
            if (!k.presentation || core_->presentation) all.emplace_back(k.type);
        all.emplace_back(u"com.qam.vexo.drawing.Background");
        return Sequence<OUString>(all);
    }

    Reference<css::drawing::XDrawPage> duplicate(const Reference<css::drawing::XDrawPage>& page) override {
        PageNode* node = pageNodeOf(*core_, page.get());
        if (!node || node->kind != PageKind::Slide)
            throw IllegalArgumentException(u"duplicate: expected a slide of this document");
        return pageObject(core_, core_->duplicateSlide(node));
    }

    Reference<css::drawing::XDrawPages> getDrawPages() override { return new DrawPagesImpl(core_, false); }
    Reference<css::drawing::XDrawPages> getMasterPages() override { return new DrawPagesImpl(core_, true); }
    Reference<css::document::XDocumentProperties> getDocumentProperties() override {
        return new DocumentPropertiesImpl(core_);
    }

    const DrawCorePtr& core() const { return core_; }
    void forget(css::frame::XController* c) {
        std::erase(controllers_, c);
        if (current_ == c) current_ = controllers_.empty() ? nullptr : controllers_.front();
    }

private:
    DrawCorePtr core_;
    std::vector<css::frame::XController*> controllers_;
    css::frame::XController* current_ = nullptr;
    std::vector<Reference<css::lang::XEventListener>> listeners_;
};

// Shapes selected together: a collection of shapes that is not a page.
class ShapeCollectionImpl : public cppu::WeakImplHelper<css::drawing::XShapes, css::lang::XServiceInfo> {
public:
    explicit ShapeCollectionImpl(std::vector<Reference<css::drawing::XShape>> shapes) : shapes_(std::move(shapes)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(shapes_.size()); }
    Any getByIndex(sal_Int32 index) override {
        if (index < 0 || index >= getCount())
            throw css::lang::IndexOutOfBoundsException(u"getByIndex: there is no shape " + OUString::number(index));
        return Any(shapes_[static_cast<std::size_t>(index)]);
    }
    Type getElementType() override { return cppu::UnoType<css::drawing::XShape>::get(); }
    bool hasElements() override { return !shapes_.empty(); }
    void add(const Reference<css::drawing::XShape>& shape) override {
        if (!shape.is()) throw IllegalArgumentException(u"add: the shape must not be empty");
        shapes_.push_back(shape);
    }
    void remove(const Reference<css::drawing::XShape>& shape) override {
        auto it = std::find_if(shapes_.begin(), shapes_.end(), [&](const Reference<css::drawing::XShape>& s) {
            return Reference<XInterface>::sameObject(s.get(), shape.get());
        });
        if (it == shapes_.end()) throw css::container::NoSuchElementException(u"remove: the shape is not in this collection");
        shapes_.erase(it);
    }
    OUString getImplementationName() override { return u"officehost.draw.ShapeCollection"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.drawing.ShapeCollection"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.drawing.ShapeCollection")}; }

private:
    std::vector<Reference<css::drawing::XShape>> shapes_;
};

// The view of a drawing or presentation document: the page it shows (the first
// slide when it opens) and what is selected there: a text range of a shape's
// text, shapes, pages (as a page list would), or nothing.  Selecting text or
// shapes shows their page.  What was selected and has since left the document
// is no longer reported.
class DrawControllerImpl : public cppu::WeakImplHelper<css::frame::XController, css::lang::XServiceInfo,
                                                       css::view::XSelectionSupplier, css::drawing::XDrawView> {
public:
    explicit DrawControllerImpl(Reference<DrawDocumentImpl> model) : model_(std::move(model)) {
        const DrawCorePtr& core = model_->core();
        if (!core->slides.empty()) current_ = pageObject(core, core->slides.front().get());
    }
    ~DrawControllerImpl() override { model_->forget(this); }

    void attachFrame(const Reference<css::frame::XFrame>& frame) override { frame_ = frame.get(); }
    bool attachModel(const Reference<css::frame::XModel>& model) override {
        return Reference<css::frame::XModel>::sameObject(model.get(), static_cast<css::frame::XModel*>(model_.get()));
    }
    bool suspend(bool) override { return true; }
    Reference<css::frame::XFrame> getFrame() override { return frame_; }
    Reference<css::frame::XModel> getModel() override { return model_.get(); }

    OUString getImplementationName() override { return u"officehost.draw.DrawView"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.drawing.DrawingDocumentDrawView"; }
    Sequence<OUString> getSupportedServiceNames() override {
        return {OUString(u"com.qam.vexo.drawing.DrawingDocumentDrawView")};
    }

    void setCurrentPage(const Reference<css::drawing::XDrawPage>& page) override {
        if (!pageNodeOf(core(), page.get()))
            throw IllegalArgumentException(u"setCurrentPage: expected a page of this document");
        current_ = page;
    }
    Reference<css::drawing::XDrawPage> getCurrentPage() override {
        if (current_.is() && pageNodeOf(core(), current_.get())) return current_;
        // The page shown is gone: the view falls back to the first slide.
        current_.clear();
        if (!core().slides.empty()) current_ = pageObject(model_->core(), core().slides.front().get());
        return current_;
    }

    bool select(const Any& selection) override {
        if (!selection.hasValue()) {
            clearSelection();
            return true;
        }
        Sequence<Reference<XInterface>> many;
        if (selection >>= many) return selectAll(many);
        if (selection.getValueTypeClass() != ::zel::uno::TypeClass_INTERFACE)
            throw IllegalArgumentException(u"select: expected an object, a sequence of objects or nothing, got " +
                                           selection.getValueTypeName());
        Reference<XInterface> object(selection, ::zel::uno::UNO_QUERY);
        if (ShapeNode* shape = shapeNodeOf(core(), object.get())) return selectShapes({shape});
        Reference<css::drawing::XShapes> collection(object, ::zel::uno::UNO_QUERY);
        if (collection.is() && !pageNodeOf(core(), object.get())) {
            std::vector<Reference<XInterface>> shapes;
            for (sal_Int32 i = 0; i < collection->getCount(); ++i)
                shapes.emplace_back(collection->getByIndex(i), ::zel::uno::UNO_QUERY);
            return selectAll(Sequence<Reference<XInterface>>(shapes));
        }
        Reference<css::text::XTextRange> range(object, ::zel::uno::UNO_QUERY);
        if (range.is()) {
            ShapeNode* owner = shapeNodeOf(core(), range->getText().get());
            if (!owner || !topPage(owner)) return false;
            clearSelection();
            text_ = range;
            showPageOf(owner);
            return true;
        }
        return false;
    }
    Any getSelection() override {
        if (text_.is()) return Any(text_);
        if (!shapes_.empty()) {
            std::vector<Reference<css::drawing::XShape>> alive;
            for (auto& s : shapes_)
                if (ShapeNode* n = shapeNodeOf(core(), s.get()); n && (n->page || n->group)) alive.push_back(s);
            if (!alive.empty()) return Any(Reference<css::drawing::XShapes>(new ShapeCollectionImpl(std::move(alive))));
            return Any();
        }
        if (!pages_.empty()) {
            std::vector<Reference<XInterface>> alive;
            for (auto& p : pages_)
                if (pageNodeOf(core(), p.get())) alive.emplace_back(p);
            if (!alive.empty()) return Any(Sequence<Reference<XInterface>>(alive));
        }
        return Any();
    }

private:
    DrawCore& core() const { return *model_->core(); }
    void clearSelection() {
        text_.clear();
        shapes_.clear();
        pages_.clear();
    }
    static PageNode* topPage(ShapeNode* shape) {
        while (shape->group) shape = shape->group;
        return shape->page;
    }
    void showPageOf(ShapeNode* shape) { current_ = pageObject(model_->core(), topPage(shape)); }

    // All pages of this document, or all shapes on its pages; anything else is refused.
    bool selectAll(const Sequence<Reference<XInterface>>& objects) {
        if (objects.getLength() == 0) {
            clearSelection();
            return true;
        }
        std::vector<ShapeNode*> shapes;
        std::vector<Reference<css::drawing::XDrawPage>> pages;
        for (const Reference<XInterface>& o : objects) {
            if (ShapeNode* s = shapeNodeOf(core(), o.get())) shapes.push_back(s);
            else if (pageNodeOf(core(), o.get())) pages.emplace_back(o, ::zel::uno::UNO_QUERY);
            else return false;
        }
        if (!shapes.empty() && !pages.empty()) return false;
        if (!shapes.empty()) return selectShapes(shapes);
        clearSelection();
        pages_ = std::move(pages);
        return true;
    }
    bool selectShapes(const std::vector<ShapeNode*>& shapes) {
        for (ShapeNode* s : shapes)
            if (!topPage(s)) return false;
        clearSelection();
        for (ShapeNode* s : shapes) shapes_.push_back(shapeObject(model_->core(), s));
        showPageOf(shapes.front());
        return true;
    }

    Reference<DrawDocumentImpl> model_;
    css::frame::XFrame* frame_ = nullptr;  // the frame that shows this view; it outlives the attachment
    Reference<css::drawing::XDrawPage> current_;
    Reference<css::text::XTextRange> text_;
    std::vector<Reference<css::drawing::XShape>> shapes_;
    std::vector<Reference<css::drawing::XDrawPage>> pages_;
};

} // namespace

Reference<css::frame::XModel> createDrawDocument(bool presentation, sal_Int32 slides, const OUString& url) {
    if (slides < 0) throw IllegalArgumentException(u"createDrawDocument: expected a non-negative number of slides");
    return new DrawDocumentImpl(presentation, slides, url);
}

Reference<css::frame::XController> createDrawController(const Reference<css::frame::XModel>& model) {
    auto* doc = dynamic_cast<DrawDocumentImpl*>(model.get());
    if (!doc) throw IllegalArgumentException(u"createDrawController: the model is not a drawing document of this host");
    return new DrawControllerImpl(doc);
}

} // namespace officehost::draw
