// Page elements and shapes: kinds, geometry in points, removal, conversion to a
// shape, the text of a shape, and the operations that fail.

#include "deck.hxx"

#include <cmath>
#include <limits>
#include <optional>

namespace corvane::test {
namespace {

using ::com::qam::vexo::beans::PropertyValue;
using ::zel::uno::Sequence;

Sequence<PropertyValue> entries(std::initializer_list<PropertyValue> list) { return Sequence<PropertyValue>(list); }
PropertyValue entry(const char16_t* name, const Any& value) { return PropertyValue{OUString(name), 0, value, {}}; }

TEST_F(HostTest, PageElementTypesOfEveryShapeType) {
    auto model = officehost::openPresentationDocument();
    const struct {
        const char16_t* type;
        PageElementType expected;
    } cases[] = {
        {u"com.qam.vexo.drawing.GraphicObjectShape", PageElementType::IMAGE},
        {u"com.qam.vexo.presentation.GraphicObjectShape", PageElementType::IMAGE},
        {u"com.qam.vexo.drawing.MediaShape", PageElementType::VIDEO},
        {u"com.qam.vexo.presentation.MediaShape", PageElementType::VIDEO},
        {u"com.qam.vexo.drawing.TableShape", PageElementType::TABLE},
        {u"com.qam.vexo.presentation.TableShape", PageElementType::TABLE},
        {u"com.qam.vexo.drawing.GroupShape", PageElementType::GROUP},
        {u"com.qam.vexo.drawing.LineShape", PageElementType::LINE},
        {u"com.qam.vexo.drawing.ConnectorShape", PageElementType::LINE},
        {u"com.qam.vexo.drawing.OLE2Shape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.presentation.OLE2Shape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.presentation.ChartShape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.presentation.CalcShape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.presentation.OrgChartShape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.drawing.AppletShape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.drawing.PluginShape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.drawing.FrameShape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.drawing.ControlShape", PageElementType::UNSUPPORTED},
        {u"com.qam.vexo.drawing.TextShape", PageElementType::SHAPE},
        {u"com.qam.vexo.drawing.CustomShape", PageElementType::SHAPE},
        {u"com.qam.vexo.presentation.TitleTextShape", PageElementType::SHAPE},
        {u"com.qam.vexo.presentation.OutlinerShape", PageElementType::SHAPE},
        {u"com.qam.vexo.presentation.PageShape", PageElementType::SHAPE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.type));
        auto shape = newHostShape(model, c.type);
        EXPECT_EQ(presentation::pageElementType(shape), c.expected);
        EXPECT_EQ(presentation::makePageElement({}, shape)->getPageElementType(), c.expected);
    }
}

TEST_F(HostTest, WordArtIsACustomShapeWithTextOnAPath) {
    auto model = officehost::openPresentationDocument();
    const struct {
        const char* what;
        Sequence<PropertyValue> geometry;
        PageElementType expected;
    } cases[] = {
        {"inner true", entries({entry(u"TextPath", Any(entries({entry(u"TextPath", Any(true))})))}),
         PageElementType::WORD_ART},
        {"inner false", entries({entry(u"TextPath", Any(entries({entry(u"TextPath", Any(false))})))}),
         PageElementType::SHAPE},
        {"no inner entry", entries({entry(u"TextPath", Any(entries({entry(u"ScaleX", Any(true))})))}),
         PageElementType::SHAPE},
        {"inner not a boolean", entries({entry(u"TextPath", Any(entries({entry(u"TextPath", Any(sal_Int32(1)))})))}),
         PageElementType::SHAPE},
        {"found only in a later outer entry",
         entries({entry(u"TextPath", Any(entries({entry(u"Other", Any(false))}))), entry(u"Type", Any(OUString(u"x"))),
                  entry(u"TextPath", Any(entries({entry(u"TextPath", Any(true))})))}),
         PageElementType::WORD_ART},
        {"the first inner decides",
         entries({entry(u"TextPath", Any(entries({entry(u"TextPath", Any(false))}))),
                  entry(u"TextPath", Any(entries({entry(u"TextPath", Any(true))})))}),
         PageElementType::SHAPE},
        {"outer value not a sequence", entries({entry(u"TextPath", Any(true))}), PageElementType::SHAPE},
        {"empty geometry", entries({}), PageElementType::SHAPE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto shape = newHostShape(model, u"com.qam.vexo.drawing.CustomShape");
        hostProps(shape)->setPropertyValue(u"CustomShapeGeometry", Any(c.geometry));
        EXPECT_EQ(presentation::pageElementType(shape), c.expected);
    }
}

TEST_F(DeckTest, GeometryInPoints) {
    deck().textBox(u"box");
    auto host = deck().lastShape();
    host->setPosition({100, 200});
    host->setSize({300, 400});
    Reference<XPageElement> element = slide(1)->getPageElements()[2];
    EXPECT_EQ(element->getLeft(), 100 * 0.028346456692913385);
    EXPECT_EQ(element->getTop(), 200 * 0.028346456692913385);
    EXPECT_EQ(element->getWidth(), 300 * 0.028346456692913385);
    EXPECT_EQ(element->getHeight(), 400 * 0.028346456692913385);
    EXPECT_TRUE(sameObject(element->setLeft(72), element));
    EXPECT_EQ(host->getPosition(), (css::awt::Point{2540, 200}));
    EXPECT_EQ(element->getLeft(), 72.0);
    element->setLeft(-10)->setTop(10);  // chained on the same shape
    EXPECT_EQ(host->getPosition(), (css::awt::Point{-353, 353}));
    element->setWidth(0);
    EXPECT_EQ(host->getSize(), (css::awt::Size{0, 400}));
    element->setHeight(72);
    EXPECT_EQ(host->getSize(), (css::awt::Size{0, 2540}));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    expectFailure([&] { element->setWidth(-0.5); }, u"expected a non-negative size in points, got -0.5");
    expectFailure([&] { element->setHeight(nan); }, u"expected a non-negative size in points, got nan");
    expectFailure([&] { element->setTop(nan); },
                  u"expected a length in points that fits the page coordinate range, got nan");
    expectFailure([&] { element->setLeft(61000000); },
                  u"expected a length in points that fits the page coordinate range, got 61000000");
    EXPECT_EQ(host->getSize(), (css::awt::Size{0, 2540}));
    EXPECT_EQ(host->getPosition(), (css::awt::Point{-353, 353}));
    // The shape wrapper shares the same operations.
    Reference<XShape> shape = element->asShape();
    shape->setTop(0)->setWidth(1);
    EXPECT_EQ(host->getPosition(), (css::awt::Point{-353, 0}));
    EXPECT_EQ(shape->getWidth(), 35 * 0.028346456692913385);
}

TEST_F(DeckTest, ElementsAsShapesAndRemoval) {
    deck().shape(u"com.qam.vexo.drawing.GraphicObjectShape");
    auto elements = slide(1)->getPageElements();
    ASSERT_EQ(elements.getLength(), 3);
    EXPECT_TRUE(sameObject(elements[1]->asShape()->getuno(), elements[1]->getuno()));
    expectFailure([&] { elements[2]->asShape(); }, u"asShape: the page element is not a shape");
    elements[2]->remove();
    EXPECT_EQ(slide(1)->getPageElements().getLength(), 2);
    slide(1)->getShapes()[0]->remove();
    EXPECT_EQ(testsupport::draw::shapesOf(deck().slideAt(1)).size(), 1u);
    // An element whose page is unknown has nothing to be removed from.
    Reference<XPageElement> loose = presentation::makePageElement({}, deck().lastShape());
    EXPECT_EQ(loose->getWidth(), hostShape(loose)->getSize().Width * 0.028346456692913385);
    expectFailure([&] { loose->remove(); }, u"unsatisfied query for interface of type com.qam.vexo.drawing.XShapes!",
                  false);
}

TEST_F(DeckTest, OnlyShapesWithTextGiveTheirText) {
    deck().shape(u"com.qam.vexo.presentation.PageShape");
    Reference<XShape> picture = presentation::makeShape(deck().slideAt(1), deck().lastShape());
    expectFailure([&] { picture->getText(); }, u"getText: shape cannot hold text");
    Reference<XTextRange> text = slide(1)->getShapes()[1]->getText();
    EXPECT_TRUE(sameObject(text->getuno(), testsupport::draw::shapesOf(deck().slideAt(1))[1]));
    EXPECT_EQ(text->asString(), u"Revenue grew\nCosts fell\n");
}

} // namespace
} // namespace corvane::test
