// The body: the document's main text as a container of paragraphs, list items
// and tables.

#include "elements.hxx"

#include <com/qam/vexo/util/modify.hxx>

namespace corvane::detail {

namespace container = ::com::qam::vexo::container;
namespace util = ::com::qam::vexo::util;
using ::com::qam::vexo::frame::XModel;
using ::com::qam::vexo::lang::IllegalArgumentException;
using ::com::qam::vexo::lang::XMultiServiceFactory;
using ::com::qam::vexo::lang::XServiceInfo;

namespace {

// Hears whether the document changed since the body last listed its children.
// It holds nothing but that flag, so the document that keeps it keeps nothing else.
class ChangeFlag : public cppu::WeakImplHelper<util::XModifyListener> {
public:
    void modified(const ::com::qam::vexo::lang::EventObject&) override { changed = true; }
    void disposing(const ::com::qam::vexo::lang::EventObject&) override { changed = true; }
    bool changed = true;
};

// The body.  Its children are the host's paragraphs and tables, read again
// whenever the document has changed since they were last read (the document
// tells of every edit through XModifyBroadcaster); without that notice, on
// every call.  So a script that walks the children one index at a time does
// not read the whole body for each of them.  Each call still makes new wrappers.
class BodyImpl : public TextContainerImpl<XBody> {
public:
    BodyImpl(const Reference<XModel>& model, const Reference<text::XText>& bodyText)
        : TextContainerImpl(bodyText, u"the document body"), model_(model), broadcaster_(model, UNO_QUERY) {}
    ~BodyImpl() override {
        if (broadcaster_.is() && flag_.is()) broadcaster_->removeModifyListener(flag_);
    }

    Reference<XElement> getChild(sal_Int32 index) override {
        const std::vector<HostChild>& all = hostChildren();
        if (index < 0 || index >= static_cast<sal_Int32>(all.size())) return {};
        return wrapChild(all[index], this);
    }
    sal_Int32 getNumChildren() override { return static_cast<sal_Int32>(hostChildren().size()); }
    std::vector<Reference<XElement>> allChildren() override {
        std::vector<Reference<XElement>> children;
        for (const HostChild& child : hostChildren()) children.push_back(wrapChild(child, this));
        return children;
    }
    Sequence<Reference<XElement>> getChildren() override { return Sequence<Reference<XElement>>(allChildren()); }

    Optional<Reference<XElement>> getParent() override { return {}; }
    ElementType getType() override { return ElementType::BODY_SECTION; }
    Reference<XElement> removeFromParent() override {
        throw RuntimeException(u"the body has no parent to remove it from");
    }

    // The host keeps one empty paragraph, which loses numbering and heading.
    Reference<XContainerElement> clear() override {
        if (!text_.is()) throw RuntimeException(u"clear: the document body has no text");
        text_->setString(OUString());
        Reference<container::XEnumeration> elements =
            Reference<container::XEnumerationAccess>(text_, UNO_QUERY_THROW)->createEnumeration();
        Reference<text::XTextContent> first(elements->nextElement(), UNO_QUERY_THROW);
        makeNormal(createParagraph(this, first), Reference<beans::XPropertySet>(first, UNO_QUERY_THROW));
        return this;
    }

    // The image is loaded before anything changes; the paragraph break goes in
    // before the image, so a host that then refuses the image leaves the new
    // empty paragraph behind.
    Reference<XInlineImage> appendImage(const Reference<XBlob>& blob) override {
        if (!text_.is()) throw RuntimeException(u"XBody has no underlying text");
        Reference<text::XTextContent> content = createGraphicFromBlob(model_, blob);
        Reference<text::XTextCursor> cursor = text_->createTextCursorByRange(text_->getEnd());
        text_->insertControlCharacter(cursor, text::ControlCharacter::PARAGRAPH_BREAK, false);
        text_->insertTextContent(cursor, content, false);
        return createInlineImage(this, content);
    }
    Reference<XParagraph> appendListItem(const OUString& s) override { return append(s, u"List Number"); }
    Reference<XParagraph> appendParagraph(const OUString& s) override { return append(s, u""); }

private:
    // A new last paragraph holding `s`, in the given paragraph style, or normal
    // when the style is empty.  Without the style the paragraph is numbered
    // directly (arabic numbers).  A failure after the paragraph was started
    // leaves it in the document.
    Reference<XParagraph> append(const OUString& s, std::u16string_view style) {
        if (!text_.is()) throw RuntimeException(u"XBody has no underlying text");
        Reference<text::XParagraphAppend>(text_, UNO_QUERY_THROW)->finishParagraph({});
        text_->insertString(text_->getEnd(), s, false);

        Reference<text::XTextContent> last;
        Reference<container::XEnumerationAccess> access(text_, UNO_QUERY);
        Reference<container::XEnumeration> elements = access.is() ? access->createEnumeration() : nullptr;
        while (elements.is() && elements->hasMoreElements()) {
            Reference<text::XTextContent> content(elements->nextElement(), UNO_QUERY);
            Reference<XServiceInfo> info(content, UNO_QUERY);
            if (info.is() && info->supportsService(u"com.qam.vexo.text.Paragraph")) last = content;
        }
        if (!last.is()) throw RuntimeException(u"appending the paragraph failed");

        Reference<XParagraph> paragraph = createParagraph(this, last);
        Reference<beans::XPropertySet> props(last, UNO_QUERY_THROW);
        if (style.empty()) {
            makeNormal(paragraph, props);
            return paragraph;
        }
        try {
            props->setPropertyValue(u"ParaStyleName", Any(OUString(style)));
        } catch (const IllegalArgumentException&) {
            numberDirectly(props);
        }
        return paragraph;
    }

    void numberDirectly(const Reference<beans::XPropertySet>& props) {
        Reference<container::XIndexReplace> rules(
            Reference<XMultiServiceFactory>(model_, UNO_QUERY_THROW)->createInstance(u"com.qam.vexo.text.NumberingRules"),
            UNO_QUERY_THROW);
        if (rules->getCount() == 0)
            throw RuntimeException(u"appendListItem: the document provides no bullet list formatting");
        const Sequence<beans::PropertyValue> arabic{{u"NumberingType", 0, Any(static_cast<sal_Int16>(4)),
                                                     beans::PropertyState_DIRECT_VALUE}};
        rules->replaceByIndex(0, Any(arabic));
        props->setPropertyValue(u"NumberingRules", Any(rules));
        props->setPropertyValue(u"NumberingIsNumber", Any(true));
    }

    const std::vector<HostChild>& hostChildren() {
        if (!flag_.is() && broadcaster_.is()) {
            flag_ = new ChangeFlag;
            broadcaster_->addModifyListener(flag_);
        }
        if (!flag_.is() || flag_->changed) {
            if (flag_.is()) flag_->changed = false;
            children_ = hostChildrenOf(text_);
        }
        return children_;
    }

    const Reference<XModel> model_;
    const Reference<util::XModifyBroadcaster> broadcaster_;
    Reference<ChangeFlag> flag_;
    std::vector<HostChild> children_;
};

} // namespace

Reference<XBody> createBody(const Reference<XModel>& model, const Reference<text::XText>& bodyText) {
    return new BodyImpl(model, bodyText);
}

} // namespace corvane::detail
