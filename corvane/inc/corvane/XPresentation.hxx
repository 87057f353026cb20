#pragma once
// The presentation and drawing documents of the scripting model.  XDrawing adds
// nothing to XBase; the presentation's operations arrive with the presentation
// wrappers, until then the factory can only name the type.

#include <corvane/XBase.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XPresentation : public XBase {
public:
    ZEL_UNO_INTERFACE(XPresentation, "corvane.XPresentation")
};

class ZEL_UNO_INTERFACE_CLASS XDrawing : public XBase {
public:
    ZEL_UNO_INTERFACE(XDrawing, "corvane.XDrawing")
};

} // namespace corvane
