// The element tree's shared walks: type names, the block children of a host
// text, siblings, child indices and the removal of text contents.

#include "elements.hxx"

#include <com/qam/vexo/container/collections.hxx>

namespace corvane::detail {

namespace container = ::com::qam::vexo::container;
using ::com::qam::vexo::lang::XServiceInfo;
using ::zel::uno::XInterface;

OUString elementTypeName(ElementType type) {
    switch (type) {
    case ElementType::PARAGRAPH: return u"PARAGRAPH";
    case ElementType::LIST_ITEM: return u"LIST_ITEM";
    case ElementType::TABLE: return u"TABLE";
    case ElementType::TABLE_ROW: return u"TABLE_ROW";
    case ElementType::TABLE_CELL: return u"TABLE_CELL";
    case ElementType::INLINE_IMAGE: return u"INLINE_IMAGE";
    case ElementType::PAGE_BREAK: return u"PAGE_BREAK";
    case ElementType::HORIZONTAL_RULE: return u"HORIZONTAL_RULE";
    case ElementType::BODY_SECTION: return u"BODY_SECTION";
    case ElementType::FOOTNOTE: return u"FOOTNOTE";
    case ElementType::FOOTNOTE_SECTION: return u"FOOTNOTE_SECTION";
    case ElementType::TEXT: return u"TEXT";
    }
    throw RuntimeException(u"unknown element type " + OUString::number(static_cast<sal_Int32>(type)));
}

void throwCastFailure(ElementType from, ElementType to) {
    throw RuntimeException(elementTypeName(from) + u" can't be cast to " + elementTypeName(to) + u".");
}

std::vector<HostChild> hostChildrenOf(const Reference<text::XText>& hostText) {
    std::vector<HostChild> children;
    Reference<container::XEnumerationAccess> access(hostText, UNO_QUERY);
    if (!access.is()) return children;
    Reference<container::XEnumeration> elements = access->createEnumeration();
    if (!elements.is()) return children;
    while (elements->hasMoreElements()) {
        Reference<text::XTextContent> content(elements->nextElement(), UNO_QUERY);
        if (!content.is()) continue;
        Reference<XServiceInfo> info(content, UNO_QUERY);
        if (!info.is()) continue;
        if (info->supportsService(u"com.qam.vexo.text.Paragraph")) {
            children.push_back({content, nullptr});
            continue;
        }
        if (!info->supportsService(u"com.qam.vexo.text.TextTable")) continue;
        if (Reference<text::XTextTable> table(content, UNO_QUERY); table.is()) children.push_back({content, table});
    }
    return children;
}

Reference<XElement> wrapChild(const HostChild& child, const Reference<XElement>& parent) {
    if (child.table.is()) return createTable(parent, child.table);
    return createParagraph(parent, child.content);
}

Sequence<Reference<XElement>> enumerateElements(const Reference<text::XText>& hostText,
                                                const Reference<XElement>& parent) {
    std::vector<Reference<XElement>> children;
    for (const HostChild& child : hostChildrenOf(hostText)) children.push_back(wrapChild(child, parent));
    return Sequence<Reference<XElement>>(std::move(children));
}

Optional<Reference<XElement>> siblingContent(const Reference<text::XTextContent>& content,
                                             const Reference<XElement>& parent, bool next) {
    Reference<text::XTextRange> range(content, UNO_QUERY);
    // A table need not be a text range of its own; where it stands is its anchor.
    if (!range.is() && content.is()) range = content->getAnchor();
    if (!range.is()) return {};
    Reference<text::XText> hostText = range->getText();
    if (!hostText.is()) return {};
    const Sequence<Reference<XElement>> children = enumerateElements(hostText, parent);
    for (sal_Int32 i = 0; i < children.getLength(); ++i) {
        if (!(children[i]->getuno() == content)) continue;
        const sal_Int32 sibling = next ? i + 1 : i - 1;
        if (sibling < 0 || sibling >= children.getLength()) return {};
        return {true, children[sibling]};
    }
    return {};
}

std::vector<Reference<XElement>> childrenOf(XContainerElement& container) {
    if (auto* list = dynamic_cast<ChildList*>(&container)) return list->allChildren();
    std::vector<Reference<XElement>> children;
    const sal_Int32 count = container.getNumChildren();
    for (sal_Int32 i = 0; i < count; ++i) children.push_back(container.getChild(i));
    return children;
}

// One walk of the children.  The child's type is read inside the guarded
// comparison: a child whose host object has gone is no match, not a failure.
sal_Int32 childIndexOf(XContainerElement& container, const Reference<XElement>& child) {
    if (!child.is()) throw RuntimeException(u"getChildIndex: the child must not be null");
    const Reference<XInterface> uno = child->getuno();
    const std::vector<Reference<XElement>> children = childrenOf(container);
    for (sal_Int32 i = 0; i < static_cast<sal_Int32>(children.size()); ++i) {
        const Reference<XElement>& candidate = children[i];
        if (!candidate.is()) continue;
        try {
            if (candidate->getType() != child->getType()) continue;
            const Reference<XInterface> candidateUno = candidate->getuno();
            if (candidateUno.get() == uno.get() || candidateUno == uno) return i;
        } catch (const RuntimeException&) {
            // A wrapper whose host object has gone cannot be the child asked for.
        }
    }
    throw RuntimeException(u"getChildIndex: the element does not contain the given child");
}

void removeContent(const Reference<text::XTextContent>& content) {
    if (!content.is()) throw RuntimeException(u"element is not attached to a document");
    Reference<text::XTextRange> anchor = content->getAnchor();
    if (!anchor.is()) throw RuntimeException(u"element has no anchor");
    Reference<text::XText> hostText = anchor->getText();
    if (!hostText.is()) throw RuntimeException(u"element has no containing text");
    hostText->removeTextContent(content);
}

} // namespace corvane::detail
