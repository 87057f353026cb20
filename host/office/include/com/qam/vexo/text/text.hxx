#pragma once
// Texts, ranges, cursors and text contents of text documents (module com.qam.vexo.text).
//
// Property names used by the text model (all through beans::XPropertySet):
//   paragraphs: "ParaStyleName" (string), "ParaAdjust" (short, style::ParagraphAdjust),
//     "ParaLeftMargin" (long, 1/100 mm), "ParaRightMargin" (long), "WritingMode" (short,
//     WritingMode2), "NumberingRules" (container::XIndexReplace or void),
//     "NumberingLevel" (short), "NumberingIsNumber" (boolean, void outside lists),
//     "ListId" (string), and every character property below;
//   characters (portions, cursors, ranges, paragraphs): "CharWeight" (float, awt::FontWeight),
//     "CharPosture" (awt::FontSlant), "CharUnderline" (short, awt::FontUnderline),
//     "CharStrikeout" (short, awt::FontStrikeout), "CharFontName" (string),
//     "HyperLinkURL" (string), "CharEscapement" (short), "CharEscapementHeight" (byte),
//     "CharHeight" (float, points);
//   portions (read-only): "TextPortionType" (string: "Text", "Footnote", "Frame"),
//     "Footnote" (XFootnote, footnote portions only);
//   table cells: "RowSpan" (long);
//   graphic objects ("com.qam.vexo.text.TextGraphicObject"): "AnchorType"
//     (TextContentAnchorType), "Width", "Height" (long, 1/100 mm), "Title",
//     "Description" (string), "Graphic" (an object).

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/table/table.hxx>

namespace com::qam::vexo::text {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

class XText;

// Characters that XSimpleText::insertControlCharacter inserts.
namespace ControlCharacter {
constexpr sal_Int16 PARAGRAPH_BREAK = 0;
constexpr sal_Int16 LINE_BREAK = 1;
} // namespace ControlCharacter

// Writing directions of "WritingMode".
namespace WritingMode2 {
constexpr sal_Int16 LR_TB = 0;
constexpr sal_Int16 RL_TB = 1;
constexpr sal_Int16 TB_RL = 2;
constexpr sal_Int16 TB_LR = 3;
constexpr sal_Int16 PAGE = 4;
} // namespace WritingMode2

// How a text content is anchored ("AnchorType").
enum TextContentAnchorType {
    TextContentAnchorType_AT_PARAGRAPH,
    TextContentAnchorType_AS_CHARACTER,
    TextContentAnchorType_AT_PAGE,
    TextContentAnchorType_AT_FRAME,
    TextContentAnchorType_AT_CHARACTER
};

class ZEL_UNO_INTERFACE_CLASS XTextRange : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTextRange, "com.qam.vexo.text.XTextRange")
    // The text that contains the range.
    virtual Reference<XText> getText() = 0;
    // Collapsed ranges at the start and at the end.
    virtual Reference<XTextRange> getStart() = 0;
    virtual Reference<XTextRange> getEnd() = 0;
    virtual OUString getString() = 0;
    // Replaces the content of the range; "\n" starts a new paragraph.
    virtual void setString(const OUString& string) = 0;
};

class XTextCursor;

class ZEL_UNO_INTERFACE_CLASS XSimpleText : public XTextRange {
public:
    ZEL_UNO_INTERFACE(XSimpleText, "com.qam.vexo.text.XSimpleText")
    // A collapsed cursor at the start of the text.
    virtual Reference<XTextCursor> createTextCursor() = 0;
    // A cursor over the range; IllegalArgumentException for a range of another text.
    virtual Reference<XTextCursor> createTextCursorByRange(const Reference<XTextRange>& range) = 0;
    // Replaces the range (absorb) or inserts at its end (not absorb).
    virtual void insertString(const Reference<XTextRange>& range, const OUString& string, bool absorb) = 0;
    // One of ControlCharacter, inserted like insertString.
    virtual void insertControlCharacter(const Reference<XTextRange>& range, sal_Int16 controlCharacter,
                                        bool absorb) = 0;
};

class XTextContent;

class ZEL_UNO_INTERFACE_CLASS XText : public XSimpleText {
public:
    ZEL_UNO_INTERFACE(XText, "com.qam.vexo.text.XText")
    // Inserts a content created by the document's service factory at the range.
    virtual void insertTextContent(const Reference<XTextRange>& range, const Reference<XTextContent>& content,
                                   bool absorb) = 0;
    // NoSuchElementException when the content is not in this text.
    virtual void removeTextContent(const Reference<XTextContent>& content) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextCursor : public XTextRange {
public:
    ZEL_UNO_INTERFACE(XTextCursor, "com.qam.vexo.text.XTextCursor")
    virtual void collapseToStart() = 0;
    virtual void collapseToEnd() = 0;
    virtual bool isCollapsed() = 0;
    // Move by count characters, extending the range (expand) or collapsing it.  A
    // footnote anchor or a character-anchored object is one character; the end of
    // a paragraph is one.  False when the cursor could not move all the way.
    virtual bool goLeft(sal_Int16 count, bool expand) = 0;
    virtual bool goRight(sal_Int16 count, bool expand) = 0;
    virtual void gotoStart(bool expand) = 0;
    virtual void gotoEnd(bool expand) = 0;
    // To a range of the same text (RuntimeException otherwise).
    virtual void gotoRange(const Reference<XTextRange>& range, bool expand) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextRangeCompare : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTextRangeCompare, "com.qam.vexo.text.XTextRangeCompare")
    // 1 when the first range starts (ends) before the second, 0 when at the same
    // place, -1 when after; IllegalArgumentException when a range is not in this text.
    virtual sal_Int16 compareRegionStarts(const Reference<XTextRange>& first, const Reference<XTextRange>& second) = 0;
    virtual sal_Int16 compareRegionEnds(const Reference<XTextRange>& first, const Reference<XTextRange>& second) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextContent : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTextContent, "com.qam.vexo.text.XTextContent")
    // Inserts a content that is not yet in a text at the range (as insertTextContent).
    virtual void attach(const Reference<XTextRange>& range) = 0;
    // The range where the content stands; empty when it is not in a text.
    virtual Reference<XTextRange> getAnchor() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XParagraphAppend : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XParagraphAppend, "com.qam.vexo.text.XParagraphAppend")
    // Applies the properties to the last paragraph and starts a new, empty last
    // paragraph; returns the finished paragraph.
    virtual Reference<XTextRange> finishParagraph(const Sequence<::com::qam::vexo::beans::PropertyValue>& properties) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextPortionAppend : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTextPortionAppend, "com.qam.vexo.text.XTextPortionAppend")
    // Appends text to the last paragraph with exactly the given character properties
    // (none taken from the text before it); returns its range.
    virtual Reference<XTextRange> appendTextPortion(const OUString& text,
                                                    const Sequence<::com::qam::vexo::beans::PropertyValue>& properties) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextDocument : public ::com::qam::vexo::frame::XModel {
public:
    ZEL_UNO_INTERFACE(XTextDocument, "com.qam.vexo.text.XTextDocument")
    // The main text (the body).
    virtual Reference<XText> getText() = 0;
    virtual void reformat() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextViewCursor : public XTextCursor {
public:
    ZEL_UNO_INTERFACE(XTextViewCursor, "com.qam.vexo.text.XTextViewCursor")
    virtual bool isVisible() = 0;
    virtual void setVisible(bool visible) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextViewCursorSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XTextViewCursorSupplier, "com.qam.vexo.text.XTextViewCursorSupplier")
    virtual Reference<XTextViewCursor> getViewCursor() = 0;
};

// A footnote: a text content anchored as one character, whose own text (XText) is
// the footnote's contents.  An empty label means automatic numbering.
class ZEL_UNO_INTERFACE_CLASS XFootnote : public XTextContent {
public:
    ZEL_UNO_INTERFACE(XFootnote, "com.qam.vexo.text.XFootnote")
    virtual OUString getLabel() = 0;
    virtual void setLabel(const OUString& label) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XFootnotesSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XFootnotesSupplier, "com.qam.vexo.text.XFootnotesSupplier")
    // The footnotes in document order.
    virtual Reference<::com::qam::vexo::container::XIndexAccess> getFootnotes() = 0;
    virtual Reference<::com::qam::vexo::beans::XPropertySet> getFootnoteSettings() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextTable : public XTextContent {
public:
    ZEL_UNO_INTERFACE(XTextTable, "com.qam.vexo.text.XTextTable")
    // Sets the size of a table that is not yet inserted; both at least 1.
    virtual void initialize(sal_Int32 rows, sal_Int32 columns) = 0;
    virtual Reference<::com::qam::vexo::table::XTableRows> getRows() = 0;
    virtual Reference<::com::qam::vexo::table::XTableColumns> getColumns() = 0;
    // Cell names are column letters and 1-based row numbers ("A1", "B2").
    virtual Reference<::com::qam::vexo::table::XCell> getCellByName(const OUString& name) = 0;
    virtual Sequence<OUString> getCellNames() = 0;
};

} // namespace com::qam::vexo::text

ZEL_UNO_DECLARE_TYPE(::com::qam::vexo::text::TextContentAnchorType, ENUM, "com.qam.vexo.text.TextContentAnchorType")
