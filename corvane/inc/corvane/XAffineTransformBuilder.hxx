#pragma once
// Two-dimensional affine transforms (scale, shear and translation in x and y)
// and their builder.  They only carry the six numbers: nothing in the model
// composes, inverts or applies them.  Neither has a host object (getuno is empty).

#include <corvane/XBase.hxx>

namespace corvane {

class XAffineTransformBuilder;

// An immutable transform.
class ZEL_UNO_INTERFACE_CLASS XAffineTransform : public XBase {
public:
    ZEL_UNO_INTERFACE(XAffineTransform, "corvane.XAffineTransform")
    virtual double getScaleX() = 0;
    virtual double getScaleY() = 0;
    virtual double getShearX() = 0;
    virtual double getShearY() = 0;
    virtual double getTranslateX() = 0;
    virtual double getTranslateY() = 0;
    // A new builder holding this transform's values.
    virtual ::zel::uno::Reference<XAffineTransformBuilder> toBuilder() = 0;
};

// Collects the six values; any double is kept as given, NaN included.
class ZEL_UNO_INTERFACE_CLASS XAffineTransformBuilder : public XBase {
public:
    ZEL_UNO_INTERFACE(XAffineTransformBuilder, "corvane.XAffineTransformBuilder")
    // A new transform with the values at this moment.
    virtual ::zel::uno::Reference<XAffineTransform> build() = 0;
    // The setters return this builder.
    virtual ::zel::uno::Reference<XAffineTransformBuilder> setScaleX(double value) = 0;
    virtual ::zel::uno::Reference<XAffineTransformBuilder> setScaleY(double value) = 0;
    virtual ::zel::uno::Reference<XAffineTransformBuilder> setShearX(double value) = 0;
    virtual ::zel::uno::Reference<XAffineTransformBuilder> setShearY(double value) = 0;
    virtual ::zel::uno::Reference<XAffineTransformBuilder> setTranslateX(double value) = 0;
    virtual ::zel::uno::Reference<XAffineTransformBuilder> setTranslateY(double value) = 0;
};

} // namespace corvane
