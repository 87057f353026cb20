#pragma once
// Builds realistic text documents through the host's own interfaces, in a few
// lines:
//
//   testsupport::text::TextDocumentBuilder doc;        // new document, current frame
//   doc.heading(1, u"Title").paragraph(u"ab").footnote(u"note").run(u"cd")
//      .table(2, 3).paragraph(u"after");
//   Reference<XText> body = doc.body();
//
// The process context must be set up (officehost::initProcessContext()).
// Every step goes through the published interfaces (XParagraphAppend,
// XSimpleText, XText::insertTextContent, XPropertySet, the document's service
// factory), so a document built here is one a script could have built.

#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/text/text.hxx>

#include <utility>
#include <vector>

namespace testsupport::text {

using CharProperties = std::vector<std::pair<OUString, ::zel::uno::Any>>;

class TextDocumentBuilder {
public:
    // A new text document in a new current frame (officehost::openTextDocument).
    TextDocumentBuilder();
    // Goes on building an open text document, after what it holds.
    explicit TextDocumentBuilder(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

    // A new last paragraph in the paragraph style (default "Standard"), with no
    // other direct properties.  The document's first empty paragraph, and the empty
    // paragraph that follows a table at the end, are used before a new one is made.
    TextDocumentBuilder& paragraph(const OUString& text, const OUString& style = u"Standard");
    // A paragraph in the style "Heading <level>".
    TextDocumentBuilder& heading(int level, const OUString& text);
    // A paragraph numbered in the builder's own list (arabic numbers on every level).
    TextDocumentBuilder& listItem(const OUString& text, sal_Int16 level = 0);
    // Text at the end of the last paragraph, with character properties on it alone.
    TextDocumentBuilder& run(const OUString& text, const CharProperties& properties = {});
    // A footnote anchor at the end of the last paragraph; the footnote holds one
    // paragraph with the contents.
    TextDocumentBuilder& footnote(const OUString& contents);
    // A table after the last paragraph, each cell holding its name ("A1", "B1", ...
    // for row 1); an empty paragraph follows it and is used by the next paragraph().
    TextDocumentBuilder& table(sal_Int32 rows, sal_Int32 columns);
    // A table with the given cell texts, row by row (every row as long as the first).
    TextDocumentBuilder& table(const std::vector<std::vector<OUString>>& cells);
    // A graphic object (no graphic loaded) at the end of the last paragraph,
    // anchored as given, with the title and the size in 1/100 mm.
    TextDocumentBuilder& graphic(::com::qam::vexo::text::TextContentAnchorType anchor =
                                     ::com::qam::vexo::text::TextContentAnchorType_AS_CHARACTER,
                                 const OUString& title = OUString(), sal_Int32 width = 0, sal_Int32 height = 0);
    // Sets a property of the last paragraph.
    TextDocumentBuilder& paraProperty(const OUString& name, const ::zel::uno::Any& value);
    // Removes a paragraph style from the document, e.g. "List Number".
    TextDocumentBuilder& withoutStyle(const OUString& name);

    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model() const { return model_; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextDocument> document() const;
    ::zel::uno::Reference<::com::qam::vexo::text::XText> body() const;
    // The element at the index of the body's enumeration (paragraphs and tables).
    ::zel::uno::Reference<::com::qam::vexo::text::XTextContent> element(sal_Int32 index) const;
    ::zel::uno::Reference<::com::qam::vexo::text::XTextContent> lastParagraph() const;

private:
    void startParagraph();
    ::zel::uno::Reference<::com::qam::vexo::frame::XModel> model_;
    ::zel::uno::Reference<::com::qam::vexo::container::XIndexReplace> list_;
    bool lastIsFresh_ = true;  // the last paragraph is empty and may be used as it is
};

// The elements (paragraphs and tables) of a text's enumeration, in order.
std::vector<::zel::uno::Reference<::com::qam::vexo::text::XTextContent>> elements(
    const ::zel::uno::Reference<::com::qam::vexo::text::XText>& text);
// The portions of a paragraph's enumeration, in order.
std::vector<::zel::uno::Reference<::com::qam::vexo::text::XTextRange>> portions(
    const ::zel::uno::Reference<::com::qam::vexo::text::XTextContent>& paragraph);
// The text of a table's cell.
::zel::uno::Reference<::com::qam::vexo::text::XText> cellText(
    const ::zel::uno::Reference<::com::qam::vexo::text::XTextContent>& table, sal_Int32 column, sal_Int32 row);
// The graphic objects standing in a paragraph as characters, in order.
std::vector<::zel::uno::Reference<::com::qam::vexo::text::XTextContent>> inlineGraphics(
    const ::zel::uno::Reference<::com::qam::vexo::text::XTextContent>& paragraph);
// The document's footnotes, in document order.
std::vector<::zel::uno::Reference<::com::qam::vexo::text::XFootnote>> footnotes(
    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

} // namespace testsupport::text
