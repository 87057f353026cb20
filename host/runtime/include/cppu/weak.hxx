#pragma once
// cppu::OWeakObject: the reference count and the queries that every
// implementation object shares.

#include <com/qam/vexo/lang/interfaces.hxx>

#include <atomic>

namespace cppu {

class SALQX_DLLPUBLIC OWeakObject : public virtual ::zel::uno::XInterface {
public:
    OWeakObject() = default;
    OWeakObject(const OWeakObject&) = delete;
    OWeakObject& operator=(const OWeakObject&) = delete;

    // Answers for XInterface and for every interface that the object's class
    // implements, directly or through a base interface.
    ::zel::uno::Any queryInterface(const ::zel::uno::Type& type) override;
    void acquire() noexcept override;
    // Deletes the object when the last reference goes.
    void release() noexcept override;

    sal_Int32 refCount() const noexcept { return refCount_.load(std::memory_order_relaxed); }

protected:
    virtual ~OWeakObject();

private:
    std::atomic<sal_Int32> refCount_{0};
};

} // namespace cppu
