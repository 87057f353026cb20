// corvane-text-selection: starts the host stand-in, opens a text document with
// a few paragraphs and a footnote, gets the scripting factory from
// libcorvane.so the way the host's service manager does, places the cursor,
// inserts the image file named on the command line there, selects a range
// across paragraphs and prints its range elements and the footnotes.
//
//   build/dev/program/corvane-text-selection picture.png

#include <corvane/XFactory.hxx>

#include <com/qam/vexo/text/text.hxx>
#include <comphelper/processfactory.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY_THROW;
using namespace corvane;
namespace hosttext = ::com::qam::vexo::text;

const char* typeName(ElementType type) {
    switch (type) {
    case ElementType::PARAGRAPH: return "PARAGRAPH";
    case ElementType::LIST_ITEM: return "LIST_ITEM";
    case ElementType::TEXT: return "TEXT";
    case ElementType::INLINE_IMAGE: return "INLINE_IMAGE";
    default: return "OTHER";
    }
}

Reference<XFactory> loadFactory() {
    OString error;
    cppu::ComponentConstructorFunction entry =
        cppu::loadComponentConstructor("libcorvane.so", "corvane_Tarn_get_implementation", &error);
    if (!entry) throw ::zel::uno::RuntimeException(u"cannot load libcorvane.so: " + OStringToOUString(error, RTL_TEXTENCODING_UTF8));
    Reference<::zel::uno::XInterface> service(entry(comphelper::getProcessComponentContext().get(), {}),
                                              ::zel::uno::SAL_NO_ACQUIRE);
    return Reference<XFactory>(service, UNO_QUERY_THROW);
}

// A footnote at the end of the body, put there through the host's own
// interfaces, as a user's edit would.
void addFootnote(const Reference<::com::qam::vexo::frame::XModel>& model, const OUString& contents) {
    Reference<hosttext::XTextContent> note(
        Reference<::com::qam::vexo::lang::XMultiServiceFactory>(model, UNO_QUERY_THROW)
            ->createInstance(u"com.qam.vexo.text.Footnote"),
        UNO_QUERY_THROW);
    Reference<hosttext::XText> body = Reference<hosttext::XTextDocument>(model, UNO_QUERY_THROW)->getText();
    body->insertTextContent(body->getEnd(), note, false);
    Reference<hosttext::XText>(note, UNO_QUERY_THROW)->setString(contents);
}

int run(const char* imagePath) {
    std::ifstream in(imagePath, std::ios::binary);
    if (!in) {
        std::cerr << "corvane-text-selection: cannot read " << imagePath << "\n";
        return 1;
    }
    const std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    Reference<::com::qam::vexo::frame::XModel> model = officehost::openTextDocument();
    Reference<XFactory> factory = loadFactory();
    Reference<XDocument> document = factory->getActiveDocument();
    Reference<XBody> body = document->getBody();
    body->getChild(0)->asText()->setText(u"Travel notes");
    body->appendParagraph(u"We took the night train to the coast.");
    addFootnote(model, u"It left at 22:40 and was on time.");
    body->appendParagraph(u"The harbour at dawn:");
    body->appendParagraph(u"Back home on Sunday.");

    // The cursor goes to the end of "The harbour at dawn:", and the image there.
    Reference<XText> harbour = body->getChild(2)->asText();
    document->setCursor(document->newPosition(harbour, harbour->getText().getLength()));
    Reference<XCursor> cursor = document->getCursor().Value;
    std::cout << "cursor in \"" << cursor->getSurroundingText()->getText() << "\" at offset " << cursor->getOffset()
              << "\n";
    const ::zel::uno::Sequence<signed char> bytes(reinterpret_cast<const signed char*>(file.data()),
                                                  static_cast<sal_Int32>(file.size()));
    Reference<XInlineImage> image = cursor->insertInlineImage(factory->newBlobBytes(bytes)).Value;
    image->setAltTitle(u"the harbour");
    std::cout << "inserted image \"" << image->getText() << "\", " << image->getWidth() << " x " << image->getHeight()
              << " pixels; the paragraph has " << body->getChild(2)->asParagraph()->getNumChildren() << " children\n";

    // From "night train" to the end of the harbour paragraph, made the document's selection.
    Reference<XSelection> built =
        document->newRange()->addElementRange(body->getChild(1)->asText(), 12, 22)->addElement(body->getChild(2))->build();
    document->setSelection(built);
    Reference<XSelection> selection = document->getSelection().Value;
    std::cout << "selection \"" << selection->getText() << "\"\n";
    for (const Reference<XRangeElement>& element : selection->getRangeElements()) {
        Reference<XElement> target = element->getElement();
        std::cout << "  " << typeName(target->getType()) << " \"" << target->getText() << "\" "
                  << (element->isPartial() ? "partial" : "whole") << " " << element->getStartOffset() << ".."
                  << element->getEndOffsetInclusive() << "\n";
    }

    const auto footnotes = document->getFootnotes();
    std::cout << footnotes.getLength() << " footnote(s)\n";
    for (sal_Int32 i = 0; i < footnotes.getLength(); ++i)
        std::cout << "  " << i + 1 << ": \"" << footnotes[i]->getText() << "\"\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: corvane-text-selection IMAGE-FILE\n";
        return 2;
    }
    officehost::initProcessContext();
    int status = 1;
    try {
        status = run(argv[1]);
    } catch (const ::zel::uno::Exception& e) {
        std::cerr << "corvane-text-selection: " << e.Message << "\n";
    }
    officehost::shutdownProcessContext();
    return status;
}
