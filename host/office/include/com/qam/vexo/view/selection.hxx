#pragma once
// Selections of a view (module com.qam.vexo.view).

#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::view {

using ::zel::uno::Any;

class ZEL_UNO_INTERFACE_CLASS XSelectionSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XSelectionSupplier, "com.qam.vexo.view.XSelectionSupplier")
    // Selects the object (a text range of the document, or a graphic object);
    // false when it cannot be selected here.  IllegalArgumentException for a value
    // that is no object at all.
    virtual bool select(const Any& selection) = 0;
    // A text view gives an index access of text ranges, or the selected graphic object.
    virtual Any getSelection() = 0;
};

} // namespace com::qam::vexo::view
