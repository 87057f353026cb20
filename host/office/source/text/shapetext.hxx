#pragma once
// The text of a drawing shape, kept in the text core of the shape's document as
// a text of kind Shape, so that its cursors, portions and character and
// paragraph properties are the text model's own.
//
// A drawing shape that holds text derives from ShapeText besides its own
// interfaces: the shape itself is then the text (XText, XTextRangeCompare,
// XEnumerationAccess of paragraphs, XParagraphAppend, XTextPortionAppend), and
// the ranges and cursors of the text name the shape as their text.  Not
// exported from libmergedqx.
//
// A shape's text holds paragraphs only: it takes no text contents (tables,
// footnotes, graphic objects), and its paragraphs take "NumberingLevel" -1 (no
// bullet) to 9.

#include "textcore.hxx"

#include <com/qam/vexo/text/text.hxx>

#include <memory>

namespace officehost::text {

class ShapeText : public ::com::qam::vexo::text::XText,
                  public ::com::qam::vexo::text::XTextRangeCompare,
                  public ::com::qam::vexo::container::XEnumerationAccess,
                  public ::com::qam::vexo::text::XParagraphAppend,
                  public ::com::qam::vexo::text::XTextPortionAppend {
public:
    using XTextRangeRef = ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>;

    ::zel::uno::Reference<::com::qam::vexo::text::XText> getText() override;
    XTextRangeRef getStart() override;
    XTextRangeRef getEnd() override;
    OUString getString() override;
    void setString(const OUString& text) override;
    ::zel::uno::Reference<::com::qam::vexo::text::XTextCursor> createTextCursor() override;
    ::zel::uno::Reference<::com::qam::vexo::text::XTextCursor> createTextCursorByRange(const XTextRangeRef& range) override;
    void insertString(const XTextRangeRef& range, const OUString& text, bool absorb) override;
    void insertControlCharacter(const XTextRangeRef& range, sal_Int16 character, bool absorb) override;
    // IllegalArgumentException: a shape's text takes no text contents.
    void insertTextContent(const XTextRangeRef& range,
                           const ::zel::uno::Reference<::com::qam::vexo::text::XTextContent>& content,
                           bool absorb) override;
    // NoSuchElementException: there are none.
    void removeTextContent(const ::zel::uno::Reference<::com::qam::vexo::text::XTextContent>& content) override;
    sal_Int16 compareRegionStarts(const XTextRangeRef& first, const XTextRangeRef& second) override;
    sal_Int16 compareRegionEnds(const XTextRangeRef& first, const XTextRangeRef& second) override;
    ::zel::uno::Type getElementType() override;
    bool hasElements() override;
    ::zel::uno::Reference<::com::qam::vexo::container::XEnumeration> createEnumeration() override;
    XTextRangeRef finishParagraph(const ::zel::uno::Sequence<::com::qam::vexo::beans::PropertyValue>& properties) override;
    XTextRangeRef appendTextPortion(const OUString& text,
                                    const ::zel::uno::Sequence<::com::qam::vexo::beans::PropertyValue>& properties) override;

    // The whole text as a range of the core (false for another document's core).
    bool wholeText(const textcore::Core& core, textcore::Pos& start, textcore::Pos& end);

protected:
    ShapeText() = default;
    ~ShapeText() = default;
    // The core that holds the text, and the shape's text node in it.
    virtual const std::shared_ptr<textcore::Core>& textCore() = 0;
    virtual textcore::TextNode& textNode() = 0;

private:
    // The text model's implementation of a text, speaking for this shape.
    ::zel::uno::Reference<::com::qam::vexo::text::XText> model();
};

} // namespace officehost::text
