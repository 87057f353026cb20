#include <testsupport/draw/PresentationBuilder.hxx>

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/presentation/presentation.hxx>
#include <rtl/ustrbuf.hxx>

namespace testsupport::draw {

namespace css = ::com::qam::vexo;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

PresentationBuilder::PresentationBuilder(const officehost::DrawDocumentOptions& options)
    : PresentationBuilder(officehost::openPresentationDocument(options)) {}

PresentationBuilder::PresentationBuilder(const Reference<css::frame::XModel>& model) : model_(model) {
    if (!model_.is()) throw RuntimeException(u"PresentationBuilder: the model must not be empty");
    Reference<css::drawing::XDrawPages> pages = slides();
    firstIsFresh_ = pages->getCount() == 1 && Reference<css::drawing::XShapes>(slideAt(0), UNO_QUERY_THROW)->getCount() == 0;
}

PresentationBuilder PresentationBuilder::sample() {
    PresentationBuilder deck;
    deck.slide(0).title(u"Quarterly results").notes(u"Welcome everyone");
    deck.slide(1).title(u"Agenda").outline({u"Revenue grew", u"Costs fell"}).notes(u"Two points only");
    deck.master(u"Second");
    return deck;
}

Reference<css::drawing::XDrawPages> PresentationBuilder::slides() const {
    return Reference<css::drawing::XDrawPagesSupplier>(model_, UNO_QUERY_THROW)->getDrawPages();
}

Reference<css::drawing::XDrawPages> PresentationBuilder::masters() const {
    return Reference<css::drawing::XMasterPagesSupplier>(model_, UNO_QUERY_THROW)->getMasterPages();
}

Reference<css::drawing::XDrawPage> PresentationBuilder::slideAt(sal_Int32 index) const {
    return Reference<css::drawing::XDrawPage>(slides()->getByIndex(index), UNO_QUERY_THROW);
}

Reference<css::drawing::XDrawPage> PresentationBuilder::masterAt(sal_Int32 index) const {
    return Reference<css::drawing::XDrawPage>(masters()->getByIndex(index), UNO_QUERY_THROW);
}

Reference<css::drawing::XDrawPage> PresentationBuilder::lastSlide() const {
    Reference<css::drawing::XDrawPages> pages = slides();
    if (pages->getCount() == 0) throw RuntimeException(u"PresentationBuilder: the document has no slide");
    return slideAt(pages->getCount() - 1);
}

PresentationBuilder& PresentationBuilder::slide(sal_Int16 layout) {
    Reference<css::drawing::XDrawPage> page;
    if (firstIsFresh_) {
        page = slideAt(0);
        firstIsFresh_ = false;
    } else {
        Reference<css::drawing::XDrawPages> pages = slides();
        page = pages->insertNewByIndex(pages->getCount() == 0 ? 0 : pages->getCount() - 1);
    }
    Reference<css::beans::XPropertySet> props(page, UNO_QUERY_THROW);
    if (props->getPropertySetInfo()->hasPropertyByName(u"Layout")) props->setPropertyValue(u"Layout", Any(layout));
    return *this;
}

PresentationBuilder& PresentationBuilder::shape(const OUString& type, const OUString& text,
                                                const css::awt::Point& position, const css::awt::Size& size) {
    firstIsFresh_ = false;
    Reference<css::drawing::XShape> s(
        Reference<css::lang::XMultiServiceFactory>(model_, UNO_QUERY_THROW)->createInstance(type), UNO_QUERY);
    if (!s.is()) throw RuntimeException(u"PresentationBuilder: the document makes no shape " + type);
    Reference<css::drawing::XShapes>(lastSlide(), UNO_QUERY_THROW)->add(s);
    s->setPosition(position);
    s->setSize(size);
    if (!text.isEmpty()) Reference<css::text::XText>(s, UNO_QUERY_THROW)->setString(text);
    lastShape_ = s;
    return *this;
}

PresentationBuilder& PresentationBuilder::title(const OUString& text) {
    return shape(u"com.qam.vexo.presentation.TitleTextShape", text, {1400, 600}, {25200, 2600});
}

PresentationBuilder& PresentationBuilder::outline(std::initializer_list<OUString> paragraphs) {
    OUStringBuffer all;
    for (const OUString& p : paragraphs) {
        if (!all.isEmpty()) all.append(u'\n');
        all.append(p);
    }
    return shape(u"com.qam.vexo.presentation.OutlinerShape", all.makeStringAndClear(), {1400, 3700}, {25200, 9900});
}

PresentationBuilder& PresentationBuilder::textBox(const OUString& text) {
    return shape(u"com.qam.vexo.drawing.TextShape", text);
}

PresentationBuilder& PresentationBuilder::notes(const OUString& text) {
    Reference<css::drawing::XShape> s = firstShapeOf(notesPageOf(lastSlide()), u"com.qam.vexo.presentation.NotesShape");
    Reference<css::text::XText>(s, UNO_QUERY_THROW)->setString(text);
    return *this;
}

PresentationBuilder& PresentationBuilder::master(const OUString& name) {
    Reference<css::drawing::XDrawPages> pages = masters();
    Reference<css::drawing::XDrawPage> page = pages->insertNewByIndex(pages->getCount() - 1);
    Reference<css::container::XNamed>(page, UNO_QUERY_THROW)->setName(name);
    return *this;
}

PresentationBuilder& PresentationBuilder::slideProperty(const OUString& name, const Any& value) {
    Reference<css::beans::XPropertySet>(lastSlide(), UNO_QUERY_THROW)->setPropertyValue(name, value);
    return *this;
}

std::vector<Reference<css::drawing::XShape>> shapesOf(const Reference<css::drawing::XShapes>& page) {
    std::vector<Reference<css::drawing::XShape>> all;
    for (sal_Int32 i = 0; i < page->getCount(); ++i)
        all.emplace_back(page->getByIndex(i), UNO_QUERY_THROW);
    return all;
}

Reference<css::drawing::XDrawPage> notesPageOf(const Reference<css::drawing::XDrawPage>& page) {
    return Reference<css::presentation::XPresentationPage>(page, UNO_QUERY_THROW)->getNotesPage();
}

Reference<css::drawing::XShape> firstShapeOf(const Reference<css::drawing::XShapes>& page, const OUString& type) {
    for (auto& s : shapesOf(page))
        if (s->getShapeType() == type) return s;
    throw RuntimeException(u"firstShapeOf: the page has no shape " + type);
}

OUString textOf(const Reference<css::drawing::XShape>& shape) {
    return Reference<css::text::XText>(shape, UNO_QUERY_THROW)->getString();
}

} // namespace testsupport::draw
