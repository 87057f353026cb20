// The presentation and drawing wrappers, and the functions that the units of
// the presentation model share.  Neither wrapper caches anything: every call
// asks the host afresh and returns new page objects.

#include "shared.hxx"

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/document/document.hxx>
#include <com/qam/vexo/presentation/presentation.hxx>
#include <com/qam/vexo/util/replace.hxx>
#include <cppu/implbase.hxx>
#include <rtl/uri.hxx>

namespace corvane::presentation {

using ::zel::uno::Any;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

void notImplemented(const char16_t* operation) {
    throw RuntimeException(OUString(operation) + u": not implemented");
}

void emptySearchText() { throw RuntimeException(u"replaceAllText: expected a non-empty search text"); }

Reference<drawing::XDrawPages> masterPages(const Model& model) {
    return Reference<drawing::XMasterPagesSupplier>(model, UNO_QUERY_THROW)->getMasterPages();
}

std::vector<Page> pageList(const Reference<drawing::XDrawPages>& pages) {
    std::vector<Page> list;
    const sal_Int32 count = pages->getCount();
    for (sal_Int32 i = 0; i < count; ++i) {
        Page page(pages->getByIndex(i), UNO_QUERY);
        if (page.is()) list.push_back(page);
    }
    return list;
}

bool containsPage(const Reference<drawing::XDrawPages>& pages, const Page& page) {
    for (const Page& p : pageList(pages))
        if (Reference<XInterface>::sameObject(p.get(), page.get())) return true;
    return false;
}

bool isSlide(const Model& model, const Page& page) {
    Reference<drawing::XDrawPagesSupplier> supplier(model, UNO_QUERY);
    return supplier.is() && containsPage(supplier->getDrawPages(), page);
}

bool isMasterPage(const Model& model, const Page& page) {
    Reference<drawing::XMasterPagesSupplier> supplier(model, UNO_QUERY);
    return supplier.is() && containsPage(supplier->getMasterPages(), page);
}

Page notesPageOf(const Page& page) {
    return Reference<::com::qam::vexo::presentation::XPresentationPage>(page, UNO_QUERY_THROW)->getNotesPage();
}

double pageSizePoints(const Page& page, const OUString& property) {
    Reference<::com::qam::vexo::beans::XPropertySet> props(page, UNO_QUERY_THROW);
    const Any value = props->getPropertyValue(property);
    sal_Int32 length = 0;
    // Integers of up to 32 bits widen; anything else counts as 0.
    value >>= length;
    return static_cast<double>(length) * 0.028346456692913385;
}

sal_Int16 pageAutoLayout(const Page& page) {
    Reference<::com::qam::vexo::beans::XPropertySet> props(page, UNO_QUERY);
    if (!props.is()) return kNoLayout;
    Reference<::com::qam::vexo::beans::XPropertySetInfo> info = props->getPropertySetInfo();
    if (!info.is() || !info->hasPropertyByName(u"Layout")) return kNoLayout;
    const Any value = props->getPropertyValue(u"Layout");
    sal_Int16 code = kNoLayout;
    // A 16-bit value, or an 8-bit one widened; an unsigned 16-bit value is not one.
    if (value.getValueTypeClass() == ::zel::uno::TypeClass_SHORT || value.getValueTypeClass() == ::zel::uno::TypeClass_BYTE)
        value >>= code;
    return code;
}

sal_Int32 replaceAllOnPage(const Page& page, const OUString& find, const OUString& replacement, bool matchCase) {
    if (find.isEmpty()) emptySearchText();
    Reference<::com::qam::vexo::util::XReplaceable> replaceable(page, UNO_QUERY_THROW);
    Reference<::com::qam::vexo::util::XReplaceDescriptor> descriptor = replaceable->createReplaceDescriptor();
    descriptor->setSearchString(find);
    descriptor->setReplaceString(replacement);
    descriptor->setPropertyValue(u"SearchCaseSensitive", Any(matchCase));
    return replaceable->replaceAll(Reference<::com::qam::vexo::util::XSearchDescriptor>(descriptor, UNO_QUERY_THROW));
}

namespace {

class PresentationImpl : public cppu::WeakImplHelper<XPresentation> {
public:
    explicit PresentationImpl(Model model) : model_(std::move(model)) {}

    Reference<XInterface> getuno() override { return Reference<XInterface>(model_); }

    Reference<XSlide> appendSlide() override { return insertSlideWithLayout(drawPages()->getCount(), kNoLayout); }
    Reference<XSlide> appendSlideFrom(const Any& layout) override {
        // The layout is examined before the index; counting the slides reads nothing else.
        const sal_Int16 code = layoutCode(layout);
        return insertSlideWithLayout(drawPages()->getCount(), code);
    }
    void appendSlideLinked(const Reference<XSlide>&, SlideLinkingMode) override {
        throw RuntimeException(u"appendSlide with a slide linking mode: not implemented");
    }

    ::zel::uno::Sequence<Reference<XLayout>> getLayouts() override {
        std::vector<Reference<XLayout>> all;
        for (const Page& p : pageList(masterPages(model_))) all.push_back(makeLayout(model_, p));
        return ::zel::uno::Sequence<Reference<XLayout>>(all);
    }
    ::zel::uno::Sequence<Reference<XMaster>> getMasters() override {
        std::vector<Reference<XMaster>> all;
        for (const Page& p : pageList(masterPages(model_))) all.push_back(makeMaster(model_, p));
        return ::zel::uno::Sequence<Reference<XMaster>>(all);
    }

    OUString getName() override {
        Reference<::com::qam::vexo::document::XDocumentPropertiesSupplier> supplier(model_, UNO_QUERY);
        if (supplier.is()) {
            OUString title = supplier->getDocumentProperties()->getTitle();
            if (!title.isEmpty()) return title;
        }
        const OUString url = model_->getURL();
        if (url.isEmpty()) return u"Untitled presentation";
        OUString name = url.copy(url.lastIndexOf(u'/') + 1);
        // A name that begins with its only dot keeps it.
        if (const sal_Int32 dot = name.lastIndexOf(u'.'); dot > 0) name = name.copy(0, dot);
        return ::rtl::Uri::decode(name, rtl_UriDecodeWithCharset, RTL_TEXTENCODING_UTF8);
    }

    Reference<XNotesMaster> getNotesMaster() override {
        Page first(masterPages(model_)->getByIndex(0), UNO_QUERY);
        Page notes = notesPageOf(first);
        if (!notes.is()) throw RuntimeException(u"getNotesMaster: the first master page has no notes page");
        return makeNotesMaster(model_, notes);
    }
    double getNotesPageHeight() override { return pageSizePoints(notesPageOf(firstSlide()), u"Height"); }
    double getNotesPageWidth() override { return pageSizePoints(notesPageOf(firstSlide()), u"Width"); }
    void getPageElementById(const OUString&) override { notImplemented(u"getPageElementById"); }
    double getPageHeight() override { return pageSizePoints(firstSlide(), u"Height"); }
    double getPageWidth() override { return pageSizePoints(firstSlide(), u"Width"); }
    Optional<Reference<XSlideSelection>> getSelection() override { return {true, makeSlideSelection(model_)}; }
    void getSlideById(const OUString&) override { notImplemented(u"getSlideById"); }

    ::zel::uno::Sequence<Reference<XSlide>> getSlides() override {
        std::vector<Reference<XSlide>> all;
        for (const Page& p : pageList(drawPages())) all.push_back(makeSlide(model_, p));
        return ::zel::uno::Sequence<Reference<XSlide>>(all);
    }

    Reference<XSlide> insertSlide(sal_Int32 index) override { return insertSlideWithLayout(index, kNoLayout); }
    Reference<XSlide> insertSlideFrom(sal_Int32 index, const Any& layout) override {
        return insertSlideWithLayout(index, layoutCode(layout));
    }
    void insertSlideLinked(sal_Int32, const Reference<XSlide>&, SlideLinkingMode) override {
        notImplemented(u"insertSlideLinked");
    }

    sal_Int32 replaceAllText(const OUString& find, const OUString& replacement) override {
        return replaceAllTextMatchCase(find, replacement, false);
    }
    sal_Int32 replaceAllTextMatchCase(const OUString& find, const OUString& replacement, bool matchCase) override {
        // Checked once here: a presentation without pages must refuse it too.
        if (find.isEmpty()) emptySearchText();
        sal_Int32 total = 0;
        for (const Page& slide : pageList(drawPages())) {
            total += replaceAllOnPage(slide, find, replacement, matchCase);
            total += replaceAllOnPage(notesPageOf(slide), find, replacement, matchCase);
        }
        for (const Page& master : pageList(masterPages(model_)))
            total += replaceAllOnPage(master, find, replacement, matchCase);
        return total;
    }

private:
    Reference<drawing::XDrawPages> drawPages() {
        return Reference<drawing::XDrawPagesSupplier>(model_, UNO_QUERY_THROW)->getDrawPages();
    }
    Page firstSlide() { return Page(drawPages()->getByIndex(0), UNO_QUERY); }

    // The host layout code of a predefined layout.
    static sal_Int16 layoutCode(const Any& layout) {
        if (!(layout.getValueType() == cppu::UnoType<PredefinedLayout>::get()))
            throw RuntimeException(u"insertSlide with a layout argument that is not a predefined layout: not implemented");
        switch (layout.get<PredefinedLayout>()) {
        case PredefinedLayout::BLANK: return kNoLayout;
        case PredefinedLayout::TITLE: return 0;
        case PredefinedLayout::TITLE_AND_BODY: return 1;
        case PredefinedLayout::TITLE_AND_TWO_COLUMNS: return 3;
        case PredefinedLayout::TITLE_ONLY: return 19;
        case PredefinedLayout::UNSUPPORTED:
        case PredefinedLayout::CAPTION_ONLY:
        case PredefinedLayout::SECTION_HEADER:
        case PredefinedLayout::SECTION_TITLE_AND_DESCRIPTION:
        case PredefinedLayout::ONE_COLUMN_TEXT:
        case PredefinedLayout::MAIN_POINT:
        case PredefinedLayout::BIG_NUMBER: break;
        }
        throw RuntimeException(u"appendSlide with this predefined layout: not implemented");
    }

    Reference<XSlide> insertSlideWithLayout(sal_Int32 index, sal_Int16 code) {
        Reference<drawing::XDrawPages> pages = drawPages();
        const sal_Int32 count = pages->getCount();
        if (index < 0 || index > count)
            throw RuntimeException(u"insertSlide: expected an index between 0 and " + OUString::number(count) +
                                   u", got " + OUString::number(index));
        if (index == 0) throw RuntimeException(u"insertSlide at index 0: not implemented");
        Page page = pages->insertNewByIndex(index - 1);
        if (code != kNoLayout)
            Reference<::com::qam::vexo::beans::XPropertySet>(page, UNO_QUERY_THROW)
                ->setPropertyValue(u"Layout", Any(code));
        return makeSlide(model_, page);
    }

    const Model model_;
};

class DrawingImpl : public cppu::WeakImplHelper<XDrawing> {
public:
    explicit DrawingImpl(Model model) : model_(std::move(model)) {}
    Reference<XInterface> getuno() override { return Reference<XInterface>(model_); }

private:
    const Model model_;
};

} // namespace
} // namespace corvane::presentation

namespace corvane::detail {

::zel::uno::Reference<XPresentation> createPresentation(const presentation::Model& model) {
    return new presentation::PresentationImpl(model);
}

::zel::uno::Reference<XDrawing> createDrawing(const presentation::Model& model) {
    return new presentation::DrawingImpl(model);
}

} // namespace corvane::detail
