#include <testsupport/text/TextDocumentBuilder.hxx>

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/style/style.hxx>
#include <com/qam/vexo/table/table.hxx>
#include <officehost/desktop.hxx>

namespace testsupport::text {

namespace css = ::com::qam::vexo;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

TextDocumentBuilder::TextDocumentBuilder() : TextDocumentBuilder(officehost::openTextDocument()) {}

TextDocumentBuilder::TextDocumentBuilder(const Reference<css::frame::XModel>& model) : model_(model) {
    if (!model_.is()) throw RuntimeException(u"TextDocumentBuilder: the model must not be empty");
    auto all = elements(body());
    Reference<css::text::XTextRange> last(all.back(), UNO_QUERY);
    lastIsFresh_ = last.is() && last->getString().isEmpty();
}

Reference<css::text::XTextDocument> TextDocumentBuilder::document() const {
    return Reference<css::text::XTextDocument>(model_, UNO_QUERY_THROW);
}

Reference<css::text::XText> TextDocumentBuilder::body() const { return document()->getText(); }

Reference<css::text::XTextContent> TextDocumentBuilder::element(sal_Int32 index) const {
    auto all = elements(body());
    if (index < 0 || index >= static_cast<sal_Int32>(all.size()))
        throw RuntimeException(u"TextDocumentBuilder::element: there is no element " + OUString::number(index));
    return all[index];
}

Reference<css::text::XTextContent> TextDocumentBuilder::lastParagraph() const {
    auto all = elements(body());
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (Reference<css::lang::XServiceInfo>(*it, UNO_QUERY_THROW)->supportsService(u"com.qam.vexo.text.Paragraph"))
            return *it;
    throw RuntimeException(u"TextDocumentBuilder::lastParagraph: the body has no paragraph");
}

void TextDocumentBuilder::startParagraph() {
    if (!lastIsFresh_) Reference<css::text::XParagraphAppend>(body(), UNO_QUERY_THROW)->finishParagraph({});
    lastIsFresh_ = false;
    // A new paragraph copies the properties of the one before; start it plain.
    Reference<css::beans::XPropertyState> state(lastParagraph(), UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> props(state, UNO_QUERY_THROW);
    for (const auto& p : props->getPropertySetInfo()->getProperties()) {
        if (p.Name == u"ParaStyleName" || (p.Attributes & css::beans::PropertyAttribute::READONLY)) continue;
        if (state->getPropertyState(p.Name) == css::beans::PropertyState_DIRECT_VALUE)
            state->setPropertyToDefault(p.Name);
    }
}

TextDocumentBuilder& TextDocumentBuilder::paragraph(const OUString& text, const OUString& style) {
    startParagraph();
    paraProperty(u"ParaStyleName", Any(style));
    auto b = body();
    b->insertString(b->getEnd(), text, false);
    return *this;
}

TextDocumentBuilder& TextDocumentBuilder::heading(int level, const OUString& text) {
    return paragraph(text, u"Heading " + OUString::number(level));
}

TextDocumentBuilder& TextDocumentBuilder::listItem(const OUString& text, sal_Int16 level) {
    if (!list_.is()) {
        Reference<css::lang::XMultiServiceFactory> factory(model_, UNO_QUERY_THROW);
        list_.set(factory->createInstance(u"com.qam.vexo.text.NumberingRules"), UNO_QUERY_THROW);
        for (sal_Int32 i = 0; i < list_->getCount(); ++i)
            list_->replaceByIndex(
                i, Any(::zel::uno::Sequence<css::beans::PropertyValue>{
                       css::beans::PropertyValue{u"NumberingType", 0, Any(css::style::NumberingType::ARABIC), {}}}));
    }
    paragraph(text);
    paraProperty(u"NumberingRules", Any(list_));
    paraProperty(u"NumberingLevel", Any(level));
    return *this;
}

TextDocumentBuilder& TextDocumentBuilder::run(const OUString& text, const CharProperties& properties) {
    lastIsFresh_ = false;
    std::vector<css::beans::PropertyValue> list;
    for (const auto& [name, value] : properties) list.push_back(css::beans::PropertyValue{name, 0, value, {}});
    Reference<css::text::XTextPortionAppend>(body(), UNO_QUERY_THROW)
        ->appendTextPortion(text, ::zel::uno::Sequence<css::beans::PropertyValue>(list));
    return *this;
}

TextDocumentBuilder& TextDocumentBuilder::footnote(const OUString& contents) {
    lastIsFresh_ = false;
    Reference<css::lang::XMultiServiceFactory> factory(model_, UNO_QUERY_THROW);
    Reference<css::text::XTextContent> note(factory->createInstance(u"com.qam.vexo.text.Footnote"), UNO_QUERY_THROW);
    auto b = body();
    b->insertTextContent(b->getEnd(), note, false);
    Reference<css::text::XText>(note, UNO_QUERY_THROW)->setString(contents);
    return *this;
}

TextDocumentBuilder& TextDocumentBuilder::table(sal_Int32 rows, sal_Int32 columns) {
    std::vector<std::vector<OUString>> cells(rows, std::vector<OUString>(columns));
    for (sal_Int32 r = 0; r < rows; ++r)
        for (sal_Int32 c = 0; c < columns; ++c)
            cells[r][c] = OUString(static_cast<sal_Unicode>(u'A' + c)) + OUString::number(r + 1);
    return table(cells);
}

TextDocumentBuilder& TextDocumentBuilder::table(const std::vector<std::vector<OUString>>& cells) {
    if (cells.empty() || cells[0].empty())
        throw RuntimeException(u"TextDocumentBuilder::table: a table needs at least one cell");
    Reference<css::lang::XMultiServiceFactory> factory(model_, UNO_QUERY_THROW);
    Reference<css::text::XTextTable> table(factory->createInstance(u"com.qam.vexo.text.TextTable"), UNO_QUERY_THROW);
    auto rows = static_cast<sal_Int32>(cells.size());
    auto columns = static_cast<sal_Int32>(cells[0].size());
    table->initialize(rows, columns);
    auto b = body();
    b->insertTextContent(b->getEnd(), table, false);
    Reference<css::table::XCellRange> range(table, UNO_QUERY_THROW);
    for (sal_Int32 r = 0; r < rows; ++r)
        for (sal_Int32 c = 0; c < columns; ++c)
            Reference<css::text::XText>(range->getCellByPosition(c, r), UNO_QUERY_THROW)
                ->setString(c < static_cast<sal_Int32>(cells[r].size()) ? cells[r][c] : OUString());
    lastIsFresh_ = true;
    return *this;
}

TextDocumentBuilder& TextDocumentBuilder::graphic(css::text::TextContentAnchorType anchor, const OUString& title,
                                                  sal_Int32 width, sal_Int32 height) {
    lastIsFresh_ = false;
    Reference<css::lang::XMultiServiceFactory> factory(model_, UNO_QUERY_THROW);
    Reference<css::text::XTextContent> object(factory->createInstance(u"com.qam.vexo.text.TextGraphicObject"),
                                              UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet> props(object, UNO_QUERY_THROW);
    props->setPropertyValue(u"AnchorType", Any(anchor));
    props->setPropertyValue(u"Title", Any(title));
    props->setPropertyValue(u"Width", Any(width));
    props->setPropertyValue(u"Height", Any(height));
    auto b = body();
    b->insertTextContent(b->getEnd(), object, false);
    return *this;
}

TextDocumentBuilder& TextDocumentBuilder::paraProperty(const OUString& name, const Any& value) {
    Reference<css::beans::XPropertySet>(lastParagraph(), UNO_QUERY_THROW)->setPropertyValue(name, value);
    return *this;
}

TextDocumentBuilder& TextDocumentBuilder::withoutStyle(const OUString& name) {
    Reference<css::style::XStyleFamiliesSupplier> supplier(model_, UNO_QUERY_THROW);
    Reference<css::container::XNameContainer> styles(supplier->getStyleFamilies()->getByName(u"ParagraphStyles"),
                                                     UNO_QUERY_THROW);
    styles->removeByName(name);
    return *this;
}

std::vector<Reference<css::text::XTextContent>> elements(const Reference<css::text::XText>& text) {
    std::vector<Reference<css::text::XTextContent>> out;
    auto e = Reference<css::container::XEnumerationAccess>(text, UNO_QUERY_THROW)->createEnumeration();
    while (e->hasMoreElements()) out.emplace_back(e->nextElement(), UNO_QUERY_THROW);
    return out;
}

std::vector<Reference<css::text::XTextRange>> portions(const Reference<css::text::XTextContent>& paragraph) {
    std::vector<Reference<css::text::XTextRange>> out;
    auto e = Reference<css::container::XEnumerationAccess>(paragraph, UNO_QUERY_THROW)->createEnumeration();
    while (e->hasMoreElements()) out.emplace_back(e->nextElement(), UNO_QUERY_THROW);
    return out;
}

Reference<css::text::XText> cellText(const Reference<css::text::XTextContent>& table, sal_Int32 column, sal_Int32 row) {
    return Reference<css::text::XText>(
        Reference<css::table::XCellRange>(table, UNO_QUERY_THROW)->getCellByPosition(column, row), UNO_QUERY_THROW);
}

std::vector<Reference<css::text::XTextContent>> inlineGraphics(const Reference<css::text::XTextContent>& paragraph) {
    std::vector<Reference<css::text::XTextContent>> out;
    for (const auto& portion : portions(paragraph)) {
        OUString type;
        Reference<css::beans::XPropertySet>(portion, UNO_QUERY_THROW)->getPropertyValue(u"TextPortionType") >>= type;
        if (type != u"Frame") continue;
        auto e = Reference<css::container::XContentEnumerationAccess>(portion, UNO_QUERY_THROW)
                     ->createContentEnumeration(u"com.qam.vexo.text.TextContent");
        while (e->hasMoreElements()) out.emplace_back(e->nextElement(), UNO_QUERY_THROW);
    }
    return out;
}

std::vector<Reference<css::text::XFootnote>> footnotes(const Reference<css::frame::XModel>& model) {
    std::vector<Reference<css::text::XFootnote>> out;
    auto list = Reference<css::text::XFootnotesSupplier>(model, UNO_QUERY_THROW)->getFootnotes();
    for (sal_Int32 i = 0; i < list->getCount(); ++i) out.emplace_back(list->getByIndex(i), UNO_QUERY_THROW);
    return out;
}

} // namespace testsupport::text
