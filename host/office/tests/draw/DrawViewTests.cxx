// Tests of the stand-in draw model's view (current page and selection), slide
// duplication and backgrounds.

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/drawing/drawing.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/presentation/presentation.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <officehost/desktop.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/draw/PresentationBuilder.hxx>

#include <gtest/gtest.h>

#include <functional>

namespace {

namespace css = ::com::qam::vexo;
using css::drawing::XDrawPage;
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

using DrawViewTest = testsupport::HostTest;

using testsupport::expectThrows;

template <class A, class B>
bool same(const Reference<A>& a, const Reference<B>& b) {
    return Reference<XInterface>::sameObject(a.get(), b.get());
}

Reference<css::drawing::XDrawView> viewOf(const PresentationBuilder& deck) {
    return Reference<css::drawing::XDrawView>(deck.model()->getCurrentController(), UNO_QUERY_THROW);
}

Reference<css::view::XSelectionSupplier> selectionOf(const PresentationBuilder& deck) {
    return Reference<css::view::XSelectionSupplier>(deck.model()->getCurrentController(), UNO_QUERY_THROW);
}

TEST_F(DrawViewTest, TheViewShowsAPageOfTheDocument) {
    auto deck = PresentationBuilder::sample();
    auto view = viewOf(deck);
    EXPECT_TRUE(same(view->getCurrentPage(), deck.slideAt(0)));
    for (const Reference<XDrawPage>& page :
         {deck.slideAt(1), deck.masterAt(1), testsupport::draw::notesPageOf(deck.slideAt(0))}) {
        view->setCurrentPage(page);
        EXPECT_TRUE(same(view->getCurrentPage(), page));
    }
    PresentationBuilder other;
    expectThrows<css::lang::IllegalArgumentException>([&] { view->setCurrentPage(other.slideAt(0)); },
                                                      u"setCurrentPage: expected a page of this document");
    expectThrows<css::lang::IllegalArgumentException>([&] { view->setCurrentPage({}); },
                                                      u"setCurrentPage: expected a page of this document");
    // A removed page is no longer shown: the view goes back to the first slide.
    view->setCurrentPage(deck.slideAt(1));
    deck.slides()->remove(deck.slideAt(1));
    EXPECT_TRUE(same(view->getCurrentPage(), deck.slideAt(0)));
}

TEST_F(DrawViewTest, AModelWhoseFrameClosedHasNoView) {
    auto deck = PresentationBuilder::sample();
    officehost::closeDocument(deck.model());
    EXPECT_FALSE(deck.model()->getCurrentController().is());
    EXPECT_EQ(deck.slides()->getCount(), 2);
}

TEST_F(DrawViewTest, SelectingTextShapesPagesAndNothing) {
    auto deck = PresentationBuilder::sample();
    auto selection = selectionOf(deck);
    EXPECT_FALSE(selection->getSelection().hasValue());
    // Text in a shape of the second slide: the view shows that slide.
    Reference<css::text::XText> outline(shapesOf(deck.slideAt(1))[1], UNO_QUERY_THROW);
    Reference<css::text::XTextCursor> cursor = outline->createTextCursor();
    cursor->goRight(7, true);
    EXPECT_TRUE(selection->select(Any(Reference<css::text::XTextRange>(cursor, UNO_QUERY))));
    Reference<css::text::XTextRange> text(selection->getSelection(), UNO_QUERY);
    ASSERT_TRUE(text.is());
    EXPECT_EQ(text->getString(), u"Revenue");
    EXPECT_TRUE(same(viewOf(deck)->getCurrentPage(), deck.slideAt(1)));
    // Two shapes of the first slide.
    deck.slide().textBox(u"b");
    Reference<XShape> first = shapesOf(deck.slideAt(0))[0];
    Sequence<Reference<XInterface>> two{Reference<XInterface>(first), Reference<XInterface>(shapesOf(deck.slideAt(2))[0])};
    EXPECT_TRUE(selection->select(Any(two)));
    Reference<XShapes> shapes(selection->getSelection(), UNO_QUERY);
    ASSERT_TRUE(shapes.is());
    EXPECT_EQ(shapes->getCount(), 2);
    EXPECT_FALSE(Reference<XDrawPage>(shapes, UNO_QUERY).is());
    EXPECT_TRUE(same(viewOf(deck)->getCurrentPage(), deck.slideAt(0)));
    EXPECT_TRUE(selection->select(Any(first)));
    EXPECT_EQ(Reference<XShapes>(selection->getSelection(), UNO_QUERY_THROW)->getCount(), 1);
    // Pages, as a page list selects them.
    Sequence<Reference<XInterface>> pages{Reference<XInterface>(deck.slideAt(0)), Reference<XInterface>(deck.slideAt(1))};
    EXPECT_TRUE(selection->select(Any(pages)));
    Sequence<Reference<XInterface>> reported;
    ASSERT_TRUE(selection->getSelection() >>= reported);
    ASSERT_EQ(reported.getLength(), 2);
    EXPECT_TRUE(same(reported[1], deck.slideAt(1)));
    // Nothing.
    EXPECT_TRUE(selection->select(Any()));
    EXPECT_FALSE(selection->getSelection().hasValue());
    // Foreign and mixed objects are refused and change nothing.
    EXPECT_TRUE(selection->select(Any(first)));
    PresentationBuilder other;
    other.textBox(u"x");
    EXPECT_FALSE(selection->select(Any(other.lastShape())));
    EXPECT_FALSE(selection->select(Any(Sequence<Reference<XInterface>>{Reference<XInterface>(first),
                                                                        Reference<XInterface>(deck.slideAt(0))})));
    Reference<css::text::XText> foreignText(other.lastShape(), UNO_QUERY_THROW);
    EXPECT_FALSE(selection->select(Any(Reference<css::text::XTextRange>(foreignText->createTextCursor(), UNO_QUERY))));
    EXPECT_EQ(Reference<XShapes>(selection->getSelection(), UNO_QUERY_THROW)->getCount(), 1);
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { selection->select(Any(sal_Int32(3))); },
        u"select: expected an object, a sequence of objects or nothing, got long");
    // A shape taken off its page leaves the selection.
    Reference<XShapes>(deck.slideAt(0), UNO_QUERY_THROW)->remove(first);
    EXPECT_FALSE(selection->getSelection().hasValue());
}

TEST_F(DrawViewTest, DuplicatingASlideCopiesItDeeplyBehindTheOriginal) {
    auto deck = PresentationBuilder::sample();
    Reference<css::beans::XPropertySet>(deck.slideAt(1), UNO_QUERY_THROW)->setPropertyValue(u"Visible", Any(false));
    Reference<css::drawing::XMasterPageTarget>(deck.slideAt(1), UNO_QUERY_THROW)->setMasterPage(deck.masterAt(1));
    Reference<css::drawing::XDrawPageDuplicator> duplicator(deck.model(), UNO_QUERY_THROW);
    Reference<XDrawPage> copy = duplicator->duplicate(deck.slideAt(1));
    ASSERT_EQ(deck.slides()->getCount(), 3);
    EXPECT_TRUE(same(deck.slideAt(2), copy));
    auto original = shapesOf(deck.slideAt(1));
    auto copied = shapesOf(copy);
    ASSERT_EQ(copied.size(), original.size());
    for (std::size_t i = 0; i < copied.size(); ++i) {
        EXPECT_FALSE(same(copied[i], original[i]));
        EXPECT_EQ(copied[i]->getShapeType(), original[i]->getShapeType());
        EXPECT_EQ(copied[i]->getPosition(), original[i]->getPosition());
        EXPECT_EQ(copied[i]->getSize(), original[i]->getSize());
        EXPECT_EQ(testsupport::draw::textOf(copied[i]), testsupport::draw::textOf(original[i]));
    }
    Reference<css::beans::XPropertySet> props(copy, UNO_QUERY_THROW);
    EXPECT_EQ(props->getPropertyValue(u"Layout").get<sal_Int16>(), 1);
    EXPECT_FALSE(props->getPropertyValue(u"Visible").get<bool>());
    EXPECT_TRUE(same(Reference<css::drawing::XMasterPageTarget>(copy, UNO_QUERY_THROW)->getMasterPage(), deck.masterAt(1)));
    auto notes = testsupport::draw::firstShapeOf(testsupport::draw::notesPageOf(copy), u"com.qam.vexo.presentation.NotesShape");
    EXPECT_EQ(testsupport::draw::textOf(notes), u"Two points only");
    // The copy is on its own: editing it leaves the original.
    Reference<css::text::XText>(copied[1], UNO_QUERY_THROW)->setString(u"changed");
    EXPECT_EQ(testsupport::draw::textOf(original[1]), u"Revenue grew\nCosts fell");
    expectThrows<css::lang::IllegalArgumentException>([&] { duplicator->duplicate(deck.masterAt(0)); },
                                                      u"duplicate: expected a slide of this document");
}

TEST_F(DrawViewTest, BackgroundsAreValuesOfTheirPage) {
    auto deck = PresentationBuilder::sample();
    Reference<css::beans::XPropertySet> background(
        Reference<css::lang::XMultiServiceFactory>(deck.model(), UNO_QUERY_THROW)
            ->createInstance(u"com.qam.vexo.drawing.Background"),
        UNO_QUERY_THROW);
    background->setPropertyValue(u"FillStyle", Any(css::drawing::FillStyle_SOLID));
    background->setPropertyValue(u"FillColor", Any(sal_Int32(0x00FF00)));
    Reference<css::beans::XPropertySet> slide(deck.slideAt(0), UNO_QUERY_THROW);
    EXPECT_FALSE(slide->getPropertyValue(u"Background").hasValue());
    slide->setPropertyValue(u"Background", Any(background));
    background->setPropertyValue(u"FillColor", Any(sal_Int32(0x0000FF)));  // the page kept its values
    Reference<css::beans::XPropertySet> read(slide->getPropertyValue(u"Background"), UNO_QUERY_THROW);
    EXPECT_EQ(read->getPropertyValue(u"FillStyle").get<css::drawing::FillStyle>(), css::drawing::FillStyle_SOLID);
    EXPECT_EQ(read->getPropertyValue(u"FillColor").get<sal_Int32>(), 0x00FF00);
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { background->setPropertyValue(u"FillStyle", Any(sal_Int32(1))); },
        u"setPropertyValue: property FillStyle takes a value of type com.qam.vexo.drawing.FillStyle, got long");
    expectThrows<css::beans::UnknownPropertyException>([&] { background->setPropertyValue(u"FillAlpha", Any(1)); },
                                                       u"setPropertyValue: unknown property FillAlpha");
    expectThrows<css::lang::IllegalArgumentException>(
        [&] { slide->setPropertyValue(u"Background", Any(OUString(u"green"))); },
        u"setPropertyValue: property Background takes a value of type com.qam.vexo.beans.XPropertySet, got string");
    slide->setPropertyValue(u"Background", Any());
    EXPECT_FALSE(slide->getPropertyValue(u"Background").hasValue());
}

} // namespace
