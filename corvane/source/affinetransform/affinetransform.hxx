#pragma once
// What other units of the library call of the affine transforms.

#include <corvane/XAffineTransformBuilder.hxx>

namespace corvane::detail {

// A new builder holding the identity: scale 1 and 1, shear 0 and 0, translation 0 and 0.
::zel::uno::Reference<XAffineTransformBuilder> createAffineTransformBuilder();

} // namespace corvane::detail
