#pragma once
// Desktop, frames, controllers and models (module com.qam.vexo.frame).
//
// The desktop keeps frames; a frame shows one component, its controller (the
// view); the controller shows a model (the document).  Ownership runs one way
// only: desktop -> frame -> controller -> model.  The backward links (a
// controller's frame, a model's controllers, a frame's desktop) do not own,
// so no cycle of references forms.

#include <com/qam/vexo/beans/values.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::frame {

using ::zel::uno::Any;
using ::zel::uno::Reference;
using ::zel::uno::Sequence;

class XFrame;
class XModel;

class ZEL_UNO_INTERFACE_CLASS XController : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XController, "com.qam.vexo.frame.XController")
    // Called by the frame that shows this controller (an empty frame on release).
    virtual void attachFrame(const Reference<XFrame>& frame) = 0;
    // Whether the controller accepted the model.
    virtual bool attachModel(const Reference<XModel>& model) = 0;
    // Whether the controller agrees to be closed (suspend true) or resumes (false).
    virtual bool suspend(bool suspend) = 0;
    // The frame that shows the controller, empty when none does.
    virtual Reference<XFrame> getFrame() = 0;
    virtual Reference<XModel> getModel() = 0;
};

// A document model.  It does not own its controllers: whoever connects a
// controller disconnects it before letting it go (the frame does so).
class ZEL_UNO_INTERFACE_CLASS XModel : public ::com::qam::vexo::lang::XComponent {
public:
    ZEL_UNO_INTERFACE(XModel, "com.qam.vexo.frame.XModel")
    virtual OUString getURL() = 0;
    virtual Sequence<::com::qam::vexo::beans::PropertyValue> getArgs() = 0;
    virtual void connectController(const Reference<XController>& controller) = 0;
    virtual void disconnectController(const Reference<XController>& controller) = 0;
    // The controller last made current; empty when no controller is connected.
    virtual Reference<XController> getCurrentController() = 0;
    // NoSuchElementException when the controller is not connected to this model.
    virtual void setCurrentController(const Reference<XController>& controller) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XFrame : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XFrame, "com.qam.vexo.frame.XFrame")
    virtual OUString getName() = 0;
    virtual void setName(const OUString& name) = 0;
    // Shows the controller (an empty one clears the frame); false when refused.
    virtual bool setComponent(const Reference<XController>& controller) = 0;
    virtual Reference<XController> getController() = 0;
    virtual void activate() = 0;
    virtual void deactivate() = 0;
    virtual bool isActive() = 0;
};

// The frames of a frames supplier, in the order in which they were appended.
class ZEL_UNO_INTERFACE_CLASS XFrames : public ::com::qam::vexo::container::XIndexAccess {
public:
    ZEL_UNO_INTERFACE(XFrames, "com.qam.vexo.frame.XFrames")
    virtual void append(const Reference<XFrame>& frame) = 0;
    // NoSuchElementException when the frame is not one of them.
    virtual void remove(const Reference<XFrame>& frame) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XFramesSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XFramesSupplier, "com.qam.vexo.frame.XFramesSupplier")
    virtual Reference<XFrames> getFrames() = 0;
    virtual Reference<XFrame> getActiveFrame() = 0;
    // The frame must be one of the frames; an empty frame leaves none active.
    virtual void setActiveFrame(const Reference<XFrame>& frame) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XDesktop : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XDesktop, "com.qam.vexo.frame.XDesktop")
    // Closes every frame; true when all agreed.
    virtual bool terminate() = 0;
    // The model of the current frame's controller, empty when there is none.
    virtual Reference<::com::qam::vexo::lang::XComponent> getCurrentComponent() = 0;
    // The active frame, empty when no frame is active.
    virtual Reference<XFrame> getCurrentFrame() = 0;
};

} // namespace com::qam::vexo::frame
