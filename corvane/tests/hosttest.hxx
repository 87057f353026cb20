#pragma once
// Test support of the corvane tests: a fresh host per test, the factory as the
// host's service manager makes it, and exact checks of failure messages.

#include <corvane/XFactory.hxx>

#include <com/qam/vexo/frame/frame.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>
#include <testsupport/HostTest.hxx>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

extern "C" ::zel::uno::XInterface* corvane_Tarn_get_implementation(::zel::uno::XComponentContext*,
                                                                   ::zel::uno::Sequence<::zel::uno::Any> const&);

namespace corvane::test {

using ::zel::uno::Reference;

// Each test starts with a fresh host (see testsupport::HostTest).
class HostTest : public testsupport::HostTest {
public:

    // A new factory through the component's entry function, owning the one reference it returns.
    static Reference<XFactory> newFactory() {
        ::zel::uno::XInterface* raw = corvane_Tarn_get_implementation(nullptr, {});
        Reference<::zel::uno::XInterface> object(raw, ::zel::uno::SAL_NO_ACQUIRE);
        return Reference<XFactory>(object, ::zel::uno::UNO_QUERY_THROW);
    }
};

inline OUString str(const char16_t* s) { return OUString(std::u16string_view(s)); }

// Runs f and expects it to throw E with exactly `message`; for runtime failures
// of the model also that the exception carries no context object.
template <class E = ::zel::uno::RuntimeException>
void expectFailure(const std::function<void()>& f, const std::u16string& message, bool withoutContext = true) {
    try {
        f();
    } catch (const E& e) {
        EXPECT_EQ(e.Message, OUString(message));
        EXPECT_EQ(e.getType().getTypeName(), cppu::UnoType<E>::get().getTypeName());
        if (withoutContext) {
            EXPECT_FALSE(e.Context.is()) << "unexpected context object";
        }
        return;
    } catch (const ::zel::uno::Exception& e) {
        ADD_FAILURE() << "unexpected " << e.getType().getTypeName() << ": " << e.Message;
        return;
    }
    ADD_FAILURE() << "no exception; expected: " << OUString(message);
}

} // namespace corvane::test
