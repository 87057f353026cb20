// The offset model of the text document (textOf and the cursor moves that
// follow it) and the text of one paragraph, TextImpl.

#include "elements.hxx"
#include "textattributes.hxx"

#include <rtl/ustrbuf.hxx>

#include <algorithm>
#include <utility>

namespace corvane::detail {

namespace container = ::com::qam::vexo::container;
namespace table = ::com::qam::vexo::table;
using ::com::qam::vexo::lang::IndexOutOfBoundsException;
using ::com::qam::vexo::lang::XServiceInfo;

namespace {

using Placements = std::vector<std::pair<sal_Int32, sal_Int32>>;

bool isFootnotePortion(const Reference<beans::XPropertySet>& portion) {
    OUString type;
    portion->getPropertyValue(u"TextPortionType") >>= type;
    return type == u"Footnote";
}

// Calls `cell` for every cell of the table, row by row, each row from column 0
// until the host reports the column out of range.
template <class F>
void forEachCell(const Reference<text::XTextTable>& hostTable, F&& cell) {
    Reference<table::XTableRows> rows = hostTable->getRows();
    const sal_Int32 rowCount = rows.is() ? rows->getCount() : 0;
    if (rowCount == 0) return;
    Reference<table::XCellRange> cells(hostTable, UNO_QUERY_THROW);
    for (sal_Int32 row = 0; row < rowCount; ++row) {
        for (sal_Int32 column = 0;; ++column) {
            Reference<table::XCell> hostCell;
            try {
                hostCell = cells->getCellByPosition(column, row);
            } catch (const IndexOutOfBoundsException&) {
                break;
            }
            if (!hostCell.is()) break;
            cell(Reference<text::XTextRange>(hostCell, UNO_QUERY_THROW));
        }
    }
}

sal_Int32 lineEndAt(const OUString& string, sal_Int32 position) {
    if (position == string.getLength()) return 0;
    if (position >= 0 && position < string.getLength()) {
        if (string.match(u"\r\n", position)) return 2;
        if (string[position] == u'\n') return 1;
    }
    throw RuntimeException(u"textOf: expected a line end at offset " + OUString::number(position));
}

sal_Int32 lengthFromStartTo(const Reference<text::XText>& hostText, const Reference<text::XTextRange>& range,
                            const Reference<text::XTextRange>& to) {
    Reference<text::XTextCursor> cursor = hostText->createTextCursorByRange(range->getStart());
    cursor->gotoRange(to, true);
    return cursor->isCollapsed() ? 0 : cursor->getString().getLength();
}

// Where footnote anchors stand in `string`, the host string of `range`: (position, length) pairs.
Placements footnoteNumbers(const Reference<text::XTextRange>& range, const OUString& string) {
    Placements placements;
    Reference<text::XText> hostText = range->getText();
    if (!hostText.is()) return placements;
    Reference<container::XEnumerationAccess> access;
    if (Reference<text::XText> self(range, UNO_QUERY); self.is())
        access.set(self, UNO_QUERY_THROW);
    else
        access.set(hostText->createTextCursorByRange(range), UNO_QUERY_THROW);
    Reference<container::XEnumeration> elements = access->createEnumeration();
    if (!elements.is()) return placements;

    sal_Int32 sum = 0;
    Reference<text::XTextRange> previous;
    while (elements->hasMoreElements()) {
        const Any element = elements->nextElement();
        if (Reference<text::XTextTable> hostTable(element, UNO_QUERY); hostTable.is()) {
            std::vector<Reference<text::XTextRange>> cells;
            forEachCell(hostTable, [&](const Reference<text::XTextRange>& cell) { cells.push_back(cell); });
            // A table without cells (all rows removed) has no text and no line end.
            if (cells.empty()) continue;
            if (previous.is()) {
                sum = lengthFromStartTo(hostText, range, previous->getEnd());
                sum += lineEndAt(string, sum);
            }
            bool first = true;
            for (const Reference<text::XTextRange>& cell : cells) {
                if (!first) sum += lineEndAt(string, sum);
                first = false;
                const OUString cellString = cell->getString();
                if (!string.match(cellString, sum))
                    throw RuntimeException(u"textOf: expected the text of a table cell at offset " +
                                           OUString::number(sum));
                for (auto [position, length] : footnoteNumbers(cell, cellString))
                    placements.emplace_back(position + sum, length);
                sum += cellString.getLength();
            }
            sum += lineEndAt(string, sum);
            previous.clear();
            continue;
        }
        Reference<container::XEnumerationAccess> paragraph(element, UNO_QUERY);
        if (Reference<container::XEnumeration> portions = paragraph.is() ? paragraph->createEnumeration() : nullptr;
            portions.is()) {
            while (portions->hasMoreElements()) {
                const Any portion = portions->nextElement();
                Reference<beans::XPropertySet> portionProps(portion, UNO_QUERY);
                Reference<text::XTextRange> portionRange(portion, UNO_QUERY);
                if (!portionProps.is() || !portionRange.is() || !isFootnotePortion(portionProps)) continue;
                placements.emplace_back(lengthFromStartTo(hostText, range, portionRange->getStart()),
                                        portionRange->getString().getLength());
            }
        }
        previous.set(element, UNO_QUERY);
    }
    return placements;
}

} // namespace

OUString textOf(const Reference<text::XTextRange>& range) {
    if (Reference<text::XText> hostText(range, UNO_QUERY); hostText.is()) {
        Reference<container::XEnumerationAccess> access(hostText, UNO_QUERY_THROW);
        Reference<container::XEnumeration> elements = access->createEnumeration();
        rtl::OUStringBuffer result;
        bool first = true;
        auto item = [&](const OUString& s) {
            if (!first) result.append(u'\n');
            first = false;
            result.append(s);
        };
        while (elements.is() && elements->hasMoreElements()) {
            const Any element = elements->nextElement();
            if (Reference<text::XTextTable> hostTable(element, UNO_QUERY); hostTable.is()) {
                forEachCell(hostTable, [&](const Reference<text::XTextRange>& cell) { item(textOf(cell)); });
                continue;
            }
            item(textOf(Reference<text::XTextRange>(element, UNO_QUERY_THROW)));
        }
        return result.makeStringAndClear();
    }
    if (Reference<XServiceInfo> info(range, UNO_QUERY); info.is() && info->supportsService(u"com.qam.vexo.text.TextPortion")) {
        if (isFootnotePortion(Reference<beans::XPropertySet>(range, UNO_QUERY_THROW))) return OUString();
        return range->getString();
    }
    const OUString string = range->getString();
    Placements placements = footnoteNumbers(range, string);
    rtl::OUStringBuffer result(string);
    for (auto it = placements.rbegin(); it != placements.rend(); ++it) {
        auto [position, length] = *it;
        // A placement outside the string would mean the host reported a label
        // that its own string does not hold; cutting it would cut visible text.
        if (position < 0 || length < 0 || position > result.getLength() - length) continue;
        result.remove(position, length);
    }
    return result.makeStringAndClear();
}

void goRight(const Reference<text::XTextCursor>& cursor, sal_Int32 count, bool extend) {
    if (count <= 0) return;
    Reference<text::XTextCursor> probe = cursor->getText()->createTextCursorByRange(cursor->getEnd());
    sal_Int32 remaining = count;
    while (remaining > 0) {
        if (!cursor->goRight(static_cast<sal_Int16>(std::min<sal_Int32>(remaining, 32767)), extend)) return;
        probe->gotoRange(cursor->getEnd(), true);
        remaining = count - textOf(probe).getLength();
    }
}

namespace {

// The text of one paragraph.  The runs (the paragraph's portions) are read once,
// when the wrapper is made; edits, range operations and textOf read the host anew.
class TextImpl : public ElementImpl<XText> {
public:
    TextImpl(const Reference<XElement>& parent, const Reference<text::XTextContent>& paragraph, ElementType type)
        : parent_(parent), paragraph_(paragraph), type_(type) {
        Reference<container::XEnumerationAccess> access(paragraph_, UNO_QUERY);
        Reference<container::XEnumeration> portions = access.is() ? access->createEnumeration() : nullptr;
        while (portions.is() && portions->hasMoreElements())
            if (Reference<text::XTextRange> run(portions->nextElement(), UNO_QUERY); run.is()) runs_.push_back(run);
    }

    Reference<::zel::uno::XInterface> getuno() override { return paragraph_; }

    Reference<XParagraph> asListItem() override { return backToParagraph(ElementType::LIST_ITEM); }
    Reference<XParagraph> asParagraph() override { return backToParagraph(ElementType::PARAGRAPH); }
    Reference<XText> asText() override { return this; }
    Optional<Reference<XElement>> getParent() override { return optionalElement(parent_); }
    OUString getText() override { return textOf(range()); }
    ElementType getType() override { return type_; }
    Reference<XElement> removeFromParent() override {
        removeParagraph(paragraph_);
        return this;
    }

    Reference<XText> appendText(const OUString& s) override {
        Reference<text::XTextRange> paragraph = range();
        Reference<text::XText> hostText = paragraph->getText();
        hostText->insertString(hostText->createTextCursorByRange(paragraph->getEnd()), s, false);
        return this;
    }
    Reference<XText> deleteText(sal_Int32 startOffset, sal_Int32 endOffsetInclusive) override {
        subRange(u"deleteText", startOffset, endOffsetInclusive)->setString(OUString());
        return this;
    }
    Reference<XText> editAsText() override { return this; }
    Optional<OUString> getFontFamily(sal_Int32 offset) override {
        return readAttribute(offset, Attribute::FONT_FAMILY, readString);
    }
    Optional<OUString> getLinkUrl(sal_Int32 offset) override {
        return readAttribute(offset, Attribute::LINK_URL, readString);
    }
    Optional<TextAlignment> getTextAlignment(sal_Int32 offset) override {
        return readAttribute(offset, Attribute::ALIGNMENT, readAlignment);
    }
    Sequence<sal_Int32> getTextAttributeIndices() override {
        std::vector<sal_Int32> starts;
        sal_Int32 sum = 0;
        for (const auto& run : runs_) {
            const sal_Int32 length = textOf(run).getLength();
            if (length > 0) starts.push_back(sum);
            sum += length;
        }
        if (starts.empty()) starts.push_back(0);
        return Sequence<sal_Int32>(std::move(starts));
    }
    Reference<XText> insertText(sal_Int32 offset, const OUString& s) override {
        if (offset < 0)
            throw RuntimeException(u"insertText: expected a non-negative offset, got " + OUString::number(offset));
        Reference<text::XTextRange> paragraph = range();
        Reference<text::XText> hostText = paragraph->getText();
        Reference<text::XTextCursor> cursor = hostText->createTextCursorByRange(paragraph->getStart());
        goRight(cursor, offset, false);
        hostText->insertString(cursor, s, false);
        return this;
    }
    Optional<bool> isBold(sal_Int32 offset) override { return readAttribute(offset, Attribute::BOLD, readBold); }
    Optional<bool> isItalic(sal_Int32 offset) override { return readAttribute(offset, Attribute::ITALIC, readItalic); }
    Optional<bool> isStrikethrough(sal_Int32 offset) override {
        return readAttribute(offset, Attribute::STRIKETHROUGH, readFlag);
    }
    Optional<bool> isUnderline(sal_Int32 offset) override {
        return readAttribute(offset, Attribute::UNDERLINE, readFlag);
    }

    Reference<XText> setBold(bool on) override { return setWhole(Attribute::BOLD, boldValue(on)); }
    Reference<XText> setBoldRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return setRange(Attribute::BOLD, start, end, boldValue(on));
    }
    Reference<XText> setFontFamily(const OUString& name) override { return setWhole(Attribute::FONT_FAMILY, Any(name)); }
    Reference<XText> setFontFamilyRange(sal_Int32 start, sal_Int32 end, const OUString& name) override {
        return setRange(Attribute::FONT_FAMILY, start, end, Any(name));
    }
    Reference<XText> setItalic(bool on) override { return setWhole(Attribute::ITALIC, italicValue(on)); }
    Reference<XText> setItalicRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return setRange(Attribute::ITALIC, start, end, italicValue(on));
    }
    Reference<XText> setLinkUrl(const OUString& url) override { return setWhole(Attribute::LINK_URL, Any(url)); }
    Reference<XText> setLinkUrlRange(sal_Int32 start, sal_Int32 end, const OUString& url) override {
        return setRange(Attribute::LINK_URL, start, end, Any(url));
    }
    Reference<XText> setStrikethrough(bool on) override { return setWhole(Attribute::STRIKETHROUGH, flagValue(on)); }
    Reference<XText> setStrikethroughRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return setRange(Attribute::STRIKETHROUGH, start, end, flagValue(on));
    }
    Reference<XText> setText(const OUString& s) override {
        range()->setString(s);
        return this;
    }
    Reference<XText> setTextAlignment(TextAlignment alignment) override {
        writeAlignment(Reference<beans::XPropertySet>(paragraph_, UNO_QUERY_THROW), alignment);
        return this;
    }
    Reference<XText> setTextAlignmentRange(sal_Int32 start, sal_Int32 end, TextAlignment alignment) override {
        Reference<text::XTextCursor> cursor = subRange(setterName(Attribute::ALIGNMENT), start, end);
        writeAlignment(Reference<beans::XPropertySet>(cursor, UNO_QUERY_THROW), alignment);
        return this;
    }
    Reference<XText> setUnderline(bool on) override { return setWhole(Attribute::UNDERLINE, flagValue(on)); }
    Reference<XText> setUnderlineRange(sal_Int32 start, sal_Int32 end, bool on) override {
        return setRange(Attribute::UNDERLINE, start, end, flagValue(on));
    }

private:
    Reference<text::XTextRange> range() const { return Reference<text::XTextRange>(paragraph_, UNO_QUERY_THROW); }

    Reference<XParagraph> backToParagraph(ElementType target) {
        if (type_ != target) throwCastFailure(type_, target);
        return createParagraph(parent_, paragraph_);
    }

    // A cursor over the characters startOffset to endOffsetInclusive of the paragraph.
    Reference<text::XTextCursor> subRange(std::u16string_view method, sal_Int32 start, sal_Int32 end) {
        if (start < 0 || end < start)
            throw RuntimeException(OUString(method) + u": expected 0 <= startOffset <= endOffsetInclusive, got startOffset=" +
                                   OUString::number(start) + u", endOffsetInclusive=" + OUString::number(end));
        Reference<text::XTextRange> paragraph = range();
        Reference<text::XTextCursor> cursor = paragraph->getText()->createTextCursorByRange(paragraph->getStart());
        goRight(cursor, start, false);
        goRight(cursor, end - start + 1, true);
        return cursor;
    }

    Reference<XText> setWhole(Attribute attribute, const Any& value) {
        Reference<beans::XPropertySet>(paragraph_, UNO_QUERY_THROW)->setPropertyValue(propertyName(attribute), value);
        return this;
    }
    Reference<XText> setRange(Attribute attribute, sal_Int32 start, sal_Int32 end, const Any& value) {
        Reference<text::XTextCursor> cursor = subRange(setterName(attribute), start, end);
        Reference<beans::XPropertySet>(cursor, UNO_QUERY_THROW)->setPropertyValue(propertyName(attribute), value);
        return this;
    }

    // The run that holds the character at `offset`: the last one for an offset at
    // or past the end, the first one for a negative offset.
    const Reference<text::XTextRange>& runAt(sal_Int32 offset) const {
        if (runs_.empty()) throw RuntimeException(u"the text has no content at this offset");
        sal_Int32 end = 0;
        for (const auto& run : runs_) {
            end += textOf(run).getLength();
            if (end > offset) return run;
        }
        return runs_.back();
    }

    // The attribute's value at `offset` when it is set directly on the run or on
    // the paragraph; absent when it only comes from a style or a default.
    template <class R>
    auto readAttribute(sal_Int32 offset, Attribute attribute, R read) -> Optional<decltype(read(Any()))> {
        const OUString name = propertyName(attribute);
        Reference<beans::XPropertySet> run(runAt(offset), UNO_QUERY_THROW);
        Reference<beans::XPropertySetInfo> info = run->getPropertySetInfo();
        if (!info.is() || !info->hasPropertyByName(name))
            throw RuntimeException(getterName(attribute) + u": the text has no " + description(attribute));
        if (Reference<beans::XPropertyState> state(run, UNO_QUERY);
            state.is() && state->getPropertyState(name) == beans::PropertyState_DIRECT_VALUE)
            return {true, read(run->getPropertyValue(name))};
        Reference<beans::XPropertySet> paragraphProps(paragraph_, UNO_QUERY);
        Reference<beans::XPropertyState> paragraphState(paragraph_, UNO_QUERY);
        if (!paragraphProps.is() || !paragraphState.is()) return {};
        Reference<beans::XPropertySetInfo> paragraphInfo = paragraphProps->getPropertySetInfo();
        if (!paragraphInfo.is() || !paragraphInfo->hasPropertyByName(name) ||
            paragraphState->getPropertyState(name) != beans::PropertyState_DIRECT_VALUE)
            return {};
        return {true, read(run->getPropertyValue(name))};
    }

    const Reference<XElement> parent_;
    const Reference<text::XTextContent> paragraph_;
    const ElementType type_;
    std::vector<Reference<text::XTextRange>> runs_;
};

} // namespace

Reference<XText> createText(const Reference<XElement>& parent, const Reference<text::XTextContent>& paragraph,
                            ElementType type) {
    return new TextImpl(parent, paragraph, type);
}

} // namespace corvane::detail
