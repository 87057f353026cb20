// Shape text: reading, replacing and appending text, bullet levels, and the
// text style's character properties.

#include "deck.hxx"

#include <cppu/implbase.hxx>

#include <cmath>
#include <limits>
#include <optional>

namespace corvane::test {
namespace {

namespace hosttext = ::com::qam::vexo::text;

class ShapeTextTest : public DeckTest {
protected:
    // The whole text of a new empty text box on the second slide.
    Reference<XTextRange> emptyBox() {
        deck().shape(u"com.qam.vexo.drawing.TextShape");
        return presentation::makeShape(deck().slideAt(1), deck().lastShape())->getText();
    }
    Reference<hosttext::XText> hostText() { return Reference<hosttext::XText>(deck().lastShape(), UNO_QUERY_THROW); }
    // The value of a character property at the start of the host text.
    Any charAtStart(const char16_t* name) {
        Reference<hosttext::XTextCursor> c = hostText()->createTextCursor();
        c->goRight(1, true);
        return hostProps(c)->getPropertyValue(OUString(name));
    }
};

TEST_F(ShapeTextTest, WholeTextsRunsAndParagraphsReadBack) {
    Reference<XTextRange> outline = slide(1)->getShapes()[1]->getText();
    EXPECT_EQ(outline->asString(), u"Revenue grew\nCosts fell\n");
    Reference<XTextRange> whole = emptyBox();
    EXPECT_EQ(whole->asString(), u"\n");
    EXPECT_FALSE(whole->getTextStyle().IsPresent);
    Reference<XTextRange> run = whole->appendText(u"Hi");
    EXPECT_EQ(run->asString(), u"Hi");
    EXPECT_TRUE(sameObject(run->getuno(), Reference<XInterface>(run->getuno())));
    expectFailure([&] { run->appendText(u"x"); }, u"appendText: only the shape's whole text range can append");
    expectFailure([&] { run->appendParagraph(u"x"); },
                  u"appendParagraph: only the shape's whole text range can append");
    Reference<XTextParagraph> hello = whole->appendParagraph(u"Hello");
    auto helloRange = hello->getRange();
    ASSERT_TRUE(helloRange.IsPresent);
    EXPECT_EQ(helloRange.Value->asString(), u"Hello\n");
    EXPECT_TRUE(sameObject(hello->getuno(), helloRange.Value->getuno()));
    Reference<XTextParagraph> empty = whole->appendParagraph(u"");
    EXPECT_EQ(empty->getRange().Value->asString(), u"\n");
    EXPECT_EQ(hostText()->getString(), u"Hi\nHello\n");
    EXPECT_EQ(whole->asString(), u"Hi\nHello\n\n");
    expectFailure([&] { hello->getIndex(); }, u"getIndex: not implemented");
}

TEST_F(ShapeTextTest, SetTextReplacesTheTargetOnly) {
    Reference<XTextRange> whole = emptyBox();
    Reference<XTextRange> run = whole->appendText(u"one");
    whole->appendText(u" two");
    EXPECT_TRUE(sameObject(run->setText(u"three"), run));
    EXPECT_EQ(hostText()->getString(), u"three two");
    EXPECT_EQ(run->asString(), u"three");
    whole->setText(u"all new");
    EXPECT_EQ(whole->asString(), u"all new\n");
}

TEST_F(ShapeTextTest, BulletLevels) {
    Reference<XTextRange> outline = slide(1)->getShapes()[1]->getText();
    for (sal_Int32 level : {-1, 0, 9}) {
        SCOPED_TRACE(level);
        EXPECT_TRUE(sameObject(outline->setBulletLevel(level), outline));
        Reference<hosttext::XText> host(testsupport::draw::shapesOf(deck().slideAt(1))[1], UNO_QUERY_THROW);
        EXPECT_EQ(hostProps(host->createTextCursor())->getPropertyValue(u"NumberingLevel").get<sal_Int16>(), level);
    }
    for (sal_Int32 level : {-2, 10, 32768}) {
        SCOPED_TRACE(level);
        expectFailure([&] { outline->setBulletLevel(level); },
                      u"setBulletLevel: the level must be between -1 (no bullet) and 9");
    }
}

TEST_F(ShapeTextTest, StylesWriteEveryScriptsProperty) {
    Reference<XTextRange> whole = emptyBox();
    whole->appendText(u"styled");
    auto style = whole->getTextStyle();
    ASSERT_TRUE(style.IsPresent);
    Reference<XTextStyle> s = style.Value;
    EXPECT_TRUE(sameObject(s->getuno(), deck().lastShape()));
    EXPECT_TRUE(sameObject(s->setBold(true), s));
    for (const char16_t* name : {u"CharWeight", u"CharWeightAsian", u"CharWeightComplex"}) {
        SCOPED_TRACE(OUString(name));
        EXPECT_EQ(charAtStart(name).get<float>(), 150.0f);
    }
    s->setBold(false);
    for (const char16_t* name : {u"CharWeight", u"CharWeightAsian", u"CharWeightComplex"})
        EXPECT_EQ(charAtStart(name).get<float>(), 100.0f);
    s->setItalic(true)->setStrikethrough(true)->setFontSize(18.5);
    for (const char16_t* name : {u"CharPosture", u"CharPostureAsian", u"CharPostureComplex"})
        EXPECT_EQ(charAtStart(name).get<css::awt::FontSlant>(), css::awt::FontSlant_ITALIC);
    for (const char16_t* name : {u"CharHeight", u"CharHeightAsian", u"CharHeightComplex"})
        EXPECT_EQ(charAtStart(name).get<float>(), 18.5f);
    EXPECT_EQ(charAtStart(u"CharStrikeout").get<sal_Int16>(), 1);
    s->setItalic(false)->setStrikethrough(false);
    EXPECT_EQ(charAtStart(u"CharPosture").get<css::awt::FontSlant>(), css::awt::FontSlant_NONE);
    EXPECT_EQ(charAtStart(u"CharStrikeout").get<sal_Int16>(), 0);
    const struct {
        const char16_t* text;
        sal_Int32 rgb;
    } colours[] = {{u"#FF0000", 0xFF0000}, {u"black", 0}, {u"Teal", 0x008080}, {u"#00ff7f", 0x00FF7F}};
    for (const auto& c : colours) {
        SCOPED_TRACE(OUString(c.text));
        s->setForegroundColor(Any(OUString(c.text)));
        EXPECT_EQ(charAtStart(u"CharColor").get<sal_Int32>(), c.rgb);
    }
    for (const Any& notAString : {Any(sal_Int32(255)), Any(), Any(true)})
        expectFailure([&] { s->setForegroundColor(notAString); }, u"setForegroundColor: not implemented");
    expectFailure([&] { s->setForegroundColor(Any(OUString(u"blurple"))); },
                  u"expected a color in \"#rrggbb\" form or a color name, got blurple");
    EXPECT_EQ(charAtStart(u"CharColor").get<sal_Int32>(), 0x00FF7F);
}

TEST_F(ShapeTextTest, StylesOfARunTouchOnlyTheRun) {
    Reference<XTextRange> whole = emptyBox();
    whole->appendText(u"plain ");
    Reference<XTextRange> run = whole->appendText(u"bold");
    run->getTextStyle().Value->setBold(true);
    EXPECT_EQ(charAtStart(u"CharWeight").get<float>(), 100.0f);
    Reference<hosttext::XTextCursor> c = hostText()->createTextCursor();
    c->gotoEnd(false);
    c->goLeft(4, true);
    EXPECT_EQ(hostProps(c)->getPropertyValue(u"CharWeight").get<float>(), 150.0f);
}

TEST_F(ShapeTextTest, FontSizesThatAreNoCharacterHeightAreRefusedBeforeWriting) {
    Reference<XTextRange> whole = emptyBox();
    whole->appendText(u"sized");
    Reference<XTextStyle> s = whole->getTextStyle().Value;
    s->setFontSize(14);
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double size;
        const char16_t* message;
    } refused[] = {
        {std::numeric_limits<double>::quiet_NaN(), u"setFontSize: expected a positive size in points, got nan"},
        {inf, u"setFontSize: expected a positive size in points, got inf"},
        {-inf, u"setFontSize: expected a positive size in points, got -inf"},
        {0, u"setFontSize: expected a positive size in points, got 0"},
        {-0.0, u"setFontSize: expected a positive size in points, got 0"},
        {-12, u"setFontSize: expected a positive size in points, got -12"},
        {1e-50, u"setFontSize: expected a positive size in points, got 1e-50"},
        {1e39, u"setFontSize: expected a positive size in points, got 1e+39"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.size);
        expectFailure([&] { s->setFontSize(c.size); }, c.message);
        EXPECT_EQ(charAtStart(u"CharHeight").get<float>(), 14.0f);
    }
    s->setFontSize(1e-30);  // small, but still a float above zero
    EXPECT_GT(charAtStart(u"CharHeight").get<float>(), 0.0f);
}

// A host text that offers neither portion nor paragraph appending.
class PlainTextImpl : public cppu::WeakImplHelper<hosttext::XText> {
public:
    Reference<hosttext::XText> getText() override { return this; }
    Reference<hosttext::XTextRange> getStart() override { return this; }
    Reference<hosttext::XTextRange> getEnd() override { return this; }
    OUString getString() override { return text_; }
    void setString(const OUString& s) override { text_ = s; }
    Reference<hosttext::XTextCursor> createTextCursor() override { return {}; }
    Reference<hosttext::XTextCursor> createTextCursorByRange(const Reference<hosttext::XTextRange>&) override {
        return {};
    }
    void insertString(const Reference<hosttext::XTextRange>&, const OUString& s, bool) override { text_ += s; }
    void insertControlCharacter(const Reference<hosttext::XTextRange>&, sal_Int16, bool) override {}
    void insertTextContent(const Reference<hosttext::XTextRange>&, const Reference<hosttext::XTextContent>&,
                           bool) override {}
    void removeTextContent(const Reference<hosttext::XTextContent>&) override {}

private:
    OUString text_ = u"fixed";
};

TEST(ShapeTextWithoutAppending, RefusesToAppend) {
    Reference<hosttext::XText> text(new PlainTextImpl);
    Reference<XTextRange> whole = presentation::makeTextRange(text, {}, false);
    EXPECT_EQ(whole->asString(), u"fixed\n");
    expectFailure([&] { whole->appendText(u"x"); }, u"appendText: the text cannot take appended runs");
    expectFailure([&] { whole->appendParagraph(u"x"); }, u"appendParagraph: the text cannot take appended paragraphs");
    // It makes no cursor: the operations that write through one fail plainly.
    expectFailure([&] { whole->setBulletLevel(1); }, u"setBulletLevel: the text gives no cursor");
    expectFailure([&] { whole->getTextStyle().Value->setBold(true); }, u"setBold: the text gives no cursor");
    EXPECT_EQ(text->getString(), u"fixed");
}

} // namespace
} // namespace corvane::test
