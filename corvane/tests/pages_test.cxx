// Page objects: listing elements and shapes, placeholders, text boxes,
// removing, kinds of pages, notes pages, and the operations that fail.

#include "deck.hxx"

#include <cppu/implbase.hxx>

#include <optional>

namespace corvane::test {
namespace {

TEST_F(DeckTest, PagesListTheirElementsAndShapes) {
    // Every kind of element on the first slide, after its title.
    const char16_t* kinds[] = {u"com.qam.vexo.drawing.GraphicObjectShape", u"com.qam.vexo.drawing.MediaShape",
                               u"com.qam.vexo.drawing.TableShape",         u"com.qam.vexo.drawing.GroupShape",
                               u"com.qam.vexo.drawing.LineShape",          u"com.qam.vexo.drawing.ConnectorShape",
                               u"com.qam.vexo.drawing.OLE2Shape",          u"com.qam.vexo.drawing.TextShape"};
    Reference<css::drawing::XShapes> page(deck().slideAt(0), UNO_QUERY_THROW);
    for (const char16_t* k : kinds) page->add(newHostShape(deck().model(), k));
    Reference<XSlide> s = slide(0);
    EXPECT_TRUE(sameObject(s->getuno(), deck().slideAt(0)));
    auto elements = s->getPageElements();
    ASSERT_EQ(elements.getLength(), 9);
    auto hostShapes = testsupport::draw::shapesOf(page);
    for (sal_Int32 i = 0; i < 9; ++i) EXPECT_TRUE(sameObject(elements[i]->getuno(), hostShapes[i]));
    // Only the title and the text box are plain shapes.
    auto shapes = s->getShapes();
    ASSERT_EQ(shapes.getLength(), 2);
    EXPECT_TRUE(sameObject(shapes[0]->getuno(), hostShapes[0]));
    EXPECT_TRUE(sameObject(shapes[1]->getuno(), hostShapes[8]));
}

TEST_F(DeckTest, WordArtIsAPageElementButNoShape) {
    using ::com::qam::vexo::beans::PropertyValue;
    const PropertyValue onPath{u"TextPath", 0, Any(::zel::uno::Sequence<PropertyValue>{PropertyValue{u"TextPath", 0, Any(true), {}}}), {}};
    Reference<css::drawing::XShape> wordArt = newHostShape(deck().model(), u"com.qam.vexo.drawing.CustomShape");
    hostProps(wordArt)->setPropertyValue(u"CustomShapeGeometry", Any(::zel::uno::Sequence<PropertyValue>{onPath}));
    Reference<css::drawing::XShape> plain = newHostShape(deck().model(), u"com.qam.vexo.drawing.CustomShape");
    Reference<css::drawing::XShapes> page(deck().slideAt(0), UNO_QUERY_THROW);
    page->add(wordArt);
    page->add(plain);
    auto elements = slide(0)->getPageElements();
    ASSERT_EQ(elements.getLength(), 3);
    EXPECT_EQ(elements[1]->getPageElementType(), PageElementType::WORD_ART);
    auto shapes = slide(0)->getShapes();
    ASSERT_EQ(shapes.getLength(), 2);
    EXPECT_TRUE(sameObject(shapes[1]->getuno(), plain));
}

TEST_F(DeckTest, Placeholders) {
    // Slide 0 has layout 0: its title is the main title.  Slide 1 has layout 1.
    auto first = slide(0);
    EXPECT_TRUE(first->getPlaceholder(PlaceholderType::MAIN_TITLE).IsPresent);
    EXPECT_FALSE(first->getPlaceholder(PlaceholderType::TITLE).IsPresent);
    auto second = slide(1);
    auto title = second->getPlaceholder(PlaceholderType::TITLE);
    ASSERT_TRUE(title.IsPresent);
    EXPECT_TRUE(sameObject(title.Value->getuno(), testsupport::draw::shapesOf(deck().slideAt(1))[0]));
    EXPECT_FALSE(second->getPlaceholder(PlaceholderType::MAIN_TITLE).IsPresent);
    // Two outlines: the second by index 1, nothing at 2.
    deck().shape(u"com.qam.vexo.presentation.OutlinerShape", u"more");
    auto body1 = second->getPlaceholderByIndex(PlaceholderType::BODY, 1);
    ASSERT_TRUE(body1.IsPresent);
    EXPECT_TRUE(sameObject(body1.Value->getuno(), deck().lastShape()));
    EXPECT_FALSE(second->getPlaceholderByIndex(PlaceholderType::BODY, 2).IsPresent);
    expectFailure([&] { second->getPlaceholderByIndex(PlaceholderType::BODY, -1); },
                  u"getPlaceholder: expected a non-negative index, got -1");
    // A handout shape counts (as UNSUPPORTED), a plain text box does not.
    deck().shape(u"com.qam.vexo.presentation.HandoutShape").textBox(u"plain");
    auto all = second->getPlaceholders();
    ASSERT_EQ(all.getLength(), 4);
    EXPECT_EQ(hostShape(all[3])->getShapeType(), u"com.qam.vexo.presentation.HandoutShape");
    EXPECT_FALSE(second->getPlaceholder(PlaceholderType::CLIP_ART).IsPresent);
}

TEST_F(DeckTest, ATitleOnAMasterPageIsATitle) {
    Reference<css::drawing::XShape> title = newHostShape(deck().model(), u"com.qam.vexo.presentation.TitleTextShape");
    Reference<css::drawing::XShapes>(deck().masterAt(0), UNO_QUERY_THROW)->add(title);
    Reference<XMaster> master = presentation->getMasters()[0];
    EXPECT_TRUE(master->getPlaceholder(PlaceholderType::TITLE).IsPresent);
    EXPECT_FALSE(master->getPlaceholder(PlaceholderType::MAIN_TITLE).IsPresent);
    EXPECT_EQ(presentation::pageAutoLayout(deck().masterAt(0)), 20);
    EXPECT_EQ(presentation::pageAutoLayout(deck().slideAt(1)), 1);
}

TEST_F(HostTest, PlaceholderTypesOfEveryShapeType) {
    auto model = officehost::openPresentationDocument();
    const struct {
        const char16_t* type;
        PlaceholderType onLayout0, elsewhere;
    } cases[] = {
        {u"com.qam.vexo.presentation.TitleTextShape", PlaceholderType::MAIN_TITLE, PlaceholderType::TITLE},
        {u"com.qam.vexo.presentation.OutlinerShape", PlaceholderType::BODY, PlaceholderType::BODY},
        {u"com.qam.vexo.presentation.NotesShape", PlaceholderType::BODY, PlaceholderType::BODY},
        {u"com.qam.vexo.presentation.SubtitleShape", PlaceholderType::SUBTITLE, PlaceholderType::SUBTITLE},
        {u"com.qam.vexo.presentation.GraphicObjectShape", PlaceholderType::GRAPHIC, PlaceholderType::GRAPHIC},
        {u"com.qam.vexo.presentation.ChartShape", PlaceholderType::CHART, PlaceholderType::CHART},
        {u"com.qam.vexo.presentation.TableShape", PlaceholderType::TABLE, PlaceholderType::TABLE},
        {u"com.qam.vexo.presentation.PageShape", PlaceholderType::PAGE_IMAGE, PlaceholderType::PAGE_IMAGE},
        {u"com.qam.vexo.presentation.HeaderShape", PlaceholderType::HEADER, PlaceholderType::HEADER},
        {u"com.qam.vexo.presentation.FooterShape", PlaceholderType::FOOTER, PlaceholderType::FOOTER},
        {u"com.qam.vexo.presentation.SlideNumberShape", PlaceholderType::SLIDE_NUMBER, PlaceholderType::SLIDE_NUMBER},
        {u"com.qam.vexo.presentation.DateTimeShape", PlaceholderType::DATE_TIME, PlaceholderType::DATE_TIME},
        {u"com.qam.vexo.presentation.MediaShape", PlaceholderType::MEDIA, PlaceholderType::MEDIA},
        {u"com.qam.vexo.presentation.OLE2Shape", PlaceholderType::OBJECT, PlaceholderType::OBJECT},
        {u"com.qam.vexo.presentation.CalcShape", PlaceholderType::OBJECT, PlaceholderType::OBJECT},
        {u"com.qam.vexo.presentation.OrgChartShape", PlaceholderType::OBJECT, PlaceholderType::OBJECT},
        {u"com.qam.vexo.presentation.HandoutShape", PlaceholderType::UNSUPPORTED, PlaceholderType::UNSUPPORTED},
        {u"com.qam.vexo.drawing.TextShape", PlaceholderType::NONE, PlaceholderType::NONE},
        {u"com.qam.vexo.drawing.GraphicObjectShape", PlaceholderType::NONE, PlaceholderType::NONE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.type));
        auto shape = newHostShape(model, c.type);
        EXPECT_EQ(presentation::placeholderType(shape, 0), c.onLayout0);
        EXPECT_EQ(presentation::placeholderType(shape, 1), c.elsewhere);
        EXPECT_EQ(presentation::placeholderType(shape, 20), c.elsewhere);
    }
}

TEST_F(DeckTest, TextBoxes) {
    Reference<XSlide> s = slide(0);
    Reference<XShape> box = s->insertTextBox(u"hello");
    auto host = hostShape(box);
    EXPECT_EQ(host->getPosition(), (css::awt::Point{0, 0}));
    EXPECT_EQ(host->getSize(), (css::awt::Size{8333, 8333}));
    EXPECT_FALSE(hostProps(host)->getPropertyValue(u"TextAutoGrowHeight").get<bool>());
    EXPECT_EQ(testsupport::draw::textOf(host), u"hello");
    EXPECT_TRUE(sameObject(testsupport::draw::shapesOf(deck().slideAt(0)).back(), host));
    Reference<XShape> at = s->insertTextBoxAt(u"there", 10, 20, 100, 50);
    EXPECT_EQ(hostShape(at)->getPosition(), (css::awt::Point{353, 706}));
    EXPECT_EQ(hostShape(at)->getSize(), (css::awt::Size{3528, 1764}));
    const sal_Int32 count = Reference<css::drawing::XShapes>(deck().slideAt(0), UNO_QUERY_THROW)->getCount();
    expectFailure([&] { s->insertTextBoxAt(u"x", 0, 0, -1, 10); }, u"expected a non-negative size in points, got -1");
    // Two bad values: the top is converted first.
    expectFailure([&] { s->insertTextBoxAt(u"x", 1e300, 1e300, -1, -1); },
                  u"expected a length in points that fits the page coordinate range, got 1e+300");
    EXPECT_EQ(Reference<css::drawing::XShapes>(deck().slideAt(0), UNO_QUERY_THROW)->getCount(), count);
    // Masters and layouts take text boxes too.
    presentation->getMasters()[1]->insertTextBox(u"on master");
    EXPECT_EQ(Reference<css::drawing::XShapes>(deck().masterAt(1), UNO_QUERY_THROW)->getCount(), 1);
}

TEST_F(DeckTest, TextBoxGeometryIsConvertedTopLeftHeightWidth) {
    // In each case the values converted after the failing one are bad too: the first is reported.
    const struct {
        double left, top, width, height;
        const char16_t* message;
    } cases[] = {
        {1e300, 2e300, -3, -4, u"expected a length in points that fits the page coordinate range, got 2e+300"},
        {1e300, 0, -3, -4, u"expected a length in points that fits the page coordinate range, got 1e+300"},
        {0, 0, -3, -4, u"expected a non-negative size in points, got -4"},
        {0, 0, -3, 0, u"expected a non-negative size in points, got -3"},
    };
    Reference<css::drawing::XShapes> page(deck().slideAt(0), UNO_QUERY_THROW);
    const auto before = testsupport::draw::shapesOf(page);
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.message));
        expectFailure([&] { slide(0)->insertTextBoxAt(u"x", c.left, c.top, c.width, c.height); }, c.message);
        EXPECT_EQ(testsupport::draw::shapesOf(page), before);
    }
}

TEST_F(DeckTest, RemovingPages) {
    slide(0)->remove();
    EXPECT_EQ(presentation->getSlides().getLength(), 1);
    expectFailure([&] { slide(0)->remove(); }, u"remove: cannot remove the only slide");
    // The remaining slide uses master 0; master 1 is free.
    expectFailure([&] { presentation->getMasters()[0]->remove(); }, u"remove: a slide still uses this master page");
    expectFailure([&] { presentation->getLayouts()[0]->remove(); }, u"remove: a slide still uses this master page");
    presentation->getLayouts()[1]->remove();
    EXPECT_EQ(presentation->getMasters().getLength(), 1);
    expectFailure([&] { presentation->getMasters()[0]->remove(); }, u"remove: cannot remove the only master page");
}

TEST_F(DeckTest, KindsOfPages) {
    Reference<XMaster> master = presentation->getMasters()[1];
    Reference<XLayout> layout = presentation->getLayouts()[1];
    EXPECT_EQ(master->getPageType(), PageType::MASTER);
    EXPECT_EQ(layout->getPageType(), PageType::LAYOUT);
    EXPECT_EQ(slide(0)->getPageType(), PageType::SLIDE);
    auto layouts = master->getLayouts();
    ASSERT_EQ(layouts.getLength(), 1);
    EXPECT_TRUE(sameObject(layouts[0]->getuno(), master->getuno()));
    EXPECT_EQ(layout->getLayoutName(), u"Second");
    EXPECT_TRUE(sameObject(layout->getMaster()->getuno(), deck().masterAt(1)));
    auto slideLayout = slide(1)->getLayout();
    ASSERT_TRUE(slideLayout.IsPresent);
    EXPECT_TRUE(sameObject(slideLayout.Value->getuno(), deck().masterAt(0)));
    EXPECT_EQ(slideLayout.Value->getLayoutName(), u"Default");
    // A page of unsettled kind over a master page.
    Reference<XPage> page = presentation::makePage(deck().model(), deck().masterAt(1));
    EXPECT_EQ(page->getPageType(), PageType::MASTER);
    EXPECT_TRUE(sameObject(page->asMaster()->getuno(), deck().masterAt(1)));
    EXPECT_TRUE(sameObject(page->asLayout()->getuno(), deck().masterAt(1)));
    expectFailure([&] { page->asSlide(); }, u"asSlide: the page is not a slide");
    expectFailure([&] { page->remove(); }, u"remove: not implemented");
    Reference<XPage> onSlide = presentation::makePage(deck().model(), deck().slideAt(0));
    EXPECT_EQ(onSlide->getPageType(), PageType::SLIDE);
    EXPECT_TRUE(sameObject(onSlide->asSlide()->getuno(), deck().slideAt(0)));
    expectFailure([&] { onSlide->asMaster(); }, u"asMaster: the page is not a master page");
    expectFailure([&] { onSlide->asLayout(); }, u"asLayout: the page is not a layout");
    Reference<XPage> notes = presentation::makePage(deck().model(), testsupport::draw::notesPageOf(deck().slideAt(0)));
    EXPECT_EQ(notes->getPageType(), PageType::UNSUPPORTED);
}

TEST_F(DeckTest, SlidesSkippedAndLinked) {
    Reference<XSlide> s = slide(0);
    EXPECT_FALSE(s->isSkipped());
    s->setSkipped(true);
    EXPECT_TRUE(s->isSkipped());
    EXPECT_FALSE(hostProps(deck().slideAt(0))->getPropertyValue(u"Visible").get<bool>());
    s->setSkipped(false);
    EXPECT_FALSE(s->isSkipped());
    EXPECT_EQ(s->getSlideLinkingMode(), SlideLinkingMode::NOT_LINKED);
    hostProps(deck().slideAt(0))->setPropertyValue(u"BookmarkURL", Any(OUString(u"file:///other.odp#1")));
    EXPECT_EQ(s->getSlideLinkingMode(), SlideLinkingMode::LINKED);
}

TEST_F(DeckTest, NotesPages) {
    Reference<XNotesPage> notes = slide(1)->getNotesPage();
    EXPECT_TRUE(sameObject(notes->getuno(), testsupport::draw::notesPageOf(deck().slideAt(1))));
    Reference<XShape> speaker = notes->getSpeakerNotesShape();
    EXPECT_EQ(speaker->getText()->asString(), u"Two points only\n");
    EXPECT_EQ(notes->replaceAllText(u"two", u"three"), 1);
    EXPECT_EQ(notes->replaceAllTextMatchCase(u"Three", u"four", true), 0);
    EXPECT_EQ(notes->getSpeakerNotesShape()->getText()->asString(), u"three points only\n");
    // The slide's own replacing leaves its notes page alone.
    EXPECT_EQ(slide(1)->replaceAllText(u"points", u"x"), 0);
    EXPECT_EQ(slide(1)->replaceAllTextMatchCase(u"Agenda", u"Plan", true), 1);
    expectFailure([&] { slide(1)->replaceAllText(u"", u"x"); }, u"replaceAllText: expected a non-empty search text");
    expectFailure([&] { notes->replaceAllText(u"", u"x"); }, u"replaceAllText: expected a non-empty search text");
    Reference<css::drawing::XShapes> hostNotes(notes->getuno(), UNO_QUERY_THROW);
    hostNotes->remove(testsupport::draw::firstShapeOf(hostNotes, u"com.qam.vexo.presentation.NotesShape"));
    expectFailure([&] { notes->getSpeakerNotesShape(); }, u"getSpeakerNotesShape: the notes page has no notes shape");
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

// A model whose service factory hands out, for every name, a media shape of the
// real presentation: a shape that takes no text and has no "TextAutoGrowHeight".
class WrongShapeModelImpl
    : public cppu::WeakImplHelper<css::frame::XModel, css::lang::XMultiServiceFactory> {
public:
    explicit WrongShapeModelImpl(Reference<css::frame::XModel> real) : real_(std::move(real)) {}
    OUString getURL() override { return {}; }
    ::zel::uno::Sequence<css::beans::PropertyValue> getArgs() override { return {}; }
    void connectController(const Reference<css::frame::XController>&) override {}
    void disconnectController(const Reference<css::frame::XController>&) override {}
    Reference<css::frame::XController> getCurrentController() override { return {}; }
    void setCurrentController(const Reference<css::frame::XController>&) override {}
    void dispose() override {}
    void addEventListener(const Reference<css::lang::XEventListener>&) override {}
    void removeEventListener(const Reference<css::lang::XEventListener>&) override {}
    Reference<XInterface> createInstance(const OUString&) override {
        return Reference<XInterface>(newHostShape(real_, u"com.qam.vexo.drawing.MediaShape"));
    }
    Reference<XInterface> createInstanceWithArguments(const OUString& name, const ::zel::uno::Sequence<Any>&) override {
        return createInstance(name);
    }
    ::zel::uno::Sequence<OUString> getAvailableServiceNames() override { return {}; }

private:
    Reference<css::frame::XModel> real_;
};

TEST_F(DeckTest, ATextBoxThatCannotBeFinishedLeavesThePageAsItWas) {
    Reference<css::frame::XModel> wrong(new WrongShapeModelImpl(deck().model()));
    Reference<XSlide> s = presentation::makeSlide(wrong, deck().slideAt(0));
    expectFailure<css::beans::UnknownPropertyException>([&] { s->insertTextBox(u"x"); },
                                                        u"setPropertyValue: unknown property TextAutoGrowHeight", false);
    EXPECT_EQ(testsupport::draw::shapesOf(deck().slideAt(0)).size(), 1u);
    // A model without a service factory is refused before anything else.
    Reference<XSlide> bare = presentation::makeSlide(
        officehost::openPlaceholderDocument(officehost::PlaceholderKind::NoServiceInfo), deck().slideAt(0));
    expectFailure([&] { bare->insertTextBoxAt(u"x", 1, 1, 1, 1); }, u"insertTextBox: no shape factory");
    // A factory that makes no text shape fails the throwing query.
    Reference<XSlide> onText = presentation::makeSlide(officehost::openTextDocument(), deck().slideAt(0));
    expectFailure([&] { onText->insertTextBox(u"x"); },
                  u"unsatisfied query for interface of type com.qam.vexo.drawing.XShape!", false);
    EXPECT_EQ(testsupport::draw::shapesOf(deck().slideAt(0)).size(), 1u);
}

} // namespace
} // namespace corvane::test
