#pragma once
// The scripting interfaces of presentations and drawings: the presentation and
// its slide list, pages of every kind, page elements and shapes, shape text and
// its style, and the slide selection, with their enumerations.  Every declared
// operation is here in its slot, also those that the model does not carry out
// (they fail with "<operation>: not implemented").
//
// Lengths are points; colours are "#rrggbb" texts or colour names; slide,
// element and character indices are 0-based.  Every object is a new wrapper over
// host objects: compare getuno() results for identity.

#include <corvane/Optional.hxx>
#include <corvane/XAffineTransformBuilder.hxx>
#include <corvane/XBase.hxx>

namespace corvane {

// Slide layouts that insertSlideFrom and appendSlideFrom take.  The host stores a
// layout as a code in a page's "Layout"; the values the model accepts stand for
// these host codes:
enum class PredefinedLayout : sal_Int32 {
    UNSUPPORTED = 0,                   // refused
    BLANK = 1,                         // writes no code: the new slide keeps the layout the host gave it
    CAPTION_ONLY = 2,                  // refused
    TITLE = 3,                         // code 0: a title slide, title and subtitle
    TITLE_AND_BODY = 4,                // code 1: a title and one content area
    TITLE_AND_TWO_COLUMNS = 5,         // code 3: a title and two content areas side by side
    TITLE_ONLY = 6,                    // code 19: a title alone
    SECTION_HEADER = 7,                // refused
    SECTION_TITLE_AND_DESCRIPTION = 8, // refused
    ONE_COLUMN_TEXT = 9,               // refused
    MAIN_POINT = 10,                   // refused
    BIG_NUMBER = 11,                   // refused
};

enum class SlideLinkingMode : sal_Int32 {
    UNSUPPORTED = 0,
    LINKED = 1,
    NOT_LINKED = 2,
};

enum class PageType : sal_Int32 {
    UNSUPPORTED = 0,
    SLIDE = 1,
    LAYOUT = 2,
    MASTER = 3,
};

enum class PlaceholderType : sal_Int32 {
    UNSUPPORTED = 0,
    NONE = 1,
    BODY = 2,
    CHART = 3,
    CLIP_ART = 4,  // no host shape maps to it
    MAIN_TITLE = 5,
    DIAGRAM = 6,   // no host shape maps to it
    DATE_TIME = 7,
    FOOTER = 8,
    HEADER = 9,
    MEDIA = 10,
    OBJECT = 11,
    GRAPHIC = 12,
    SLIDE_NUMBER = 13,
    SUBTITLE = 14,
    TABLE = 15,
    TITLE = 16,
    PAGE_IMAGE = 17,
};

enum class PageElementType : sal_Int32 {
    UNSUPPORTED = 0,
    SHAPE = 1,
    IMAGE = 2,
    VIDEO = 3,
    TABLE = 4,
    GROUP = 5,
    LINE = 6,
    WORD_ART = 7,
};

enum class SelectionType : sal_Int32 {
    UNSUPPORTED = 0,
    NONE = 1,
    TEXT = 2,
    TABLE_CELL = 3,  // never returned
    PAGE = 4,
    PAGE_ELEMENT = 5,
    CURRENT_PAGE = 6,
};

// Declared for the signatures of operations that the model does not carry out.
enum class LineCategory : sal_Int32 { UNSUPPORTED = 0, STRAIGHT = 1, BENT = 2, CURVED = 3 };
enum class ShapeType : sal_Int32 { UNSUPPORTED = 0, TEXT_BOX = 1, RECTANGLE = 2, ELLIPSE = 3 };
enum class AlignmentPosition : sal_Int32 { CENTER = 0, HORIZONTAL_CENTER = 1, VERTICAL_CENTER = 2 };
enum class ContentAlignment : sal_Int32 { UNSUPPORTED = 0, TOP = 1, MIDDLE = 2, BOTTOM = 3 };
enum class TextBaselineOffset : sal_Int32 { UNSUPPORTED = 0, NONE = 1, SUPERSCRIPT = 2, SUBSCRIPT = 3 };

class XSlide;
class XPage;
class XMaster;
class XLayout;
class XNotesPage;
class XNotesMaster;
class XPageElementBase;
class XPageElement;
class XShape;
class XTextRange;
class XTextParagraph;
class XTextStyle;
class XSlideSelection;
class XPageRange;
class XPageElementRange;

// Declared for the signatures of operations that the model does not carry out.
class ZEL_UNO_INTERFACE_CLASS XGroup : public XBase {
public:
    ZEL_UNO_INTERFACE(XGroup, "corvane.XGroup")
};
class ZEL_UNO_INTERFACE_CLASS XLine : public XBase {
public:
    ZEL_UNO_INTERFACE(XLine, "corvane.XLine")
};
class ZEL_UNO_INTERFACE_CLASS XConnectionSite : public XBase {
public:
    ZEL_UNO_INTERFACE(XConnectionSite, "corvane.XConnectionSite")
};
class ZEL_UNO_INTERFACE_CLASS XSlideTable : public XBase {
public:
    ZEL_UNO_INTERFACE(XSlideTable, "corvane.XSlideTable")
};
class ZEL_UNO_INTERFACE_CLASS XWordArt : public XBase {
public:
    ZEL_UNO_INTERFACE(XWordArt, "corvane.XWordArt")
};

class ZEL_UNO_INTERFACE_CLASS XPresentation : public XBase {
public:
    ZEL_UNO_INTERFACE(XPresentation, "corvane.XPresentation")
    virtual ::zel::uno::Reference<XSlide> appendSlide() = 0;
    virtual ::zel::uno::Reference<XSlide> appendSlideFrom(const ::zel::uno::Any& layout) = 0;
    virtual void appendSlideLinked(const ::zel::uno::Reference<XSlide>& slide, SlideLinkingMode mode) = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XLayout>> getLayouts() = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XMaster>> getMasters() = 0;
    virtual OUString getName() = 0;
    virtual ::zel::uno::Reference<XNotesMaster> getNotesMaster() = 0;
    virtual double getNotesPageHeight() = 0;
    virtual double getNotesPageWidth() = 0;
    virtual void getPageElementById(const OUString& id) = 0;
    virtual double getPageHeight() = 0;
    virtual double getPageWidth() = 0;
    virtual Optional<::zel::uno::Reference<XSlideSelection>> getSelection() = 0;
    virtual void getSlideById(const OUString& id) = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XSlide>> getSlides() = 0;
    virtual ::zel::uno::Reference<XSlide> insertSlide(sal_Int32 index) = 0;
    virtual ::zel::uno::Reference<XSlide> insertSlideFrom(sal_Int32 index, const ::zel::uno::Any& layout) = 0;
    virtual void insertSlideLinked(sal_Int32 index, const ::zel::uno::Reference<XSlide>& slide, SlideLinkingMode mode) = 0;
    virtual sal_Int32 replaceAllText(const OUString& find, const OUString& replacement) = 0;
    virtual sal_Int32 replaceAllTextMatchCase(const OUString& find, const OUString& replacement, bool matchCase) = 0;
};

// A drawing document; getuno gives its model.
class ZEL_UNO_INTERFACE_CLASS XDrawing : public XBase {
public:
    ZEL_UNO_INTERFACE(XDrawing, "corvane.XDrawing")
};

class ZEL_UNO_INTERFACE_CLASS XPageBase : public XBase {
public:
    ZEL_UNO_INTERFACE(XPageBase, "corvane.XPageBase")
    virtual void getGroups() = 0;
    virtual void getImages() = 0;
    virtual void getLines() = 0;
    virtual void getObjectId() = 0;
    virtual void getPageElementById(const OUString& id) = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XPageElement>> getPageElements() = 0;
    virtual Optional<::zel::uno::Reference<XPageElement>> getPlaceholder(PlaceholderType type) = 0;
    virtual Optional<::zel::uno::Reference<XPageElement>> getPlaceholderByIndex(PlaceholderType type, sal_Int32 index) = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XPageElement>> getPlaceholders() = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XShape>> getShapes() = 0;
    virtual void getTables() = 0;
    virtual void getVideos() = 0;
    virtual void getWordArts() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XEditablePageBase : public XPageBase {
public:
    ZEL_UNO_INTERFACE(XEditablePageBase, "corvane.XEditablePageBase")
    virtual void getBackground() = 0;
    virtual void getColorScheme() = 0;
    virtual PageType getPageType() = 0;
    virtual void group(const ::zel::uno::Sequence<::zel::uno::Reference<XPageElementBase>>& elements) = 0;
    virtual void insertGroup(const ::zel::uno::Reference<XGroup>& group) = 0;
    virtual void insertImage(const ::zel::uno::Any& image) = 0;
    virtual void insertImageAt(const ::zel::uno::Any& image, double left, double top, double width, double height) = 0;
    virtual void insertLine(const ::zel::uno::Reference<XLine>& line) = 0;
    virtual void insertLineBetween(LineCategory category, const ::zel::uno::Reference<XConnectionSite>& start,
                                   const ::zel::uno::Reference<XConnectionSite>& end) = 0;
    virtual void insertLineAt(LineCategory category, double startLeft, double startTop, double endLeft,
                              double endTop) = 0;
    virtual void insertPageElement(const ::zel::uno::Reference<XPageElement>& element) = 0;
    virtual void insertShape(const ::zel::uno::Any& shape) = 0;
    virtual void insertShapeAt(ShapeType type, double left, double top, double width, double height) = 0;
    virtual void insertTable(sal_Int32 rows, sal_Int32 columns) = 0;
    virtual void insertTableAt(sal_Int32 rows, sal_Int32 columns, double left, double top, double width,
                               double height) = 0;
    virtual void insertTableCopy(const ::zel::uno::Reference<XSlideTable>& table) = 0;
    virtual ::zel::uno::Reference<XShape> insertTextBox(const OUString& text) = 0;
    virtual ::zel::uno::Reference<XShape> insertTextBoxAt(const OUString& text, double left, double top, double width, double height) = 0;
    virtual void insertWordArt(const ::zel::uno::Reference<XWordArt>& wordArt) = 0;
    virtual void remove() = 0;
    virtual sal_Int32 replaceAllText(const OUString& find, const OUString& replacement) = 0;
    virtual sal_Int32 replaceAllTextMatchCase(const OUString& find, const OUString& replacement, bool matchCase) = 0;
    virtual void selectAsCurrentPage() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSlide : public XEditablePageBase {
public:
    ZEL_UNO_INTERFACE(XSlide, "corvane.XSlide")
    virtual ::zel::uno::Reference<XSlide> duplicate() = 0;
    virtual Optional<::zel::uno::Reference<XLayout>> getLayout() = 0;
    virtual ::zel::uno::Reference<XNotesPage> getNotesPage() = 0;
    virtual SlideLinkingMode getSlideLinkingMode() = 0;
    virtual bool isSkipped() = 0;
    virtual void move(sal_Int32 index) = 0;
    virtual ::zel::uno::Reference<XSlide> setBackgroundColor(const OUString& color) = 0;
    virtual void setSkipped(bool skipped) = 0;
};

// A page whose kind is not settled yet.
class ZEL_UNO_INTERFACE_CLASS XPage : public XEditablePageBase {
public:
    ZEL_UNO_INTERFACE(XPage, "corvane.XPage")
    virtual ::zel::uno::Reference<XLayout> asLayout() = 0;
    virtual ::zel::uno::Reference<XMaster> asMaster() = 0;
    virtual ::zel::uno::Reference<XSlide> asSlide() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XMaster : public XEditablePageBase {
public:
    ZEL_UNO_INTERFACE(XMaster, "corvane.XMaster")
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XLayout>> getLayouts() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XLayout : public XEditablePageBase {
public:
    ZEL_UNO_INTERFACE(XLayout, "corvane.XLayout")
    virtual OUString getLayoutName() = 0;
    virtual ::zel::uno::Reference<XMaster> getMaster() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNotesPage : public XPageBase {
public:
    ZEL_UNO_INTERFACE(XNotesPage, "corvane.XNotesPage")
    virtual ::zel::uno::Reference<XShape> getSpeakerNotesShape() = 0;
    virtual sal_Int32 replaceAllText(const OUString& find, const OUString& replacement) = 0;
    virtual sal_Int32 replaceAllTextMatchCase(const OUString& find, const OUString& replacement, bool matchCase) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XNotesMaster : public XPageBase {
public:
    ZEL_UNO_INTERFACE(XNotesMaster, "corvane.XNotesMaster")
};

class ZEL_UNO_INTERFACE_CLASS XPageElementBase : public XBase {
public:
    ZEL_UNO_INTERFACE(XPageElementBase, "corvane.XPageElementBase")
    virtual void alignOnPage(AlignmentPosition position) = 0;
    virtual void bringForward() = 0;
    virtual void bringToFront() = 0;
    virtual void duplicate() = 0;
    virtual void getConnectionSites() = 0;
    virtual void getDescription() = 0;
    virtual double getHeight() = 0;
    virtual void getInherentHeight() = 0;
    virtual void getInherentWidth() = 0;
    virtual double getLeft() = 0;
    virtual void getObjectId() = 0;
    virtual PageElementType getPageElementType() = 0;
    virtual void getParentGroup() = 0;
    virtual void getParentPage() = 0;
    virtual void getRotation() = 0;
    virtual void getTitle() = 0;
    virtual double getTop() = 0;
    virtual void getTransform() = 0;
    virtual double getWidth() = 0;
    virtual void preconcatenateTransform(const ::zel::uno::Reference<XAffineTransform>& transform) = 0;
    virtual void remove() = 0;
    virtual void scaleHeight(double ratio) = 0;
    virtual void scaleWidth(double ratio) = 0;
    virtual void select() = 0;
    virtual void selectWithReplace(bool replace) = 0;
    virtual void sendBackward() = 0;
    virtual void sendToBack() = 0;
    virtual void setDescription(const OUString& description) = 0;
    virtual ::zel::uno::Reference<XPageElementBase> setHeight(double height) = 0;
    virtual ::zel::uno::Reference<XPageElementBase> setLeft(double left) = 0;
    virtual void setRotation(double angle) = 0;
    virtual void setTitle(const OUString& title) = 0;
    virtual ::zel::uno::Reference<XPageElementBase> setTop(double top) = 0;
    virtual void setTransform(const ::zel::uno::Reference<XAffineTransform>& transform) = 0;
    virtual ::zel::uno::Reference<XPageElementBase> setWidth(double width) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XPageElement : public XPageElementBase {
public:
    ZEL_UNO_INTERFACE(XPageElement, "corvane.XPageElement")
    virtual void asGroup() = 0;
    virtual void asImage() = 0;
    virtual void asLine() = 0;
    virtual ::zel::uno::Reference<XShape> asShape() = 0;
    virtual void asTable() = 0;
    virtual void asVideo() = 0;
    virtual void asWordArt() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XShape : public XPageElementBase {
public:
    ZEL_UNO_INTERFACE(XShape, "corvane.XShape")
    virtual void getAutofit() = 0;
    virtual void getBorder() = 0;
    virtual void getContentAlignment() = 0;
    virtual void getFill() = 0;
    virtual void getLink() = 0;
    virtual void getParentPlaceholder() = 0;
    virtual void getPlaceholderIndex() = 0;
    virtual void getPlaceholderType() = 0;
    virtual void getShapeType() = 0;
    virtual ::zel::uno::Reference<XTextRange> getText() = 0;
    virtual void removeLink() = 0;
    virtual void replaceWithImage(const ::zel::uno::Any& image) = 0;
    virtual void replaceWithImageCropped(const ::zel::uno::Any& image, bool crop) = 0;
    virtual void setContentAlignment(ContentAlignment alignment) = 0;
    virtual void setLinkSlide(const ::zel::uno::Any& slide) = 0;
    virtual void setLinkUrl(const OUString& url) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextRange : public XBase {
public:
    ZEL_UNO_INTERFACE(XTextRange, "corvane.XTextRange")
    virtual ::zel::uno::Reference<XTextParagraph> appendParagraph(const OUString& text) = 0;
    virtual void appendRange(const ::zel::uno::Reference<XTextRange>& range) = 0;
    virtual void appendRangeMatchSourceFormatting(const ::zel::uno::Reference<XTextRange>& range, bool matchSourceFormatting) = 0;
    virtual ::zel::uno::Reference<XTextRange> appendText(const OUString& text) = 0;
    virtual void asRenderedString() = 0;
    virtual OUString asString() = 0;
    virtual void clear() = 0;
    virtual void clearRange(sal_Int32 start, sal_Int32 end) = 0;
    virtual void find(const OUString& pattern) = 0;
    virtual void findFrom(const OUString& pattern, sal_Int32 start) = 0;
    virtual void getAutoTexts() = 0;
    virtual void getEndIndex() = 0;
    virtual void getLength() = 0;
    virtual void getLinks() = 0;
    virtual void getListParagraphs() = 0;
    virtual void getListStyle() = 0;
    virtual void getParagraphs() = 0;
    virtual void getParagraphStyle() = 0;
    virtual void getRange(sal_Int32 start, sal_Int32 end) = 0;
    virtual void getRuns() = 0;
    virtual void getStartIndex() = 0;
    virtual Optional<::zel::uno::Reference<XTextStyle>> getTextStyle() = 0;
    virtual void insertParagraph(sal_Int32 index, const OUString& text) = 0;
    virtual void insertRange(sal_Int32 index, const ::zel::uno::Reference<XTextRange>& range) = 0;
    virtual void insertRangeMatchSourceFormatting(sal_Int32 index, const ::zel::uno::Reference<XTextRange>& range,
                                                  bool matchSourceFormatting) = 0;
    virtual void insertText(sal_Int32 index, const OUString& text) = 0;
    virtual void isEmpty() = 0;
    virtual void replaceAllText(const OUString& find, const OUString& replacement) = 0;
    virtual void replaceAllTextMatchCase(const OUString& find, const OUString& replacement, bool matchCase) = 0;
    virtual void select() = 0;
    virtual ::zel::uno::Reference<XTextRange> setBulletLevel(sal_Int32 level) = 0;
    virtual ::zel::uno::Reference<XTextRange> setText(const OUString& text) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextParagraph : public XBase {
public:
    ZEL_UNO_INTERFACE(XTextParagraph, "corvane.XTextParagraph")
    virtual void getIndex() = 0;
    virtual Optional<::zel::uno::Reference<XTextRange>> getRange() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XTextStyle : public XBase {
public:
    ZEL_UNO_INTERFACE(XTextStyle, "corvane.XTextStyle")
    virtual void getBackgroundColor() = 0;
    virtual void getBaselineOffset() = 0;
    virtual void getFontFamily() = 0;
    virtual void getFontSize() = 0;
    virtual void getForegroundColor() = 0;
    virtual void getLink() = 0;
    virtual void hasLink() = 0;
    virtual void isBackgroundTransparent() = 0;
    virtual void isBold() = 0;
    virtual void isItalic() = 0;
    virtual void isSmallCaps() = 0;
    virtual void isStrikethrough() = 0;
    virtual void isUnderline() = 0;
    virtual void removeLink() = 0;
    virtual void setBackgroundColor(const ::zel::uno::Any& color) = 0;
    virtual void setBackgroundColorRgb(sal_Int32 red, sal_Int32 green, sal_Int32 blue) = 0;
    virtual void setBackgroundColorTransparent() = 0;
    virtual void setBaselineOffset(TextBaselineOffset offset) = 0;
    virtual ::zel::uno::Reference<XTextStyle> setBold(bool bold) = 0;
    virtual void setFontFamily(const OUString& family) = 0;
    virtual ::zel::uno::Reference<XTextStyle> setFontSize(double size) = 0;
    virtual ::zel::uno::Reference<XTextStyle> setForegroundColor(const ::zel::uno::Any& color) = 0;
    virtual void setForegroundColorRgb(sal_Int32 red, sal_Int32 green, sal_Int32 blue) = 0;
    virtual ::zel::uno::Reference<XTextStyle> setItalic(bool italic) = 0;
    virtual void setLinkSlide(const ::zel::uno::Any& slide) = 0;
    virtual void setLinkUrl(const OUString& url) = 0;
    virtual void setSmallCaps(bool smallCaps) = 0;
    virtual ::zel::uno::Reference<XTextStyle> setStrikethrough(bool strikethrough) = 0;
    virtual void setUnderline(bool underline) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XSlideSelection : public XBase {
public:
    ZEL_UNO_INTERFACE(XSlideSelection, "corvane.XSlideSelection")
    virtual Optional<::zel::uno::Reference<XPage>> getCurrentPage() = 0;
    virtual Optional<::zel::uno::Reference<XPageElementRange>> getPageElementRange() = 0;
    virtual Optional<::zel::uno::Reference<XPageRange>> getPageRange() = 0;
    virtual SelectionType getSelectionType() = 0;
    virtual void getTableCellRange() = 0;
    virtual Optional<::zel::uno::Reference<XTextRange>> getTextRange() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XPageRange : public XBase {
public:
    ZEL_UNO_INTERFACE(XPageRange, "corvane.XPageRange")
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XPage>> getPages() = 0;
};

class ZEL_UNO_INTERFACE_CLASS XPageElementRange : public XBase {
public:
    ZEL_UNO_INTERFACE(XPageElementRange, "corvane.XPageElementRange")
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XPageElement>> getPageElements() = 0;
};

} // namespace corvane

ZEL_UNO_DECLARE_TYPE(::corvane::PredefinedLayout, ENUM, "corvane.PredefinedLayout")
ZEL_UNO_DECLARE_TYPE(::corvane::SlideLinkingMode, ENUM, "corvane.SlideLinkingMode")
ZEL_UNO_DECLARE_TYPE(::corvane::PageType, ENUM, "corvane.PageType")
ZEL_UNO_DECLARE_TYPE(::corvane::PlaceholderType, ENUM, "corvane.PlaceholderType")
ZEL_UNO_DECLARE_TYPE(::corvane::PageElementType, ENUM, "corvane.PageElementType")
ZEL_UNO_DECLARE_TYPE(::corvane::SelectionType, ENUM, "corvane.SelectionType")
ZEL_UNO_DECLARE_TYPE(::corvane::LineCategory, ENUM, "corvane.LineCategory")
ZEL_UNO_DECLARE_TYPE(::corvane::ShapeType, ENUM, "corvane.ShapeType")
ZEL_UNO_DECLARE_TYPE(::corvane::AlignmentPosition, ENUM, "corvane.AlignmentPosition")
ZEL_UNO_DECLARE_TYPE(::corvane::ContentAlignment, ENUM, "corvane.ContentAlignment")
ZEL_UNO_DECLARE_TYPE(::corvane::TextBaselineOffset, ENUM, "corvane.TextBaselineOffset")
