#pragma once
// Documents for the corvane tests made with testsupport's document builder, the
// scripting document over them, and the host's view of them.

#include "hosttest.hxx"

#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <testsupport/text/TextDocumentBuilder.hxx>

#include <optional>

namespace corvane::test {

namespace hosttext = ::com::qam::vexo::text;
using testsupport::text::TextDocumentBuilder;

class BuiltDocumentTest : public HostTest {
protected:
    // A new document, current in its frame, to be filled with the builder.
    TextDocumentBuilder& open() {
        builder_.emplace();
        return *builder_;
    }
    TextDocumentBuilder& doc() { return *builder_; }
    // The scripting document of the active (last opened) document.
    Reference<XDocument> activeDocument() { return newFactory()->getActiveDocument(); }

    Reference<::com::qam::vexo::view::XSelectionSupplier> selector() {
        return Reference<::com::qam::vexo::view::XSelectionSupplier>(doc().model()->getCurrentController(),
                                                                      ::zel::uno::UNO_QUERY_THROW);
    }
    Reference<hosttext::XTextViewCursor> viewCursor() {
        return Reference<hosttext::XTextViewCursorSupplier>(selector(), ::zel::uno::UNO_QUERY_THROW)->getViewCursor();
    }
    Reference<hosttext::XTextRange> hostParagraph(sal_Int32 i) {
        return Reference<hosttext::XTextRange>(doc().element(i), ::zel::uno::UNO_QUERY_THROW);
    }

    void TearDown() override {
        builder_.reset();
        HostTest::TearDown();
    }

private:
    std::optional<TextDocumentBuilder> builder_;
};

} // namespace corvane::test
