#pragma once
// Affine transforms and their builder.  Their operations arrive with the
// transform wrappers; until then the factory can only name the types, and the
// page elements' transform operations can take them.

#include <corvane/XBase.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XAffineTransform : public XBase {
public:
    ZEL_UNO_INTERFACE(XAffineTransform, "corvane.XAffineTransform")
};

class ZEL_UNO_INTERFACE_CLASS XAffineTransformBuilder : public XBase {
public:
    ZEL_UNO_INTERFACE(XAffineTransformBuilder, "corvane.XAffineTransformBuilder")
};

} // namespace corvane
