#pragma once
// Builder of affine transforms.  Its operations arrive with the transform
// wrappers; until then the factory can only name the type.

#include <corvane/XBase.hxx>

namespace corvane {

class ZEL_UNO_INTERFACE_CLASS XAffineTransformBuilder : public XBase {
public:
    ZEL_UNO_INTERFACE(XAffineTransformBuilder, "corvane.XAffineTransformBuilder")
};

} // namespace corvane
