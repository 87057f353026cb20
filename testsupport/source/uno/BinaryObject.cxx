#include <testsupport/uno/BinaryObject.hxx>

#include <uno/data.h>

namespace testsupport::uno {

namespace {
// Set by raiseException, so that the dispatcher knows whether a handler raised.
thread_local bool t_raised = false;
} // namespace

std::string memberName(const typelib_TypeDescription* member) {
    auto* m = reinterpret_cast<const typelib_InterfaceMemberTypeDescription*>(member);
    return rtl::OUString(m->pMemberName).toUtf8().getStr();
}

BinaryObject* BinaryObject::create(typelib_InterfaceTypeDescription* type, std::atomic<int>* deaths) {
    return new BinaryObject(type, deaths);
}

BinaryObject::BinaryObject(typelib_InterfaceTypeDescription* type, std::atomic<int>* deaths)
    : type_(type), deaths_(deaths) {
    typelib_typedescription_acquire(&type_->aBase);
    acquire = s_acquire;
    release = s_release;
    pDispatcher = s_dispatch;
}

BinaryObject::~BinaryObject() {
    typelib_typedescription_release(&type_->aBase);
    if (deaths_ != nullptr) ++*deaths_;
}

void BinaryObject::on(const std::string& member, Handler h) {
    std::lock_guard g(mutex_);
    handlers_[member] = std::move(h);
}

std::vector<ObjectCall> BinaryObject::calls() const {
    std::lock_guard g(mutex_);
    return calls_;
}

std::vector<std::string> BinaryObject::callNames() const {
    std::lock_guard g(mutex_);
    std::vector<std::string> r;
    for (auto& c : calls_) r.push_back(c.member);
    return r;
}

void BinaryObject::clearCalls() {
    std::lock_guard g(mutex_);
    calls_.clear();
}

std::vector<uno_Environment*> BinaryObject::releaseEnvironments() const {
    std::lock_guard g(mutex_);
    return releaseEnvs_;
}

void BinaryObject::s_acquire(uno_Interface* p) { static_cast<BinaryObject*>(p)->count_.fetch_add(1); }

void BinaryObject::s_release(uno_Interface* p) {
    auto* self = static_cast<BinaryObject*>(p);
    {
        std::lock_guard g(self->mutex_);
        self->releaseEnvs_.push_back(uno_Environment_getCurrent());
    }
    if (self->count_.fetch_sub(1) == 1) delete self;
}

void BinaryObject::s_dispatch(uno_Interface* p, const typelib_TypeDescription* member, void* pReturn, void* pArgs[],
                              uno_Any** ppException) {
    auto* self = static_cast<BinaryObject*>(p);
    const std::string name = memberName(member);
    Handler h;
    {
        std::lock_guard g(self->mutex_);
        self->calls_.push_back({name, std::this_thread::get_id(), uno_Environment_getCurrent()});
        auto it = self->handlers_.find(name);
        if (it != self->handlers_.end()) h = it->second;
    }
    const bool xinterface = reinterpret_cast<const typelib_InterfaceMemberTypeDescription*>(member)->nPosition < 3;
    if (xinterface && !h) {
        if (name == "acquire") {
            s_acquire(p);
        } else if (name == "release") {
            s_release(p);
        } else {  // queryInterface
            auto* wanted = *static_cast<typelib_TypeDescriptionReference**>(pArgs[0]);
            bool match = false;
            for (auto* t = self->type_; t != nullptr; t = t->pBaseTypeDescription)
                if (rtl::OUString(t->aBase.pTypeName) == rtl::OUString(wanted->pTypeName)) match = true;
            auto* ret = static_cast<uno_Any*>(pReturn);
            if (match) {
                void* me = p;
                uno_any_construct(ret, &me, wanted, nullptr);
            } else {
                uno_any_construct(ret, nullptr, nullptr, nullptr);
            }
        }
        *ppException = nullptr;
        return;
    }
    if (!h) {
        raiseException(ppException, typelib_static_type_getRuntimeException(),
                       rtl::OUString::fromUtf8(name + ": no handler"), nullptr);
        return;
    }
    const bool outer = t_raised;
    t_raised = false;
    h(*self, member, pReturn, pArgs, ppException);
    if (!t_raised) *ppException = nullptr;
    t_raised = outer;
}

void raiseException(uno_Any** ppException, typelib_TypeDescriptionReference* excType, const rtl::OUString& message,
                    uno_Interface* context) {
    struct {
        rtl_uString* message;
        void* context;
    } value{message.pData, context};
    uno_any_construct(*ppException, &value, excType, nullptr);
    t_raised = true;
}

rtl::OUString exceptionMessage(const uno_Any& exc) { return rtl::OUString(*static_cast<rtl_uString**>(exc.pData)); }

void* exceptionContext(const uno_Any& exc) { return static_cast<void**>(exc.pData)[1]; }

} // namespace testsupport::uno
