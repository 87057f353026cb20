// The page objects of the presentation model: slides, pages of unsettled kind,
// masters, layouts, notes pages and the notes master.  Every one holds the host
// model and one host draw page and nothing else; shapes are listed afresh on
// every call.  PageBaseImpl<T> gives every page its operations, and
// EditablePageImpl<T> those of the pages that scripts may edit.

#include "shared.hxx"

#include <units.hxx>

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>
#include <cppu/implbase.hxx>

namespace corvane::presentation {
namespace {

using ::zel::uno::Any;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

template <class T>
Sequence<Reference<T>> sequenceOf(const std::vector<Reference<T>>& list) {
    return Sequence<Reference<T>>(list);
}

template <class T>
class PageBaseImpl : public cppu::WeakImplHelper<T> {
public:
    PageBaseImpl(Model model, Page page) : model_(std::move(model)), page_(std::move(page)) {}

    Reference<XInterface> getuno() override { return Reference<XInterface>(page_); }

    void getGroups() override { notImplemented(u"getGroups"); }
    void getImages() override { notImplemented(u"getImages"); }
    void getLines() override { notImplemented(u"getLines"); }
    void getObjectId() override { notImplemented(u"getObjectId"); }
    void getPageElementById(const OUString&) override { notImplemented(u"getPageElementById"); }

    Sequence<Reference<XPageElement>> getPageElements() override {
        std::vector<Reference<XPageElement>> all;
        for (const HostShape& s : shapes()) all.push_back(makePageElement(page_, s));
        return sequenceOf(all);
    }
    Optional<Reference<XPageElement>> getPlaceholder(PlaceholderType type) override {
        return getPlaceholderByIndex(type, 0);
    }
    Optional<Reference<XPageElement>> getPlaceholderByIndex(PlaceholderType type, sal_Int32 index) override {
        if (index < 0)
            throw RuntimeException(u"getPlaceholder: expected a non-negative index, got " + OUString::number(index));
        const sal_Int16 layout = pageAutoLayout(page_);
        sal_Int32 seen = 0;
        for (const HostShape& s : shapes()) {
            if (placeholderType(s, layout) != type) continue;
            if (seen++ == index) return {true, makePageElement(page_, s)};
        }
        return {};
    }
    Sequence<Reference<XPageElement>> getPlaceholders() override {
        const sal_Int16 layout = pageAutoLayout(page_);
        std::vector<Reference<XPageElement>> all;
        for (const HostShape& s : shapes())
            if (placeholderType(s, layout) != PlaceholderType::NONE) all.push_back(makePageElement(page_, s));
        return sequenceOf(all);
    }
    Sequence<Reference<XShape>> getShapes() override {
        std::vector<Reference<XShape>> all;
        for (const HostShape& s : shapes())
            if (pageElementType(s) == PageElementType::SHAPE) all.push_back(makeShape(page_, s));
        return sequenceOf(all);
    }
    void getTables() override { notImplemented(u"getTables"); }
    void getVideos() override { notImplemented(u"getVideos"); }
    void getWordArts() override { notImplemented(u"getWordArts"); }

protected:
    std::vector<HostShape> shapes() { return shapeList(Reference<drawing::XShapes>(page_, UNO_QUERY_THROW)); }

    const Model model_;
    const Page page_;
};

template <class T>
class EditablePageImpl : public PageBaseImpl<T> {
public:
    using PageBaseImpl<T>::PageBaseImpl;

    void getBackground() override { notImplemented(u"getBackground"); }
    void getColorScheme() override { notImplemented(u"getColorScheme"); }
    PageType getPageType() override {
        if (isSlide(this->model_, this->page_)) return PageType::SLIDE;
        if (isMasterPage(this->model_, this->page_)) return PageType::MASTER;
        return PageType::UNSUPPORTED;
    }
    void group(const Sequence<Reference<XPageElementBase>>&) override { notImplemented(u"group"); }
    void insertGroup(const Reference<XGroup>&) override { notImplemented(u"insertGroup"); }
    void insertImage(const Any&) override { notImplemented(u"insertImage"); }
    void insertImageAt(const Any&, double, double, double, double) override { notImplemented(u"insertImageAt"); }
    void insertLine(const Reference<XLine>&) override { notImplemented(u"insertLine"); }
    void insertLineBetween(LineCategory, const Reference<XConnectionSite>&, const Reference<XConnectionSite>&) override {
        notImplemented(u"insertLineBetween");
    }
    void insertLineAt(LineCategory, double, double, double, double) override { notImplemented(u"insertLineAt"); }
    void insertPageElement(const Reference<XPageElement>&) override { notImplemented(u"insertPageElement"); }
    void insertShape(const Any&) override { notImplemented(u"insertShape"); }
    void insertShapeAt(ShapeType, double, double, double, double) override { notImplemented(u"insertShapeAt"); }
    void insertTable(sal_Int32, sal_Int32) override { notImplemented(u"insertTable"); }
    void insertTableAt(sal_Int32, sal_Int32, double, double, double, double) override { notImplemented(u"insertTableAt"); }
    void insertTableCopy(const Reference<XSlideTable>&) override { notImplemented(u"insertTableCopy"); }

    // 8333 hundredths of a millimetre, a square at the page's top-left corner.
    Reference<XShape> insertTextBox(const OUString& text) override {
        return insertTextBoxAt(text, 0, 0, 236.2204724409449, 236.2204724409449);
    }
    Reference<XShape> insertTextBoxAt(const OUString& text, double left, double top, double width,
                                      double height) override {
        const sal_Int32 y = detail::pointsToHundredthMm(top);
        const sal_Int32 x = detail::pointsToHundredthMm(left);
        const sal_Int32 h = detail::extentToHundredthMm(height);
        const sal_Int32 w = detail::extentToHundredthMm(width);
        Reference<::com::qam::vexo::lang::XMultiServiceFactory> factory(this->model_, UNO_QUERY);
        if (!factory.is()) throw RuntimeException(u"insertTextBox: no shape factory");
        HostShape shape(factory->createInstance(u"com.qam.vexo.drawing.TextShape"), UNO_QUERY_THROW);
        Reference<drawing::XShapes> shapes(this->page_, UNO_QUERY_THROW);
        shapes->add(shape);
        try {
            Reference<::com::qam::vexo::beans::XPropertySet>(shape, UNO_QUERY_THROW)
                ->setPropertyValue(u"TextAutoGrowHeight", Any(false));
            Reference<hosttext::XText>(shape, UNO_QUERY_THROW)->setString(text);
            shape->setPosition({x, y});
            shape->setSize({w, h});
        } catch (...) {
            // A half-made box does not stay on the page: the failure changes nothing.
            shapes->remove(shape);
            throw;
        }
        return makeShape(this->page_, shape);
    }
    void insertWordArt(const Reference<XWordArt>&) override { notImplemented(u"insertWordArt"); }

    sal_Int32 replaceAllText(const OUString& find, const OUString& replacement) override {
        return replaceAllOnPage(this->page_, find, replacement, false);
    }
    sal_Int32 replaceAllTextMatchCase(const OUString& find, const OUString& replacement, bool matchCase) override {
        return replaceAllOnPage(this->page_, find, replacement, matchCase);
    }
    void selectAsCurrentPage() override {
        Reference<::com::qam::vexo::frame::XController> controller = this->model_->getCurrentController();
        Reference<drawing::XDrawView> view(controller, UNO_QUERY);
        if (!view.is()) throw RuntimeException(u"selectAsCurrentPage: the presentation has no drawing view");
        view->setCurrentPage(this->page_);
    }

protected:
    // Masters and layouts: refused while it is the only master or a slide uses it.
    void removeMasterPage() {
        Reference<drawing::XDrawPages> masters = masterPages(this->model_);
        if (masters->getCount() < 2) throw RuntimeException(u"remove: cannot remove the only master page");
        Reference<drawing::XDrawPages> slides =
            Reference<drawing::XDrawPagesSupplier>(this->model_, UNO_QUERY_THROW)->getDrawPages();
        for (const Page& slide : pageList(slides)) {
            Reference<drawing::XMasterPageTarget> target(slide, UNO_QUERY);
            if (target.is() && Reference<XInterface>::sameObject(target->getMasterPage().get(), this->page_.get()))
                throw RuntimeException(u"remove: a slide still uses this master page");
        }
        masters->remove(this->page_);
    }
};

class SlideImpl : public EditablePageImpl<XSlide> {
public:
    using EditablePageImpl::EditablePageImpl;

    void remove() override {
        Reference<drawing::XDrawPages> slides =
            Reference<drawing::XDrawPagesSupplier>(model_, UNO_QUERY_THROW)->getDrawPages();
        if (slides->getCount() <= 1) throw RuntimeException(u"remove: cannot remove the only slide");
        slides->remove(page_);
    }

    Reference<XSlide> duplicate() override {
        Page copy = Reference<drawing::XDrawPageDuplicator>(model_, UNO_QUERY_THROW)->duplicate(page_);
        if (!copy.is()) throw RuntimeException(u"duplicate: the host made no copy of the slide");
        return makeSlide(model_, copy);
    }
    Optional<Reference<XLayout>> getLayout() override {
        Page master = Reference<drawing::XMasterPageTarget>(page_, UNO_QUERY_THROW)->getMasterPage();
        if (!master.is()) return {};
        return {true, makeLayout(model_, master)};
    }
    Reference<XNotesPage> getNotesPage() override {
        Page notes = notesPageOf(page_);
        if (!notes.is()) throw RuntimeException(u"getNotesPage: the slide has no notes page");
        return makeNotesPage(model_, notes);
    }
    SlideLinkingMode getSlideLinkingMode() override {
        OUString url;
        const bool linked = (props()->getPropertyValue(u"BookmarkURL") >>= url) && !url.isEmpty();
        return linked ? SlideLinkingMode::LINKED : SlideLinkingMode::NOT_LINKED;
    }
    bool isSkipped() override {
        const Any visible = props()->getPropertyValue(u"Visible");
        return visible.getValueTypeClass() == ::zel::uno::TypeClass_BOOLEAN && !visible.get<bool>();
    }
    void move(sal_Int32) override { notImplemented(u"move"); }
    Reference<XSlide> setBackgroundColor(const OUString& color) override {
        const sal_uInt32 rgb = detail::parseColor(color);
        Reference<::com::qam::vexo::lang::XMultiServiceFactory> factory(model_, UNO_QUERY);
        if (!factory.is()) throw RuntimeException(u"setBackgroundColor: no background factory");
        Reference<::com::qam::vexo::beans::XPropertySet> background(
            factory->createInstance(u"com.qam.vexo.drawing.Background"), UNO_QUERY_THROW);
        background->setPropertyValue(u"FillStyle", Any(drawing::FillStyle_SOLID));
        background->setPropertyValue(u"FillColor", Any(static_cast<sal_Int32>(rgb)));
        props()->setPropertyValue(u"Background", Any(background));
        return this;
    }
    void setSkipped(bool skipped) override { props()->setPropertyValue(u"Visible", Any(!skipped)); }

private:
    Reference<::com::qam::vexo::beans::XPropertySet> props() {
        return Reference<::com::qam::vexo::beans::XPropertySet>(page_, UNO_QUERY_THROW);
    }
};

class PageImpl : public EditablePageImpl<XPage> {
public:
    using EditablePageImpl::EditablePageImpl;
    void remove() override { notImplemented(u"remove"); }
    Reference<XLayout> asLayout() override {
        if (!isMasterPage(model_, page_)) throw RuntimeException(u"asLayout: the page is not a layout");
        return makeLayout(model_, page_);
    }
    Reference<XMaster> asMaster() override {
        if (!isMasterPage(model_, page_)) throw RuntimeException(u"asMaster: the page is not a master page");
        return makeMaster(model_, page_);
    }
    Reference<XSlide> asSlide() override {
        if (!isSlide(model_, page_)) throw RuntimeException(u"asSlide: the page is not a slide");
        return makeSlide(model_, page_);
    }
};

class MasterImpl : public EditablePageImpl<XMaster> {
public:
    using EditablePageImpl::EditablePageImpl;
    void remove() override { removeMasterPage(); }
    Sequence<Reference<XLayout>> getLayouts() override { return {makeLayout(model_, page_)}; }
};

class LayoutImpl : public EditablePageImpl<XLayout> {
public:
    using EditablePageImpl::EditablePageImpl;
    PageType getPageType() override { return PageType::LAYOUT; }
    void remove() override { removeMasterPage(); }
    OUString getLayoutName() override {
        return Reference<::com::qam::vexo::container::XNamed>(page_, UNO_QUERY_THROW)->getName();
    }
    Reference<XMaster> getMaster() override { return makeMaster(model_, page_); }
};

class NotesPageImpl : public PageBaseImpl<XNotesPage> {
public:
    using PageBaseImpl::PageBaseImpl;
    Reference<XShape> getSpeakerNotesShape() override {
        for (const HostShape& s : shapes())
            if (s->getShapeType() == u"com.qam.vexo.presentation.NotesShape") return makeShape(page_, s);
        throw RuntimeException(u"getSpeakerNotesShape: the notes page has no notes shape");
    }
    sal_Int32 replaceAllText(const OUString& find, const OUString& replacement) override {
        return replaceAllOnPage(page_, find, replacement, false);
    }
    sal_Int32 replaceAllTextMatchCase(const OUString& find, const OUString& replacement, bool matchCase) override {
        return replaceAllOnPage(page_, find, replacement, matchCase);
    }
};

class NotesMasterImpl : public PageBaseImpl<XNotesMaster> {
public:
    using PageBaseImpl::PageBaseImpl;
};

} // namespace

Reference<XSlide> makeSlide(const Model& model, const Page& page) { return new SlideImpl(model, page); }
Reference<XPage> makePage(const Model& model, const Page& page) { return new PageImpl(model, page); }
Reference<XMaster> makeMaster(const Model& model, const Page& page) { return new MasterImpl(model, page); }
Reference<XLayout> makeLayout(const Model& model, const Page& page) { return new LayoutImpl(model, page); }
Reference<XNotesPage> makeNotesPage(const Model& model, const Page& page) { return new NotesPageImpl(model, page); }
Reference<XNotesMaster> makeNotesMaster(const Model& model, const Page& page) {
    return new NotesMasterImpl(model, page);
}

std::vector<HostShape> shapeList(const Reference<drawing::XShapes>& shapes) {
    std::vector<HostShape> list;
    const sal_Int32 count = shapes->getCount();
    for (sal_Int32 i = 0; i < count; ++i) {
        HostShape shape(shapes->getByIndex(i), UNO_QUERY);
        if (shape.is()) list.push_back(shape);
    }
    return list;
}

} // namespace corvane::presentation
