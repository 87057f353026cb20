#pragma once
// The scripting interfaces of text documents: the document, its element tree
// (body, paragraphs and list items, tables, rows, cells, texts, footnotes,
// inline images), positions, ranges and selections.
//
// Every element is a small wrapper over one host object and the wrapper of its
// parent.  Wrappers are made anew by every navigation, so two wrappers of one
// host object are distinct objects: compare getuno() results for identity.
// Offsets count UTF-16 units of getText(); ranges are given as a start offset
// and an inclusive end offset.

#include <com/qam/vexo/beans/values.hxx>
#include <corvane/Optional.hxx>
#include <corvane/XBase.hxx>
#include <corvane/XBlob.hxx>

namespace corvane {

enum class ElementType : sal_Int32 {
    PARAGRAPH = 0,
    LIST_ITEM = 1,
    TABLE = 2,
    TABLE_ROW = 3,
    TABLE_CELL = 4,
    INLINE_IMAGE = 5,
    PAGE_BREAK = 6,
    HORIZONTAL_RULE = 7,
    BODY_SECTION = 8,
    FOOTNOTE = 9,
    FOOTNOTE_SECTION = 10,
    TEXT = 11,
};

// A paragraph's heading level, stored in the host as its paragraph style.
enum class ParagraphHeading : sal_Int32 {
    NORMAL = 0,
    HEADING1 = 1,
    HEADING2 = 2,
    HEADING3 = 3,
    HEADING4 = 4,
    HEADING5 = 5,
    HEADING6 = 6,
    TITLE = 7,
    SUBTITLE = 8,
};

// The vertical position of characters.
enum class TextAlignment : sal_Int32 {
    NORMAL = 0,
    SUPERSCRIPT = 1,
    SUBSCRIPT = 2,
};

// The codes of XParagraph::getAlignment.
namespace HorizontalAlignment {
constexpr sal_Int32 LEFT = 0;
constexpr sal_Int32 CENTER = 1;
constexpr sal_Int32 RIGHT = 2;
constexpr sal_Int32 JUSTIFY = 3;
} // namespace HorizontalAlignment

// The codes of XParagraph::getGlyphType.
namespace GlyphType {
constexpr sal_Int32 BULLET = 0;
constexpr sal_Int32 HOLLOW_BULLET = 1;
constexpr sal_Int32 SQUARE_BULLET = 2;
constexpr sal_Int32 NUMBER = 3;
constexpr sal_Int32 LATIN_UPPER = 4;
constexpr sal_Int32 LATIN_LOWER = 5;
constexpr sal_Int32 ROMAN_UPPER = 6;
constexpr sal_Int32 ROMAN_LOWER = 7;
} // namespace GlyphType

// The size of an image inserted at the cursor, in centimetres.
struct ImageOptions {
    double width = 0.0;
    double height = 0.0;
    friend bool operator==(const ImageOptions&, const ImageOptions&) = default;
};

class XElement;
class XContainerElement;
class XBody;
class XParagraph;
class XText;
class XTable;
class XTableRow;
class XTableCell;
class XFootnote;
class XInlineImage;
class XDocument;
class XCursor;
class XSelection;
class XRangeElement;
class XRangeBuilder;

class ZEL_UNO_INTERFACE_CLASS XElement : public XBase {
public:
    ZEL_UNO_INTERFACE(XElement, "corvane.XElement")
    // Casts give the same wrapper under another interface, or fail with
    // "<TYPE> can't be cast to <TYPE>.".
    virtual ::zel::uno::Reference<XBody> asBody() = 0;
    virtual ::zel::uno::Reference<XFootnote> asFootnote() = 0;
    virtual ::zel::uno::Reference<XContainerElement> asFootnoteSection() = 0;
    virtual ::zel::uno::Reference<XInlineImage> asInlineImage() = 0;
    virtual ::zel::uno::Reference<XParagraph> asListItem() = 0;
    virtual ::zel::uno::Reference<XParagraph> asParagraph() = 0;
    virtual ::zel::uno::Reference<XTable> asTable() = 0;
    virtual ::zel::uno::Reference<XTableCell> asTableCell() = 0;
    virtual ::zel::uno::Reference<XTableRow> asTableRow() = 0;
    virtual ::zel::uno::Reference<XText> asText() = 0;
    // Another reference to this wrapper; nothing is duplicated.
    virtual ::zel::uno::Reference<XElement> copy() = 0;
    virtual Optional<::zel::uno::Reference<XElement>> getNextSibling() = 0;
    virtual Optional<::zel::uno::Reference<XElement>> getParent() = 0;
    virtual Optional<::zel::uno::Reference<XElement>> getPreviousSibling() = 0;
    virtual OUString getText() = 0;
    virtual ElementType getType() = 0;
    // Removes the host content; the wrapper stays usable as a detached wrapper.
    virtual ::zel::uno::Reference<XElement> removeFromParent() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XContainerElement : public XElement {
public:
    ZEL_UNO_INTERFACE(XContainerElement, "corvane.XContainerElement")
    virtual ::zel::uno::Reference<XContainerElement> clear() = 0;
    virtual ::zel::uno::Reference<XText> editAsText() = 0;
    // Empty for an index outside [0, getNumChildren()).
    virtual ::zel::uno::Reference<XElement> getChild(sal_Int32 index) = 0;
    virtual sal_Int32 getChildIndex(const ::zel::uno::Reference<XElement>& child) = 0;
    virtual sal_Int32 getNumChildren() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XBody : public XContainerElement {
public:
    ZEL_UNO_INTERFACE(XBody, "corvane.XBody")
    virtual ::zel::uno::Reference<XInlineImage> appendImage(const ::zel::uno::Reference<XBlob>& blob) = 0;
    virtual ::zel::uno::Reference<XParagraph> appendListItem(const OUString& text) = 0;
    virtual ::zel::uno::Reference<XParagraph> appendParagraph(const OUString& text) = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XElement>> getChildren() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XParagraph : public XContainerElement {
public:
    ZEL_UNO_INTERFACE(XParagraph, "corvane.XParagraph")
    // A HorizontalAlignment code.
    virtual Optional<sal_Int32> getAlignment() = 0;
    // A GlyphType code.
    virtual Optional<sal_Int32> getGlyphType() = 0;
    virtual Optional<ParagraphHeading> getHeading() = 0;
    // In points.
    virtual Optional<double> getIndentStart() = 0;
    virtual Optional<OUString> getListId() = 0;
    virtual sal_Int32 getNestingLevel() = 0;
    virtual Optional<bool> isLeftToRight() = 0;
    virtual ::zel::uno::Reference<XParagraph> setHeading(ParagraphHeading heading) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XText : public XElement {
public:
    ZEL_UNO_INTERFACE(XText, "corvane.XText")
    // Every operation that returns XText returns the text itself.
    virtual ::zel::uno::Reference<XText> appendText(const OUString& text) = 0;
    virtual ::zel::uno::Reference<XText> deleteText(sal_Int32 startOffset, sal_Int32 endOffsetInclusive) = 0;
    virtual ::zel::uno::Reference<XText> editAsText() = 0;
    virtual Optional<OUString> getFontFamily(sal_Int32 offset) = 0;
    virtual Optional<OUString> getLinkUrl(sal_Int32 offset) = 0;
    virtual Optional<TextAlignment> getTextAlignment(sal_Int32 offset) = 0;
    // The start offsets of the runs of differently formatted text.
    virtual ::zel::uno::Sequence<sal_Int32> getTextAttributeIndices() = 0;
    virtual ::zel::uno::Reference<XText> insertText(sal_Int32 offset, const OUString& text) = 0;
    virtual Optional<bool> isBold(sal_Int32 offset) = 0;
    virtual Optional<bool> isItalic(sal_Int32 offset) = 0;
    virtual Optional<bool> isStrikethrough(sal_Int32 offset) = 0;
    virtual Optional<bool> isUnderline(sal_Int32 offset) = 0;
    virtual ::zel::uno::Reference<XText> setBold(bool bold) = 0;
    virtual ::zel::uno::Reference<XText> setBoldRange(sal_Int32 startOffset, sal_Int32 endOffsetInclusive, bool bold) = 0;
    virtual ::zel::uno::Reference<XText> setFontFamily(const OUString& fontFamily) = 0;
    virtual ::zel::uno::Reference<XText> setFontFamilyRange(sal_Int32 startOffset, sal_Int32 endOffsetInclusive,
                                                            const OUString& fontFamily) = 0;
    virtual ::zel::uno::Reference<XText> setItalic(bool italic) = 0;
    virtual ::zel::uno::Reference<XText> setItalicRange(sal_Int32 startOffset, sal_Int32 endOffsetInclusive, bool italic) = 0;
    virtual ::zel::uno::Reference<XText> setLinkUrl(const OUString& url) = 0;
    virtual ::zel::uno::Reference<XText> setLinkUrlRange(sal_Int32 startOffset, sal_Int32 endOffsetInclusive,
                                                         const OUString& url) = 0;
    virtual ::zel::uno::Reference<XText> setStrikethrough(bool strikethrough) = 0;
    virtual ::zel::uno::Reference<XText> setStrikethroughRange(sal_Int32 startOffset, sal_Int32 endOffsetInclusive,
                                                               bool strikethrough) = 0;
    virtual ::zel::uno::Reference<XText> setText(const OUString& text) = 0;
    virtual ::zel::uno::Reference<XText> setTextAlignment(TextAlignment alignment) = 0;
    virtual ::zel::uno::Reference<XText> setTextAlignmentRange(sal_Int32 startOffset, sal_Int32 endOffsetInclusive,
                                                               TextAlignment alignment) = 0;
    virtual ::zel::uno::Reference<XText> setUnderline(bool underline) = 0;
    virtual ::zel::uno::Reference<XText> setUnderlineRange(sal_Int32 startOffset, sal_Int32 endOffsetInclusive,
                                                           bool underline) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTable : public XContainerElement {
public:
    ZEL_UNO_INTERFACE(XTable, "corvane.XTable")
    virtual sal_Int32 getNumRows() = 0;
    virtual Optional<::zel::uno::Reference<XTableRow>> getRow(sal_Int32 index) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTableRow : public XContainerElement {
public:
    ZEL_UNO_INTERFACE(XTableRow, "corvane.XTableRow")
    virtual Optional<::zel::uno::Reference<XTableCell>> getCell(sal_Int32 index) = 0;
    virtual sal_Int32 getNumCells() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTableCell : public XContainerElement {
public:
    ZEL_UNO_INTERFACE(XTableCell, "corvane.XTableCell")
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XElement>> getChildren() = 0;
    virtual sal_Int32 getColSpan() = 0;
    virtual sal_Int32 getRowSpan() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XFootnote : public XElement {
public:
    ZEL_UNO_INTERFACE(XFootnote, "corvane.XFootnote")
    virtual Optional<::zel::uno::Reference<XContainerElement>> getFootnoteContents() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XInlineImage : public XElement {
public:
    ZEL_UNO_INTERFACE(XInlineImage, "corvane.XInlineImage")
    virtual Optional<OUString> getAltDescription() = 0;
    virtual Optional<OUString> getAltTitle() = 0;
    // Sizes in pixels of 1/96 inch.
    virtual sal_Int32 getHeight() = 0;
    virtual sal_Int32 getWidth() = 0;
    virtual ::zel::uno::Reference<XInlineImage> setAltDescription(const OUString& description) = 0;
    virtual ::zel::uno::Reference<XInlineImage> setAltTitle(const OUString& title) = 0;
    virtual ::zel::uno::Reference<XInlineImage> setHeight(sal_Int32 height) = 0;
    virtual ::zel::uno::Reference<XInlineImage> setWidth(sal_Int32 width) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XCursor : public XBase {
public:
    ZEL_UNO_INTERFACE(XCursor, "corvane.XCursor")
    virtual ::zel::uno::Reference<XElement> getElement() = 0;
    virtual sal_Int32 getOffset() = 0;
    virtual ::zel::uno::Reference<XText> getSurroundingText() = 0;
    virtual sal_Int32 getSurroundingTextOffset() = 0;
    virtual Optional<::zel::uno::Reference<XInlineImage>> insertInlineImage(const ::zel::uno::Reference<XBlob>& blob) = 0;
    virtual void insertText(const OUString& text) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XRangeElement : public XBase {
public:
    ZEL_UNO_INTERFACE(XRangeElement, "corvane.XRangeElement")
    virtual ::zel::uno::Reference<XElement> getElement() = 0;
    virtual sal_Int32 getEndOffsetInclusive() = 0;
    virtual sal_Int32 getStartOffset() = 0;
    virtual bool isPartial() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSelection : public XBase {
public:
    ZEL_UNO_INTERFACE(XSelection, "corvane.XSelection")
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XRangeElement>> getRangeElements() = 0;
    virtual OUString getText() = 0;
    virtual void replace(const OUString& text) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XRangeBuilder : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XRangeBuilder, "corvane.XRangeBuilder")
    virtual ::zel::uno::Reference<XRangeBuilder> addElement(const ::zel::uno::Reference<XElement>& element) = 0;
    virtual ::zel::uno::Reference<XRangeBuilder> addElementRange(const ::zel::uno::Reference<XText>& text,
                                                                 sal_Int32 startOffset, sal_Int32 endOffsetInclusive) = 0;
    virtual ::zel::uno::Reference<XSelection> build() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XDocument : public XBase {
public:
    ZEL_UNO_INTERFACE(XDocument, "corvane.XDocument")
    virtual Optional<::zel::uno::Reference<XSelection>> getSelection() = 0;
    virtual ::zel::uno::Reference<XBody> getBody() = 0;
    virtual Optional<::zel::uno::Reference<XCursor>> getCursor() = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XFootnote>> getFootnotes() = 0;
    virtual void insertImage(const ::zel::uno::Sequence<signed char>& image, const ImageOptions& options) = 0;
    virtual ::zel::uno::Reference<XCursor> newPosition(const ::zel::uno::Reference<XElement>& element, sal_Int32 offset) = 0;
    virtual ::zel::uno::Reference<XRangeBuilder> newRange() = 0;
    virtual ::zel::uno::Reference<XDocument> setCursor(const ::zel::uno::Reference<XCursor>& cursor) = 0;
    virtual ::zel::uno::Reference<XDocument> setSelection(const ::zel::uno::Reference<XSelection>& selection) = 0;
};

} // namespace corvane

ZEL_UNO_DECLARE_TYPE(::corvane::ElementType, ENUM, "corvane.ElementType")
ZEL_UNO_DECLARE_TYPE(::corvane::ParagraphHeading, ENUM, "corvane.ParagraphHeading")
ZEL_UNO_DECLARE_TYPE(::corvane::TextAlignment, ENUM, "corvane.TextAlignment")
ZEL_UNO_DECLARE_TYPE(::corvane::ImageOptions, STRUCT, "corvane.ImageOptions")
