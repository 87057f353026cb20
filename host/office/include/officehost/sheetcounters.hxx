#pragma once
// Counters of a spreadsheet document's formula calculation, for measurements:
// how many formulas were calculated and how many cells they read since the
// document was made or the counters were reset.

#include <com/qam/vexo/frame/frame.hxx>

namespace officehost {

struct SheetCalculationCounts {
    sal_uInt64 formulasEvaluated = 0;
    sal_uInt64 cellsRead = 0;
};

// RuntimeException when the model is not a spreadsheet document of this host.
SAL_DLLPUBLIC_EXPORT SheetCalculationCounts sheetCalculationCounts(
    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);
SAL_DLLPUBLIC_EXPORT void resetSheetCalculationCounts(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

} // namespace officehost
