// The declared operations that the presentation model does not carry out, as
// one table of (interface, operation, message).  The table runs against every
// kind of object that declares them: once over the sample deck, where nothing
// may change, and once over host objects and arguments that record every call
// made on them, where nothing may be recorded at all.

#include "deck.hxx"

#include <affinetransform/affinetransform.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>
#include <cppu/implbase.hxx>

#include <algorithm>
#include <string>
#include <vector>

namespace corvane::test {
namespace {

namespace hosttext = ::com::qam::vexo::text;
namespace frame = ::com::qam::vexo::frame;
using ::zel::uno::Sequence;
using ::zel::uno::Type;

// Every call that reached a recording object, by name.
std::vector<std::string>& recordedCalls() {
    static std::vector<std::string> calls;
    return calls;
}
void record(const char* name) { recordedCalls().emplace_back(name); }

// One host object that is a model, a draw page, a shape and a text at once.
// It records every call, queries included, and answers with empty values (its
// text reads "recorded", so that a text style can be taken from it).
class RecordingHost
    : public cppu::WeakImplHelper<frame::XModel, css::drawing::XDrawPageDuplicator, css::presentation::XPresentationPage,
                                  css::drawing::XMasterPageTarget, css::drawing::XShape, hosttext::XText> {
public:
    Any queryInterface(const Type& type) override {
        record("queryInterface");
        return WeakImplHelper::queryInterface(type);
    }
    // XModel
    OUString getURL() override { record("getURL"); return OUString(); }
    Sequence<css::beans::PropertyValue> getArgs() override { record("getArgs"); return {}; }
    void connectController(const Reference<frame::XController>&) override { record("connectController"); }
    void disconnectController(const Reference<frame::XController>&) override { record("disconnectController"); }
    Reference<frame::XController> getCurrentController() override { record("getCurrentController"); return {}; }
    void setCurrentController(const Reference<frame::XController>&) override { record("setCurrentController"); }
    void dispose() override { record("dispose"); }
    void addEventListener(const Reference<css::lang::XEventListener>&) override { record("addEventListener"); }
    void removeEventListener(const Reference<css::lang::XEventListener>&) override { record("removeEventListener"); }
    // XDrawPage
    Type getElementType() override { record("getElementType"); return Type(); }
    bool hasElements() override { record("hasElements"); return false; }
    sal_Int32 getCount() override { record("getCount"); return 0; }
    Any getByIndex(sal_Int32) override { record("getByIndex"); return Any(); }
    void add(const Reference<css::drawing::XShape>&) override { record("add"); }
    void remove(const Reference<css::drawing::XShape>&) override { record("remove"); }
    // Neither a notes page, a master page nor a copy.
    Reference<css::drawing::XDrawPage> getNotesPage() override { record("getNotesPage"); return {}; }
    Reference<css::drawing::XDrawPage> getMasterPage() override { record("getMasterPage"); return {}; }
    void setMasterPage(const Reference<css::drawing::XDrawPage>&) override { record("setMasterPage"); }
    Reference<css::drawing::XDrawPage> duplicate(const Reference<css::drawing::XDrawPage>&) override {
        record("duplicate");
        return {};
    }
    // XShape
    OUString getShapeType() override { record("getShapeType"); return OUString(); }
    css::awt::Point getPosition() override { record("getPosition"); return css::awt::Point(); }
    void setPosition(const css::awt::Point&) override { record("setPosition"); }
    css::awt::Size getSize() override { record("getSize"); return css::awt::Size(); }
    void setSize(const css::awt::Size&) override { record("setSize"); }
    // XText
    Reference<hosttext::XText> getText() override { record("getText"); return this; }
    Reference<hosttext::XTextRange> getStart() override { record("getStart"); return this; }
    Reference<hosttext::XTextRange> getEnd() override { record("getEnd"); return this; }
    OUString getString() override { record("getString"); return OUString(u"recorded"); }
    void setString(const OUString&) override { record("setString"); }
    Reference<hosttext::XTextCursor> createTextCursor() override { record("createTextCursor"); return {}; }
    Reference<hosttext::XTextCursor> createTextCursorByRange(const Reference<hosttext::XTextRange>&) override {
        record("createTextCursorByRange"); return {};
    }
    void insertString(const Reference<hosttext::XTextRange>&, const OUString&, bool) override { record("insertString"); }
    void insertControlCharacter(const Reference<hosttext::XTextRange>&, sal_Int16, bool) override {
        record("insertControlCharacter");
    }
    void insertTextContent(const Reference<hosttext::XTextRange>&, const Reference<hosttext::XTextContent>&,
                           bool) override {
        record("insertTextContent");
    }
    void removeTextContent(const Reference<hosttext::XTextContent>&) override { record("removeTextContent"); }
};

// An argument of the interfaces that appear only in the declared operations'
// signatures, and a transform; it records every call made on it.
class RecordingArgument
    : public cppu::WeakImplHelper<XGroup, XLine, XConnectionSite, XSlideTable, XWordArt, XAffineTransform> {
public:
    Any queryInterface(const Type& type) override {
        record("argument queryInterface");
        return WeakImplHelper::queryInterface(type);
    }
    Reference<XInterface> getuno() override { record("argument getuno"); return {}; }
    double getScaleX() override { record("getScaleX"); return 1; }
    double getScaleY() override { record("getScaleY"); return 1; }
    double getShearX() override { record("getShearX"); return 0; }
    double getShearY() override { record("getShearY"); return 0; }
    double getTranslateX() override { record("getTranslateX"); return 0; }
    double getTranslateY() override { record("getTranslateY"); return 0; }
    Reference<XAffineTransformBuilder> toBuilder() override { record("toBuilder"); return {}; }
};

// The arguments passed to the operations.
struct Arguments {
    Reference<XSlide> slide;
    Reference<XTextRange> range;
    Reference<XPageElement> element;
    Reference<XShape> shape;
    Reference<XGroup> group;
    Reference<XLine> line;
    Reference<XConnectionSite> site;
    Reference<XSlideTable> table;
    Reference<XWordArt> wordArt;
    Reference<XAffineTransform> transform;
    Any any;  // holds an object, so that reading it would query it
};

Arguments recordingArguments(const Reference<RecordingHost>& host) {
    Reference<RecordingArgument> argument(new RecordingArgument);
    const presentation::Page page(host.get());
    const presentation::HostShape shape(host.get());
    return Arguments{presentation::makeSlide(presentation::Model(host.get()), page),
                     presentation::makeTextRange(Reference<hosttext::XText>(host.get()), {}, false),
                     presentation::makePageElement(page, shape),
                     presentation::makeShape(page, shape),
                     Reference<XGroup>(argument.get()),
                     Reference<XLine>(argument.get()),
                     Reference<XConnectionSite>(argument.get()),
                     Reference<XSlideTable>(argument.get()),
                     Reference<XWordArt>(argument.get()),
                     Reference<XAffineTransform>(argument.get()),
                     Any(Reference<XInterface>(static_cast<XGroup*>(argument.get())))};
}

// Which objects an operation is run against: those that declare its interface.
enum class Declared {
    XPresentation,
    XPageBase,          // slide, page, master, layout, notes page, notes master
    XEditablePageBase,  // slide, page, master, layout
    UnsettledPage,      // a page of unsettled kind only
    XSlide,
    XPageElementBase,  // page element and shape
    XPageElement,
    XShape,
    XTextRange,
    XTextParagraph,
    XTextStyle,
    XSlideSelection,
};

// One object of each class that declares an operation.
struct Targets {
    Reference<XPresentation> presentation;
    Reference<XSlide> slide;
    Reference<XPage> page;
    Reference<XMaster> master;
    Reference<XLayout> layout;
    Reference<XNotesPage> notesPage;
    Reference<XNotesMaster> notesMaster;
    Reference<XPageElement> element;
    Reference<XShape> shape;
    Reference<XTextRange> range;
    Reference<XTextParagraph> paragraph;
    Reference<XTextStyle> style;
    Reference<XSlideSelection> selection;

    std::vector<std::pair<const char*, Reference<XInterface>>> of(Declared d) const {
        auto x = [](const char* name, const auto& r) { return std::make_pair(name, Reference<XInterface>(r.get())); };
        switch (d) {
        case Declared::XPresentation: return {x("presentation", presentation)};
        case Declared::XPageBase:
            return {x("slide", slide),          x("page", page),        x("master", master),
                    x("layout", layout), x("notes page", notesPage), x("notes master", notesMaster)};
        case Declared::XEditablePageBase:
            return {x("slide", slide), x("page", page), x("master", master), x("layout", layout)};
        case Declared::UnsettledPage: return {x("page", page)};
        case Declared::XSlide: return {x("slide", slide)};
        case Declared::XPageElementBase: return {x("page element", element), x("shape", shape)};
        case Declared::XPageElement: return {x("page element", element)};
        case Declared::XShape: return {x("shape", shape)};
        case Declared::XTextRange: return {x("text range", range)};
        case Declared::XTextParagraph: return {x("paragraph", paragraph)};
        case Declared::XTextStyle: return {x("style", style)};
        case Declared::XSlideSelection: return {x("selection", selection)};
        }
        return {};
    }
};

struct Operation {
    Declared declared;
    const char* interface;
    const char* operation;
    const char16_t* message;
    void (*call)(const Reference<XInterface>& target, const Arguments& a);
};

#define ROW(declared, I, operation, message, ...)                                                            \
    Operation {                                                                                              \
        Declared::declared, #I, operation, u"" message, [](const Reference<XInterface>& t, const Arguments& a) { \
            (void)a;                                                                                         \
            Reference<I>(t, UNO_QUERY_THROW)->__VA_ARGS__;                                                   \
        }                                                                                                    \
    }

const Operation kOperations[] = {
    ROW(XPresentation, XPresentation, "appendSlideLinked", "appendSlide with a slide linking mode: not implemented", appendSlideLinked(a.slide, SlideLinkingMode::LINKED)),
    ROW(XPresentation, XPresentation, "getPageElementById", "getPageElementById: not implemented", getPageElementById(u"p1")),
    ROW(XPresentation, XPresentation, "getSlideById", "getSlideById: not implemented", getSlideById(u"s1")),
    ROW(XPresentation, XPresentation, "insertSlideLinked", "insertSlideLinked: not implemented", insertSlideLinked(1, a.slide, SlideLinkingMode::NOT_LINKED)),
    ROW(XPageBase, XPageBase, "getGroups", "getGroups: not implemented", getGroups()),
    ROW(XPageBase, XPageBase, "getImages", "getImages: not implemented", getImages()),
    ROW(XPageBase, XPageBase, "getLines", "getLines: not implemented", getLines()),
    ROW(XPageBase, XPageBase, "getObjectId", "getObjectId: not implemented", getObjectId()),
    ROW(XPageBase, XPageBase, "getPageElementById", "getPageElementById: not implemented", getPageElementById(u"p1")),
    ROW(XPageBase, XPageBase, "getTables", "getTables: not implemented", getTables()),
    ROW(XPageBase, XPageBase, "getVideos", "getVideos: not implemented", getVideos()),
    ROW(XPageBase, XPageBase, "getWordArts", "getWordArts: not implemented", getWordArts()),
    ROW(XEditablePageBase, XEditablePageBase, "getBackground", "getBackground: not implemented", getBackground()),
    ROW(XEditablePageBase, XEditablePageBase, "getColorScheme", "getColorScheme: not implemented", getColorScheme()),
    ROW(XEditablePageBase, XEditablePageBase, "group", "group: not implemented", group({a.shape, a.element})),
    ROW(XEditablePageBase, XEditablePageBase, "insertGroup", "insertGroup: not implemented", insertGroup(a.group)),
    ROW(XEditablePageBase, XEditablePageBase, "insertImage", "insertImage: not implemented", insertImage(a.any)),
    ROW(XEditablePageBase, XEditablePageBase, "insertImageAt", "insertImageAt: not implemented", insertImageAt(a.any, 1, 2, 3, 4)),
    ROW(XEditablePageBase, XEditablePageBase, "insertLine", "insertLine: not implemented", insertLine(a.line)),
    ROW(XEditablePageBase, XEditablePageBase, "insertLineBetween", "insertLineBetween: not implemented", insertLineBetween(LineCategory::STRAIGHT, a.site, a.site)),
    ROW(XEditablePageBase, XEditablePageBase, "insertLineAt", "insertLineAt: not implemented", insertLineAt(LineCategory::BENT, 1, 2, 3, 4)),
    ROW(XEditablePageBase, XEditablePageBase, "insertPageElement", "insertPageElement: not implemented", insertPageElement(a.element)),
    ROW(XEditablePageBase, XEditablePageBase, "insertShape", "insertShape: not implemented", insertShape(a.any)),
    ROW(XEditablePageBase, XEditablePageBase, "insertShapeAt", "insertShapeAt: not implemented", insertShapeAt(ShapeType::RECTANGLE, 1, 2, 3, 4)),
    ROW(XEditablePageBase, XEditablePageBase, "insertTable", "insertTable: not implemented", insertTable(2, 3)),
    ROW(XEditablePageBase, XEditablePageBase, "insertTableAt", "insertTableAt: not implemented", insertTableAt(2, 3, 1, 2, 3, 4)),
    ROW(XEditablePageBase, XEditablePageBase, "insertTableCopy", "insertTableCopy: not implemented", insertTableCopy(a.table)),
    ROW(XEditablePageBase, XEditablePageBase, "insertWordArt", "insertWordArt: not implemented", insertWordArt(a.wordArt)),
    ROW(UnsettledPage, XEditablePageBase, "remove", "remove: not implemented", remove()),
    ROW(XSlide, XSlide, "move", "move: not implemented", move(0)),
    ROW(XPageElementBase, XPageElementBase, "alignOnPage", "alignOnPage: not implemented", alignOnPage(AlignmentPosition::CENTER)),
    ROW(XPageElementBase, XPageElementBase, "bringForward", "bringForward: not implemented", bringForward()),
    ROW(XPageElementBase, XPageElementBase, "bringToFront", "bringToFront: not implemented", bringToFront()),
    ROW(XPageElementBase, XPageElementBase, "duplicate", "duplicate: not implemented", duplicate()),
    ROW(XPageElementBase, XPageElementBase, "getConnectionSites", "getConnectionSites: not implemented", getConnectionSites()),
    ROW(XPageElementBase, XPageElementBase, "getDescription", "getDescription: not implemented", getDescription()),
    ROW(XPageElementBase, XPageElementBase, "getInherentHeight", "getInherentHeight: not implemented", getInherentHeight()),
    ROW(XPageElementBase, XPageElementBase, "getInherentWidth", "getInherentWidth: not implemented", getInherentWidth()),
    ROW(XPageElementBase, XPageElementBase, "getObjectId", "getObjectId: not implemented", getObjectId()),
    ROW(XPageElementBase, XPageElementBase, "getParentGroup", "getParentGroup: not implemented", getParentGroup()),
    ROW(XPageElementBase, XPageElementBase, "getParentPage", "getParentPage: not implemented", getParentPage()),
    ROW(XPageElementBase, XPageElementBase, "getRotation", "getRotation: not implemented", getRotation()),
    ROW(XPageElementBase, XPageElementBase, "getTitle", "getTitle: not implemented", getTitle()),
    ROW(XPageElementBase, XPageElementBase, "getTransform", "getTransform: not implemented", getTransform()),
    ROW(XPageElementBase, XPageElementBase, "preconcatenateTransform", "preconcatenateTransform: not implemented", preconcatenateTransform(a.transform)),
    ROW(XPageElementBase, XPageElementBase, "scaleHeight", "scaleHeight: not implemented", scaleHeight(2)),
    ROW(XPageElementBase, XPageElementBase, "scaleWidth", "scaleWidth: not implemented", scaleWidth(0.5)),
    ROW(XPageElementBase, XPageElementBase, "select", "select: not implemented", select()),
    ROW(XPageElementBase, XPageElementBase, "selectWithReplace", "selectWithReplace: not implemented", selectWithReplace(true)),
    ROW(XPageElementBase, XPageElementBase, "sendBackward", "sendBackward: not implemented", sendBackward()),
    ROW(XPageElementBase, XPageElementBase, "sendToBack", "sendToBack: not implemented", sendToBack()),
    ROW(XPageElementBase, XPageElementBase, "setDescription", "setDescription: not implemented", setDescription(u"d")),
    ROW(XPageElementBase, XPageElementBase, "setRotation", "setRotation: not implemented", setRotation(90)),
    ROW(XPageElementBase, XPageElementBase, "setTitle", "setTitle: not implemented", setTitle(u"t")),
    ROW(XPageElementBase, XPageElementBase, "setTransform", "setTransform: not implemented", setTransform(a.transform)),
    ROW(XPageElement, XPageElement, "asGroup", "asGroup: not implemented", asGroup()),
    ROW(XPageElement, XPageElement, "asImage", "asImage: not implemented", asImage()),
    ROW(XPageElement, XPageElement, "asLine", "asLine: not implemented", asLine()),
    ROW(XPageElement, XPageElement, "asTable", "asTable: not implemented", asTable()),
    ROW(XPageElement, XPageElement, "asVideo", "asVideo: not implemented", asVideo()),
    ROW(XPageElement, XPageElement, "asWordArt", "asWordArt: not implemented", asWordArt()),
    ROW(XShape, XShape, "getAutofit", "getAutofit: not implemented", getAutofit()),
    ROW(XShape, XShape, "getBorder", "getBorder: not implemented", getBorder()),
    ROW(XShape, XShape, "getContentAlignment", "getContentAlignment: not implemented", getContentAlignment()),
    ROW(XShape, XShape, "getFill", "getFill: not implemented", getFill()),
    ROW(XShape, XShape, "getLink", "getLink: not implemented", getLink()),
    ROW(XShape, XShape, "getParentPlaceholder", "getParentPlaceholder: not implemented", getParentPlaceholder()),
    ROW(XShape, XShape, "getPlaceholderIndex", "getPlaceholderIndex: not implemented", getPlaceholderIndex()),
    ROW(XShape, XShape, "getPlaceholderType", "getPlaceholderType: not implemented", getPlaceholderType()),
    ROW(XShape, XShape, "getShapeType", "getShapeType: not implemented", getShapeType()),
    ROW(XShape, XShape, "removeLink", "removeLink: not implemented", removeLink()),
    ROW(XShape, XShape, "replaceWithImage", "replaceWithImage: not implemented", replaceWithImage(a.any)),
    ROW(XShape, XShape, "replaceWithImageCropped", "replaceWithImageCropped: not implemented", replaceWithImageCropped(a.any, true)),
    ROW(XShape, XShape, "setContentAlignment", "setContentAlignment: not implemented", setContentAlignment(ContentAlignment::TOP)),
    ROW(XShape, XShape, "setLinkSlide", "setLinkSlide: not implemented", setLinkSlide(a.any)),
    ROW(XShape, XShape, "setLinkUrl", "setLinkUrl: not implemented", setLinkUrl(u"https://example.org")),
    ROW(XTextRange, XTextRange, "appendRange", "appendRange: not implemented", appendRange(a.range)),
    ROW(XTextRange, XTextRange, "appendRangeMatchSourceFormatting", "appendRangeMatchSourceFormatting: not implemented", appendRangeMatchSourceFormatting(a.range, true)),
    ROW(XTextRange, XTextRange, "asRenderedString", "asRenderedString: not implemented", asRenderedString()),
    ROW(XTextRange, XTextRange, "clear", "clear: not implemented", clear()),
    ROW(XTextRange, XTextRange, "clearRange", "clearRange: not implemented", clearRange(0, 1)),
    ROW(XTextRange, XTextRange, "find", "find: not implemented", find(u"x")),
    ROW(XTextRange, XTextRange, "findFrom", "findFrom: not implemented", findFrom(u"x", 1)),
    ROW(XTextRange, XTextRange, "getAutoTexts", "getAutoTexts: not implemented", getAutoTexts()),
    ROW(XTextRange, XTextRange, "getEndIndex", "getEndIndex: not implemented", getEndIndex()),
    ROW(XTextRange, XTextRange, "getLength", "getLength: not implemented", getLength()),
    ROW(XTextRange, XTextRange, "getLinks", "getLinks: not implemented", getLinks()),
    ROW(XTextRange, XTextRange, "getListParagraphs", "getListParagraphs: not implemented", getListParagraphs()),
    ROW(XTextRange, XTextRange, "getListStyle", "getListStyle: not implemented", getListStyle()),
    ROW(XTextRange, XTextRange, "getParagraphs", "getParagraphs: not implemented", getParagraphs()),
    ROW(XTextRange, XTextRange, "getParagraphStyle", "getParagraphStyle: not implemented", getParagraphStyle()),
    ROW(XTextRange, XTextRange, "getRange", "getRange: not implemented", getRange(0, 1)),
    ROW(XTextRange, XTextRange, "getRuns", "getRuns: not implemented", getRuns()),
    ROW(XTextRange, XTextRange, "getStartIndex", "getStartIndex: not implemented", getStartIndex()),
    ROW(XTextRange, XTextRange, "insertParagraph", "insertParagraph: not implemented", insertParagraph(0, u"x")),
    ROW(XTextRange, XTextRange, "insertRange", "insertRange: not implemented", insertRange(0, a.range)),
    ROW(XTextRange, XTextRange, "insertRangeMatchSourceFormatting", "insertRangeMatchSourceFormatting: not implemented", insertRangeMatchSourceFormatting(0, a.range, false)),
    ROW(XTextRange, XTextRange, "insertText", "insertText: not implemented", insertText(0, u"x")),
    ROW(XTextRange, XTextRange, "isEmpty", "isEmpty: not implemented", isEmpty()),
    ROW(XTextRange, XTextRange, "replaceAllText", "replaceAllText: not implemented", replaceAllText(u"e", u"E")),
    ROW(XTextRange, XTextRange, "replaceAllTextMatchCase", "replaceAllTextMatchCase: not implemented", replaceAllTextMatchCase(u"e", u"E", true)),
    ROW(XTextRange, XTextRange, "select", "select: not implemented", select()),
    ROW(XTextParagraph, XTextParagraph, "getIndex", "getIndex: not implemented", getIndex()),
    ROW(XTextStyle, XTextStyle, "getBackgroundColor", "getBackgroundColor: not implemented", getBackgroundColor()),
    ROW(XTextStyle, XTextStyle, "getBaselineOffset", "getBaselineOffset: not implemented", getBaselineOffset()),
    ROW(XTextStyle, XTextStyle, "getFontFamily", "getFontFamily: not implemented", getFontFamily()),
    ROW(XTextStyle, XTextStyle, "getFontSize", "getFontSize: not implemented", getFontSize()),
    ROW(XTextStyle, XTextStyle, "getForegroundColor", "getForegroundColor: not implemented", getForegroundColor()),
    ROW(XTextStyle, XTextStyle, "getLink", "getLink: not implemented", getLink()),
    ROW(XTextStyle, XTextStyle, "hasLink", "hasLink: not implemented", hasLink()),
    ROW(XTextStyle, XTextStyle, "isBackgroundTransparent", "isBackgroundTransparent: not implemented", isBackgroundTransparent()),
    ROW(XTextStyle, XTextStyle, "isBold", "isBold: not implemented", isBold()),
    ROW(XTextStyle, XTextStyle, "isItalic", "isItalic: not implemented", isItalic()),
    ROW(XTextStyle, XTextStyle, "isSmallCaps", "isSmallCaps: not implemented", isSmallCaps()),
    ROW(XTextStyle, XTextStyle, "isStrikethrough", "isStrikethrough: not implemented", isStrikethrough()),
    ROW(XTextStyle, XTextStyle, "isUnderline", "isUnderline: not implemented", isUnderline()),
    ROW(XTextStyle, XTextStyle, "removeLink", "removeLink: not implemented", removeLink()),
    ROW(XTextStyle, XTextStyle, "setBackgroundColor", "setBackgroundColor: not implemented", setBackgroundColor(a.any)),
    ROW(XTextStyle, XTextStyle, "setBackgroundColorRgb", "setBackgroundColorRgb: not implemented", setBackgroundColorRgb(1, 2, 3)),
    ROW(XTextStyle, XTextStyle, "setBackgroundColorTransparent", "setBackgroundColorTransparent: not implemented", setBackgroundColorTransparent()),
    ROW(XTextStyle, XTextStyle, "setBaselineOffset", "setBaselineOffset: not implemented", setBaselineOffset(TextBaselineOffset::SUPERSCRIPT)),
    ROW(XTextStyle, XTextStyle, "setFontFamily", "setFontFamily: not implemented", setFontFamily(u"Serif")),
    ROW(XTextStyle, XTextStyle, "setForegroundColor", "setForegroundColor: not implemented", setForegroundColor(a.any)),
    ROW(XTextStyle, XTextStyle, "setForegroundColorRgb", "setForegroundColorRgb: not implemented", setForegroundColorRgb(1, 2, 3)),
    ROW(XTextStyle, XTextStyle, "setLinkSlide", "setLinkSlide: not implemented", setLinkSlide(a.any)),
    ROW(XTextStyle, XTextStyle, "setLinkUrl", "setLinkUrl: not implemented", setLinkUrl(u"x")),
    ROW(XTextStyle, XTextStyle, "setSmallCaps", "setSmallCaps: not implemented", setSmallCaps(true)),
    ROW(XTextStyle, XTextStyle, "setUnderline", "setUnderline: not implemented", setUnderline(true)),
    ROW(XSlideSelection, XSlideSelection, "getTableCellRange", "getTableCellRange: not implemented", getTableCellRange()),
};

#undef ROW

// Runs every operation against every object that declares it; each must fail
// with its message, a runtime exception without context.
void runEveryOperation(const Targets& targets, const Arguments& arguments, bool expectNoHostCalls) {
    for (const Operation& op : kOperations)
        for (const auto& [kind, target] : targets.of(op.declared)) {
            SCOPED_TRACE(std::string(op.interface) + "::" + op.operation + " on the " + kind);
            ASSERT_TRUE(target.is());
            recordedCalls().clear();
            expectFailure([&] { op.call(target, arguments); }, op.message);
            if (expectNoHostCalls) {
                EXPECT_TRUE(recordedCalls().empty()) << "first call made: " << recordedCalls().front();
            }
        }
}

// Empty answers of the host are not wrapped: the optional layout is absent, the
// notes page and the copy fail.
TEST(EmptyHostAnswers, AreNotWrapped) {
    Reference<RecordingHost> host(new RecordingHost);
    Reference<XSlide> slide = presentation::makeSlide(presentation::Model(host.get()), presentation::Page(host.get()));
    EXPECT_FALSE(slide->getLayout().IsPresent);
    expectFailure([&] { slide->getNotesPage(); }, u"getNotesPage: the slide has no notes page");
    expectFailure([&] { slide->duplicate(); }, u"duplicate: the host made no copy of the slide");
}

TEST(UnimplementedOperations, TheTableCoversEveryDeclaringClass) {
    // Every class that declares an operation is the target of at least one row.
    std::vector<std::string> covered;
    const Targets names;
    for (const Operation& op : kOperations)
        for (const auto& target : names.of(op.declared)) covered.emplace_back(target.first);
    for (const char* kind : {"presentation", "slide", "page", "master", "layout", "notes page", "notes master",
                             "page element", "shape", "text range", "paragraph", "style", "selection"}) {
        SCOPED_TRACE(kind);
        EXPECT_NE(std::find(covered.begin(), covered.end(), std::string(kind)), covered.end());
    }
    EXPECT_EQ(std::size(kOperations), 129u);
}

TEST(UnimplementedOperations, ReadNoArgumentAndCallNothingInTheHost) {
    recordedCalls().clear();
    Reference<RecordingHost> host(new RecordingHost);
    const presentation::Model model(host.get());
    const presentation::Page page(host.get());
    const presentation::HostShape shape(host.get());
    const Reference<hosttext::XText> text(host.get());
    Targets targets;
    targets.presentation = detail::createPresentation(model);
    targets.slide = presentation::makeSlide(model, page);
    targets.page = presentation::makePage(model, page);
    targets.master = presentation::makeMaster(model, page);
    targets.layout = presentation::makeLayout(model, page);
    targets.notesPage = presentation::makeNotesPage(model, page);
    targets.notesMaster = presentation::makeNotesMaster(model, page);
    targets.element = presentation::makePageElement(page, shape);
    targets.shape = presentation::makeShape(page, shape);
    targets.range = presentation::makeTextRange(text, {}, false);
    targets.paragraph = presentation::makeTextParagraph(presentation::makeTextRange(text, text, true));
    targets.style = presentation::makeTextRange(text, text, false)->getTextStyle().Value;
    targets.selection = presentation::makeSlideSelection(model);
    // Nothing above needs the host but for the style's text.
    EXPECT_EQ(recordedCalls(), std::vector<std::string>{"getString"});
    runEveryOperation(targets, recordingArguments(host), true);
}

TEST_F(DeckTest, UnimplementedOperationsChangeNothingInADocument) {
    Targets targets;
    targets.presentation = presentation;
    targets.slide = slide(0);
    targets.page = presentation::makePage(deck().model(), deck().slideAt(0));
    targets.master = presentation->getMasters()[0];
    targets.layout = presentation->getLayouts()[0];
    targets.notesPage = slide(0)->getNotesPage();
    targets.notesMaster = presentation->getNotesMaster();
    targets.element = slide(0)->getPageElements()[0];
    targets.shape = slide(0)->getShapes()[0];
    targets.range = slide(1)->getShapes()[1]->getText();
    targets.paragraph = slide(1)->getShapes()[0]->getText()->appendParagraph(u"Agenda");
    targets.style = targets.range->getTextStyle().Value;
    auto selection = presentation->getSelection();
    ASSERT_TRUE(selection.IsPresent);
    targets.selection = selection.Value;
    ASSERT_TRUE(targets.style.is());

    const auto snapshot = [&] {
        std::vector<OUString> state;
        for (sal_Int32 i = 0; i < presentation->getSlides().getLength(); ++i)
            for (const auto& s : testsupport::draw::shapesOf(deck().slideAt(i))) {
                Reference<hosttext::XText> t(s, UNO_QUERY);
                state.push_back(t.is() ? t->getString() : OUString(u"(no text)"));
            }
        state.push_back(OUString::number(presentation->getMasters().getLength()));
        state.push_back(OUString::number(presentation->getSlides().getLength()));
        return state;
    };
    const std::vector<OUString> before = snapshot();
    Arguments arguments;
    arguments.slide = slide(1);
    arguments.range = slide(0)->getShapes()[0]->getText();
    arguments.element = targets.element;
    arguments.shape = targets.shape;
    arguments.transform = detail::createAffineTransformBuilder()->setScaleX(2)->build();
    Reference<RecordingArgument> other(new RecordingArgument);
    arguments.group = other.get();
    arguments.line = other.get();
    arguments.site = other.get();
    arguments.table = other.get();
    arguments.wordArt = other.get();
    // An integer: setForegroundColor takes only strings, so it fails with the rest.
    arguments.any = Any(sal_Int32(0x336699));
    runEveryOperation(targets, arguments, false);
    EXPECT_EQ(snapshot(), before);
    // The objects stay usable.
    EXPECT_EQ(targets.range->asString(), u"Revenue grew\nCosts fell\n");
    EXPECT_EQ(targets.slide->getPageType(), PageType::SLIDE);
    EXPECT_TRUE(targets.notesPage->getSpeakerNotesShape().is());
}

} // namespace
} // namespace corvane::test
