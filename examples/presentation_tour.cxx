// corvane-presentation-tour: starts the host stand-in, opens a presentation,
// gets the scripting factory from libcorvane.so the way the host's service
// manager does, lists the slides and their shapes (kind, geometry in points,
// text), appends a styled paragraph, replaces a word, inserts a text box, fills
// a placeholder, skips a slide, colours a background and prints what the view
// has selected.
//
//   build/dev/program/corvane-presentation-tour

#include <corvane/XFactory.hxx>

#include <com/qam/vexo/drawing/drawing.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>
#include <com/qam/vexo/presentation/presentation.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <comphelper/processfactory.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>

#include <iostream>
#include <string>

namespace {

namespace css = ::com::qam::vexo;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY_THROW;
using namespace corvane;

const char* selectionName(SelectionType type) {
    switch (type) {
    case SelectionType::UNSUPPORTED: return "UNSUPPORTED";
    case SelectionType::NONE: return "NONE";
    case SelectionType::TEXT: return "TEXT";
    case SelectionType::TABLE_CELL: return "TABLE_CELL";
    case SelectionType::PAGE: return "PAGE";
    case SelectionType::PAGE_ELEMENT: return "PAGE_ELEMENT";
    case SelectionType::CURRENT_PAGE: return "CURRENT_PAGE";
    }
    return "?";
}

const char* kindName(PageElementType type) {
    switch (type) {
    case PageElementType::UNSUPPORTED: return "UNSUPPORTED";
    case PageElementType::SHAPE: return "SHAPE";
    case PageElementType::IMAGE: return "IMAGE";
    case PageElementType::VIDEO: return "VIDEO";
    case PageElementType::TABLE: return "TABLE";
    case PageElementType::GROUP: return "GROUP";
    case PageElementType::LINE: return "LINE";
    case PageElementType::WORD_ART: return "WORD_ART";
    }
    return "?";
}

// Line feeds shown as "\n", so that a shape's text stays on one line.
std::string oneLine(const OUString& text) {
    std::string out;
    for (char c : std::string(text.toUtf8().getStr())) out += c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

// A small deck, built through the host's own interfaces as a user's edits would.
void buildDeck() {
    Reference<css::frame::XModel> model =
        officehost::openPresentationDocument({OUString(u"file:///decks/Team%20Update.odp"), 2});
    Reference<css::lang::XMultiServiceFactory> factory(model, UNO_QUERY_THROW);
    Reference<css::drawing::XDrawPages> slides =
        Reference<css::drawing::XDrawPagesSupplier>(model, UNO_QUERY_THROW)->getDrawPages();
    auto add = [&](sal_Int32 slide, const char16_t* type, css::awt::Point at, css::awt::Size size, const char16_t* text) {
        Reference<css::drawing::XShape> shape(factory->createInstance(OUString(type)), UNO_QUERY_THROW);
        Reference<css::drawing::XShapes>(slides->getByIndex(slide), UNO_QUERY_THROW)->add(shape);
        shape->setPosition(at);
        shape->setSize(size);
        if (*text) Reference<css::text::XText>(shape, UNO_QUERY_THROW)->setString(OUString(text));
    };
    add(0, u"com.qam.vexo.presentation.TitleTextShape", {1400, 600}, {25200, 2600}, u"Team update");
    add(0, u"com.qam.vexo.presentation.SubtitleShape", {1400, 3800}, {25200, 2000}, u"Spring planning");
    add(1, u"com.qam.vexo.presentation.TitleTextShape", {1400, 600}, {25200, 2600}, u"Plan");
    add(1, u"com.qam.vexo.presentation.OutlinerShape", {1400, 3700}, {25200, 9900},
        u"Ship the draft plan\nReview the draft with the team");
    add(1, u"com.qam.vexo.drawing.GraphicObjectShape", {20000, 9000}, {5000, 4000}, u"");
}

void list(const Reference<XPresentation>& presentation) {
    auto slides = presentation->getSlides();
    for (sal_Int32 i = 0; i < slides.getLength(); ++i) {
        std::cout << "slide " << i << "\n";
        for (const Reference<XPageElement>& element : slides[i]->getPageElements()) {
            const PageElementType kind = element->getPageElementType();
            std::cout << "  " << kindName(kind) << " at (" << element->getLeft() << ", " << element->getTop()
                      << ") size " << element->getWidth() << " x " << element->getHeight();
            if (kind == PageElementType::SHAPE) {
                Reference<XShape> shape = element->asShape();
                std::cout << " \"" << oneLine(shape->getText()->asString()) << "\"";
            }
            std::cout << "\n";
        }
    }
}

int run() {
    buildDeck();

    OString error;
    cppu::ComponentConstructorFunction entry =
        cppu::loadComponentConstructor("libcorvane.so", "corvane_Tarn_get_implementation", &error);
    if (!entry) {
        std::cerr << "cannot load libcorvane.so: " << error.getStr() << "\n";
        return 1;
    }
    Reference<::zel::uno::XInterface> service(entry(comphelper::getProcessComponentContext().get(), {}),
                                              ::zel::uno::SAL_NO_ACQUIRE);
    Reference<XFactory> factory(service, UNO_QUERY_THROW);

    Reference<XPresentation> presentation = factory->getActivePresentation();
    std::cout << "presentation \"" << presentation->getName() << "\", " << presentation->getPageWidth() << " x "
              << presentation->getPageHeight() << " points\n";
    list(presentation);

    // A new paragraph on the outline of slide 1, bold and orange, one level in.
    Reference<XShape> outline = presentation->getSlides()[1]->getShapes()[1];
    Reference<XTextParagraph> added = outline->getText()->appendParagraph(u"Celebrate the draft");
    Reference<XTextRange> range = added->getRange().Value;
    range->setBulletLevel(1);
    range->getTextStyle().Value->setBold(true)->setForegroundColor(::zel::uno::Any(OUString(u"#FF8000")));

    const sal_Int32 count = presentation->replaceAllText(u"draft", u"final");
    std::cout << "replaced \"draft\" " << count << " times\n";

    // A text box on the first slide, the subtitle placeholder filled anew, the
    // second slide skipped and given a background, and the view moved to it.
    Reference<XSlide> first = presentation->getSlides()[0];
    first->insertTextBoxAt(u"Draft for review", 36, 360, 288, 36);
    Optional<Reference<XPageElement>> subtitle = first->getPlaceholder(PlaceholderType::SUBTITLE);
    if (subtitle.IsPresent) subtitle.Value->asShape()->getText()->setText(u"Spring planning, week 12");
    Reference<XSlide> second = presentation->getSlides()[1];
    second->setSkipped(true);
    second->setBackgroundColor(u"lavender");
    list(presentation);
    std::cout << "slide 1 skipped: " << (second->isSkipped() ? "yes" : "no") << "\n";

    Reference<XSlideSelection> selection = presentation->getSelection().Value;
    std::cout << "selection: " << selectionName(selection->getSelectionType()) << "\n";
    second->selectAsCurrentPage();
    std::cout << "current page is slide 1: "
              << (selection->getCurrentPage().Value->asSlide()->getuno() == second->getuno() ? "yes" : "no") << "\n";
    return 0;
}

} // namespace

int main() {
    officehost::initProcessContext();
    int status = 1;
    try {
        status = run();
    } catch (const ::zel::uno::Exception& e) {
        std::cerr << "corvane-presentation-tour: " << e.Message << "\n";
    }
    officehost::shutdownProcessContext();
    return status;
}
