// The presentation and drawing wrappers: slides, masters, layouts, notes, page
// sizes, names, slide insertion and replacing text across the presentation.

#include "deck.hxx"

#include <optional>

namespace corvane::test {
namespace {

TEST_F(DeckTest, SlidesMastersAndLayoutsStandForTheHostPages) {
    EXPECT_TRUE(sameObject(presentation->getuno(), deck().model()));
    auto slides = presentation->getSlides();
    ASSERT_EQ(slides.getLength(), 2);
    for (sal_Int32 i = 0; i < 2; ++i) EXPECT_TRUE(sameObject(slides[i]->getuno(), deck().slideAt(i)));
    // New wrappers every time, over the same host pages.
    EXPECT_FALSE(sameObject(slides[0], presentation->getSlides()[0]));
    auto masters = presentation->getMasters();
    auto layouts = presentation->getLayouts();
    ASSERT_EQ(masters.getLength(), 2);
    ASSERT_EQ(layouts.getLength(), 2);
    for (sal_Int32 i = 0; i < 2; ++i) {
        EXPECT_TRUE(sameObject(masters[i]->getuno(), deck().masterAt(i)));
        EXPECT_TRUE(sameObject(layouts[i]->getuno(), deck().masterAt(i)));
    }
    EXPECT_TRUE(sameObject(presentation->getNotesMaster()->getuno(),
                           testsupport::draw::notesPageOf(deck().masterAt(0))));
}

TEST_F(DeckTest, PageSizesInPoints) {
    EXPECT_EQ(presentation->getPageWidth(), 793.7007874015748);  // 28000
    EXPECT_EQ(presentation->getPageHeight(), 15750 * 0.028346456692913385);
    EXPECT_EQ(presentation->getNotesPageWidth(), 21000 * 0.028346456692913385);
    EXPECT_EQ(presentation->getNotesPageHeight(), 29700 * 0.028346456692913385);
    hostProps(deck().slideAt(0))->setPropertyValue(u"Width", Any(sal_Int32(2540)));
    EXPECT_EQ(presentation->getPageWidth(), 72.0);
}

TEST_F(DeckTest, InsertingSlides) {
    deck().slide(3);  // a third slide, host layout 3
    ASSERT_EQ(presentation->getSlides().getLength(), 3);
    expectFailure([&] { presentation->insertSlide(4); }, u"insertSlide: expected an index between 0 and 3, got 4");
    expectFailure([&] { presentation->insertSlide(-1); }, u"insertSlide: expected an index between 0 and 3, got -1");
    expectFailure([&] { presentation->insertSlide(0); }, u"insertSlide at index 0: not implemented");
    Reference<XSlide> fourth = presentation->insertSlide(3);
    auto slides = presentation->getSlides();
    ASSERT_EQ(slides.getLength(), 4);
    EXPECT_TRUE(sameObject(slides[3]->getuno(), fourth->getuno()));
    // Layout 20 is not written: the new slide keeps the host's, the one of the slide it follows.
    EXPECT_EQ(hostProps(fourth->getuno())->getPropertyValue(u"Layout").get<sal_Int16>(), 3);
    Reference<XSlide> appended = presentation->appendSlide();
    EXPECT_TRUE(sameObject(presentation->getSlides()[4]->getuno(), appended->getuno()));
    Reference<XSlide> middle = presentation->insertSlide(1);
    EXPECT_TRUE(sameObject(presentation->getSlides()[1]->getuno(), middle->getuno()));
    EXPECT_EQ(presentation->getSlides().getLength(), 6);
}

TEST_F(DeckTest, InsertingSlidesWithAPredefinedLayout) {
    const struct {
        PredefinedLayout layout;
        sal_Int16 code;
    } written[] = {{PredefinedLayout::TITLE, 0},
                   {PredefinedLayout::TITLE_AND_BODY, 1},
                   {PredefinedLayout::TITLE_AND_TWO_COLUMNS, 3},
                   {PredefinedLayout::TITLE_ONLY, 19}};
    for (const auto& c : written) {
        SCOPED_TRACE(static_cast<int>(c.layout));
        Reference<XSlide> s = presentation->insertSlideFrom(1, Any(c.layout));
        EXPECT_EQ(hostProps(s->getuno())->getPropertyValue(u"Layout").get<sal_Int16>(), c.code);
        Reference<XSlide> a = presentation->appendSlideFrom(Any(c.layout));
        EXPECT_EQ(hostProps(a->getuno())->getPropertyValue(u"Layout").get<sal_Int16>(), c.code);
    }
    // BLANK writes nothing: the host gave the new slide the layout of the one before (1).
    Reference<XSlide> blank = presentation->insertSlideFrom(2, Any(PredefinedLayout::BLANK));
    EXPECT_EQ(hostProps(blank->getuno())->getPropertyValue(u"Layout").get<sal_Int16>(),
              hostProps(presentation->getSlides()[1]->getuno())->getPropertyValue(u"Layout").get<sal_Int16>());
    hostProps(deck().slideAt(0))->setPropertyValue(u"Layout", Any(sal_Int16(19)));
    Reference<XSlide> blank2 = presentation->insertSlideFrom(1, Any(PredefinedLayout::BLANK));
    EXPECT_EQ(hostProps(blank2->getuno())->getPropertyValue(u"Layout").get<sal_Int16>(), 19);

    const sal_Int32 before = presentation->getSlides().getLength();
    for (PredefinedLayout refused :
         {PredefinedLayout::UNSUPPORTED, PredefinedLayout::CAPTION_ONLY, PredefinedLayout::SECTION_HEADER,
          PredefinedLayout::BIG_NUMBER}) {
        SCOPED_TRACE(static_cast<int>(refused));
        // The layout is examined before the index.
        expectFailure([&] { presentation->insertSlideFrom(99, Any(refused)); },
                      u"appendSlide with this predefined layout: not implemented");
        expectFailure([&] { presentation->appendSlideFrom(Any(refused)); },
                      u"appendSlide with this predefined layout: not implemented");
    }
    for (const Any& notALayout : {Any(sal_Int32(4)), Any(OUString(u"BLANK")), Any()}) {
        expectFailure([&] { presentation->insertSlideFrom(1, notALayout); },
                      u"insertSlide with a layout argument that is not a predefined layout: not implemented");
        expectFailure([&] { presentation->appendSlideFrom(notALayout); },
                      u"insertSlide with a layout argument that is not a predefined layout: not implemented");
    }
    expectFailure([&] { presentation->insertSlideFrom(-5, Any(PredefinedLayout::TITLE)); },
                  u"insertSlide: expected an index between 0 and " + std::u16string(OUString::number(before).getStr()) +
                      u", got -5");
    EXPECT_EQ(presentation->getSlides().getLength(), before);
}

TEST_F(DeckTest, NotImplementedOperationsOfThePresentation) {
    expectFailure([&] { presentation->appendSlideLinked({}, SlideLinkingMode::LINKED); },
                  u"appendSlide with a slide linking mode: not implemented");
    expectFailure([&] { presentation->appendSlideLinked(slide(0), SlideLinkingMode::NOT_LINKED); },
                  u"appendSlide with a slide linking mode: not implemented");
    expectFailure([&] { presentation->insertSlideLinked(1, slide(0), SlideLinkingMode::LINKED); },
                  u"insertSlideLinked: not implemented");
    expectFailure([&] { presentation->getSlideById(u"x"); }, u"getSlideById: not implemented");
    expectFailure([&] { presentation->getPageElementById(u"x"); }, u"getPageElementById: not implemented");
    EXPECT_EQ(presentation->getSlides().getLength(), 2);
}

TEST_F(DeckTest, ReplacingCoversSlidesTheirNotesAndMastersButNotTheNotesMaster) {
    // One match on each slide's title or outline, one in each slide's notes, one on
    // the second master, and one in the notes master that is not searched.
    deck().slide(1).textBox(u"Results are in");
    Reference<css::drawing::XShape> onMaster = newHostShape(deck().model(), u"com.qam.vexo.drawing.TextShape");
    Reference<css::drawing::XShapes>(deck().masterAt(1), UNO_QUERY_THROW)->add(onMaster);
    Reference<css::text::XText>(onMaster, UNO_QUERY_THROW)->setString(u"master RESULTS");
    auto notesMaster = testsupport::draw::notesPageOf(deck().masterAt(0));
    Reference<css::text::XText>(testsupport::draw::firstShapeOf(notesMaster, u"com.qam.vexo.presentation.NotesShape"),
                                UNO_QUERY_THROW)
        ->setString(u"results here stay");
    auto notes2 = testsupport::draw::firstShapeOf(testsupport::draw::notesPageOf(deck().slideAt(1)),
                                                  u"com.qam.vexo.presentation.NotesShape");
    Reference<css::text::XText>(notes2, UNO_QUERY_THROW)->setString(u"Two results");
    // "Quarterly results", "Two results", "Results are in", "master RESULTS".
    EXPECT_EQ(presentation->replaceAllText(u"results", u"figures"), 4);
    EXPECT_EQ(testsupport::draw::textOf(onMaster), u"master figures");
    EXPECT_EQ(testsupport::draw::textOf(notes2), u"Two figures");
    EXPECT_EQ(testsupport::draw::textOf(testsupport::draw::firstShapeOf(notesMaster, u"com.qam.vexo.presentation.NotesShape")),
              u"results here stay");
    EXPECT_EQ(presentation->replaceAllTextMatchCase(u"Figures", u"x", true), 0);
    EXPECT_EQ(presentation->replaceAllTextMatchCase(u"figures", u"numbers", true), 4);
    expectFailure([&] { presentation->replaceAllText(u"", u"x"); }, u"replaceAllText: expected a non-empty search text");
    expectFailure([&] { presentation->replaceAllTextMatchCase(u"", u"x", true); },
                  u"replaceAllText: expected a non-empty search text");
}

TEST_F(HostTest, NamesOfPresentations) {
    const struct {
        const char16_t* location;
        const char16_t* title;
        const char16_t* name;
    } cases[] = {
        {u"file:///decks/Q3.odp", u"Quarterly", u"Quarterly"},
        {u"file:///decks/My%20Deck.odp", u"", u"My Deck"},
        {u"file:///decks/.hidden", u"", u".hidden"},
        {u"file:///decks/archive.tar.odp", u"", u"archive.tar"},
        {u"file:///decks/caf%C3%A9.odp", u"", u"caf\u00E9"},
        {u"file:///decks/noextension", u"", u"noextension"},
        {u"plainname.odp", u"", u"plainname"},
        {u"file:///decks/", u"", u""},
        {u"", u"", u"Untitled presentation"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(c.location));
        auto model = officehost::openPresentationDocument({OUString(c.location), 1});
        Reference<css::document::XDocumentPropertiesSupplier>(model, UNO_QUERY_THROW)
            ->getDocumentProperties()
            ->setTitle(OUString(c.title));
        EXPECT_EQ(newFactory()->getActivePresentation()->getName(), OUString(c.name));
    }
}

TEST_F(HostTest, APresentationWithoutSlides) {
    officehost::openPresentationDocument({OUString(), 0});
    Reference<XPresentation> presentation = newFactory()->getActivePresentation();
    EXPECT_EQ(presentation->getSlides().getLength(), 0);
    expectFailure([&] { presentation->appendSlide(); }, u"insertSlide at index 0: not implemented");
    expectFailure([&] { presentation->appendSlideFrom(Any(PredefinedLayout::TITLE)); },
                  u"insertSlide at index 0: not implemented");
    expectFailure([&] { presentation->insertSlide(1); }, u"insertSlide: expected an index between 0 and 0, got 1");
    // The host's index exception passes through.
    expectFailure<css::lang::IndexOutOfBoundsException>([&] { presentation->getPageWidth(); },
                                                        u"getByIndex: there is no page 0", false);
    expectFailure<css::lang::IndexOutOfBoundsException>([&] { presentation->getNotesPageHeight(); },
                                                        u"getByIndex: there is no page 0", false);
    // An empty search text is refused even with no slide to search.
    expectFailure([&] { presentation->replaceAllText(u"", u"x"); }, u"replaceAllText: expected a non-empty search text");
    EXPECT_EQ(presentation->replaceAllText(u"x", u"y"), 0);
    EXPECT_EQ(presentation->getMasters().getLength(), 1);
}

TEST_F(HostTest, ADrawingIsWrappedAsADrawingOnly) {
    auto model = officehost::openDrawingDocument();
    Reference<XFactory> factory = newFactory();
    Reference<XDrawing> drawing = factory->getActiveDrawing();
    EXPECT_TRUE(sameObject(drawing->getuno(), model));
    expectFailure([&] { factory->getActivePresentation(); },
                  u"current document does not support com.qam.vexo.presentation.PresentationDocument");
    officehost::openPresentationDocument();
    expectFailure([&] { factory->getActiveDrawing(); },
                  u"current document does not support com.qam.vexo.drawing.DrawingDocument");
    // The wrapper keeps its model whatever is active now.
    EXPECT_TRUE(sameObject(drawing->getuno(), model));
}

TEST_F(HostTest, PresentationWrappersOverAHostModelOfAnotherKind) {
    // A drawing's pages have no notes pages: the throwing query fails plainly.
    auto model = officehost::openDrawingDocument();
    Reference<XPresentation> wrapped = detail::createPresentation(model);
    EXPECT_EQ(wrapped->getSlides().getLength(), 1);
    expectFailure([&] { wrapped->getNotesPageWidth(); },
                  u"unsatisfied query for interface of type com.qam.vexo.presentation.XPresentationPage!", false);
    expectFailure([&] { wrapped->getSlides()[0]->getNotesPage(); },
                  u"unsatisfied query for interface of type com.qam.vexo.presentation.XPresentationPage!", false);
    expectFailure([&] { wrapped->replaceAllText(u"a", u"b"); },
                  u"unsatisfied query for interface of type com.qam.vexo.presentation.XPresentationPage!", false);
    // A text document has no slides at all.
    Reference<XPresentation> onText = detail::createPresentation(officehost::openTextDocument());
    expectFailure([&] { onText->getSlides(); },
                  u"unsatisfied query for interface of type com.qam.vexo.drawing.XDrawPagesSupplier!", false);
    EXPECT_EQ(onText->getName(), u"Untitled presentation");
}

} // namespace
} // namespace corvane::test
