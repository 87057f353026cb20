#pragma once
// The spreadsheet document of the scripting model.  Its operations arrive with
// the spreadsheet wrappers; until then the factory can only name the type.

#include <com/qam/vexo/lang/interfaces.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XSpreadsheet : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XSpreadsheet, "corvane.XSpreadsheet")
};

} // namespace corvane
