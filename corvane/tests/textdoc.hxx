#pragma once
// Small text documents for the corvane tests, made by testsupport's document
// builder, with edits at given places through the host's own interfaces, the
// way a user's edits would make them.

#include "hosttest.hxx"

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/style/style.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <testsupport/text/TextDocumentBuilder.hxx>

#include <initializer_list>
#include <vector>

namespace corvane::test {

namespace beans = ::com::qam::vexo::beans;
namespace container = ::com::qam::vexo::container;
namespace hosttext = ::com::qam::vexo::text;
using ::zel::uno::Any;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

class TextDoc {
public:
    // A new text document, active in its frame, holding the given paragraphs.
    explicit TextDoc(std::initializer_list<std::u16string_view> paragraphs = {})
        : model(builder.model()), body(builder.body()) {
        for (auto p : paragraphs) builder.paragraph(OUString(p));
    }

    // The host's paragraphs of a text, in order (tables skipped).
    static std::vector<Reference<hosttext::XTextContent>> paragraphsOf(const Reference<hosttext::XText>& text) {
        std::vector<Reference<hosttext::XTextContent>> result;
        Reference<container::XEnumeration> e = Reference<container::XEnumerationAccess>(text, UNO_QUERY_THROW)->createEnumeration();
        while (e->hasMoreElements()) {
            Reference<hosttext::XTextContent> content(e->nextElement(), UNO_QUERY);
            Reference<::com::qam::vexo::lang::XServiceInfo> info(content, UNO_QUERY);
            if (info.is() && info->supportsService(u"com.qam.vexo.text.Paragraph")) result.push_back(content);
        }
        return result;
    }
    Reference<hosttext::XTextContent> paragraph(std::size_t i) const { return paragraphsOf(body).at(i); }
    Reference<hosttext::XTextRange> range(std::size_t i) const {
        return Reference<hosttext::XTextRange>(paragraph(i), UNO_QUERY_THROW);
    }
    Reference<beans::XPropertySet> props(std::size_t i) const {
        return Reference<beans::XPropertySet>(paragraph(i), UNO_QUERY_THROW);
    }
    std::size_t paragraphCount() const { return paragraphsOf(body).size(); }

    Reference<::zel::uno::XInterface> create(const char16_t* service) const {
        return Reference<::com::qam::vexo::lang::XMultiServiceFactory>(model, UNO_QUERY_THROW)->createInstance(str(service));
    }

    // Numbers paragraph i directly (arabic numbers), as a list item.
    void number(std::size_t i) const {
        Reference<container::XIndexReplace> rules(create(u"com.qam.vexo.text.NumberingRules"), UNO_QUERY_THROW);
        props(i)->setPropertyValue(u"NumberingRules", Any(rules));
        props(i)->setPropertyValue(u"NumberingIsNumber", Any(true));
    }

    // A cursor at `offset` host characters into paragraph i.
    Reference<hosttext::XTextCursor> cursorAt(std::size_t i, sal_Int16 offset) const {
        Reference<hosttext::XTextRange> p = range(i);
        Reference<hosttext::XTextCursor> c = p->getText()->createTextCursorByRange(p->getStart());
        if (offset > 0) c->goRight(offset, false);
        return c;
    }

    // A footnote with the given label (and text) at `offset` of paragraph i.
    Reference<hosttext::XFootnote> insertFootnote(std::size_t i, sal_Int16 offset, const char16_t* label,
                                                  const char16_t* content = u"note") const {
        Reference<hosttext::XFootnote> note(create(u"com.qam.vexo.text.Footnote"), UNO_QUERY_THROW);
        note->setLabel(str(label));
        Reference<hosttext::XTextCursor> c = cursorAt(i, offset);
        c->getText()->insertTextContent(c, note, false);
        Reference<hosttext::XText>(note, UNO_QUERY_THROW)->setString(str(content));
        return note;
    }

    // A graphic object at `offset` of paragraph i, anchored as given.
    Reference<hosttext::XTextContent> insertGraphic(std::size_t i, sal_Int16 offset,
                                                    hosttext::TextContentAnchorType anchor =
                                                        hosttext::TextContentAnchorType_AS_CHARACTER) const {
        Reference<hosttext::XTextContent> graphic(create(u"com.qam.vexo.text.TextGraphicObject"), UNO_QUERY_THROW);
        Reference<beans::XPropertySet>(graphic, UNO_QUERY_THROW)->setPropertyValue(u"AnchorType", Any(anchor));
        Reference<hosttext::XTextCursor> c = cursorAt(i, offset);
        c->getText()->insertTextContent(c, graphic, false);
        return graphic;
    }

    // A table of rows x columns at the end of paragraph i, cells named by their text.
    Reference<hosttext::XTextTable> insertTable(std::size_t i, sal_Int32 rows, sal_Int32 columns,
                                                std::initializer_list<const char16_t*> cells) const {
        Reference<hosttext::XTextTable> table(create(u"com.qam.vexo.text.TextTable"), UNO_QUERY_THROW);
        table->initialize(rows, columns);
        Reference<hosttext::XTextRange> p = range(i);
        body->insertTextContent(p->getEnd(), table, false);
        Reference<::com::qam::vexo::table::XCellRange> cellRange(table, UNO_QUERY_THROW);
        sal_Int32 n = 0;
        for (const char16_t* s : cells) {
            Reference<hosttext::XText>(cellRange->getCellByPosition(n % columns, n / columns), UNO_QUERY_THROW)
                ->setString(str(s));
            ++n;
        }
        return table;
    }

    // Removes the "List Number" paragraph style, as in a document made elsewhere.
    void removeListNumberStyle() { builder.withoutStyle(u"List Number"); }

    testsupport::text::TextDocumentBuilder builder;
    Reference<::com::qam::vexo::frame::XModel> model;
    Reference<hosttext::XText> body;
};

// A test with a factory over whatever document the test opens.
class DocumentTest : public HostTest {
protected:
    Reference<XDocument> documentOf(const TextDoc&) { return newFactory()->getActiveDocument(); }
};

} // namespace corvane::test
