#pragma once
// Runs assembled rule code on a package made for the test, with a FakeHost.

#include "FakeHost.hxx"

#include <lxrfile.hxx>
#include <lxvm.hxx>

#include <testsupport/lexivor/PackageBuilder.hxx>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace lexivor {
void PrintTo(const Value& v, std::ostream* os);
} // namespace lexivor

namespace lexivor::test {

inline Value S(const char16_t* s) { return Value::string(OUString(std::u16string_view(s))); }
inline Value I(int i) { return Value::integer(i); }
inline Value B(bool b) { return Value::boolean(b); }
inline Value N() { return Value(); }
inline Value L(std::vector<OUString> items) { return Value::list(std::move(items)); }
inline Value C(unsigned i) { return Value::constant(i); }

class Vm {
public:
    testsupport::lexivor::PackageBuilder builder;
    FakeHost host;
    com::qam::vexo::lang::Locale locale{u"en", u"US", u""};
    OUString text = u"the paragraph";
    std::vector<bool> options;
    icu::RegexMatcher* matcher = nullptr;

    // Builds the package with this code appended as the last expression of the
    // code section, loads it and runs the expression.
    Vm() { builder.rule({.pattern = "x"}); }

    Value eval(std::string_view assembly) {
        testsupport::lexivor::PackageBuilder b = builder;
        const std::uint32_t ref = b.code(assembly);
        load(b);
        return runRef(ref);
    }
    Value evalBytes(const std::vector<unsigned char>& bytes) {
        testsupport::lexivor::PackageBuilder b = builder;
        const std::uint32_t ref = b.rawCode(bytes);
        load(b);
        return runRef(ref);
    }
    Value runRef(std::uint32_t ref) {
        const Context ctx{*file, locale, text, options, matcher, host};
        return run(ctx, file->getCode(ref));
    }
    void load(const testsupport::lexivor::PackageBuilder& b) {
        temp = std::make_unique<testsupport::lexivor::TempPackage>(b.build());
        file = RuleFile::load(temp->url());
        ASSERT_NE(file, nullptr);
        host.setFile(file.get());
    }
    std::unique_ptr<testsupport::lexivor::TempPackage> temp;
    std::shared_ptr<const RuleFile> file;
};

} // namespace lexivor::test
