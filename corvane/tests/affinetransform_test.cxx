// Affine transforms and their builders: identity, chained setters, independent
// copies, values kept as given, no host object.

#include "hosttest.hxx"

#include <affinetransform/affinetransform.hxx>

#include <cmath>
#include <limits>

namespace corvane::test {
namespace {

std::vector<double> valuesOf(const Reference<XAffineTransform>& t) {
    return {t->getScaleX(), t->getScaleY(), t->getShearX(), t->getShearY(), t->getTranslateX(), t->getTranslateY()};
}

TEST(AffineTransform, ANewBuilderBuildsTheIdentity) {
    Reference<XAffineTransformBuilder> builder = detail::createAffineTransformBuilder();
    EXPECT_EQ(valuesOf(builder->build()), (std::vector<double>{1, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(builder->getuno().is());
    EXPECT_FALSE(builder->build()->getuno().is());
}

TEST(AffineTransform, SettersChainOnTheSameBuilder) {
    Reference<XAffineTransformBuilder> builder = detail::createAffineTransformBuilder();
    EXPECT_TRUE(builder->setScaleX(2)->setTranslateY(-5).get() == builder.get());
    EXPECT_EQ(valuesOf(builder->build()), (std::vector<double>{2, 1, 0, 0, 0, -5}));
    builder->setScaleY(3)->setShearX(0.5)->setShearY(-0.25)->setTranslateX(7);
    EXPECT_EQ(valuesOf(builder->build()), (std::vector<double>{2, 3, 0.5, -0.25, 7, -5}));
}

TEST(AffineTransform, BuildsAndBuildersAreIndependentCopies) {
    Reference<XAffineTransformBuilder> builder = detail::createAffineTransformBuilder();
    Reference<XAffineTransform> first = builder->setShearX(1)->build();
    builder->setShearX(2);
    Reference<XAffineTransform> second = builder->build();
    EXPECT_EQ(first->getShearX(), 1.0);
    EXPECT_EQ(second->getShearX(), 2.0);
    Reference<XAffineTransformBuilder> copy = first->toBuilder();
    EXPECT_FALSE(copy.get() == builder.get());
    Reference<XAffineTransform> third = copy->setTranslateX(9)->build();
    EXPECT_EQ(valuesOf(third), (std::vector<double>{1, 1, 1, 0, 9, 0}));
    EXPECT_EQ(valuesOf(first), (std::vector<double>{1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(builder->build()->getTranslateX(), 0.0);
}

TEST(AffineTransform, AnyDoubleIsKeptAsGiven) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Reference<XAffineTransform> t =
        detail::createAffineTransformBuilder()->setScaleX(nan)->setScaleY(0)->setShearX(-inf)->setTranslateY(-0.0)->build();
    EXPECT_TRUE(std::isnan(t->getScaleX()));
    EXPECT_TRUE(std::isnan(t->toBuilder()->build()->getScaleX()));
    EXPECT_EQ(t->getScaleY(), 0.0);
    EXPECT_EQ(t->getShearX(), -inf);
    EXPECT_TRUE(std::signbit(t->getTranslateY()));
}

} // namespace
} // namespace corvane::test
