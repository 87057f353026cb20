#pragma once
// A fixture that gives every test a fresh stand-in host: a new process context
// with the office services (no document open) at the start, disposed at the end,
// so nothing of one test's host survives into the next.

#include <officehost/services.hxx>
#include <zel/uno/Exception.hxx>

#include <gtest/gtest.h>

#include <functional>

namespace testsupport {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { officehost::initProcessContext(); }
    void TearDown() override { officehost::shutdownProcessContext(); }
};

// Runs f and checks that it throws E with exactly this message.
template <class E>
void expectThrows(const std::function<void()>& f, const ::rtl::OUString& message) {
    try {
        f();
    } catch (const E& e) {
        EXPECT_EQ(e.Message, message);
        return;
    } catch (const ::zel::uno::Exception& e) {
        ADD_FAILURE() << "unexpected exception of type " << e.getType().getTypeName() << ": " << e.Message;
        return;
    }
    ADD_FAILURE() << "no exception, expected: " << message;
}

} // namespace testsupport
