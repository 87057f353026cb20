#pragma once
// Host objects that the stand-in cannot produce yet or on purpose (a content
// outside any text, a graphic object), for tests of the wrappers' own logic.

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <cppu/implbase.hxx>

#include <map>
#include <vector>

namespace corvane::test {

// A collapsed range that belongs to no text.
class FakeRange : public cppu::WeakImplHelper<::com::qam::vexo::text::XTextRange> {
public:
    ::zel::uno::Reference<::com::qam::vexo::text::XText> getText() override { return {}; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getStart() override { return this; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getEnd() override { return this; }
    OUString getString() override { return OUString(); }
    void setString(const OUString&) override {}
};

// A text content with plain properties, optionally anchored at a range.  It
// has no portions and no property set information.
class FakeContent
    : public cppu::WeakImplHelper<::com::qam::vexo::text::XTextContent, ::com::qam::vexo::beans::XPropertySet> {
public:
    explicit FakeContent(::zel::uno::Reference<::com::qam::vexo::text::XTextRange> anchor = {})
        : anchor_(std::move(anchor)) {}

    void attach(const ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>&) override {}
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getAnchor() override { return anchor_; }

    ::zel::uno::Reference<::com::qam::vexo::beans::XPropertySetInfo> getPropertySetInfo() override { return {}; }
    void setPropertyValue(const OUString& name, const ::zel::uno::Any& value) override { props_[name] = value; }
    ::zel::uno::Any getPropertyValue(const OUString& name) override {
        auto it = props_.find(name);
        if (it == props_.end()) throw ::com::qam::vexo::beans::UnknownPropertyException(name);
        return it->second;
    }

private:
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> anchor_;
    std::map<OUString, ::zel::uno::Any> props_;
};

// A run of text whose properties come without property set information.
class FakePortion
    : public cppu::WeakImplHelper<::com::qam::vexo::text::XTextRange, ::com::qam::vexo::beans::XPropertySet> {
public:
    ::zel::uno::Reference<::com::qam::vexo::text::XText> getText() override { return {}; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getStart() override { return this; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getEnd() override { return this; }
    OUString getString() override { return u"abc"; }
    void setString(const OUString&) override {}
    ::zel::uno::Reference<::com::qam::vexo::beans::XPropertySetInfo> getPropertySetInfo() override { return {}; }
    void setPropertyValue(const OUString& name, const ::zel::uno::Any&) override {
        throw ::com::qam::vexo::beans::UnknownPropertyException(name);
    }
    ::zel::uno::Any getPropertyValue(const OUString& name) override {
        throw ::com::qam::vexo::beans::UnknownPropertyException(name);
    }
};

class FakeEnumeration : public cppu::WeakImplHelper<::com::qam::vexo::container::XEnumeration> {
public:
    explicit FakeEnumeration(std::vector<::zel::uno::Any> items) : items_(std::move(items)) {}
    bool hasMoreElements() override { return next_ < items_.size(); }
    ::zel::uno::Any nextElement() override {
        if (next_ >= items_.size()) throw ::com::qam::vexo::container::NoSuchElementException(u"no more elements");
        return items_[next_++];
    }

private:
    std::vector<::zel::uno::Any> items_;
    std::size_t next_ = 0;
};

// A paragraph of one FakePortion, outside any text.
class FakeParagraph
    : public cppu::WeakImplHelper<::com::qam::vexo::text::XTextContent, ::com::qam::vexo::container::XEnumerationAccess> {
public:
    void attach(const ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>&) override {}
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getAnchor() override { return {}; }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<::com::qam::vexo::text::XTextRange>::get(); }
    bool hasElements() override { return true; }
    ::zel::uno::Reference<::com::qam::vexo::container::XEnumeration> createEnumeration() override {
        ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> portion(new FakePortion);
        return new FakeEnumeration({::zel::uno::Any(portion)});
    }
};

// A body text that accepts every edit and does nothing, enumerating the given items.
class FakeBodyText
    : public cppu::WeakImplHelper<::com::qam::vexo::text::XText, ::com::qam::vexo::text::XParagraphAppend,
                                  ::com::qam::vexo::container::XEnumerationAccess> {
public:
    explicit FakeBodyText(std::vector<::zel::uno::Any> items = {}) : items_(std::move(items)) {}
    ::zel::uno::Reference<::com::qam::vexo::text::XText> getText() override { return this; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getStart() override { return this; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getEnd() override { return this; }
    OUString getString() override { return OUString(); }
    void setString(const OUString&) override {}
    ::zel::uno::Reference<::com::qam::vexo::text::XTextCursor> createTextCursor() override { return {}; }
    ::zel::uno::Reference<::com::qam::vexo::text::XTextCursor> createTextCursorByRange(
        const ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>&) override {
        return {};
    }
    void insertString(const ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>&, const OUString&, bool) override {}
    void insertControlCharacter(const ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>&, sal_Int16,
                                bool) override {}
    void insertTextContent(const ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>&,
                           const ::zel::uno::Reference<::com::qam::vexo::text::XTextContent>&, bool) override {}
    void removeTextContent(const ::zel::uno::Reference<::com::qam::vexo::text::XTextContent>&) override {}
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> finishParagraph(
        const ::zel::uno::Sequence<::com::qam::vexo::beans::PropertyValue>&) override {
        return {};
    }
    ::zel::uno::Type getElementType() override { return cppu::UnoType<::com::qam::vexo::text::XTextContent>::get(); }
    bool hasElements() override { return !items_.empty(); }
    ::zel::uno::Reference<::com::qam::vexo::container::XEnumeration> createEnumeration() override {
        return new FakeEnumeration(items_);
    }

private:
    std::vector<::zel::uno::Any> items_;
};

// A paragraph of a document that knows no paragraph styles at all.
class FakeUnstyledParagraph
    : public cppu::WeakImplHelper<::com::qam::vexo::text::XTextContent, ::com::qam::vexo::lang::XServiceInfo,
                                  ::com::qam::vexo::beans::XPropertySet> {
public:
    void attach(const ::zel::uno::Reference<::com::qam::vexo::text::XTextRange>&) override {}
    ::zel::uno::Reference<::com::qam::vexo::text::XTextRange> getAnchor() override { return {}; }
    OUString getImplementationName() override { return u"test.FakeUnstyledParagraph"; }
    bool supportsService(const OUString& name) override { return name == u"com.qam.vexo.text.Paragraph"; }
    ::zel::uno::Sequence<OUString> getSupportedServiceNames() override { return {u"com.qam.vexo.text.Paragraph"}; }
    ::zel::uno::Reference<::com::qam::vexo::beans::XPropertySetInfo> getPropertySetInfo() override { return {}; }
    void setPropertyValue(const OUString& name, const ::zel::uno::Any&) override {
        if (name == u"ParaStyleName") throw ::com::qam::vexo::lang::IllegalArgumentException(u"no such style");
        throw ::com::qam::vexo::beans::UnknownPropertyException(name);
    }
    ::zel::uno::Any getPropertyValue(const OUString& name) override {
        throw ::com::qam::vexo::beans::UnknownPropertyException(name);
    }
};

// Numbering rules without levels.
class FakeEmptyRules : public cppu::WeakImplHelper<::com::qam::vexo::container::XIndexReplace> {
public:
    ::zel::uno::Type getElementType() override { return cppu::UnoType<::zel::uno::Any>::get(); }
    bool hasElements() override { return false; }
    sal_Int32 getCount() override { return 0; }
    ::zel::uno::Any getByIndex(sal_Int32) override { throw ::com::qam::vexo::lang::IndexOutOfBoundsException(); }
    void replaceByIndex(sal_Int32, const ::zel::uno::Any&) override {
        throw ::com::qam::vexo::lang::IndexOutOfBoundsException();
    }
};

// A model whose service factory makes only level-less numbering rules.
class FakeModel : public cppu::WeakImplHelper<::com::qam::vexo::frame::XModel, ::com::qam::vexo::lang::XMultiServiceFactory> {
public:
    void dispose() override {}
    void addEventListener(const ::zel::uno::Reference<::com::qam::vexo::lang::XEventListener>&) override {}
    void removeEventListener(const ::zel::uno::Reference<::com::qam::vexo::lang::XEventListener>&) override {}
    OUString getURL() override { return OUString(); }
    ::zel::uno::Sequence<::com::qam::vexo::beans::PropertyValue> getArgs() override { return {}; }
    void connectController(const ::zel::uno::Reference<::com::qam::vexo::frame::XController>&) override {}
    void disconnectController(const ::zel::uno::Reference<::com::qam::vexo::frame::XController>&) override {}
    ::zel::uno::Reference<::com::qam::vexo::frame::XController> getCurrentController() override { return {}; }
    void setCurrentController(const ::zel::uno::Reference<::com::qam::vexo::frame::XController>&) override {}
    ::zel::uno::Reference<::zel::uno::XInterface> createInstance(const OUString& name) override {
        if (name != u"com.qam.vexo.text.NumberingRules") return {};
        return ::zel::uno::Reference<::zel::uno::XInterface>(static_cast<::zel::uno::XInterface*>(new FakeEmptyRules));
    }
    ::zel::uno::Reference<::zel::uno::XInterface> createInstanceWithArguments(const OUString& name,
                                                                          const ::zel::uno::Sequence<::zel::uno::Any>&) override {
        return createInstance(name);
    }
    ::zel::uno::Sequence<OUString> getAvailableServiceNames() override { return {u"com.qam.vexo.text.NumberingRules"}; }
};

} // namespace corvane::test
