// Affine transforms and their builder: value objects with six doubles.  Every
// build and toBuilder copies the values, so builders and transforms never share
// state; no value is checked or normalised.

#include "affinetransform.hxx"

#include <cppu/implbase.hxx>

namespace corvane {
namespace {

struct Values {
    double scaleX = 1.0;
    double scaleY = 1.0;
    double shearX = 0.0;
    double shearY = 0.0;
    double translateX = 0.0;
    double translateY = 0.0;
};

class AffineTransformImpl : public cppu::WeakImplHelper<XAffineTransform> {
public:
    explicit AffineTransformImpl(const Values& v) : v_(v) {}
    ::zel::uno::Reference<::zel::uno::XInterface> getuno() override { return {}; }
    double getScaleX() override { return v_.scaleX; }
    double getScaleY() override { return v_.scaleY; }
    double getShearX() override { return v_.shearX; }
    double getShearY() override { return v_.shearY; }
    double getTranslateX() override { return v_.translateX; }
    double getTranslateY() override { return v_.translateY; }
    ::zel::uno::Reference<XAffineTransformBuilder> toBuilder() override;

private:
    const Values v_;
};

class AffineTransformBuilderImpl : public cppu::WeakImplHelper<XAffineTransformBuilder> {
public:
    explicit AffineTransformBuilderImpl(const Values& v) : v_(v) {}
    ::zel::uno::Reference<::zel::uno::XInterface> getuno() override { return {}; }
    ::zel::uno::Reference<XAffineTransform> build() override { return new AffineTransformImpl(v_); }
    ::zel::uno::Reference<XAffineTransformBuilder> setScaleX(double value) override { return set(v_.scaleX, value); }
    ::zel::uno::Reference<XAffineTransformBuilder> setScaleY(double value) override { return set(v_.scaleY, value); }
    ::zel::uno::Reference<XAffineTransformBuilder> setShearX(double value) override { return set(v_.shearX, value); }
    ::zel::uno::Reference<XAffineTransformBuilder> setShearY(double value) override { return set(v_.shearY, value); }
    ::zel::uno::Reference<XAffineTransformBuilder> setTranslateX(double value) override {
        return set(v_.translateX, value);
    }
    ::zel::uno::Reference<XAffineTransformBuilder> setTranslateY(double value) override {
        return set(v_.translateY, value);
    }

private:
    ::zel::uno::Reference<XAffineTransformBuilder> set(double& member, double value) {
        member = value;
        return this;
    }
    Values v_;
};

::zel::uno::Reference<XAffineTransformBuilder> AffineTransformImpl::toBuilder() {
    return new AffineTransformBuilderImpl(v_);
}

} // namespace

namespace detail {

::zel::uno::Reference<XAffineTransformBuilder> createAffineTransformBuilder() {
    return new AffineTransformBuilderImpl(Values{});
}

} // namespace detail
} // namespace corvane
