// The slide selection and the page operations that need the view, the
// duplicator or backgrounds: duplicate, setBackgroundColor, selectAsCurrentPage.

#include "deck.hxx"

#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>

#include <limits>

namespace corvane::test {
namespace {

using ::zel::uno::Sequence;

class SlideSelectionTest : public DeckTest {
protected:
    Reference<css::view::XSelectionSupplier> hostSelection() {
        return Reference<css::view::XSelectionSupplier>(deck().model()->getCurrentController(), UNO_QUERY_THROW);
    }
    Reference<css::drawing::XDrawView> hostView() {
        return Reference<css::drawing::XDrawView>(deck().model()->getCurrentController(), UNO_QUERY_THROW);
    }
    Reference<XSlideSelection> selection() {
        auto s = presentation->getSelection();
        EXPECT_TRUE(s.IsPresent);
        return s.Value;
    }
};

TEST_F(SlideSelectionTest, TextSelectedInAShape) {
    Reference<css::text::XText> outline(testsupport::draw::shapesOf(deck().slideAt(1))[1], UNO_QUERY_THROW);
    Reference<css::text::XTextCursor> cursor = outline->createTextCursor();
    cursor->goRight(7, true);
    hostSelection()->select(Any(Reference<css::text::XTextRange>(cursor, UNO_QUERY)));
    Reference<XSlideSelection> s = selection();
    EXPECT_EQ(s->getSelectionType(), SelectionType::TEXT);
    auto text = s->getTextRange();
    ASSERT_TRUE(text.IsPresent);
    EXPECT_EQ(text.Value->asString(), u"Revenue");
    EXPECT_FALSE(s->getPageElementRange().IsPresent);
    EXPECT_FALSE(s->getPageRange().IsPresent);
    EXPECT_TRUE(sameObject(s->getuno(), deck().model()->getCurrentController()));
    // The run's style acts on the selected characters only.
    text.Value->getTextStyle().Value->setBold(true);
    Reference<css::text::XTextCursor> rest = outline->createTextCursor();
    rest->gotoEnd(false);
    rest->goLeft(1, true);
    EXPECT_EQ(hostProps(cursor)->getPropertyValue(u"CharWeight").get<float>(), 150.0f);
    EXPECT_EQ(hostProps(rest)->getPropertyValue(u"CharWeight").get<float>(), 100.0f);
}

TEST_F(SlideSelectionTest, ShapesSelectedOnASlideAndInAGroup) {
    auto slideShapes = testsupport::draw::shapesOf(deck().slideAt(1));
    hostSelection()->select(Any(Sequence<Reference<XInterface>>{Reference<XInterface>(slideShapes[0]),
                                                                 Reference<XInterface>(slideShapes[1])}));
    Reference<XSlideSelection> s = selection();
    EXPECT_EQ(s->getSelectionType(), SelectionType::PAGE_ELEMENT);
    auto range = s->getPageElementRange();
    ASSERT_TRUE(range.IsPresent);
    auto elements = range.Value->getPageElements();
    ASSERT_EQ(elements.getLength(), 2);
    EXPECT_TRUE(sameObject(elements[1]->getuno(), slideShapes[1]));
    // A snapshot: the same objects on every call, whatever the view does next.
    EXPECT_TRUE(sameObject(range.Value->getPageElements()[0], elements[0]));
    EXPECT_EQ(range.Value->getuno()->queryInterface(cppu::UnoType<css::drawing::XShapes>::get()).hasValue(), true);
    hostSelection()->select(Any());
    EXPECT_EQ(range.Value->getPageElements().getLength(), 2);
    // The elements know their page: removing one takes it off the slide.
    elements[1]->remove();
    EXPECT_EQ(testsupport::draw::shapesOf(deck().slideAt(1)).size(), 1u);
    // A grouped shape has no page of its own: its element cannot be removed.
    Reference<css::drawing::XShape> group = newHostShape(deck().model(), u"com.qam.vexo.drawing.GroupShape");
    Reference<css::drawing::XShapes>(deck().slideAt(0), UNO_QUERY_THROW)->add(group);
    Reference<css::drawing::XShape> inner = newHostShape(deck().model(), u"com.qam.vexo.drawing.TextShape");
    Reference<css::drawing::XShapes>(group, UNO_QUERY_THROW)->add(inner);
    hostSelection()->select(Any(inner));
    auto grouped = s->getPageElementRange();
    ASSERT_TRUE(grouped.IsPresent);
    Reference<XPageElement> element = grouped.Value->getPageElements()[0];
    element->setLeft(72);
    EXPECT_EQ(inner->getPosition().X, 2540);
    expectFailure([&] { element->remove(); }, u"unsatisfied query for interface of type com.qam.vexo.drawing.XShapes!",
                  false);
}

TEST_F(SlideSelectionTest, PagesSelectedInAPageList) {
    hostSelection()->select(Any(Sequence<Reference<XInterface>>{Reference<XInterface>(deck().slideAt(1)),
                                                                 Reference<XInterface>(deck().slideAt(0))}));
    Reference<XSlideSelection> s = selection();
    EXPECT_EQ(s->getSelectionType(), SelectionType::PAGE);
    auto range = s->getPageRange();
    ASSERT_TRUE(range.IsPresent);
    EXPECT_FALSE(range.Value->getuno().is());
    auto pages = range.Value->getPages();
    ASSERT_EQ(pages.getLength(), 2);
    EXPECT_TRUE(sameObject(pages[0]->getuno(), deck().slideAt(1)));
    EXPECT_EQ(pages[0]->getPageType(), PageType::SLIDE);
    EXPECT_FALSE(sameObject(pages[0], range.Value->getPages()[0]));  // new objects every call
    EXPECT_FALSE(s->getTextRange().IsPresent);
    EXPECT_FALSE(s->getPageElementRange().IsPresent);
    // The selection follows the view; the page range it gave keeps its pages.
    hostSelection()->select(Any(testsupport::draw::shapesOf(deck().slideAt(0))[0]));
    EXPECT_EQ(s->getSelectionType(), SelectionType::PAGE_ELEMENT);
    EXPECT_FALSE(s->getPageRange().IsPresent);
    auto kept = range.Value->getPages();
    ASSERT_EQ(kept.getLength(), 2);
    EXPECT_TRUE(sameObject(kept[0]->getuno(), deck().slideAt(1)));
    EXPECT_TRUE(sameObject(kept[1]->getuno(), deck().slideAt(0)));
}

TEST_F(SlideSelectionTest, NothingSelectedGivesTheCurrentPageAndTheSelectionFollowsTheView) {
    Reference<XSlideSelection> s = selection();
    EXPECT_EQ(s->getSelectionType(), SelectionType::CURRENT_PAGE);
    auto page = s->getCurrentPage();
    ASSERT_TRUE(page.IsPresent);
    EXPECT_TRUE(sameObject(page.Value->getuno(), deck().slideAt(0)));
    EXPECT_FALSE(s->getTextRange().IsPresent);
    EXPECT_FALSE(s->getPageRange().IsPresent);
    slide(1)->selectAsCurrentPage();
    EXPECT_TRUE(sameObject(s->getCurrentPage().Value->getuno(), deck().slideAt(1)));
    presentation->getLayouts()[1]->selectAsCurrentPage();
    EXPECT_EQ(s->getCurrentPage().Value->getPageType(), PageType::MASTER);
    hostSelection()->select(Any(testsupport::draw::shapesOf(deck().slideAt(0))[0]));
    EXPECT_EQ(s->getSelectionType(), SelectionType::PAGE_ELEMENT);
    expectFailure([&] { s->getTableCellRange(); }, u"getTableCellRange: not implemented");
}

TEST_F(SlideSelectionTest, APresentationWithoutAView) {
    Reference<XSlideSelection> s = selection();
    officehost::closeDocument(deck().model());
    EXPECT_EQ(s->getSelectionType(), SelectionType::NONE);
    EXPECT_FALSE(s->getCurrentPage().IsPresent);
    EXPECT_FALSE(s->getTextRange().IsPresent);
    EXPECT_FALSE(s->getPageRange().IsPresent);
    EXPECT_FALSE(s->getPageElementRange().IsPresent);
    expectFailure([&] { s->getuno(); }, u"getuno: the presentation has no view");
    expectFailure([&] { slide(0)->selectAsCurrentPage(); }, u"selectAsCurrentPage: the presentation has no drawing view");
}

TEST_F(SlideSelectionTest, DuplicatingSlides) {
    Reference<XSlide> copy = slide(1)->duplicate();
    auto slides = presentation->getSlides();
    ASSERT_EQ(slides.getLength(), 3);
    EXPECT_TRUE(sameObject(slides[2]->getuno(), copy->getuno()));
    EXPECT_EQ(copy->getShapes()[1]->getText()->asString(), u"Revenue grew\nCosts fell\n");
    EXPECT_EQ(copy->getNotesPage()->getSpeakerNotesShape()->getText()->asString(), u"Two points only\n");
}

TEST_F(SlideSelectionTest, BackgroundColours) {
    Reference<XSlide> s = slide(0);
    EXPECT_TRUE(sameObject(s->setBackgroundColor(u"#00FF00"), s));
    Reference<css::beans::XPropertySet> background(hostProps(deck().slideAt(0))->getPropertyValue(u"Background"),
                                                   UNO_QUERY_THROW);
    EXPECT_EQ(background->getPropertyValue(u"FillStyle").get<css::drawing::FillStyle>(), css::drawing::FillStyle_SOLID);
    EXPECT_EQ(background->getPropertyValue(u"FillColor").get<sal_Int32>(), 0x00FF00);
    s->setBackgroundColor(u"navy");
    EXPECT_EQ(Reference<css::beans::XPropertySet>(hostProps(deck().slideAt(0))->getPropertyValue(u"Background"),
                                                  UNO_QUERY_THROW)
                  ->getPropertyValue(u"FillColor")
                  .get<sal_Int32>(),
              0x000080);
    Reference<XSlide> bare = presentation::makeSlide(
        officehost::openPlaceholderDocument(officehost::PlaceholderKind::NoServiceInfo), deck().slideAt(1));
    expectFailure([&] { bare->setBackgroundColor(u"#123456"); }, u"setBackgroundColor: no background factory");
    // The colour is read first: a bad one fails before the factory is looked for.
    expectFailure([&] { bare->setBackgroundColor(u"nocolour"); },
                  u"expected a color in \"#rrggbb\" form or a color name, got nocolour");
    expectFailure([&] { slide(1)->setBackgroundColor(u"#GG0000"); },
                  u"expected a color in \"#rrggbb\" form or a color name, got #GG0000");
    EXPECT_FALSE(hostProps(deck().slideAt(1))->getPropertyValue(u"Background").hasValue());
}

TEST_F(SlideSelectionTest, PlaceholderIndicesAtTheTopOfTheRange) {
    EXPECT_FALSE(slide(1)->getPlaceholderByIndex(PlaceholderType::BODY, std::numeric_limits<sal_Int32>::max()).IsPresent);
    EXPECT_TRUE(slide(1)->getPlaceholderByIndex(PlaceholderType::BODY, 0).IsPresent);
}

} // namespace
} // namespace corvane::test

namespace corvane::test {
namespace {

namespace hosttext = ::com::qam::vexo::text;

// A selected object that is a text range and a collection of shapes at once,
// or just an empty collection; its text may be missing.
class BothImpl : public cppu::WeakImplHelper<hosttext::XTextRange, css::drawing::XShapes> {
public:
    BothImpl(bool text, Reference<css::drawing::XShape> shape) : text_(text), shape_(std::move(shape)) {}
    Reference<hosttext::XText> getText() override { return {}; }
    Reference<hosttext::XTextRange> getStart() override { return this; }
    Reference<hosttext::XTextRange> getEnd() override { return this; }
    OUString getString() override { return u"both"; }
    void setString(const OUString&) override {}
    sal_Int32 getCount() override { return shape_.is() ? 1 : 0; }
    Any getByIndex(sal_Int32) override { return Any(shape_); }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<css::drawing::XShape>::get(); }
    bool hasElements() override { return shape_.is(); }
    void add(const Reference<css::drawing::XShape>&) override {}
    void remove(const Reference<css::drawing::XShape>&) override {}
    Any queryInterface(const ::zel::uno::Type& type) override {
        if (!text_ && type == cppu::UnoType<hosttext::XTextRange>::get()) return Any();
        return WeakImplHelper::queryInterface(type);
    }

private:
    bool text_;
    Reference<css::drawing::XShape> shape_;
};

// A view that reports a fixed selection and, if given one, a current page.
class FixedViewImpl : public cppu::WeakImplHelper<css::frame::XController, css::view::XSelectionSupplier,
                                                  css::drawing::XDrawView> {
public:
    FixedViewImpl(Any selection, Reference<css::drawing::XDrawPage> page)
        : selection_(std::move(selection)), page_(std::move(page)) {}
    void attachFrame(const Reference<css::frame::XFrame>&) override {}
    bool attachModel(const Reference<css::frame::XModel>&) override { return true; }
    bool suspend(bool) override { return true; }
    Reference<css::frame::XFrame> getFrame() override { return {}; }
    Reference<css::frame::XModel> getModel() override { return {}; }
    bool select(const Any&) override { return false; }
    Any getSelection() override { return selection_; }
    void setCurrentPage(const Reference<css::drawing::XDrawPage>&) override {}
    Reference<css::drawing::XDrawPage> getCurrentPage() override { return page_; }

private:
    Any selection_;
    Reference<css::drawing::XDrawPage> page_;
};

class FixedModelImpl : public cppu::WeakImplHelper<css::frame::XModel> {
public:
    explicit FixedModelImpl(Reference<css::frame::XController> view) : view_(std::move(view)) {}
    OUString getURL() override { return {}; }
    Sequence<css::beans::PropertyValue> getArgs() override { return {}; }
    void connectController(const Reference<css::frame::XController>&) override {}
    void disconnectController(const Reference<css::frame::XController>&) override {}
    Reference<css::frame::XController> getCurrentController() override { return view_; }
    void setCurrentController(const Reference<css::frame::XController>&) override {}
    void dispose() override {}
    void addEventListener(const Reference<css::lang::XEventListener>&) override {}
    void removeEventListener(const Reference<css::lang::XEventListener>&) override {}

private:
    Reference<css::frame::XController> view_;
};

Reference<XSlideSelection> selectionOver(Any selection, Reference<css::drawing::XDrawPage> page = {}) {
    Reference<css::frame::XController> view(new FixedViewImpl(std::move(selection), std::move(page)));
    return presentation::makeSlideSelection(new FixedModelImpl(view));
}

TEST_F(DeckTest, SelectionTestsRunInTheirOrder) {
    auto shape = testsupport::draw::shapesOf(deck().slideAt(0))[0];
    // Text comes first, even for an object that is shapes too; a range without a text gives no range.
    Reference<XSlideSelection> both = selectionOver(Any(Reference<hosttext::XTextRange>(new BothImpl(true, shape))));
    EXPECT_EQ(both->getSelectionType(), SelectionType::TEXT);
    EXPECT_FALSE(both->getTextRange().IsPresent);
    EXPECT_TRUE(both->getPageElementRange().IsPresent);
    // Shapes come before pages; an empty collection falls through to the page shown.
    Reference<XSlideSelection> shapes = selectionOver(Any(Reference<css::drawing::XShapes>(new BothImpl(false, shape))));
    EXPECT_EQ(shapes->getSelectionType(), SelectionType::PAGE_ELEMENT);
    Reference<XSlideSelection> empty =
        selectionOver(Any(Reference<css::drawing::XShapes>(new BothImpl(false, {}))), deck().slideAt(1));
    EXPECT_EQ(empty->getSelectionType(), SelectionType::CURRENT_PAGE);
    EXPECT_FALSE(empty->getPageElementRange().IsPresent);
    EXPECT_EQ(selectionOver(Any(Reference<css::drawing::XShapes>(new BothImpl(false, {}))))->getSelectionType(),
              SelectionType::NONE);
    // A sequence keeps only its pages; an empty sequence is no page selection.
    Reference<XSlideSelection> mixed = selectionOver(Any(Sequence<Reference<XInterface>>{
        Reference<XInterface>(shape), Reference<XInterface>(deck().slideAt(1))}));
    EXPECT_EQ(mixed->getSelectionType(), SelectionType::PAGE);
    ASSERT_EQ(mixed->getPageRange().Value->getPages().getLength(), 1);
    EXPECT_TRUE(sameObject(mixed->getPageRange().Value->getPages()[0]->getuno(), deck().slideAt(1)));
    Reference<XSlideSelection> none = selectionOver(Any(Sequence<Reference<XInterface>>{Reference<XInterface>(shape)}));
    EXPECT_EQ(none->getPageRange().Value->getPages().getLength(), 0);
    EXPECT_EQ(selectionOver(Any(Sequence<Reference<XInterface>>()))->getSelectionType(), SelectionType::NONE);
    EXPECT_EQ(selectionOver(Any(sal_Int32(5)))->getSelectionType(), SelectionType::NONE);
}

} // namespace
} // namespace corvane::test
