#pragma once
// Test support of the spreadsheet tests: a document built through the host,
// the scripting model over it, and the host's view of cells.

#include "hosttest.hxx"

#include <spreadsheet/spreadsheet.hxx>

#include <com/qam/vexo/frame/title.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <testsupport/sheet/SpreadsheetBuilder.hxx>

namespace corvane::test {

namespace hostsheet = ::com::qam::vexo::sheet;
namespace hosttable = ::com::qam::vexo::table;
using ::zel::uno::Any;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;

class SheetTest : public HostTest {
protected:
    // The scripting model of the active document.
    static Reference<XSpreadsheet> spreadsheet() { return newFactory()->getActiveSpreadsheet(); }
    static Reference<XSheet> sheet(const char16_t* name) {
        Reference<XSheet> s = spreadsheet()->getSheetByName(OUString(std::u16string_view(name)));
        EXPECT_TRUE(s.is()) << "no sheet " << OUString(std::u16string_view(name));
        return s;
    }
    // The host's address of a wrapper's range.
    static hosttable::CellRangeAddress hostAddress(const Reference<XRange>& r) {
        return Reference<hostsheet::XCellRangeAddressable>(r->getuno(), UNO_QUERY_THROW)->getRangeAddress();
    }
    static Any hostProperty(const Reference<hosttable::XCell>& cell, const char16_t* name) {
        return Reference<::com::qam::vexo::beans::XPropertySet>(cell, UNO_QUERY_THROW)
            ->getPropertyValue(OUString(std::u16string_view(name)));
    }
    static OUString shown(const Reference<hosttable::XCell>& cell) {
        return Reference<::com::qam::vexo::text::XText>(cell, UNO_QUERY_THROW)->getString();
    }
};

inline bool operator==(const hosttable::CellRangeAddress& a, const std::array<sal_Int32, 5>& b) {
    return a.Sheet == b[0] && a.StartColumn == b[1] && a.StartRow == b[2] && a.EndColumn == b[3] && a.EndRow == b[4];
}

} // namespace corvane::test
