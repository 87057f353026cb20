// Tables, their rows and their cells.  A row is not a host object of its own
// here: it is the pair (table, row index), so a row wrapper keeps naming the
// same index when rows above it come or go.

#include "elements.hxx"
#include "textattributes.hxx"

#include <rtl/ustrbuf.hxx>

#include <algorithm>
#include <limits>

namespace corvane::detail {

namespace table = ::com::qam::vexo::table;
using ::com::qam::vexo::lang::IndexOutOfBoundsException;

namespace {

Reference<XTableCell> createCell(const Reference<XTableRow>& row, const Reference<text::XText>& cellText);
Reference<XTableRow> createRow(const Reference<XTable>& parent, const Reference<text::XTextTable>& hostTable,
                               sal_Int32 index);

class TableImpl : public ElementImpl<XTable> {
public:
    TableImpl(const Reference<XElement>& parent, const Reference<text::XTextTable>& hostTable)
        : parent_(parent), table_(hostTable) {}

    Reference<::zel::uno::XInterface> getuno() override { return table_; }

    Reference<XText> asText() override { return createContainerText(this); }
    Optional<Reference<XElement>> getNextSibling() override {
        return siblingContent(Reference<text::XTextContent>(table_), parent_, true);
    }
    Optional<Reference<XElement>> getParent() override { return optionalElement(parent_); }
    Optional<Reference<XElement>> getPreviousSibling() override {
        return siblingContent(Reference<text::XTextContent>(table_), parent_, false);
    }
    OUString getText() override {
        rtl::OUStringBuffer result;
        const sal_Int32 rows = getNumRows();
        for (sal_Int32 i = 0; i < rows; ++i) {
            Optional<Reference<XTableRow>> row = getRow(i);
            if (!row.IsPresent) throw RuntimeException(u"getText: the table has no row " + OUString::number(i));
            if (i > 0) result.append(u'\n');
            result.append(row.Value->getText());
        }
        return result.makeStringAndClear();
    }
    ElementType getType() override { return ElementType::TABLE; }
    Reference<XElement> removeFromParent() override {
        removeContent(Reference<text::XTextContent>(table_, UNO_QUERY_THROW));
        return this;
    }

    Reference<XContainerElement> clear() override { throw RuntimeException(u"Table.clear is not yet implemented"); }
    Reference<XText> editAsText() override { return asText(); }
    Reference<XElement> getChild(sal_Int32 index) override {
        Optional<Reference<XTableRow>> row = getRow(index);
        return row.IsPresent ? Reference<XElement>(row.Value) : Reference<XElement>();
    }
    sal_Int32 getChildIndex(const Reference<XElement>& child) override { return childIndexOf(*this, child); }
    sal_Int32 getNumChildren() override { return getNumRows(); }

    sal_Int32 getNumRows() override {
        if (!table_.is()) throw RuntimeException(u"getNumRows: the element is not a table");
        Reference<table::XTableRows> rows = table_->getRows();
        if (!rows.is()) throw RuntimeException(u"getNumRows: the table has no rows");
        return rows->getCount();
    }
    Optional<Reference<XTableRow>> getRow(sal_Int32 index) override {
        if (index < 0 || index >= getNumRows()) return {};
        return {true, createRow(this, table_, index)};
    }

private:
    const Reference<XElement> parent_;
    const Reference<text::XTextTable> table_;
};

class TableRowImpl : public ElementImpl<XTableRow> {
public:
    TableRowImpl(const Reference<XTable>& parent, const Reference<text::XTextTable>& hostTable, sal_Int32 index)
        : parent_(parent), table_(hostTable), index_(index) {}

    Reference<::zel::uno::XInterface> getuno() override {
        if (!table_.is()) throw RuntimeException(u"getuno: the row is not part of a table");
        Reference<table::XTableRows> rows = table_->getRows();
        if (!rows.is() || index_ < 0 || index_ >= rows->getCount()) return {};
        return Reference<::zel::uno::XInterface>(rows->getByIndex(index_), UNO_QUERY);
    }

    Reference<XText> asText() override { return createContainerText(this); }
    Optional<Reference<XElement>> getParent() override { return optionalElement(parent_); }
    OUString getText() override {
        rtl::OUStringBuffer result;
        const sal_Int32 cells = getNumCells();
        for (sal_Int32 i = 0; i < cells; ++i) {
            Optional<Reference<XTableCell>> cell = getCell(i);
            if (!cell.IsPresent)
                throw RuntimeException(u"getText: the row has no cell at position " + OUString::number(i));
            if (i > 0) result.append(u'\n');
            result.append(cell.Value->getText());
        }
        return result.makeStringAndClear();
    }
    ElementType getType() override { return ElementType::TABLE_ROW; }
    Reference<XElement> removeFromParent() override {
        if (!table_.is()) throw RuntimeException(u"removeFromParent: the row is not part of a table");
        Reference<table::XTableRows> rows = table_->getRows();
        if (!rows.is() || index_ < 0 || index_ >= rows->getCount())
            throw RuntimeException(u"removeFromParent: the row is not attached to its table");
        rows->removeByIndex(index_, 1);
        return this;
    }

    Reference<XContainerElement> clear() override { throw RuntimeException(u"TableRow.clear is not yet implemented"); }
    Reference<XText> editAsText() override { return asText(); }
    Reference<XElement> getChild(sal_Int32 index) override {
        Optional<Reference<XTableCell>> cell = getCell(index);
        return cell.IsPresent ? Reference<XElement>(cell.Value) : Reference<XElement>();
    }
    sal_Int32 getChildIndex(const Reference<XElement>& child) override { return childIndexOf(*this, child); }
    sal_Int32 getNumChildren() override { return getNumCells(); }

    Optional<Reference<XTableCell>> getCell(sal_Int32 index) override {
        Reference<table::XCellRange> cells(table_, UNO_QUERY_THROW);
        Reference<table::XCell> cell;
        try {
            cell = cells->getCellByPosition(index, index_);
        } catch (const IndexOutOfBoundsException&) {
            return {};
        }
        Reference<text::XText> cellText(cell, UNO_QUERY);
        if (!cellText.is())
            throw RuntimeException(u"getCell: cell " + OUString::number(index) + u" cannot hold text");
        return {true, createCell(this, cellText)};
    }
    sal_Int32 getNumCells() override {
        if (!table_.is()) throw RuntimeException(u"getNumCells: the row is not part of a table");
        Reference<table::XCellRange> cells(table_, UNO_QUERY_THROW);
        sal_Int32 count = 0;
        for (;; ++count) {
            try {
                if (!cells->getCellByPosition(count, index_).is()) break;
            } catch (const IndexOutOfBoundsException&) {
                break;
            }
        }
        return count;
    }

private:
    const Reference<XTable> parent_;
    const Reference<text::XTextTable> table_;
    const sal_Int32 index_;
};

class TableCellImpl : public TextContainerImpl<XTableCell> {
public:
    TableCellImpl(const Reference<XTableRow>& parent, const Reference<text::XText>& cellText)
        : TextContainerImpl(cellText, u"the table cell"), parent_(parent) {}

    Optional<Reference<XElement>> getParent() override { return optionalElement(parent_); }
    ElementType getType() override { return ElementType::TABLE_CELL; }
    Reference<XElement> removeFromParent() override {
        throw RuntimeException(u"a table cell cannot be removed on its own; remove its row instead");
    }

    Reference<XContainerElement> clear() override {
        if (!text_.is()) throw RuntimeException(u"clear: the table cell has no text");
        text_->setString(OUString());
        return this;
    }

    Sequence<Reference<XElement>> getChildren() override { return children(); }
    sal_Int32 getColSpan() override { return 1; }
    sal_Int32 getRowSpan() override {
        Reference<beans::XPropertySet> props(text_, UNO_QUERY);
        if (!props.is()) return 1;
        Reference<beans::XPropertySetInfo> info = props->getPropertySetInfo();
        if (!info.is() || !info->hasPropertyByName(u"RowSpan")) return 1;
        const Any value = props->getPropertyValue(u"RowSpan");
        sal_Int64 span = 1;
        using namespace ::zel::uno;
        if (holdsOneOf(value, {TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT, TypeClass_LONG,
                               TypeClass_UNSIGNED_LONG}))
            value >>= span;
        return span < 1 ? 1 : static_cast<sal_Int32>(std::min<sal_Int64>(span, std::numeric_limits<sal_Int32>::max()));
    }

private:
    const Reference<XTableRow> parent_;
};

Reference<XTableCell> createCell(const Reference<XTableRow>& row, const Reference<text::XText>& cellText) {
    return new TableCellImpl(row, cellText);
}

Reference<XTableRow> createRow(const Reference<XTable>& parent, const Reference<text::XTextTable>& hostTable,
                               sal_Int32 index) {
    return new TableRowImpl(parent, hostTable, index);
}

} // namespace

Reference<XTable> createTable(const Reference<XElement>& parent, const Reference<text::XTextTable>& hostTable) {
    return new TableImpl(parent, hostTable);
}

} // namespace corvane::detail
