#pragma once
// Presentations for the corvane tests: the sample deck of the presentation
// builder, opened as the active document and wrapped by the factory.

#include "hosttest.hxx"

#include <presentation/shared.hxx>

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/document/document.hxx>
#include <com/qam/vexo/presentation/presentation.hxx>
#include <testsupport/draw/PresentationBuilder.hxx>

#include <functional>
#include <optional>

namespace corvane::test {

namespace css = ::com::qam::vexo;
using testsupport::draw::PresentationBuilder;
using ::zel::uno::Any;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

template <class A, class B>
bool sameObject(const Reference<A>& a, const Reference<B>& b) {
    return Reference<XInterface>::sameObject(a.get(), b.get());
}

template <class T>
Reference<css::beans::XPropertySet> hostProps(const Reference<T>& x) {
    return Reference<css::beans::XPropertySet>(x, UNO_QUERY_THROW);
}

inline Reference<css::drawing::XShape> hostShape(const Reference<XBase>& wrapper) {
    return Reference<css::drawing::XShape>(wrapper->getuno(), UNO_QUERY_THROW);
}

inline Reference<css::drawing::XShape> newHostShape(const Reference<css::frame::XModel>& model, const char16_t* type) {
    return Reference<css::drawing::XShape>(
        Reference<css::lang::XMultiServiceFactory>(model, UNO_QUERY_THROW)->createInstance(OUString(type)),
        UNO_QUERY_THROW);
}

class DeckTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        deck_.emplace(PresentationBuilder::sample());
        presentation = newFactory()->getActivePresentation();
    }
    void TearDown() override {
        presentation.clear();
        deck_.reset();
        HostTest::TearDown();
    }
    PresentationBuilder& deck() { return *deck_; }
    Reference<XSlide> slide(sal_Int32 i) { return presentation->getSlides()[i]; }

    std::optional<PresentationBuilder> deck_;
    Reference<XPresentation> presentation;
};

} // namespace corvane::test
