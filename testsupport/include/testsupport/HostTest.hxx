#pragma once
// A fixture that gives every test a fresh stand-in host: a new process context
// with the office services (no document open) at the start, disposed at the end,
// so nothing of one test's host survives into the next.

#include <officehost/services.hxx>

#include <gtest/gtest.h>

namespace testsupport {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { officehost::initProcessContext(); }
    void TearDown() override { officehost::shutdownProcessContext(); }
};

} // namespace testsupport
