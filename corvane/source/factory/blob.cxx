#include "blob.hxx"

#include <cppu/implbase.hxx>

namespace corvane {
namespace {

using ::com::qam::vexo::beans::Optional;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

// Immutable after construction, so it may be read from any thread.
class BlobImpl : public cppu::WeakImplHelper<XBlob> {
public:
    BlobImpl(const Sequence<signed char>& bytes, const Optional<OUString>& contentType, const Optional<OUString>& name)
        : bytes_(bytes), contentType_(contentType), name_(name) {}

    Sequence<signed char> getBytes() override { return bytes_; }
    Optional<OUString> getContentType() override { return contentType_; }
    Optional<OUString> getName() override { return name_; }

private:
    const Sequence<signed char> bytes_;
    const Optional<OUString> contentType_;
    const Optional<OUString> name_;
};

} // namespace

Reference<XBlob> detail::createBlob(const Sequence<signed char>& bytes, const Optional<OUString>& contentType,
                                    const Optional<OUString>& name) {
    return new BlobImpl(bytes, contentType, name);
}

} // namespace corvane
