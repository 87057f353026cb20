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

// A paragraph that stands for itself: a collapsed range without a text.
class Paragraph : public cppu::WeakImplHelper<text::XTextContent, text::XTextRange, ::com::qam::vexo::lang::XServiceInfo> {
public:
    void attach(const Reference<text::XTextRange>&) override {}
    Reference<text::XTextRange> getAnchor() override { return this; }
    Reference<text::XText> getText() override { return {}; }
    Reference<text::XTextRange> getStart() override { return this; }
    Reference<text::XTextRange> getEnd() override { return this; }
    OUString getString() override { return u"p"; }
    void setString(const OUString&) override {}
    OUString getImplementationName() override { return u"test.fake.Paragraph"; }
    bool supportsService(const OUString& name) override { return name == u"com.qam.vexo.text.Paragraph"; }
    ::zel::uno::Sequence<OUString> getSupportedServiceNames() override { return {u"com.qam.vexo.text.Paragraph"}; }
};

// A text of two such paragraphs whose every comparison is refused.
class RefusingText : public FakeBodyText, public text::XTextRangeCompare {
public:
    RefusingText()
        : FakeBodyText({Any(Reference<text::XTextContent>(new Paragraph)), Any(Reference<text::XTextContent>(new Paragraph))}) {}
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
    explicit RangeList(Reference<text::XTextRange> range) : range_(std::move(range)) {}
    sal_Int32 getCount() override { return 1; }
    Any getByIndex(sal_Int32) override { return Any(range_); }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<text::XTextRange>::get(); }
    bool hasElements() override { return true; }

private:
    Reference<text::XTextRange> range_;
};

// A view whose selection is the given list; it selects nothing.
class View : public cppu::WeakImplHelper<::com::qam::vexo::frame::XController, ::com::qam::vexo::view::XSelectionSupplier> {
public:
    explicit View(Reference<::com::qam::vexo::container::XIndexAccess> selection) : selection_(std::move(selection)) {}
    void attachFrame(const Reference<::com::qam::vexo::frame::XFrame>&) override {}
    bool attachModel(const Reference<::com::qam::vexo::frame::XModel>&) override { return true; }
    bool suspend(bool) override { return true; }
    Reference<::com::qam::vexo::frame::XFrame> getFrame() override { return {}; }
    Reference<::com::qam::vexo::frame::XModel> getModel() override { return {}; }
    bool select(const Any&) override { return false; }
    Any getSelection() override { return Any(selection_); }

private:
    Reference<::com::qam::vexo::container::XIndexAccess> selection_;
};

class TextModel : public cppu::WeakImplHelper<text::XTextDocument> {
public:
    explicit TextModel(Reference<::com::qam::vexo::frame::XController> view) : view_(std::move(view)) {}
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
};

} // namespace fake
} // namespace corvane::test
