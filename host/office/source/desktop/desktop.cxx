// The desktop of the host stand-in: the service "com.qam.vexo.frame.Desktop"
// (one desktop per component context), its frames, placeholder documents for
// kinds that have no model yet, and the officehost helpers that open and close
// documents as a user would.
//
// Ownership runs desktop -> frame -> controller -> model.  A frame knows its
// desktop, a controller its frame and a model its controllers only by plain
// pointers, which the owners clear when they let go.  There are no windows,
// no loading from URLs and no dispatch.

#include <officehost/desktop.hxx>
#include <officehost/services.hxx>

#include "../sheet/sheetdocument.hxx"
#include "../draw/drawdocument.hxx"
#include "../text/textdocument.hxx"

#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/lang/exceptions.hxx>
#include <com/qam/vexo/util/closeable.hxx>
#include <comphelper/processfactory.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>

#include <algorithm>
#include <vector>

namespace officehost {
namespace {

namespace css = ::com::qam::vexo;
using css::frame::XController;
using css::frame::XFrame;
using css::frame::XModel;
using css::lang::IllegalArgumentException;
using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::Type;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

// The controllers of a model, kept without owning them.
class ControllerList {
public:
    void connect(XController* c) {
        if (!c) throw IllegalArgumentException(u"connectController: the controller must not be empty");
        if (std::find(list_.begin(), list_.end(), c) == list_.end()) list_.push_back(c);
    }
    void forget(XController* c) {
        std::erase(list_, c);
        if (current_ == c) current_ = list_.empty() ? nullptr : list_.front();
    }
    void makeCurrent(XController* c) {
        if (std::find(list_.begin(), list_.end(), c) == list_.end())
            throw css::container::NoSuchElementException(
                u"setCurrentController: the controller is not connected to this document");
        current_ = c;
    }
    XController* current() const { return current_; }

private:
    std::vector<XController*> list_;
    XController* current_ = nullptr;
};

// What every placeholder model does: controllers, and disposing with no content.
template <class... Ifc>
class ModelBase : public cppu::WeakImplHelper<XModel, Ifc...>, public ControllerList {
public:
    OUString getURL() override { return OUString(); }
    Sequence<css::beans::PropertyValue> getArgs() override { return {}; }
    void connectController(const Reference<XController>& c) override { connect(c.get()); }
    void disconnectController(const Reference<XController>& c) override { forget(c.get()); }
    Reference<XController> getCurrentController() override { return current(); }
    void setCurrentController(const Reference<XController>& c) override { makeCurrent(c.get()); }
    void dispose() override {}
    void addEventListener(const Reference<css::lang::XEventListener>&) override {}
    void removeEventListener(const Reference<css::lang::XEventListener>&) override {}
};

// A model that does not say what it is: it has no service information.
class AnonymousModelImpl : public ModelBase<> {};

// The view of a placeholder model: it shows the model and nothing else.
class PlaceholderControllerImpl : public cppu::WeakImplHelper<XController> {
public:
    PlaceholderControllerImpl(Reference<XModel> model, ControllerList* list) : model_(std::move(model)), list_(list) {}
    ~PlaceholderControllerImpl() override { list_->forget(this); }
    void attachFrame(const Reference<XFrame>& frame) override { frame_ = frame.get(); }
    bool attachModel(const Reference<XModel>& model) override {
        return Reference<XModel>::sameObject(model.get(), model_.get());
    }
    bool suspend(bool) override { return true; }
    Reference<XFrame> getFrame() override { return frame_; }
    Reference<XModel> getModel() override { return model_; }

private:
    Reference<XModel> model_;
    ControllerList* list_;  // the model's, which model_ keeps alive
    XFrame* frame_ = nullptr;
};

class DesktopImpl;

// A frame of the desktop: it shows one controller.  Closing it disconnects the
// controller from its model and takes the frame off the desktop.
class FrameImpl : public cppu::WeakImplHelper<XFrame, css::util::XCloseable, css::lang::XServiceInfo> {
public:
    ~FrameImpl() override { releaseController(); }

    OUString getName() override { return name_; }
    void setName(const OUString& name) override { name_ = name; }
    bool setComponent(const Reference<XController>& controller) override {
        releaseController();
        controller_ = controller;
        if (controller_.is()) controller_->attachFrame(this);
        return true;
    }
    Reference<XController> getController() override { return controller_; }
    void activate() override;
    void deactivate() override;
    bool isActive() override { return active_; }

    void close(bool) override;

    OUString getImplementationName() override { return u"officehost.desktop.Frame"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.frame.Frame"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.frame.Frame")}; }

    DesktopImpl* desktop = nullptr;  // the desktop that holds this frame
    bool active_ = false;

private:
    void releaseController() {
        if (!controller_.is()) return;
        Reference<XController> c = std::move(controller_);
        controller_.clear();
        if (Reference<XModel> m = c->getModel(); m.is()) m->disconnectController(c);
        c->attachFrame({});
    }
    OUString name_;
    Reference<XController> controller_;
};

class FramesImpl;

// The desktop: the frames in the order they were opened, and the active one.
class DesktopImpl
    : public cppu::WeakImplHelper<css::frame::XDesktop, css::frame::XFramesSupplier, css::lang::XServiceInfo> {
public:
    ~DesktopImpl() override {
        for (auto& f : frames_) {
            f->desktop = nullptr;
            f->active_ = false;
        }
    }

    bool terminate() override {
        auto frames = frames_;
        for (auto& f : frames) f->close(true);
        return true;
    }
    Reference<css::lang::XComponent> getCurrentComponent() override {
        if (!active_.is()) return {};
        Reference<XController> c = active_->getController();
        if (!c.is()) return {};
        return Reference<css::lang::XComponent>(c->getModel());
    }
    Reference<XFrame> getCurrentFrame() override { return active_.get(); }

    Reference<css::frame::XFrames> getFrames() override;
    Reference<XFrame> getActiveFrame() override { return active_.get(); }
    void setActiveFrame(const Reference<XFrame>& frame) override {
        if (!frame.is()) {
            activate(nullptr);
            return;
        }
        FrameImpl* f = find(frame.get());
        if (!f) throw IllegalArgumentException(u"setActiveFrame: the frame is not one of the desktop's frames");
        activate(f);
    }

    OUString getImplementationName() override { return u"officehost.desktop.Desktop"; }
    bool supportsService(const OUString& n) override { return n == u"com.qam.vexo.frame.Desktop"; }
    Sequence<OUString> getSupportedServiceNames() override { return {OUString(u"com.qam.vexo.frame.Desktop")}; }

    void activate(FrameImpl* f) {
        if (active_.is()) active_->active_ = false;
        active_ = f;
        if (f) f->active_ = true;
    }
    FrameImpl* find(XInterface* frame) {
        for (auto& f : frames_)
            if (Reference<XInterface>::sameObject(static_cast<XFrame*>(f.get()), frame)) return f.get();
        return nullptr;
    }
    void append(FrameImpl* f) {
        if (f->desktop == this) return;
        if (f->desktop) f->desktop->remove(f);
        frames_.push_back(f);
        f->desktop = this;
    }
    void remove(FrameImpl* f) {
        Reference<FrameImpl> keep(f);
        if (active_.get() == f) activate(nullptr);
        std::erase_if(frames_, [&](const Reference<FrameImpl>& x) { return x.get() == f; });
        f->desktop = nullptr;
    }
    const std::vector<Reference<FrameImpl>>& frames() const { return frames_; }

private:
    std::vector<Reference<FrameImpl>> frames_;
    Reference<FrameImpl> active_;
};

void FrameImpl::activate() {
    if (desktop)
        desktop->activate(this);
    else
        active_ = true;
}

void FrameImpl::deactivate() {
    if (desktop && active_)
        desktop->activate(nullptr);
    else
        active_ = false;
}

void FrameImpl::close(bool) {
    Reference<FrameImpl> keep(this);
    releaseController();
    if (desktop) desktop->remove(this);
}

// The desktop's frames as a collection: appending takes a frame of this host
// (off any other desktop), removing takes it off without closing it.
class FramesImpl : public cppu::WeakImplHelper<css::frame::XFrames> {
public:
    explicit FramesImpl(Reference<DesktopImpl> desktop) : desktop_(std::move(desktop)) {}
    sal_Int32 getCount() override { return static_cast<sal_Int32>(desktop_->frames().size()); }
    Any getByIndex(sal_Int32 index) override {
        if (index < 0 || index >= getCount())
            throw css::lang::IndexOutOfBoundsException(u"getByIndex: there is no frame " + OUString::number(index));
        return Any(Reference<XFrame>(desktop_->frames()[index].get()));
    }
    Type getElementType() override { return cppu::UnoType<XFrame>::get(); }
    bool hasElements() override { return getCount() > 0; }
    void append(const Reference<XFrame>& frame) override {
        auto* f = dynamic_cast<FrameImpl*>(frame.get());
        if (!f) throw IllegalArgumentException(u"append: the desktop holds only frames of this host");
        desktop_->append(f);
    }
    void remove(const Reference<XFrame>& frame) override {
        FrameImpl* f = desktop_->find(frame.get());
        if (!f) throw css::container::NoSuchElementException(u"remove: the frame is not one of the desktop's frames");
        desktop_->remove(f);
    }

private:
    Reference<DesktopImpl> desktop_;
};

Reference<css::frame::XFrames> DesktopImpl::getFrames() { return new FramesImpl(this); }

void registerDesktop(const Reference<::zel::uno::XComponentContext>& context) {
    // One desktop per context, made on first request and dropped with the context.
    auto holder = std::make_shared<Reference<XInterface>>();
    cppu::registerService(context, u"com.qam.vexo.frame.Desktop",
                          [holder](const Reference<::zel::uno::XComponentContext>&, const Sequence<Any>&) {
                              if (!holder->is())
                                  *holder = Reference<XInterface>(static_cast<css::frame::XDesktop*>(new DesktopImpl));
                              return *holder;
                          });
}

ServiceRegistration desktopRegistration(&registerDesktop);

DesktopImpl& desktopImpl() {
    Reference<css::frame::XDesktop> d = getDesktop();
    auto* impl = dynamic_cast<DesktopImpl*>(d.get());
    if (!impl) throw RuntimeException(u"the process desktop is not the host's own desktop");
    return *impl;
}

Reference<XFrame> showInNewFrame(const Reference<XModel>& model, const Reference<XController>& controller) {
    DesktopImpl& desktop = desktopImpl();
    Reference<FrameImpl> frame(new FrameImpl);
    desktop.append(frame.get());
    if (controller.is()) {
        controller->attachModel(model);
        model->connectController(controller);
        model->setCurrentController(controller);
        frame->setComponent(controller);
    }
    desktop.activate(frame.get());
    return frame.get();
}

} // namespace

Reference<css::frame::XDesktop> getDesktop() {
    auto context = comphelper::getProcessComponentContext();
    Reference<css::lang::XMultiComponentFactory> smgr = context.is() ? context->getServiceManager() : nullptr;
    Reference<css::frame::XDesktop> desktop;
    if (smgr.is())
        desktop.set(smgr->createInstanceWithContext(u"com.qam.vexo.frame.Desktop", context), UNO_QUERY);
    if (!desktop.is())
        throw RuntimeException(u"getDesktop: the process context has no desktop; call officehost::initProcessContext() first");
    return desktop;
}

Reference<XModel> openTextDocument() {
    Reference<XModel> model = text::createTextDocument();
    showInNewFrame(model, text::createTextController(model));
    return model;
}

Reference<XModel> openSpreadsheetDocument(const OUString& location) {
    Reference<XModel> model = sheet::createSpreadsheetDocument(location);
    showInNewFrame(model, sheet::createSpreadsheetController(model));
    return model;
}

Reference<XModel> openPresentationDocument(const DrawDocumentOptions& options) {
    Reference<XModel> model = draw::createDrawDocument(true, options.slides, options.location);
    showInNewFrame(model, draw::createDrawController(model));
    return model;
}

Reference<XModel> openDrawingDocument(const DrawDocumentOptions& options) {
    Reference<XModel> model = draw::createDrawDocument(false, options.slides, options.location);
    showInNewFrame(model, draw::createDrawController(model));
    return model;
}

Reference<XModel> openPlaceholderDocument(PlaceholderKind kind) {
    Reference<XModel> model;
    ControllerList* list = nullptr;
    switch (kind) {
    case PlaceholderKind::NoServiceInfo: {
        auto* m = new AnonymousModelImpl;
        model = m;
        list = m;
        break;
    }
    }
    showInNewFrame(model, new PlaceholderControllerImpl(model, list));
    return model;
}

Reference<XFrame> openEmptyFrame() { return showInNewFrame({}, {}); }

Reference<XFrame> frameOf(const Reference<XModel>& model) {
    if (!model.is()) return {};
    for (auto& f : desktopImpl().frames()) {
        Reference<XController> c = f->getController();
        if (c.is() && Reference<XModel>::sameObject(c->getModel().get(), model.get())) return f.get();
    }
    return {};
}

void activateDocument(const Reference<XModel>& model) {
    Reference<XFrame> frame = frameOf(model);
    if (!frame.is()) throw RuntimeException(u"activateDocument: no frame shows the document");
    frame->activate();
}

void closeDocument(const Reference<XModel>& model) {
    Reference<XFrame> frame = frameOf(model);
    if (!frame.is()) throw RuntimeException(u"closeDocument: no frame shows the document");
    Reference<css::util::XCloseable>(frame, UNO_QUERY_THROW)->close(true);
}

void closeAllDocuments() { getDesktop()->terminate(); }

} // namespace officehost
