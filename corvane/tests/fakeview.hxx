#pragma once
// A text whose comparisons the host refuses, and a model whose view selects a
// range of it: the stand-in compares every range of its own texts, so the
// logged comparison failures need these.

#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/view/selection.hxx>
#include <cppu/implbase.hxx>

#include "fakecontent.hxx"

namespace corvane::test {

namespace fake {
namespace text = ::com::qam::vexo::text;
using ::zel::uno::Any;
using ::zel::uno::Reference;

// A paragraph that stands for itself: a collapsed range, in the given text or
// in none.
class Paragraph : public cppu::WeakImplHelper<text::XTextContent, text::XTextRange, ::com::qam::vexo::lang::XServiceInfo> {
public:
    explicit Paragraph(Reference<text::XText> owner = {}) : owner_(std::move(owner)) {}
    void attach(const Reference<text::XTextRange>&) override {}
    Reference<text::XTextRange> getAnchor() override { return this; }
    Reference<text::XText> getText() override { return owner_; }
    Reference<text::XTextRange> getStart() override { return this; }
    Reference<text::XTextRange> getEnd() override { return this; }
    OUString getString() override { return u"p"; }
    void setString(const OUString&) override {}
    OUString getImplementationName() override { return u"test.fake.Paragraph"; }
    bool supportsService(const OUString& name) override { return name == u"com.qam.vexo.text.Paragraph"; }
    ::zel::uno::Sequence<OUString> getSupportedServiceNames() override { return {u"com.qam.vexo.text.Paragraph"}; }

private:
    Reference<text::XText> owner_;
};

// A text of two such paragraphs (or of the given items) whose every comparison
// is refused.
class RefusingText : public FakeBodyText, public text::XTextRangeCompare {
public:
    RefusingText()
        : FakeBodyText({Any(Reference<text::XTextContent>(new Paragraph)), Any(Reference<text::XTextContent>(new Paragraph))}) {}
    explicit RefusingText(std::vector<Any> items) : FakeBodyText(std::move(items)) {}
    Any queryInterface(const ::zel::uno::Type& type) override {
        if (type == cppu::UnoType<text::XTextRangeCompare>::get())
            return Any(Reference<text::XTextRangeCompare>(static_cast<text::XTextRangeCompare*>(this)));
        return FakeBodyText::queryInterface(type);
    }
    void acquire() noexcept override { FakeBodyText::acquire(); }
    void release() noexcept override { FakeBodyText::release(); }
    sal_Int16 compareRegionStarts(const Reference<text::XTextRange>&, const Reference<text::XTextRange>&) override {
        throw ::com::qam::vexo::lang::IllegalArgumentException(u"compareRegionStarts: the range is not in this text");
    }
    sal_Int16 compareRegionEnds(const Reference<text::XTextRange>&, const Reference<text::XTextRange>&) override {
        throw ::com::qam::vexo::lang::IllegalArgumentException(u"compareRegionEnds: the range is not in this text");
    }
};

// A non-empty range of a refusing text.
class Range : public cppu::WeakImplHelper<text::XTextRange> {
public:
    explicit Range(Reference<text::XText> owner) : owner_(std::move(owner)) {}
    Reference<text::XText> getText() override { return owner_; }
    Reference<text::XTextRange> getStart() override { return this; }
    Reference<text::XTextRange> getEnd() override { return this; }
    OUString getString() override { return u"selected"; }
    void setString(const OUString&) override {}

private:
    Reference<text::XText> owner_;
};

class RangeList : public cppu::WeakImplHelper<::com::qam::vexo::container::XIndexAccess> {
public:
    explicit RangeList(Reference<text::XTextRange> range) : items_{Any(range)} {}
    explicit RangeList(std::vector<Any> items) : items_(std::move(items)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(items_.size()); }
    Any getByIndex(sal_Int32 i) override { return items_.at(i); }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<text::XTextRange>::get(); }
    bool hasElements() override { return !items_.empty(); }

private:
    std::vector<Any> items_;
};

// A view cursor standing in the given text (or in none).
class ViewCursor : public cppu::WeakImplHelper<text::XTextViewCursor> {
public:
    explicit ViewCursor(Reference<text::XText> owner) : owner_(std::move(owner)) {}
    Reference<text::XText> getText() override { return owner_; }
    Reference<text::XTextRange> getStart() override { return this; }
    Reference<text::XTextRange> getEnd() override { return this; }
    OUString getString() override { return OUString(); }
    void setString(const OUString&) override {}
    void collapseToStart() override {}
    void collapseToEnd() override {}
    bool isCollapsed() override { return true; }
    bool goLeft(sal_Int16, bool) override { return false; }
    bool goRight(sal_Int16, bool) override { return false; }
    void gotoStart(bool) override {}
    void gotoEnd(bool) override {}
    void gotoRange(const Reference<text::XTextRange>&, bool) override {}
    bool isVisible() override { return true; }
    void setVisible(bool) override {}

private:
    Reference<text::XText> owner_;
};

// A view whose selection is the given list, with the given view cursor (or
// none); it selects nothing.
class View : public cppu::WeakImplHelper<::com::qam::vexo::frame::XController, ::com::qam::vexo::view::XSelectionSupplier,
                                         text::XTextViewCursorSupplier> {
public:
    explicit View(Reference<::com::qam::vexo::container::XIndexAccess> selection,
                  Reference<text::XTextViewCursor> cursor = {})
        : selection_(std::move(selection)), cursor_(std::move(cursor)) {}
    Reference<text::XTextViewCursor> getViewCursor() override { return cursor_; }
    void attachFrame(const Reference<::com::qam::vexo::frame::XFrame>&) override {}
    bool attachModel(const Reference<::com::qam::vexo::frame::XModel>&) override { return true; }
    bool suspend(bool) override { return true; }
    Reference<::com::qam::vexo::frame::XFrame> getFrame() override { return {}; }
    Reference<::com::qam::vexo::frame::XModel> getModel() override { return {}; }
    bool select(const Any&) override { return false; }
    Any getSelection() override { return Any(selection_); }

private:
    Reference<::com::qam::vexo::container::XIndexAccess> selection_;
    Reference<text::XTextViewCursor> cursor_;
};

// A text document with the given view, a footnote list that is missing or
// holds the given items, and the service factory of another model (or none).
class TextModel
    : public cppu::WeakImplHelper<text::XTextDocument, text::XFootnotesSupplier, ::com::qam::vexo::lang::XMultiServiceFactory> {
public:
    explicit TextModel(Reference<::com::qam::vexo::frame::XController> view,
                       Reference<::com::qam::vexo::container::XIndexAccess> footnotes = {},
                       Reference<::com::qam::vexo::lang::XMultiServiceFactory> factory = {})
        : view_(std::move(view)), footnotes_(std::move(footnotes)), factory_(std::move(factory)) {}
    Reference<::zel::uno::XInterface> createInstance(const OUString& name) override {
        return factory_.is() ? factory_->createInstance(name) : nullptr;
    }
    Reference<::zel::uno::XInterface> createInstanceWithArguments(const OUString& name,
                                                                 const ::zel::uno::Sequence<Any>&) override {
        return createInstance(name);
    }
    ::zel::uno::Sequence<OUString> getAvailableServiceNames() override { return {}; }
    Reference<::com::qam::vexo::container::XIndexAccess> getFootnotes() override { return footnotes_; }
    Reference<::com::qam::vexo::beans::XPropertySet> getFootnoteSettings() override { return {}; }
    void dispose() override {}
    void addEventListener(const Reference<::com::qam::vexo::lang::XEventListener>&) override {}
    void removeEventListener(const Reference<::com::qam::vexo::lang::XEventListener>&) override {}
    OUString getURL() override { return OUString(); }
    ::zel::uno::Sequence<::com::qam::vexo::beans::PropertyValue> getArgs() override { return {}; }
    void connectController(const Reference<::com::qam::vexo::frame::XController>&) override {}
    void disconnectController(const Reference<::com::qam::vexo::frame::XController>&) override {}
    Reference<::com::qam::vexo::frame::XController> getCurrentController() override { return view_; }
    void setCurrentController(const Reference<::com::qam::vexo::frame::XController>&) override {}
    Reference<text::XText> getText() override { return {}; }
    void reformat() override {}

private:
    Reference<::com::qam::vexo::frame::XController> view_;
    Reference<::com::qam::vexo::container::XIndexAccess> footnotes_;
    Reference<::com::qam::vexo::lang::XMultiServiceFactory> factory_;
};

} // namespace fake
} // namespace corvane::test
