// Tests of the stand-in draw model: presentations and drawings, their slides,
// master and notes pages, shapes of every kind, shape text on the text core,
// identity across routes, and replacing text on a page.

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/document/document.hxx>
#include <com/qam/vexo/drawing/drawing.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/presentation/presentation.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/util/replace.hxx>
#include <officehost/desktop.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/draw/PresentationBuilder.hxx>

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace css = ::com::qam::vexo;
using css::drawing::XDrawPage;
using css::drawing::XDrawPages;
using css::drawing::XShape;
using css::drawing::XShapes;
using testsupport::draw::PresentationBuilder;
using testsupport::draw::shapesOf;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

using DrawModelTest = testsupport::HostTest;

using testsupport::expectThrows;

template <class T>
Reference<css::beans::XPropertySet> props(const Reference<T>& x) {
    return Reference<css::beans::XPropertySet>(x, UNO_QUERY_THROW);
}

template <class A, class B>
bool same(const Reference<A>& a, const Reference<B>& b) {
    return Reference<XInterface>::sameObject(a.get(), b.get());
}

Reference<XShape> make(const Reference<css::frame::XModel>& model, const OUString& type) {
    return Reference<XShape>(Reference<css::lang::XMultiServiceFactory>(model, UNO_QUERY_THROW)->createInstance(type),
                             UNO_QUERY);
}

sal_Int32 replace(const Reference<XDrawPage>& page, const OUString& find, const OUString& with, bool matchCase) {
    Reference<css::util::XReplaceable> r(page, UNO_QUERY_THROW);
    Reference<css::util::XReplaceDescriptor> d = r->createReplaceDescriptor();
    d->setSearchString(find);
    d->setReplaceString(with);
    d->setPropertyValue(u"SearchCaseSensitive", Any(matchCase));
    return r->replaceAll(Reference<css::util::XSearchDescriptor>(d, UNO_QUERY_THROW));
}

TEST_F(DrawModelTest, ANewPresentationAndANewDrawing) {
    auto presentation = officehost::openPresentationDocument();
    PresentationBuilder deck(presentation);
    Reference<css::lang::XServiceInfo> info(presentation, UNO_QUERY_THROW);
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.presentation.PresentationDocument"));
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.drawing.DrawingDocument"));
    EXPECT_EQ(deck.slides()->getCount(), 1);
    EXPECT_EQ(deck.masters()->getCount(), 1);
    EXPECT_EQ(Reference<css::container::XNamed>(deck.masterAt(0), UNO_QUERY_THROW)->getName(), u"Default");
    EXPECT_EQ(Reference<css::container::XNamed>(deck.slideAt(0), UNO_QUERY_THROW)->getName(), u"page1");
    EXPECT_EQ(presentation->getURL(), u"");
    auto slideProps = props(deck.slideAt(0));
    EXPECT_EQ(slideProps->getPropertyValue(u"Width").get<sal_Int32>(), 28000);
    EXPECT_EQ(slideProps->getPropertyValue(u"Height").get<sal_Int32>(), 15750);
    EXPECT_EQ(slideProps->getPropertyValue(u"Layout").get<sal_Int16>(), 0);
    EXPECT_TRUE(slideProps->getPropertyValue(u"Visible").get<bool>());
    auto notes = testsupport::draw::notesPageOf(deck.slideAt(0));
    ASSERT_TRUE(notes.is());
    EXPECT_EQ(props(notes)->getPropertyValue(u"Width").get<sal_Int32>(), 21000);
    EXPECT_EQ(props(notes)->getPropertyValue(u"Height").get<sal_Int32>(), 29700);
    EXPECT_NO_THROW(testsupport::draw::firstShapeOf(notes, u"com.qam.vexo.presentation.NotesShape"));
    EXPECT_TRUE(testsupport::draw::notesPageOf(deck.masterAt(0)).is());
    // Master pages have no layout, and say so.
    auto masterProps = props(deck.masterAt(0));
    EXPECT_FALSE(masterProps->getPropertySetInfo()->hasPropertyByName(u"Layout"));
    EXPECT_TRUE(slideProps->getPropertySetInfo()->hasPropertyByName(u"Layout"));
    expectThrows<css::beans::UnknownPropertyException>([&] { masterProps->getPropertyValue(u"Layout"); },
                                                       u"getPropertyValue: unknown property Layout");
    EXPECT_FALSE(Reference<css::drawing::XMasterPageTarget>(deck.masterAt(0), UNO_QUERY).is());
    EXPECT_TRUE(same(Reference<css::drawing::XMasterPageTarget>(deck.slideAt(0), UNO_QUERY_THROW)->getMasterPage(),
                     deck.masterAt(0)));

    auto drawing = officehost::openDrawingDocument({u"file:///tmp/plan.odg", 2});
    PresentationBuilder sketch(drawing);
    Reference<css::lang::XServiceInfo> drawingInfo(drawing, UNO_QUERY_THROW);
    EXPECT_FALSE(drawingInfo->supportsService(u"com.qam.vexo.presentation.PresentationDocument"));
    EXPECT_TRUE(drawingInfo->supportsService(u"com.qam.vexo.drawing.DrawingDocument"));
    EXPECT_EQ(drawing->getURL(), u"file:///tmp/plan.odg");
    EXPECT_EQ(sketch.slides()->getCount(), 2);
    EXPECT_FALSE(Reference<css::presentation::XPresentationPage>(sketch.slideAt(0), UNO_QUERY).is());
    EXPECT_FALSE(props(sketch.slideAt(0))->getPropertySetInfo()->hasPropertyByName(u"Layout"));
    EXPECT_FALSE(make(drawing, u"com.qam.vexo.presentation.TitleTextShape").is());
    EXPECT_TRUE(make(drawing, u"com.qam.vexo.drawing.TextShape").is());
}

TEST_F(DrawModelTest, PagesAndShapesAreOneObjectWhateverTheRoute) {
    auto deck = PresentationBuilder::sample();
    Reference<XDrawPage> first = deck.slideAt(1);
    EXPECT_TRUE(same(first, deck.slideAt(1)));
    EXPECT_TRUE(same(first, Reference<XDrawPage>(deck.slides()->getByIndex(1), UNO_QUERY_THROW)));
    auto shapes = shapesOf(first);
    ASSERT_EQ(shapes.size(), 2u);
    EXPECT_TRUE(same(shapes[1], shapesOf(deck.slideAt(1))[1]));
    EXPECT_TRUE(same(Reference<css::container::XChild>(shapes[1], UNO_QUERY_THROW)->getParent(), first));
    // The shape is its text: cursors and paragraphs name it as their text.
    Reference<css::text::XText> text(shapes[1], UNO_QUERY_THROW);
    EXPECT_TRUE(same(text->createTextCursor()->getText(), shapes[1]));
    Reference<css::container::XEnumeration> paragraphs =
        Reference<css::container::XEnumerationAccess>(shapes[1], UNO_QUERY_THROW)->createEnumeration();
    Reference<css::text::XTextRange> para(paragraphs->nextElement(), UNO_QUERY_THROW);
    EXPECT_EQ(para->getString(), u"Revenue grew");
    EXPECT_TRUE(same(para->getText(), shapes[1]));
    // The notes page of one slide is one object too.
    EXPECT_TRUE(same(testsupport::draw::notesPageOf(first), testsupport::draw::notesPageOf(deck.slideAt(1))));
}

TEST_F(DrawModelTest, ANewSlideFollowsThePageAtTheIndexAndTakesItsMasterAndLayout) {
    auto deck = PresentationBuilder::sample();
    Reference<XDrawPages> slides = deck.slides();
    Reference<XDrawPage> second = deck.masterAt(1);
    Reference<css::drawing::XMasterPageTarget>(deck.slideAt(0), UNO_QUERY_THROW)->setMasterPage(second);
    props(deck.slideAt(0))->setPropertyValue(u"Layout", Any(sal_Int16(3)));
    Reference<XDrawPage> added = slides->insertNewByIndex(0);
    EXPECT_EQ(slides->getCount(), 3);
    EXPECT_TRUE(same(deck.slideAt(1), added));
    EXPECT_EQ(props(added)->getPropertyValue(u"Layout").get<sal_Int16>(), 3);
    EXPECT_TRUE(same(Reference<css::drawing::XMasterPageTarget>(added, UNO_QUERY_THROW)->getMasterPage(), second));
    // Its notes page holds a picture of the slide and an empty notes placeholder.
    auto notesShapes = shapesOf(testsupport::draw::notesPageOf(added));
    ASSERT_EQ(notesShapes.size(), 2u);
    EXPECT_EQ(notesShapes[0]->getShapeType(), u"com.qam.vexo.presentation.PageShape");
    EXPECT_EQ(notesShapes[1]->getShapeType(), u"com.qam.vexo.presentation.NotesShape");
    EXPECT_EQ(testsupport::draw::textOf(notesShapes[1]), u"");
    EXPECT_TRUE(props(added)->getPropertyValue(u"Visible").get<bool>());
    EXPECT_EQ(props(added)->getPropertyValue(u"BookmarkURL").get<OUString>(), u"");
    EXPECT_EQ(Reference<XShapes>(added, UNO_QUERY_THROW)->getCount(), 0);
    for (sal_Int32 bad : {-1, 3}) {
        SCOPED_TRACE(bad);
        expectThrows<css::lang::IndexOutOfBoundsException>([&] { slides->insertNewByIndex(bad); },
                                                           u"insertNewByIndex: there is no page " + OUString::number(bad));
        expectThrows<css::lang::IndexOutOfBoundsException>([&] { slides->getByIndex(bad); },
                                                           u"getByIndex: there is no page " + OUString::number(bad));
    }
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { Reference<css::drawing::XMasterPageTarget>(added, UNO_QUERY_THROW)->setMasterPage(deck.slideAt(0)); },
        u"setMasterPage: expected a master page of this document");
}

TEST_F(DrawModelTest, RemovingPages) {
    auto deck = PresentationBuilder::sample();
    Reference<XDrawPages> slides = deck.slides();
    Reference<XDrawPage> first = deck.slideAt(0);
    slides->remove(first);
    EXPECT_EQ(slides->getCount(), 1);
    expectThrows<css::container::NoSuchElementException>([&] { slides->remove(first); },
                                                         u"remove: the page is not one of these pages");
    expectThrows<css::lang::DisposedException>([&] { Reference<XShapes>(first, UNO_QUERY_THROW)->getCount(); },
                                               u"getCount: the page is no longer part of the document");
    expectThrows<::zel::uno::RuntimeException>([&] { slides->remove(deck.slideAt(0)); },
                                               u"remove: a document keeps at least one slide");
    // A slide on a removed master moves to the first master.
    Reference<XDrawPage> second = deck.masterAt(1);
    Reference<css::drawing::XMasterPageTarget> target(deck.slideAt(0), UNO_QUERY_THROW);
    target->setMasterPage(second);
    deck.masters()->remove(second);
    EXPECT_TRUE(same(target->getMasterPage(), deck.masterAt(0)));
    expectThrows<::zel::uno::RuntimeException>([&] { deck.masters()->remove(deck.masterAt(0)); },
                                               u"remove: a document keeps at least one master page");
}

TEST_F(DrawModelTest, APresentationMayOpenWithoutSlides) {
    PresentationBuilder deck(officehost::DrawDocumentOptions{u"file:///decks/empty.odp", 0});
    EXPECT_EQ(deck.slides()->getCount(), 0);
    EXPECT_FALSE(deck.slides()->hasElements());
    expectThrows<css::lang::IndexOutOfBoundsException>([&] { deck.slides()->getByIndex(0); },
                                                       u"getByIndex: there is no page 0");
    Reference<XDrawPage> page = deck.slides()->insertNewByIndex(0);
    EXPECT_EQ(deck.slides()->getCount(), 1);
    EXPECT_TRUE(same(Reference<css::drawing::XMasterPageTarget>(page, UNO_QUERY_THROW)->getMasterPage(), deck.masterAt(0)));
}

TEST_F(DrawModelTest, TheFactoryMakesEveryKindAndOnlyTextKindsHoldText) {
    auto model = officehost::openPresentationDocument();
    struct Case {
        const char16_t* type;
        bool text;
        bool group;
    };
    const Case cases[] = {
        {u"com.qam.vexo.drawing.TextShape", true, false},
        {u"com.qam.vexo.drawing.CustomShape", true, false},
        {u"com.qam.vexo.drawing.LineShape", true, false},
        {u"com.qam.vexo.drawing.ConnectorShape", true, false},
        {u"com.qam.vexo.drawing.GraphicObjectShape", true, false},
        {u"com.qam.vexo.drawing.GroupShape", false, true},
        {u"com.qam.vexo.drawing.MediaShape", false, false},
        {u"com.qam.vexo.drawing.TableShape", false, false},
        {u"com.qam.vexo.drawing.OLE2Shape", false, false},
        {u"com.qam.vexo.drawing.AppletShape", false, false},
        {u"com.qam.vexo.drawing.PluginShape", false, false},
        {u"com.qam.vexo.drawing.FrameShape", false, false},
        {u"com.qam.vexo.drawing.ControlShape", false, false},
        {u"com.qam.vexo.presentation.TitleTextShape", true, false},
        {u"com.qam.vexo.presentation.OutlinerShape", true, false},
        {u"com.qam.vexo.presentation.SubtitleShape", true, false},
        {u"com.qam.vexo.presentation.NotesShape", true, false},
        {u"com.qam.vexo.presentation.HeaderShape", true, false},
        {u"com.qam.vexo.presentation.FooterShape", true, false},
        {u"com.qam.vexo.presentation.SlideNumberShape", true, false},
        {u"com.qam.vexo.presentation.DateTimeShape", true, false},
        {u"com.qam.vexo.presentation.GraphicObjectShape", true, false},
        {u"com.qam.vexo.presentation.PageShape", false, false},
        {u"com.qam.vexo.presentation.HandoutShape", false, false},
        {u"com.qam.vexo.presentation.MediaShape", false, false},
        {u"com.qam.vexo.presentation.TableShape", false, false},
        {u"com.qam.vexo.presentation.ChartShape", false, false},
        {u"com.qam.vexo.presentation.OLE2Shape", false, false},
        {u"com.qam.vexo.presentation.CalcShape", false, false},
        {u"com.qam.vexo.presentation.OrgChartShape", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(OUString(c.type));
        Reference<XShape> s = make(model, OUString(c.type));
        ASSERT_TRUE(s.is());
        EXPECT_EQ(s->getShapeType(), OUString(c.type));
        EXPECT_EQ(Reference<css::text::XText>(s, UNO_QUERY).is(), c.text);
        EXPECT_EQ(Reference<XShapes>(s, UNO_QUERY).is(), c.group);
        EXPECT_EQ(props(s)->getPropertySetInfo()->hasPropertyByName(u"TextAutoGrowHeight"), c.text);
    }
    EXPECT_FALSE(make(model, u"com.qam.vexo.drawing.NoSuchShape").is());
}

TEST_F(DrawModelTest, ShapesMoveOnAndOffPagesAndGroups) {
    PresentationBuilder deck;
    deck.slide();
    Reference<XShapes> page(deck.slideAt(0), UNO_QUERY_THROW);
    Reference<XShape> box = make(deck.model(), u"com.qam.vexo.drawing.TextShape");
    Reference<css::text::XText>(box, UNO_QUERY_THROW)->setString(u"kept");
    box->setPosition({100, 200});
    box->setSize({300, 400});
    EXPECT_FALSE(Reference<css::container::XChild>(box, UNO_QUERY_THROW)->getParent().is());
    page->add(box);
    EXPECT_EQ(page->getCount(), 1);
    expectThrows<css::lang::IllegalArgumentException>([&] { page->add(box); },
                                                      u"add: expected a shape of this document that is on no page");
    Reference<XShape> group = make(deck.model(), u"com.qam.vexo.drawing.GroupShape");
    page->add(group);
    page->remove(box);
    EXPECT_EQ(page->getCount(), 1);
    // Off its page the shape keeps its geometry and text.
    EXPECT_EQ(box->getPosition(), (css::awt::Point{100, 200}));
    EXPECT_EQ(testsupport::draw::textOf(box), u"kept");
    Reference<XShapes>(group, UNO_QUERY_THROW)->add(box);
    EXPECT_TRUE(same(Reference<css::container::XChild>(box, UNO_QUERY_THROW)->getParent(), group));
    expectThrows<css::lang::IllegalArgumentException>([&] { Reference<XShapes>(group, UNO_QUERY_THROW)->add(group); },
                                                      u"add: a group cannot hold itself");
    expectThrows<css::container::NoSuchElementException>([&] { page->remove(box); },
                                                         u"remove: the shape is not on this page");
    expectThrows<css::lang::IllegalArgumentException>([&] { box->setSize({-1, 5}); },
                                                      u"setSize: expected a non-negative size, got -1 x 5");
    expectThrows<css::lang::IndexOutOfBoundsException>([&] { page->getByIndex(1); }, u"getByIndex: there is no shape 1");
    // A shape of another document is refused.
    Reference<XShape> foreign = make(officehost::openPresentationDocument(), u"com.qam.vexo.drawing.TextShape");
    expectThrows<css::lang::IllegalArgumentException>([&] { page->add(foreign); },
                                                      u"add: expected a shape of this document that is on no page");
}

TEST_F(DrawModelTest, ShapePropertiesAreTyped) {
    auto model = officehost::openPresentationDocument();
    Reference<XShape> custom = make(model, u"com.qam.vexo.drawing.CustomShape");
    Sequence<css::beans::PropertyValue> inner{css::beans::PropertyValue{u"TextPath", 0, Any(true), {}}};
    Sequence<css::beans::PropertyValue> geometry{css::beans::PropertyValue{u"TextPath", 0, Any(inner), {}}};
    props(custom)->setPropertyValue(u"CustomShapeGeometry", Any(geometry));
    EXPECT_EQ(props(custom)->getPropertyValue(u"CustomShapeGeometry").get<Sequence<css::beans::PropertyValue>>(), geometry);
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { props(custom)->setPropertyValue(u"TextAutoGrowHeight", Any(sal_Int32(1))); },
        u"setPropertyValue: property TextAutoGrowHeight takes a value of type boolean, got long");
    Reference<XShape> media = make(model, u"com.qam.vexo.drawing.MediaShape");
    expectThrows<css::beans::UnknownPropertyException>(
        [&] { props(media)->setPropertyValue(u"TextAutoGrowHeight", Any(false)); },
        u"setPropertyValue: unknown property TextAutoGrowHeight");
    Reference<XDrawPage> slide = PresentationBuilder(model).slideAt(0);
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { props(slide)->setPropertyValue(u"Layout", Any(OUString(u"1"))); },
        u"setPropertyValue: property Layout takes a value of type short, got string");
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { props(slide)->setPropertyValue(u"Width", Any(sal_Int32(0))); },
        u"setPropertyValue: Width must be positive, got 0");
    props(slide)->setPropertyValue(u"Width", Any(sal_Int32(25400)));
    // One size for all slides and masters.
    EXPECT_EQ(props(PresentationBuilder(model).masterAt(0))->getPropertyValue(u"Width").get<sal_Int32>(), 25400);
}

TEST_F(DrawModelTest, ShapeTextHasParagraphsPortionsAndCharacterProperties) {
    PresentationBuilder deck;
    deck.slide().textBox(u"alpha\nbeta");
    Reference<css::text::XText> text(deck.lastShape(), UNO_QUERY_THROW);
    EXPECT_EQ(text->getString(), u"alpha\nbeta");
    Reference<css::text::XTextRange> run =
        Reference<css::text::XTextPortionAppend>(text, UNO_QUERY_THROW)->appendTextPortion(u" gamma", {});
    EXPECT_EQ(run->getString(), u" gamma");
    Reference<css::text::XParagraphAppend>(text, UNO_QUERY_THROW)->finishParagraph({});
    EXPECT_EQ(text->getString(), u"alpha\nbeta gamma\n");
    Reference<css::text::XTextCursor> cursor = text->createTextCursor();
    cursor->gotoEnd(true);
    auto cursorProps = props(cursor);
    const char16_t* floats[] = {u"CharWeight", u"CharWeightAsian", u"CharWeightComplex",
                                u"CharHeight", u"CharHeightAsian", u"CharHeightComplex"};
    for (const char16_t* name : floats) {
        SCOPED_TRACE(OUString(name));
        cursorProps->setPropertyValue(OUString(name), Any(150.0f));
        EXPECT_EQ(props(run)->getPropertyValue(OUString(name)).get<float>(), 150.0f);
    }
    for (const char16_t* name : {u"CharPosture", u"CharPostureAsian", u"CharPostureComplex"}) {
        SCOPED_TRACE(OUString(name));
        cursorProps->setPropertyValue(OUString(name), Any(css::awt::FontSlant_ITALIC));
        EXPECT_EQ(props(run)->getPropertyValue(OUString(name)).get<css::awt::FontSlant>(), css::awt::FontSlant_ITALIC);
    }
    cursorProps->setPropertyValue(u"CharStrikeout", Any(sal_Int16(1)));
    cursorProps->setPropertyValue(u"CharColor", Any(sal_Int32(0xFF0000)));
    EXPECT_EQ(props(run)->getPropertyValue(u"CharColor").get<sal_Int32>(), 0xFF0000);
    // Bullet levels run from -1 (none) to 9 in a shape.
    for (sal_Int16 level : {sal_Int16(-1), sal_Int16(0), sal_Int16(9)}) {
        cursorProps->setPropertyValue(u"NumberingLevel", Any(level));
        EXPECT_EQ(cursorProps->getPropertyValue(u"NumberingLevel").get<sal_Int16>(), level);
    }
    for (sal_Int16 level : {sal_Int16(-2), sal_Int16(10)}) {
        SCOPED_TRACE(level);
        expectThrows<css::lang::IllegalArgumentException>(
            [&] { cursorProps->setPropertyValue(u"NumberingLevel", Any(level)); },
            u"setPropertyValue: NumberingLevel must lie between -1 and 9, got " + OUString::number(level));
    }
    // A text document's lists keep their levels 0 to 9.
    Reference<css::text::XTextDocument> doc(officehost::openTextDocument(), UNO_QUERY_THROW);
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { props(doc->getText()->createTextCursor())->setPropertyValue(u"NumberingLevel", Any(sal_Int16(-1))); },
        u"setPropertyValue: NumberingLevel must lie between 0 and 9, got -1");
    expectThrows<css::beans::UnknownPropertyException>([&] { cursorProps->setPropertyValue(u"CharShine", Any(true)); },
                                                       u"setPropertyValue: unknown property CharShine");
    expectThrows<css::lang::IllegalArgumentException>(
        [&] {
            text->insertTextContent(text->getEnd(),
                                    Reference<css::text::XTextContent>(cursor, UNO_QUERY), false);
        },
        u"insertTextContent: the text of a shape takes no text contents");
    // A range of another shape is not in this text.
    deck.textBox(u"other");
    Reference<css::text::XText> other(deck.lastShape(), UNO_QUERY_THROW);
    expectThrows<css::lang::IllegalArgumentException>([&] { text->createTextCursorByRange(other->getStart()); },
                                                      u"createTextCursorByRange: the range is not in this text");
    // The whole text is a range of itself.
    Reference<css::text::XTextCursor> whole = text->createTextCursorByRange(text);
    EXPECT_EQ(whole->getString(), text->getString());
}

TEST_F(DrawModelTest, AppendedTextGoesBehindTheRangesThatExist) {
    PresentationBuilder deck;
    deck.slide().textBox(u"");
    Reference<css::text::XText> text(deck.lastShape(), UNO_QUERY_THROW);
    Reference<css::text::XTextPortionAppend> portions(text, UNO_QUERY_THROW);
    Reference<css::text::XTextRange> one = portions->appendTextPortion(u"one", {});
    Reference<css::text::XTextRange> two = portions->appendTextPortion(u" two", {});
    EXPECT_EQ(one->getString(), u"one");
    Reference<css::text::XParagraphAppend>(text, UNO_QUERY_THROW)->finishParagraph({});
    Reference<css::text::XTextRange> three = portions->appendTextPortion(u"three", {});
    EXPECT_EQ(one->getString(), u"one");
    EXPECT_EQ(two->getString(), u" two");
    EXPECT_EQ(three->getString(), u"three");
    one->setString(u"1");
    EXPECT_EQ(text->getString(), u"1 two\nthree");
    // Other edits move ranges as the text model does: typing at a range's end extends it.
    text->insertString(two->getEnd(), u"!", false);
    EXPECT_EQ(two->getString(), u" two!");
}

TEST_F(DrawModelTest, ReplacingCoversEveryShapeOfThePage) {
    PresentationBuilder deck;
    deck.slide().title(u"Stra\u00DFe and Caf\u00C9").outline({u"caf\u00E9 au lait", u"CAFÉ"});
    Reference<XShape> group = make(deck.model(), u"com.qam.vexo.drawing.GroupShape");
    Reference<XShapes>(deck.slideAt(0), UNO_QUERY_THROW)->add(group);
    Reference<XShape> inner = make(deck.model(), u"com.qam.vexo.drawing.TextShape");
    Reference<XShapes>(group, UNO_QUERY_THROW)->add(inner);
    Reference<css::text::XText>(inner, UNO_QUERY_THROW)->setString(u"a Caf\u00E9");
    Reference<XDrawPage> page = deck.slideAt(0);
    // Case-sensitive: only the lower-case "café" of the outline.
    EXPECT_EQ(replace(page, u"caf\u00E9", u"tea", true), 1);
    // Otherwise "CafÉ", "CAFÉ" and the grouped "Café" too.
    EXPECT_EQ(replace(page, u"caf\u00E9", u"tea", false), 3);
    auto shapes = shapesOf(page);
    EXPECT_EQ(testsupport::draw::textOf(shapes[0]), u"Stra\u00DFe and tea");
    EXPECT_EQ(testsupport::draw::textOf(shapes[1]), u"tea au lait\ntea");
    EXPECT_EQ(testsupport::draw::textOf(inner), u"a tea");
    // Left to right, no overlaps, replacements not searched again.
    deck.textBox(u"aaaaa");
    EXPECT_EQ(replace(page, u"aa", u"a", true), 2);
    EXPECT_EQ(testsupport::draw::textOf(deck.lastShape()), u"aaa");
    EXPECT_EQ(replace(page, u"zzz", u"y", false), 0);
    // Simple case folding: one character never matches two.
    EXPECT_EQ(replace(page, u"strasse", u"y", false), 0);
    EXPECT_EQ(replace(page, u"STRA\u00DFE", u"Street", false), 1);
    Reference<css::util::XReplaceable> r(page, UNO_QUERY_THROW);
    expectThrows<css::beans::UnknownPropertyException>(
        [&] { r->createReplaceDescriptor()->setPropertyValue(u"SearchWords", Any(true)); },
        u"setPropertyValue: unknown property SearchWords");
}

TEST_F(DrawModelTest, ReplacementsKeepTheCharacterPropertiesOfTheReplacedText) {
    PresentationBuilder deck;
    deck.slide().textBox(u"plain");
    Reference<css::text::XText> text(deck.lastShape(), UNO_QUERY_THROW);
    Reference<css::text::XTextRange> bold =
        Reference<css::text::XTextPortionAppend>(text, UNO_QUERY_THROW)
            ->appendTextPortion(u" loud", {css::beans::PropertyValue{u"CharWeight", 0, Any(150.0f), {}}});
    EXPECT_EQ(replace(deck.slideAt(0), u"LOUD", u"quiet", false), 1);
    EXPECT_EQ(text->getString(), u"plain quiet");
    Reference<css::text::XTextCursor> c = text->createTextCursor();
    c->gotoEnd(false);
    c->goLeft(5, true);
    EXPECT_EQ(c->getString(), u"quiet");
    EXPECT_EQ(props(c)->getPropertyValue(u"CharWeight").get<float>(), 150.0f);
}

TEST_F(DrawModelTest, TitleAndLocationAsALoaderGivesThem) {
    auto model = officehost::openPresentationDocument({u"file:///decks/My%20Deck.odp", 1});
    EXPECT_EQ(model->getURL(), u"file:///decks/My%20Deck.odp");
    Reference<css::document::XDocumentProperties> properties =
        Reference<css::document::XDocumentPropertiesSupplier>(model, UNO_QUERY_THROW)->getDocumentProperties();
    EXPECT_EQ(properties->getTitle(), u"");
    properties->setTitle(u"Quarterly");
    EXPECT_EQ(Reference<css::document::XDocumentPropertiesSupplier>(model, UNO_QUERY_THROW)->getDocumentProperties()->getTitle(),
              u"Quarterly");
}

TEST_F(DrawModelTest, TheSampleDeck) {
    auto deck = PresentationBuilder::sample();
    EXPECT_EQ(deck.slides()->getCount(), 2);
    EXPECT_EQ(deck.masters()->getCount(), 2);
    EXPECT_EQ(Reference<css::container::XNamed>(deck.masterAt(1), UNO_QUERY_THROW)->getName(), u"Second");
    EXPECT_EQ(props(deck.slideAt(1))->getPropertyValue(u"Layout").get<sal_Int16>(), 1);
    auto second = shapesOf(deck.slideAt(1));
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0]->getShapeType(), u"com.qam.vexo.presentation.TitleTextShape");
    EXPECT_EQ(testsupport::draw::textOf(second[1]), u"Revenue grew\nCosts fell");
    auto notes = testsupport::draw::firstShapeOf(testsupport::draw::notesPageOf(deck.slideAt(1)),
                                                 u"com.qam.vexo.presentation.NotesShape");
    EXPECT_EQ(testsupport::draw::textOf(notes), u"Two points only");
}

} // namespace
