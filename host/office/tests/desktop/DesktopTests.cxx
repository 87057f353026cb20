// Tests of the stand-in desktop: the desktop service, frames, the current
// frame, and the documents that tests open and close.

#include <com/qam/vexo/frame/frame.hxx>
#include <com/qam/vexo/text/text.hxx>
#include <com/qam/vexo/util/closeable.hxx>
#include <comphelper/processfactory.hxx>
#include <officehost/desktop.hxx>
#include <officehost/services.hxx>

#include <testsupport/HostTest.hxx>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

namespace css = ::com::qam::vexo;
using ::zel::uno::Reference;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;

using DesktopTest = testsupport::HostTest;

Reference<css::frame::XDesktop> createDesktop() {
    auto context = comphelper::getProcessComponentContext();
    return Reference<css::frame::XDesktop>(
        context->getServiceManager()->createInstanceWithContext(u"com.qam.vexo.frame.Desktop", context), UNO_QUERY);
}

// The model that the current frame shows, as the scripting factory finds it.
Reference<css::frame::XModel> currentModel() {
    auto frame = createDesktop()->getCurrentFrame();
    if (!frame.is()) return {};
    auto controller = frame->getController();
    if (!controller.is()) return {};
    return controller->getModel();
}

TEST_F(DesktopTest, TheServiceGivesTheOneDesktopOfTheContext) {
    auto a = createDesktop();
    auto b = createDesktop();
    ASSERT_TRUE(a.is());
    EXPECT_TRUE(a == b);
    EXPECT_TRUE(a == officehost::getDesktop());
    EXPECT_FALSE(a->getCurrentFrame().is());
    EXPECT_FALSE(a->getCurrentComponent().is());
    Reference<css::lang::XServiceInfo> info(a, UNO_QUERY_THROW);
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.frame.Desktop"));
}

TEST_F(DesktopTest, OpeningADocumentMakesItsFrameCurrent) {
    auto first = officehost::openTextDocument();
    auto second = officehost::openTextDocument();
    EXPECT_TRUE(currentModel() == second);
    Reference<css::lang::XServiceInfo> info(second, UNO_QUERY_THROW);
    EXPECT_TRUE(info->supportsService(u"com.qam.vexo.text.TextDocument"));
    auto frame = officehost::frameOf(second);
    ASSERT_TRUE(frame.is());
    EXPECT_TRUE(frame->isActive());
    EXPECT_FALSE(officehost::frameOf(first)->isActive());
    EXPECT_TRUE(frame->getController()->getFrame() == frame);
    EXPECT_TRUE(second->getCurrentController() == frame->getController());
    EXPECT_TRUE(createDesktop()->getCurrentComponent() == second);
}

TEST_F(DesktopTest, ClosingTheCurrentDocumentLeavesNoCurrentFrame) {
    auto first = officehost::openTextDocument();
    auto second = officehost::openTextDocument();
    auto controller = second->getCurrentController();
    officehost::closeDocument(second);
    EXPECT_FALSE(createDesktop()->getCurrentFrame().is());
    EXPECT_FALSE(second->getCurrentController().is());
    EXPECT_FALSE(controller->getFrame().is());
    officehost::activateDocument(first);
    EXPECT_TRUE(currentModel() == first);
    try {
        officehost::closeDocument(second);
        ADD_FAILURE() << "closing a closed document succeeded";
    } catch (const ::zel::uno::RuntimeException& e) {
        EXPECT_EQ(e.Message, u"closeDocument: no frame shows the document");
    }
    officehost::closeAllDocuments();
    EXPECT_FALSE(currentModel().is());
    Reference<css::frame::XFramesSupplier> frames(createDesktop(), UNO_QUERY_THROW);
    EXPECT_EQ(frames->getFrames()->getCount(), 0);
}

TEST_F(DesktopTest, DocumentsOfEveryKindReportTheirKind) {
    struct Case {
        std::function<Reference<css::frame::XModel>()> open;
        std::vector<OUString> services;
    };
    const Case cases[] = {
        {[] { return officehost::openPresentationDocument(); },
         {u"com.qam.vexo.presentation.PresentationDocument", u"com.qam.vexo.drawing.DrawingDocument"}},
        {[] { return officehost::openDrawingDocument(); }, {u"com.qam.vexo.drawing.DrawingDocument"}},
    };
    const OUString all[] = {u"com.qam.vexo.sheet.SpreadsheetDocument", u"com.qam.vexo.presentation.PresentationDocument",
                            u"com.qam.vexo.drawing.DrawingDocument", u"com.qam.vexo.text.TextDocument"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.services.front());
        auto model = c.open();
        EXPECT_TRUE(currentModel() == model);
        Reference<css::lang::XServiceInfo> info(model, UNO_QUERY_THROW);
        for (const OUString& name : all) {
            SCOPED_TRACE(name);
            bool expected = std::find(c.services.begin(), c.services.end(), name) != c.services.end();
            EXPECT_EQ(info->supportsService(name), expected);
        }
        EXPECT_FALSE(Reference<css::text::XTextDocument>(model, UNO_QUERY).is());
    }
    // Spreadsheets are real documents now; they report their kind the same way.
    auto sheet = officehost::openSpreadsheetDocument();
    EXPECT_TRUE(currentModel() == sheet);
    Reference<css::lang::XServiceInfo> sheetInfo(sheet, UNO_QUERY_THROW);
    for (const OUString& name : all) {
        SCOPED_TRACE(name);
        EXPECT_EQ(sheetInfo->supportsService(name), name == u"com.qam.vexo.sheet.SpreadsheetDocument");
    }
    auto anonymous = officehost::openPlaceholderDocument(officehost::PlaceholderKind::NoServiceInfo);
    EXPECT_TRUE(currentModel() == anonymous);
    EXPECT_FALSE(Reference<css::lang::XServiceInfo>(anonymous, UNO_QUERY).is());
}

TEST_F(DesktopTest, AnEmptyFrameHasNoController) {
    officehost::openTextDocument();
    auto frame = officehost::openEmptyFrame();
    EXPECT_TRUE(createDesktop()->getCurrentFrame() == frame);
    EXPECT_FALSE(frame->getController().is());
    EXPECT_FALSE(currentModel().is());
    Reference<css::util::XCloseable>(frame, UNO_QUERY_THROW)->close(true);
    EXPECT_FALSE(createDesktop()->getCurrentFrame().is());
}

TEST_F(DesktopTest, WithoutAProcessContextThereIsNoDesktop) {
    officehost::shutdownProcessContext();
    try {
        officehost::getDesktop();
        ADD_FAILURE() << "a desktop without a context";
    } catch (const ::zel::uno::RuntimeException& e) {
        EXPECT_EQ(e.Message,
                  u"getDesktop: the process context has no desktop; call officehost::initProcessContext() first");
    }
}

} // namespace
