#pragma once
// Host objects that the stand-in cannot produce yet or on purpose (a content
// outside any text, a graphic object), for tests of the wrappers' own logic.

#include <com/qam/vexo/beans/properties.hxx>
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

} // namespace corvane::test
