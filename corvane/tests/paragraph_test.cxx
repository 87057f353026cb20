// The body's appending and clearing, and the paragraph's own properties.

#include "textdoc.hxx"

namespace corvane::test {
namespace {

using ::com::qam::vexo::beans::PropertyValue;
using ::zel::uno::Sequence;

class ParagraphTest : public DocumentTest {
protected:
    Reference<XParagraph> paragraphAt(const TextDoc& doc, sal_Int32 i) {
        Reference<XElement> e = documentOf(doc)->getBody()->getChild(i);
        return Reference<XParagraph>(e, UNO_QUERY_THROW);
    }
    static OUString styleOf(const Reference<beans::XPropertySet>& props) {
        return props->getPropertyValue(u"ParaStyleName").get<OUString>();
    }
};

TEST_F(ParagraphTest, AppendParagraphAfterAHeadingGivesANormalLastParagraph) {
    TextDoc doc({u"Title line"});
    doc.props(0)->setPropertyValue(u"ParaStyleName", Any(OUString(u"Heading 1")));
    Reference<XBody> body = documentOf(doc)->getBody();
    Reference<XParagraph> added = body->appendParagraph(u"Some text");
    EXPECT_EQ(added->getText(), OUString(u"Some text"));
    EXPECT_EQ(added->getType(), ElementType::PARAGRAPH);
    const Optional<ParagraphHeading> heading = added->getHeading();
    EXPECT_TRUE(!heading.IsPresent || heading.Value == ParagraphHeading::NORMAL);
    EXPECT_EQ(added->getParent().Value.get(), static_cast<XElement*>(body.get()));
    ASSERT_EQ(body->getNumChildren(), 2);
    EXPECT_TRUE(body->getChild(1)->getuno() == added->getuno());
    EXPECT_EQ(body->getText(), OUString(u"Title line\nSome text"));
    EXPECT_EQ(paragraphAt(doc, 0)->getHeading().Value, ParagraphHeading::HEADING1);
}

TEST_F(ParagraphTest, AppendListItemUsesTheListNumberStyle) {
    TextDoc doc({u"intro"});
    Reference<XParagraph> item = documentOf(doc)->getBody()->appendListItem(u"first point");
    EXPECT_EQ(item->getText(), OUString(u"first point"));
    EXPECT_EQ(styleOf(doc.props(1)), OUString(u"List Number"));
    EXPECT_EQ(item->getType(), ElementType::LIST_ITEM);
}

TEST_F(ParagraphTest, AppendListItemWithoutTheStyleNumbersDirectly) {
    TextDoc doc({u"intro"});
    doc.removeListNumberStyle();
    Reference<XParagraph> item = documentOf(doc)->getBody()->appendListItem(u"first point");
    EXPECT_EQ(item->getText(), OUString(u"first point"));
    EXPECT_EQ(item->getType(), ElementType::LIST_ITEM);
    EXPECT_NE(styleOf(doc.props(1)), OUString(u"List Number"));
    Reference<container::XIndexAccess> rules(doc.props(1)->getPropertyValue(u"NumberingRules"), UNO_QUERY);
    ASSERT_TRUE(rules.is());
    Sequence<PropertyValue> level0;
    ASSERT_TRUE(rules->getByIndex(0) >>= level0);
    sal_Int16 numberingType = -1;
    for (const auto& p : level0)
        if (p.Name == u"NumberingType") p.Value >>= numberingType;
    EXPECT_EQ(numberingType, ::com::qam::vexo::style::NumberingType::ARABIC);
    EXPECT_EQ(item->getGlyphType().Value, GlyphType::NUMBER);
}

TEST_F(ParagraphTest, ClearedBodyKeepsOneNormalEmptyParagraph) {
    TextDoc doc({u"heading", u"item", u"text"});
    doc.props(0)->setPropertyValue(u"ParaStyleName", Any(OUString(u"Heading 2")));
    doc.number(0);
    Reference<XBody> body = documentOf(doc)->getBody();
    EXPECT_EQ(body->clear().get(), static_cast<XContainerElement*>(body.get()));
    ASSERT_EQ(body->getNumChildren(), 1);
    Reference<XParagraph> only = body->getChild(0)->asParagraph();
    EXPECT_EQ(only->getText(), OUString());
    EXPECT_EQ(only->getType(), ElementType::PARAGRAPH);
    const Optional<ParagraphHeading> heading = only->getHeading();
    EXPECT_TRUE(!heading.IsPresent || heading.Value == ParagraphHeading::NORMAL);
}

TEST_F(ParagraphTest, ClearedParagraphIsEmpty) {
    TextDoc doc({u"words", u"more"});
    Reference<XParagraph> first = paragraphAt(doc, 0);
    EXPECT_EQ(first->clear().get(), static_cast<XContainerElement*>(first.get()));
    EXPECT_EQ(documentOf(doc)->getBody()->getText(), OUString(u"\nmore"));
}

TEST_F(ParagraphTest, HeadingIsTheParagraphStyle) {
    TextDoc doc({u"p"});
    Reference<XParagraph> p = paragraphAt(doc, 0);
    struct Case {
        const char16_t* style;
        ParagraphHeading heading;
    };
    const Case cases[] = {{u"Heading 1", ParagraphHeading::HEADING1}, {u"Heading 3", ParagraphHeading::HEADING3},
                          {u"Heading 6", ParagraphHeading::HEADING6}, {u"Title", ParagraphHeading::TITLE},
                          {u"Subtitle", ParagraphHeading::SUBTITLE},  {u"Text body", ParagraphHeading::NORMAL},
                          {u"List Number", ParagraphHeading::NORMAL}, {u"Heading", ParagraphHeading::NORMAL}};
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.style)));
        doc.props(0)->setPropertyValue(u"ParaStyleName", Any(OUString(std::u16string_view(c.style))));
        const Optional<ParagraphHeading> heading = p->getHeading();
        ASSERT_TRUE(heading.IsPresent);
        EXPECT_EQ(heading.Value, c.heading);
    }
}

TEST_F(ParagraphTest, SetHeadingWritesTheStyleName) {
    TextDoc doc({u"p"});
    Reference<XParagraph> p = paragraphAt(doc, 0);
    const std::pair<ParagraphHeading, const char16_t*> cases[] = {
        {ParagraphHeading::NORMAL, u"Text body"}, {ParagraphHeading::HEADING1, u"Heading 1"},
        {ParagraphHeading::HEADING4, u"Heading 4"}, {ParagraphHeading::TITLE, u"Title"},
        {ParagraphHeading::SUBTITLE, u"Subtitle"}};
    for (auto [heading, style] : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(style)));
        EXPECT_EQ(p->setHeading(heading).get(), p.get());
        EXPECT_EQ(styleOf(doc.props(0)), OUString(std::u16string_view(style)));
        EXPECT_EQ(p->getHeading().Value, heading);
    }
    expectFailure([&] { p->setHeading(static_cast<ParagraphHeading>(9)); }, u"setHeading: unknown heading");
    expectFailure([&] { p->setHeading(static_cast<ParagraphHeading>(-1)); }, u"setHeading: unknown heading");
    EXPECT_EQ(styleOf(doc.props(0)), OUString(u"Subtitle"));
}

TEST_F(ParagraphTest, AlignmentFromParaAdjust) {
    TextDoc doc({u"p"});
    Reference<XParagraph> p = paragraphAt(doc, 0);
    EXPECT_FALSE(p->getAlignment().IsPresent);
    namespace adjust = ::com::qam::vexo::style::ParagraphAdjust;
    const std::pair<sal_Int16, sal_Int32> cases[] = {{adjust::LEFT, HorizontalAlignment::LEFT},
                                                     {adjust::RIGHT, HorizontalAlignment::RIGHT},
                                                     {adjust::BLOCK, HorizontalAlignment::JUSTIFY},
                                                     {adjust::CENTER, HorizontalAlignment::CENTER},
                                                     {adjust::STRETCH, HorizontalAlignment::LEFT}};
    for (auto [host, code] : cases) {
        SCOPED_TRACE(host);
        doc.props(0)->setPropertyValue(u"ParaAdjust", Any(host));
        const Optional<sal_Int32> alignment = p->getAlignment();
        ASSERT_TRUE(alignment.IsPresent);
        EXPECT_EQ(alignment.Value, code);
    }
}

TEST_F(ParagraphTest, IndentStartInPoints) {
    TextDoc doc({u"p"});
    Reference<XParagraph> p = paragraphAt(doc, 0);
    EXPECT_FALSE(p->getIndentStart().IsPresent);
    const std::pair<sal_Int32, double> cases[] = {{2540, 72.0}, {0, 0.0}, {1270, 36.0}, {-2540, -72.0}};
    for (auto [hundredths, points] : cases) {
        SCOPED_TRACE(hundredths);
        doc.props(0)->setPropertyValue(u"ParaLeftMargin", Any(hundredths));
        EXPECT_DOUBLE_EQ(p->getIndentStart().Value, points);
        EXPECT_TRUE(p->getIndentStart().IsPresent);
    }
}

TEST_F(ParagraphTest, WritingDirection) {
    TextDoc doc({u"p"});
    Reference<XParagraph> p = paragraphAt(doc, 0);
    EXPECT_TRUE(p->isLeftToRight().IsPresent);
    EXPECT_TRUE(p->isLeftToRight().Value);
    doc.props(0)->setPropertyValue(u"WritingMode", Any(hosttext::WritingMode2::RL_TB));
    const Optional<bool> ltr = p->isLeftToRight();
    EXPECT_TRUE(ltr.IsPresent);
    EXPECT_FALSE(ltr.Value);
    doc.props(0)->setPropertyValue(u"WritingMode", Any(hosttext::WritingMode2::TB_RL));
    EXPECT_TRUE(p->isLeftToRight().Value);
}

TEST_F(ParagraphTest, ListPropertiesOfNumberedAndPlainParagraphs) {
    TextDoc doc({u"plain", u"item"});
    doc.number(1);
    Reference<XParagraph> plain = paragraphAt(doc, 0);
    Reference<XParagraph> item = paragraphAt(doc, 1);
    EXPECT_FALSE(plain->getListId().IsPresent);
    EXPECT_FALSE(plain->getGlyphType().IsPresent);
    EXPECT_EQ(plain->getNestingLevel(), 0);

    const Optional<OUString> id = item->getListId();
    ASSERT_TRUE(id.IsPresent);
    EXPECT_EQ(id.Value, doc.props(1)->getPropertyValue(u"ListId").get<OUString>());
    doc.props(1)->setPropertyValue(u"NumberingLevel", Any(static_cast<sal_Int16>(2)));
    EXPECT_EQ(item->getNestingLevel(), 2);
}

// Level 1 of the paragraph's own numbering decides the glyph.
TEST_F(ParagraphTest, GlyphTypeFromTheNumberingLevel) {
    TextDoc doc({u"item"});
    Reference<XParagraph> p = paragraphAt(doc, 0);
    namespace nt = ::com::qam::vexo::style::NumberingType;
    struct Case {
        sal_Int16 numberingType;
        const char16_t* bullet;
        sal_Int32 glyph;
    };
    const Case cases[] = {
        {nt::CHARS_UPPER_LETTER, u"", GlyphType::LATIN_UPPER}, {nt::CHARS_UPPER_LETTER_N, u"", GlyphType::LATIN_UPPER},
        {nt::CHARS_LOWER_LETTER, u"", GlyphType::LATIN_LOWER}, {nt::CHARS_LOWER_LETTER_N, u"", GlyphType::LATIN_LOWER},
        {nt::ROMAN_UPPER, u"", GlyphType::ROMAN_UPPER},        {nt::ROMAN_LOWER, u"", GlyphType::ROMAN_LOWER},
        {nt::ARABIC, u"", GlyphType::NUMBER},                  {nt::CHAR_SPECIAL, u"\u25E6", GlyphType::HOLLOW_BULLET},
        {nt::CHAR_SPECIAL, u"\u25CB", GlyphType::HOLLOW_BULLET}, {nt::CHAR_SPECIAL, u"\u25AA", GlyphType::SQUARE_BULLET},
        {nt::CHAR_SPECIAL, u"\u25A0", GlyphType::SQUARE_BULLET}, {nt::CHAR_SPECIAL, u"\u2022", GlyphType::BULLET},
        {nt::CHAR_SPECIAL, u"", GlyphType::BULLET},            {nt::NUMBER_NONE, u"\u25A0", GlyphType::SQUARE_BULLET},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.numberingType);
        Reference<container::XIndexReplace> rules(doc.create(u"com.qam.vexo.text.NumberingRules"), UNO_QUERY_THROW);
        rules->replaceByIndex(1, Any(Sequence<PropertyValue>{
                                     {u"NumberingType", 0, Any(c.numberingType), beans::PropertyState_DIRECT_VALUE},
                                     {u"BulletChar", 0, Any(OUString(std::u16string_view(c.bullet))),
                                      beans::PropertyState_DIRECT_VALUE}}));
        doc.props(0)->setPropertyValue(u"NumberingRules", Any(rules));
        doc.props(0)->setPropertyValue(u"NumberingLevel", Any(static_cast<sal_Int16>(1)));
        const Optional<sal_Int32> glyph = p->getGlyphType();
        ASSERT_TRUE(glyph.IsPresent);
        EXPECT_EQ(glyph.Value, c.glyph);
    }
}

} // namespace
} // namespace corvane::test
