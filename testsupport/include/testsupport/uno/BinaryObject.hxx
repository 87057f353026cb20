#pragma once
// A binary object for tests: a uno_Interface of one interface type whose
// dispatcher answers XInterface's three members itself and the others through
// a table of handlers by member name.  It counts its references, records every
// call it receives (member, thread, current environment) and deletes itself at
// count 0, noting that in an optional counter of deaths.
//
// queryInterface answers with the object itself for its own type and every
// base type, and with a void any otherwise.  A member without a handler raises
// a RuntimeException "<member>: no handler".

#include <uno/environment.h>

#include <rtl/ustring.hxx>

#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testsupport::uno {

struct ObjectCall {
    std::string member;  // short name, e.g. "add"; "acquire"/"release" through dispatch too
    std::thread::id thread;
    uno_Environment* environment;  // current during the call (null: plain)
};

class BinaryObject : public uno_Interface {
public:
    using Handler = std::function<void(BinaryObject& self, const typelib_TypeDescription* member, void* pReturn,
                                       void* pArgs[], uno_Any** ppException)>;

    // A new object with one reference.  deaths, when given, is incremented when it goes.
    static BinaryObject* create(typelib_InterfaceTypeDescription* type, std::atomic<int>* deaths = nullptr);

    void on(const std::string& member, Handler h);
    sal_Int32 count() const { return count_.load(); }
    std::vector<ObjectCall> calls() const;
    std::vector<std::string> callNames() const;
    void clearCalls();
    // The current environment at each release through the release member.
    std::vector<uno_Environment*> releaseEnvironments() const;
    uno_Interface* unoI() { return this; }

private:
    BinaryObject(typelib_InterfaceTypeDescription* type, std::atomic<int>* deaths);
    ~BinaryObject();
    static void s_acquire(uno_Interface* p);
    static void s_release(uno_Interface* p);
    static void s_dispatch(uno_Interface* p, const typelib_TypeDescription* member, void* pReturn, void* pArgs[],
                           uno_Any** ppException);

    std::atomic<sal_Int32> count_{1};
    typelib_InterfaceTypeDescription* type_;
    std::atomic<int>* deaths_;
    mutable std::mutex mutex_;
    std::map<std::string, Handler> handlers_;
    std::vector<ObjectCall> calls_;
    std::vector<uno_Environment*> releaseEnvs_;
};

// Constructs an exception of type excType (com.qam.vexo.uno.Exception or one
// derived without members of its own) with Message and Context in **ppException.
void raiseException(uno_Any** ppException, typelib_TypeDescriptionReference* excType, const rtl::OUString& message,
                    uno_Interface* context);
// Message and Context of an exception held in an any.
rtl::OUString exceptionMessage(const uno_Any& exc);
void* exceptionContext(const uno_Any& exc);
// The short member name of a member description.
std::string memberName(const typelib_TypeDescription* member);

} // namespace testsupport::uno
