// The view's selections beyond one range: several ranges at once, graphic
// objects and what moving the view cursor does to them; what the view refuses;
// graphic objects sized by their graphic; and a paragraph break at a collapsed
// cursor.

#include <com/qam/vexo/graphic/graphic.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/util/modify.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <comphelper/processfactory.hxx>
#include <cppu/implbase.hxx>
#include <osl/file.hxx>
#include <testsupport/HostTest.hxx>
#include <testsupport/ScratchDir.hxx>
#include <testsupport/images/Images.hxx>
#include <testsupport/text/TextDocumentBuilder.hxx>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

namespace css = ::com::qam::vexo;
using css::text::XTextRange;
using testsupport::text::TextDocumentBuilder;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

using TextViewSelectionTest = testsupport::HostTest;

// A list of ranges, as a caller hands several ranges to select().
class RangeList : public cppu::WeakImplHelper<css::container::XIndexAccess> {
public:
    explicit RangeList(std::vector<Reference<XTextRange>> ranges) : ranges_(std::move(ranges)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(ranges_.size()); }
    Any getByIndex(sal_Int32 i) override { return Any(ranges_.at(i)); }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<XTextRange>::get(); }
    bool hasElements() override { return !ranges_.empty(); }

private:
    std::vector<Reference<XTextRange>> ranges_;
};

struct View {
    explicit View(const TextDocumentBuilder& doc)
        : selection(doc.model()->getCurrentController(), UNO_QUERY_THROW),
          cursor(Reference<css::text::XTextViewCursorSupplier>(selection, UNO_QUERY_THROW)->getViewCursor()) {}

    std::vector<OUString> selectedStrings() const {
        Reference<css::container::XIndexAccess> ranges(selection->getSelection(), UNO_QUERY);
        if (!ranges.is()) return {u"<not ranges>"};
        std::vector<OUString> out;
        for (sal_Int32 i = 0; i < ranges->getCount(); ++i)
            out.push_back(Reference<XTextRange>(ranges->getByIndex(i), UNO_QUERY_THROW)->getString());
        return out;
    }

    Reference<css::view::XSelectionSupplier> selection;
    Reference<css::text::XTextViewCursor> cursor;
};

Reference<XTextRange> paragraphRange(const TextDocumentBuilder& doc, sal_Int32 i) {
    return Reference<XTextRange>(doc.element(i), UNO_QUERY_THROW);
}

Reference<css::text::XTextContent> newGraphic(const TextDocumentBuilder& doc) {
    Reference<css::text::XTextContent> graphic(
        Reference<css::lang::XMultiServiceFactory>(doc.model(), UNO_QUERY_THROW)
            ->createInstance(u"com.qam.vexo.text.TextGraphicObject"),
        UNO_QUERY_THROW);
    Reference<css::beans::XPropertySet>(graphic, UNO_QUERY_THROW)
        ->setPropertyValue(u"AnchorType", Any(css::text::TextContentAnchorType_AS_CHARACTER));
    return graphic;
}

TEST_F(TextViewSelectionTest, SeveralRangesAreSelectedTogetherUntilTheCursorMoves) {
    TextDocumentBuilder doc;
    doc.paragraph(u"one").paragraph(u"two").paragraph(u"three");
    View view(doc);
    const Reference<XTextRange> first = paragraphRange(doc, 0);
    const Reference<XTextRange> third = paragraphRange(doc, 2);
    EXPECT_TRUE(view.selection->select(Any(Reference<css::container::XIndexAccess>(new RangeList({first, third})))));
    EXPECT_EQ(view.selectedStrings(), (std::vector<OUString>{u"one", u"three"}));
    // The ranges follow edits.
    Reference<css::text::XTextCursor> inside = doc.body()->createTextCursorByRange(first->getStart());
    inside->goRight(1, false);
    doc.body()->insertString(inside, u"-", false);
    EXPECT_EQ(view.selectedStrings(), (std::vector<OUString>{u"o-ne", u"three"}));
    // Moving the view cursor ends the multiple selection.
    view.cursor->goLeft(1, false);
    EXPECT_EQ(view.selectedStrings(), (std::vector<OUString>{u""}));

    // One range in a list is a plain selection of that range.
    EXPECT_TRUE(view.selection->select(Any(Reference<css::container::XIndexAccess>(new RangeList({third})))));
    EXPECT_EQ(view.selectedStrings(), (std::vector<OUString>{u"three"}));
    EXPECT_EQ(view.cursor->getString(), u"three");
}

TEST_F(TextViewSelectionTest, AListWithSomethingUnselectableChangesNothing) {
    TextDocumentBuilder doc;
    doc.paragraph(u"one").paragraph(u"two");
    TextDocumentBuilder other;
    other.paragraph(u"elsewhere");
    View view(doc);
    ASSERT_TRUE(view.selection->select(Any(paragraphRange(doc, 1))));
    const std::vector<Reference<XTextRange>> lists[] = {
        {},
        {paragraphRange(doc, 0), other.body()->getStart()},
        {paragraphRange(doc, 0), nullptr},
    };
    for (const auto& list : lists) {
        SCOPED_TRACE(list.size());
        EXPECT_FALSE(view.selection->select(Any(Reference<css::container::XIndexAccess>(new RangeList(list)))));
        EXPECT_EQ(view.selectedStrings(), (std::vector<OUString>{u"two"}));
    }
}

TEST_F(TextViewSelectionTest, RangesOfOtherDocumentsAndRemovedContentCannotBeSelected) {
    TextDocumentBuilder doc;
    doc.paragraph(u"one").paragraph(u"two");
    TextDocumentBuilder other;
    View view(doc);
    EXPECT_FALSE(view.selection->select(Any(other.body()->getStart())));
    Reference<css::text::XTextContent> removed = doc.element(0);
    doc.body()->removeTextContent(removed);
    EXPECT_FALSE(view.selection->select(Any(removed)));
    Reference<css::text::XTextContent> graphic = newGraphic(doc);
    doc.body()->insertTextContent(doc.body()->getEnd(), graphic, false);
    doc.body()->removeTextContent(graphic);
    EXPECT_FALSE(view.selection->select(Any(graphic)));
}

TEST_F(TextViewSelectionTest, MovingTheCursorDeselectsAGraphicObject) {
    TextDocumentBuilder doc;
    doc.paragraph(u"ab");
    View view(doc);
    Reference<css::text::XTextContent> graphic = newGraphic(doc);
    doc.body()->insertTextContent(doc.body()->getEnd(), graphic, false);
    ASSERT_TRUE(view.selection->select(Any(graphic)));
    // Asking again changes nothing.
    EXPECT_TRUE(Reference<XInterface>(view.selection->getSelection(), UNO_QUERY) ==
                Reference<XInterface>(graphic, UNO_QUERY));
    EXPECT_TRUE(Reference<XInterface>(view.selection->getSelection(), UNO_QUERY) ==
                Reference<XInterface>(graphic, UNO_QUERY));
    view.cursor->gotoStart(false);
    EXPECT_EQ(view.selectedStrings(), (std::vector<OUString>{u""}));
}

TEST_F(TextViewSelectionTest, AParagraphBreakAtACollapsedCursorLeavesItAtTheNewParagraph) {
    TextDocumentBuilder doc;
    doc.paragraph(u"headtail");
    Reference<css::text::XTextCursor> cursor = doc.body()->createTextCursorByRange(doc.body()->getStart());
    cursor->goRight(4, false);
    doc.body()->insertControlCharacter(cursor, css::text::ControlCharacter::PARAGRAPH_BREAK, false);
    EXPECT_TRUE(cursor->isCollapsed());
    EXPECT_EQ(doc.body()->getString(), u"head\ntail");
    cursor->goRight(4, true);
    EXPECT_EQ(cursor->getString(), u"tail");
}

class GraphicSizeTest : public testsupport::HostTest {
protected:
    Reference<css::graphic::XGraphic> graphicOf(const std::string& bytes) {
        testsupport::writeFile(dir_.path("image"), bytes);
        OUString url;
        osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(dir_.path("image")), url);
        auto context = comphelper::getProcessComponentContext();
        Reference<css::graphic::XGraphicProvider> provider(
            context->getServiceManager()->createInstanceWithContext(u"com.qam.vexo.graphic.GraphicProvider", context),
            UNO_QUERY_THROW);
        return provider->queryGraphic({css::beans::PropertyValue{u"URL", 0, Any(url), {}}});
    }
    testsupport::ScratchDir dir_{"qx-graphicsize"};
};

TEST_F(GraphicSizeTest, AGraphicGivesItsNaturalSizeUnlessASizeWasSet) {
    TextDocumentBuilder doc;
    Reference<css::graphic::XGraphic> graphic = graphicOf(testsupport::images::png(96, 48));
    ASSERT_TRUE(graphic.is());
    struct Case {
        const char* name;
        std::vector<std::pair<const char16_t*, sal_Int32>> before;  // sizes set before the graphic
        sal_Int32 width, height;
    };
    const Case cases[] = {
        {"never set", {}, 2540, 1270},
        {"width set", {{u"Width", 1000}}, 1000, 1270},
        {"both set", {{u"Height", 7}, {u"Width", 9}}, 9, 7},
        {"set to zero", {{u"Width", 0}, {u"Height", 0}}, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reference<css::beans::XPropertySet> props(newGraphic(doc), UNO_QUERY_THROW);
        for (const auto& [name, value] : c.before) props->setPropertyValue(OUString(name), Any(value));
        props->setPropertyValue(u"Graphic", Any(graphic));
        EXPECT_TRUE(props->getPropertyValue(u"Width") == Any(c.width));
        EXPECT_TRUE(props->getPropertyValue(u"Height") == Any(c.height));
        // A size set afterwards wins too.
        props->setPropertyValue(u"Width", Any(sal_Int32(5)));
        props->setPropertyValue(u"Graphic", Any(graphic));
        EXPECT_TRUE(props->getPropertyValue(u"Width") == Any(sal_Int32(5)));
    }
}

TEST_F(GraphicSizeTest, GraphicTakesOnlyAGraphic) {
    TextDocumentBuilder doc;
    Reference<css::beans::XPropertySet> props(newGraphic(doc), UNO_QUERY_THROW);
    try {
        props->setPropertyValue(u"Graphic", Any(doc.body()));
        ADD_FAILURE() << "no exception";
    } catch (const css::lang::IllegalArgumentException& e) {
        EXPECT_EQ(e.Message,
                  OUString(u"setPropertyValue: property Graphic takes a com.qam.vexo.graphic.XGraphic, got "
                           u"com.qam.vexo.text.XText"));
    }
    EXPECT_FALSE(props->getPropertyValue(u"Graphic").hasValue());
}

} // namespace

namespace {

class CountingListener : public cppu::WeakImplHelper<css::util::XModifyListener> {
public:
    void modified(const css::lang::EventObject&) override { ++count; }
    void disposing(const css::lang::EventObject&) override {}
    int count = 0;
};

TEST_F(TextViewSelectionTest, ModifyListenersHearEveryEditOfTheContent) {
    TextDocumentBuilder doc;
    doc.paragraph(u"one").table(1, 1);
    Reference<css::util::XModifyBroadcaster> broadcaster(doc.model(), UNO_QUERY_THROW);
    Reference<CountingListener> listener = new CountingListener;
    broadcaster->addModifyListener(listener);
    struct Edit {
        const char* name;
        std::function<void()> apply;
    };
    const Edit edits[] = {
        {"insert text", [&] { doc.body()->insertString(doc.body()->getEnd(), u"x", false); }},
        {"new paragraph", [&] { doc.paragraph(u"two"); }},
        {"cell text", [&] { testsupport::text::cellText(doc.element(1), 0, 0)->setString(u"cell"); }},
        {"table row", [&] { Reference<css::text::XTextTable>(doc.element(1), UNO_QUERY_THROW)->getRows()->insertByIndex(0, 1); }},
        {"removed paragraph", [&] { doc.body()->removeTextContent(doc.element(0)); }},
    };
    for (const Edit& e : edits) {
        SCOPED_TRACE(e.name);
        listener->count = 0;
        e.apply();
        EXPECT_GT(listener->count, 0);
    }
    // Reading changes nothing.
    listener->count = 0;
    EXPECT_EQ(doc.body()->getString(), u"\ncell\nxtwo");
    EXPECT_EQ(listener->count, 0);
    broadcaster->removeModifyListener(listener);
    doc.paragraph(u"unheard");
    EXPECT_EQ(listener->count, 0);
}

} // namespace
