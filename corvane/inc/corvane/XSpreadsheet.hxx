#pragma once
// The spreadsheet document of the scripting model: its sheets, named ranges,
// recalculation and name.

#include <corvane/XSheet.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XSpreadsheet : public XBase {
public:
    ZEL_UNO_INTERFACE(XSpreadsheet, "corvane.XSpreadsheet")
    virtual ::zel::uno::Reference<XSheet> getActiveSheet() = 0;
    // Empty when there is no such sheet.
    virtual ::zel::uno::Reference<XSheet> getSheetByName(const OUString& name) = 0;
    // A new sheet after the last one.
    virtual ::zel::uno::Reference<XSheet> insertSheet(const OUString& name) = 0;
    // A new sheet after the last one, named "Sheet<n>" with the smallest free n.
    virtual ::zel::uno::Reference<XSheet> insertSheetWithDefaultName() = 0;
    // A named range ("Totals", or "Data!Totals" for a sheet's own); empty when there is none.
    virtual ::zel::uno::Reference<XRange> getRangeByName(const OUString& name) = 0;
    // Recalculates every formula of the document.
    virtual void flush() = 0;
    // The file name without its extension, or the title of an unsaved document.
    virtual OUString getName() = 0;
    virtual ::zel::uno::Sequence<::zel::uno::Reference<XSheet>> getSheets() = 0;
};

} // namespace corvane
