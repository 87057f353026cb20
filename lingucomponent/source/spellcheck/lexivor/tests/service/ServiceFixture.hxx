#pragma once
// What the service tests share: a temporary installation tree whose
// share/lexivor holds packages made by the package builder, a fresh host per
// test, and a spell checker that records what the service asks it.

#include <lexivorimp.hxx>

#include <com/qam/vexo/linguistic2/spelling.hxx>
#include <cppu/implbase.hxx>
#include <testsupport/lexivor/PackageBuilder.hxx>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace lexivortest {

using com::qam::vexo::lang::Locale;
using zel::uno::Reference;
using zel::uno::Sequence;

Locale locale(const char16_t* language, const char16_t* country = u"");
OUString ou(std::string_view utf8);
std::vector<OUString> strings(const Sequence<OUString>& s);

// A temporary tree with share/lexivor, which BRAND_BASE_DIR names while it lives.
class RuleTree {
public:
    RuleTree();
    ~RuleTree();
    RuleTree(const RuleTree&) = delete;
    RuleTree& operator=(const RuleTree&) = delete;

    // Writes a file into share/lexivor and returns its file URL.
    OUString add(const std::string& fileName, const std::vector<unsigned char>& bytes) const;
    OUString urlOf(const std::string& fileName) const;
    std::filesystem::path ruleDirectory() const { return root_ / "share" / "lexivor"; }
    std::filesystem::path root() const { return root_; }
    OUString ruleDirectoryUrl() const;

private:
    std::filesystem::path root_;
    std::optional<std::string> previousBase_;
    std::optional<std::string> previousProfile_;
};

// The answers of the scripted spell checker's spell() and the validity calls
// it received.
class RecordingSpellChecker final : public cppu::WeakImplHelper<com::qam::vexo::linguistic2::XSpellChecker> {
public:
    // Without an inner checker, answers come from `correct` and `answers`.
    explicit RecordingSpellChecker(Reference<com::qam::vexo::linguistic2::XSpellChecker> inner = {});

    Sequence<Locale> getLocales() override;
    bool hasLocale(const Locale& locale) override;
    bool isValid(const OUString& word, const Locale& locale,
                 const Sequence<com::qam::vexo::beans::PropertyValue>& properties) override;
    Reference<com::qam::vexo::linguistic2::XSpellAlternatives>
    spell(const OUString& word, const Locale& locale,
          const Sequence<com::qam::vexo::beans::PropertyValue>& properties) override;

    std::set<OUString> correct;
    std::map<OUString, std::vector<OUString>> answers;
    std::vector<OUString> validityCalls;
    std::vector<OUString> queries;
    // Run inside isValid, while the service is in the middle of a rule.
    std::function<void()> onValidity;

private:
    Reference<com::qam::vexo::linguistic2::XSpellChecker> inner_;
};

// A fresh host for every test, with the service tests' own profile and tree.
class ServiceTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers `checker` as the host's spell checker; counts the lookups.
    void useSpellChecker(const Reference<RecordingSpellChecker>& checker);
    // The host's own (Hunspell) spell checker, or empty when the host has none.
    Reference<com::qam::vexo::linguistic2::XSpellChecker> hostSpellChecker();

    // A new service (the previous one is released).
    lexivor::Lexivor& start();
    com::qam::vexo::linguistic2::ProofreadingResult check(const OUString& text, const Locale& where,
                                                          sal_Int32 startPosition = 0, sal_Int32 suggestedEnd = -1);

    std::optional<RuleTree> tree;
    Reference<zel::uno::XComponentContext> context;
    Reference<com::qam::vexo::linguistic2::XProofreader> service;
    lexivor::Lexivor* impl = nullptr;
    int spellCheckerLookups = 0;
};

// A package with one language tag and the given rules.
testsupport::lexivor::PackageBuilder packageFor(const std::string& tag, const std::string& name = "test");

} // namespace lexivortest
