// corvane-text-tree: starts the host stand-in, opens a text document, gets the
// scripting factory from libcorvane.so the way the host's service manager
// does, writes a few paragraphs with attributes and prints the element tree.
//
//   build/dev/program/corvane-text-tree

#include <corvane/XFactory.hxx>

#include <comphelper/processfactory.hxx>
#include <cppu/servicemanager.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>

#include <iostream>
#include <string>

namespace {

using ::zel::uno::Reference;
using namespace corvane;

const char* typeName(ElementType type) {
    switch (type) {
    case ElementType::PARAGRAPH: return "PARAGRAPH";
    case ElementType::LIST_ITEM: return "LIST_ITEM";
    case ElementType::TABLE: return "TABLE";
    case ElementType::TABLE_ROW: return "TABLE_ROW";
    case ElementType::TABLE_CELL: return "TABLE_CELL";
    case ElementType::INLINE_IMAGE: return "INLINE_IMAGE";
    case ElementType::PAGE_BREAK: return "PAGE_BREAK";
    case ElementType::HORIZONTAL_RULE: return "HORIZONTAL_RULE";
    case ElementType::BODY_SECTION: return "BODY_SECTION";
    case ElementType::FOOTNOTE: return "FOOTNOTE";
    case ElementType::FOOTNOTE_SECTION: return "FOOTNOTE_SECTION";
    case ElementType::TEXT: return "TEXT";
    }
    return "?";
}

// The attributes of the run that starts at `offset`, as a short list.
std::string attributes(XText& text, sal_Int32 offset) {
    std::string out;
    auto flag = [&](const Optional<bool>& value, const char* name) {
        if (value.IsPresent && value.Value) out += std::string(out.empty() ? "" : ",") + name;
    };
    flag(text.isBold(offset), "bold");
    flag(text.isItalic(offset), "italic");
    flag(text.isUnderline(offset), "underline");
    if (Optional<OUString> url = text.getLinkUrl(offset); url.IsPresent && !url.Value.isEmpty())
        out += std::string(out.empty() ? "" : ",") + "link=" + url.Value.toUtf8().getStr();
    return out.empty() ? "plain" : out;
}

void print(const Reference<XElement>& element, int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    std::cout << indent << typeName(element->getType());
    if (Reference<XParagraph> paragraph(element, ::zel::uno::UNO_QUERY); paragraph.is()) {
        if (Optional<ParagraphHeading> heading = paragraph->getHeading(); heading.IsPresent)
            std::cout << " heading=" << static_cast<int>(heading.Value);
    }
    std::cout << " \"" << element->getText() << "\"\n";
    if (Reference<XText> text(element, ::zel::uno::UNO_QUERY); text.is() && element->getType() == ElementType::TEXT) {
        const OUString s = text->getText();
        const auto starts = text->getTextAttributeIndices();
        for (sal_Int32 i = 0; i < starts.getLength(); ++i) {
            const sal_Int32 end = i + 1 < starts.getLength() ? starts[i + 1] : s.getLength();
            if (end <= starts[i]) continue;
            std::cout << indent << "  [" << starts[i] << ".." << end - 1 << "] \"" << s.copy(starts[i], end - starts[i])
                      << "\" " << attributes(*text, starts[i]) << "\n";
        }
    }
    Reference<XContainerElement> container(element, ::zel::uno::UNO_QUERY);
    if (!container.is()) return;
    for (sal_Int32 i = 0; i < container->getNumChildren(); ++i) print(container->getChild(i), depth + 1);
}

int run() {
    officehost::openTextDocument();

    OString error;
    cppu::ComponentConstructorFunction entry =
        cppu::loadComponentConstructor("libcorvane.so", "corvane_Tarn_get_implementation", &error);
    if (!entry) {
        std::cerr << "cannot load libcorvane.so: " << error.getStr() << "\n";
        return 1;
    }
    Reference<::zel::uno::XInterface> service(entry(comphelper::getProcessComponentContext().get(), {}),
                                              ::zel::uno::SAL_NO_ACQUIRE);
    Reference<XFactory> factory(service, ::zel::uno::UNO_QUERY_THROW);

    Reference<XBody> body = factory->getActiveDocument()->getBody();
    Reference<XParagraph> title = body->getChild(0)->asParagraph();
    title->asText()->setText(u"Shopping list");
    title->setHeading(ParagraphHeading::TITLE);
    body->appendParagraph(u"Things to buy this week:")->asText()->setBoldRange(0, 5, true);
    body->appendListItem(u"bread");
    body->appendListItem(u"olive oil")->asText()->setItalicRange(0, 4, true);
    body->appendParagraph(u"Prices at example.org, updated daily.")
        ->asText()
        ->setLinkUrlRange(10, 20, u"https://example.org/");

    std::cout << "locale " << factory->getActiveUserLocale() << "\n";
    print(body, 0);
    return 0;
}

} // namespace

int main() {
    officehost::initProcessContext();
    int status = 1;
    try {
        status = run();
    } catch (const ::zel::uno::Exception& e) {
        std::cerr << "corvane-text-tree: " << e.Message << "\n";
    }
    officehost::shutdownProcessContext();
    return status;
}
