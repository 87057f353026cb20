// The component entry, the factory's lookup of the active document and its
// kind tests, the user's locale, and blobs.

#include "hosttest.hxx"

#include <com/qam/vexo/lang/exceptions.hxx>
#include <comphelper/processfactory.hxx>
#include <comphelper/vantor.hxx>
#include <cppu/implbase.hxx>
#include <cppu/servicemanager.hxx>
#include <languagetag/languagetag.hxx>

#include <optional>
#include <vector>

namespace corvane::test {
namespace {

using ::com::qam::vexo::beans::Optional;
using ::com::qam::vexo::frame::XModel;
using officehost::PlaceholderKind;
using ::zel::uno::Sequence;

constexpr char16_t TEXT_MISSING[] = u"current document does not support com.qam.vexo.text.TextDocument";
constexpr char16_t SHEET_MISSING[] = u"current document does not support com.qam.vexo.sheet.SpreadsheetDocument";
constexpr char16_t PRESENTATION_MISSING[] =
    u"current document does not support com.qam.vexo.presentation.PresentationDocument";
constexpr char16_t DRAWING_MISSING[] = u"current document does not support com.qam.vexo.drawing.DrawingDocument";

TEST(CorvaneLibrary, EntryFunctionOfTheBuiltLibraryMakesIndependentFactories) {
    officehost::initProcessContext();
    {
        OString error;
        cppu::ComponentConstructorFunction entry =
            cppu::loadComponentConstructor("libcorvane.so", "corvane_Tarn_get_implementation", &error);
        ASSERT_NE(entry, nullptr) << error.getStr();
        // The library's own function, not the copy this test binary links.
        EXPECT_NE(entry, &corvane_Tarn_get_implementation);

        Reference<::zel::uno::XInterface> first(entry(nullptr, {}), ::zel::uno::SAL_NO_ACQUIRE);
        Reference<::zel::uno::XInterface> second(entry(nullptr, {}), ::zel::uno::SAL_NO_ACQUIRE);
        Reference<XFactory> factory(first, ::zel::uno::UNO_QUERY);
        ASSERT_TRUE(factory.is());
        ASSERT_TRUE(Reference<XFactory>(second, ::zel::uno::UNO_QUERY).is());
        EXPECT_FALSE(first == second);

        // The loaded factory works on the host like the linked one.
        Reference<XModel> model = officehost::openTextDocument();
        EXPECT_TRUE(factory->getActiveUnoModel() == model);
        Reference<XDocument> document = factory->getActiveDocument();
        ASSERT_TRUE(document.is());
        EXPECT_TRUE(document->getuno() == model);
        EXPECT_EQ(factory->getActiveUserLocale(), HostTest::newFactory()->getActiveUserLocale());
    }
    officehost::shutdownProcessContext();
}

class FactoryTest : public HostTest {};

TEST_F(FactoryTest, ServiceObjectIsTheFactoryTypeProvider) {
    Reference<XFactory> factory = newFactory();
    Reference<::com::qam::vexo::lang::XTypeProvider> types(factory, ::zel::uno::UNO_QUERY);
    ASSERT_TRUE(types.is());
    bool listed = false;
    for (const auto& t : types->getTypes()) listed = listed || t.getTypeName() == u"corvane.XFactory";
    EXPECT_TRUE(listed);
}

TEST_F(FactoryTest, EachLookupWrapsTheActiveTextDocumentAnew) {
    Reference<XFactory> factory = newFactory();
    Reference<XModel> model = officehost::openTextDocument();
    Reference<XDocument> a = factory->getActiveDocument();
    Reference<XDocument> b = factory->getActiveDocument();
    EXPECT_NE(a.get(), b.get());
    EXPECT_TRUE(a->getuno() == model);
    EXPECT_TRUE(b->getuno() == model);

    // The active document is the one whose frame is current at the moment of the call.
    Reference<XModel> other = officehost::openTextDocument();
    EXPECT_TRUE(factory->getActiveDocument()->getuno() == other);
    officehost::activateDocument(model);
    EXPECT_TRUE(factory->getActiveUnoModel() == model);
}

// What each getActive... operation answers for each kind of active document.
// An empty expectation means the call gets past the kind test: text documents,
// spreadsheets, presentations and drawings are wrapped.
enum class Active { Text, Spreadsheet, Presentation, Drawing, NoServiceInfo, EmptyFrame, Nothing };

struct KindCase {
    Active active;
    std::u16string document, spreadsheet, presentation, drawing;
};

void open(Active active) {
    switch (active) {
    case Active::Text: officehost::openTextDocument(); return;
    case Active::Spreadsheet: officehost::openSpreadsheetDocument(); return;
    case Active::Presentation: officehost::openPresentationDocument(); return;
    case Active::Drawing: officehost::openDrawingDocument(); return;
    case Active::NoServiceInfo: officehost::openPlaceholderDocument(PlaceholderKind::NoServiceInfo); return;
    case Active::EmptyFrame: officehost::openEmptyFrame(); return;
    case Active::Nothing: return;
    }
}

TEST_F(FactoryTest, KindTestsOfEveryGetActiveOperation) {
    const std::u16string presentationOk;  // wrapped
    const std::u16string drawingOk;       // wrapped
    const KindCase cases[] = {
        {Active::Text, u"", SHEET_MISSING, PRESENTATION_MISSING, DRAWING_MISSING},
        {Active::Spreadsheet, TEXT_MISSING, u"", PRESENTATION_MISSING, DRAWING_MISSING},
        // A presentation reports the drawing service too, and is still no drawing.
        {Active::Presentation, TEXT_MISSING, SHEET_MISSING, presentationOk, DRAWING_MISSING},
        {Active::Drawing, TEXT_MISSING, SHEET_MISSING, PRESENTATION_MISSING, drawingOk},
        {Active::NoServiceInfo, TEXT_MISSING, SHEET_MISSING, PRESENTATION_MISSING, DRAWING_MISSING},
        {Active::EmptyFrame, TEXT_MISSING, SHEET_MISSING, PRESENTATION_MISSING, DRAWING_MISSING},
        {Active::Nothing, TEXT_MISSING, SHEET_MISSING, PRESENTATION_MISSING, DRAWING_MISSING},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.active));
        officehost::closeAllDocuments();
        open(c.active);
        Reference<XFactory> factory = newFactory();
        if (c.document.empty())
            EXPECT_TRUE(factory->getActiveDocument().is());
        else
            expectFailure([&] { factory->getActiveDocument(); }, c.document);
        if (c.spreadsheet.empty())
            EXPECT_TRUE(factory->getActiveSpreadsheet()->getuno() == factory->getActiveUnoModel());
        else
            expectFailure([&] { factory->getActiveSpreadsheet(); }, c.spreadsheet);
        if (c.presentation.empty())
            EXPECT_TRUE(factory->getActivePresentation()->getuno() == factory->getActiveUnoModel());
        else
            expectFailure([&] { factory->getActivePresentation(); }, c.presentation);
        if (c.drawing.empty())
            EXPECT_TRUE(factory->getActiveDrawing()->getuno() == factory->getActiveUnoModel());
        else
            expectFailure([&] { factory->getActiveDrawing(); }, c.drawing);
    }
}

TEST_F(FactoryTest, ActiveUnoModelIsTheCurrentFramesModelWhateverItsKind) {
    Reference<XFactory> factory = newFactory();
    EXPECT_FALSE(factory->getActiveUnoModel().is());
    officehost::openEmptyFrame();
    EXPECT_FALSE(factory->getActiveUnoModel().is());
    Reference<XModel> bare = officehost::openPlaceholderDocument(PlaceholderKind::NoServiceInfo);
    EXPECT_TRUE(factory->getActiveUnoModel() == bare);
    officehost::closeDocument(bare);
    EXPECT_FALSE(factory->getActiveUnoModel().is());
}

TEST_F(FactoryTest, EachAffineTransformBuilderIsNewAndHoldsTheIdentity) {
    Reference<XFactory> factory = newFactory();
    Reference<XAffineTransformBuilder> a = factory->newAffineTransformBuilder();
    Reference<XAffineTransformBuilder> b = factory->newAffineTransformBuilder();
    EXPECT_FALSE(a.get() == b.get());
    a->setScaleX(3);
    EXPECT_EQ(b->build()->getScaleX(), 1.0);
}

// A process context whose service manager knows no desktop, or one whose
// desktop fails to start.
class DesktopFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        context_ = cppu::createComponentContext();
        comphelper::setProcessComponentContext(context_);
    }
    void TearDown() override {
        comphelper::setProcessComponentContext({});
        cppu::disposeComponentContext(context_);
    }
    Reference<::zel::uno::XComponentContext> context_;
};

TEST_F(DesktopFailureTest, MissingDesktopIsADeploymentFailureWithTheContext) {
    const std::u16string message =
        u"component context fails to supply service com.qam.vexo.frame.Desktop of type com.qam.vexo.frame.XDesktop";
    Reference<XFactory> factory = HostTest::newFactory();
    try {
        factory->getActiveUnoModel();
        ADD_FAILURE() << "no exception";
    } catch (const ::zel::uno::DeploymentException& e) {
        EXPECT_EQ(e.Message, OUString(message));
        EXPECT_EQ(e.Context.get(), static_cast<::zel::uno::XInterface*>(context_.get()));
    }
    expectFailure<::zel::uno::DeploymentException>([&] { factory->getActiveDocument(); }, message, false);

    // A service of the name that is no desktop counts as missing.
    cppu::registerService(context_, u"com.qam.vexo.frame.Desktop",
                          [](const auto&, const auto&) { return Reference<::zel::uno::XInterface>(); });
    expectFailure<::zel::uno::DeploymentException>([&] { factory->getActiveUnoModel(); }, message, false);
}

TEST_F(DesktopFailureTest, DesktopStartFailuresAreWrappedUnlessTheyAreRuntimeFailures) {
    Reference<XFactory> factory = HostTest::newFactory();
    cppu::registerService(context_, u"com.qam.vexo.frame.Desktop", [](const auto&, const auto&) -> Reference<::zel::uno::XInterface> {
        throw ::com::qam::vexo::lang::IllegalArgumentException(u"no frames today");
    });
    expectFailure<::zel::uno::DeploymentException>(
        [&] { factory->getActiveUnoModel(); },
        u"component context fails to supply service com.qam.vexo.frame.Desktop of type com.qam.vexo.frame.XDesktop: "
        u"no frames today",
        false);

    cppu::registerService(context_, u"com.qam.vexo.frame.Desktop", [](const auto&, const auto&) -> Reference<::zel::uno::XInterface> {
        throw ::zel::uno::RuntimeException(u"desktop is busy");
    });
    expectFailure([&] { factory->getActiveDocument(); }, u"desktop is busy");
}

class LocaleTest : public HostTest {
protected:
    void TearDown() override {
        if (saved_) comphelper::Vantor::setLanguageTag(*saved_);
        HostTest::TearDown();
    }
    void useTag(const char16_t* tag) {
        if (!saved_) saved_.emplace(comphelper::Vantor::getLanguageTag());
        comphelper::Vantor::setLanguageTag(LanguageTag(OUString(std::u16string_view(tag))));
    }
    std::optional<LanguageTag> saved_;
};

TEST_F(LocaleTest, UserLocaleIsLanguageAndCountryJoinedByAnUnderscore) {
    struct Case {
        const char16_t* tag;
        const char16_t* locale;
    };
    const Case cases[] = {{u"fr", u"fr"}, {u"pt-BR", u"pt_BR"}, {u"de-CH", u"de_CH"}, {u"en-US", u"en_US"}};
    Reference<XFactory> factory = newFactory();
    for (const auto& c : cases) {
        SCOPED_TRACE(OUString(std::u16string_view(c.tag)));
        useTag(c.tag);
        EXPECT_EQ(factory->getActiveUserLocale(), OUString(std::u16string_view(c.locale)));
    }
}

class BlobTest : public HostTest {};

Sequence<signed char> bytes(std::initializer_list<int> values) {
    std::vector<signed char> v;
    for (int x : values) v.push_back(static_cast<signed char>(x));
    return Sequence<signed char>(std::move(v));
}

TEST_F(BlobTest, FactoryMakesBlobsFromBytesAndText) {
    const Optional<OUString> none;
    const Optional<OUString> png{true, u"image/png"};
    const Optional<OUString> name{true, u"logo"};
    const Optional<OUString> plain{true, u"text/plain"};
    struct Case {
        const char* what;
        std::function<Reference<XBlob>(XFactory&)> make;
        Sequence<signed char> bytes;
        Optional<OUString> contentType, name;
    };
    const Sequence<signed char> data = bytes({0, 1, 127, -128, -1, 0});
    const Case cases[] = {
        {"bytes", [&](XFactory& f) { return f.newBlobBytes(data); }, data, none, none},
        {"no bytes", [&](XFactory& f) { return f.newBlobBytes({}); }, {}, none, none},
        {"bytes and type", [&](XFactory& f) { return f.newBlobBytesType(data, png); }, data, png, none},
        {"bytes, type and name", [&](XFactory& f) { return f.newBlobBytesTypeName(data, png, name); }, data, png, name},
        {"bytes, no type, name", [&](XFactory& f) { return f.newBlobBytesTypeName(data, none, name); }, data, none, name},
        // é takes two bytes in UTF-8.
        {"text", [&](XFactory& f) { return f.newBlobString(u"h\u00e9llo"); },
         bytes({'h', -61, -87, 'l', 'l', 'o'}), plain, none},
        {"empty text", [&](XFactory& f) { return f.newBlobString(u""); }, {}, plain, none},
        {"text with absent type", [&](XFactory& f) { return f.newBlobStringType(u"x", none); }, bytes({'x'}), none, none},
        {"text with type", [&](XFactory& f) { return f.newBlobStringType(u"x", png); }, bytes({'x'}), png, none},
        {"text, type and name", [&](XFactory& f) { return f.newBlobStringTypeName(u"\u20ac", png, name); },
         bytes({-30, -126, -84}), png, name},
    };
    Reference<XFactory> factory = newFactory();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Reference<XBlob> blob = c.make(*factory);
        ASSERT_TRUE(blob.is());
        EXPECT_TRUE(blob->getBytes() == c.bytes);
        EXPECT_EQ(blob->getBytes().getLength(), c.bytes.getLength());
        EXPECT_TRUE(blob->getContentType() == c.contentType);
        EXPECT_TRUE(blob->getName() == c.name);
    }
}

TEST_F(BlobTest, BlobSharesTheCallersBytes) {
    const Sequence<signed char> data = bytes({1, 2, 3});
    Reference<XBlob> blob = newFactory()->newBlobBytes(data);
    EXPECT_EQ(blob->getBytes().getConstArray(), data.getConstArray());
}

TEST_F(BlobTest, TextThatIsNotWellFormedUtf16IsRefused) {
    const sal_Unicode lone[] = {u'a', 0xD800};
    Reference<XFactory> factory = newFactory();
    expectFailure([&] { factory->newBlobString(OUString(lone, 2)); },
                  u"newBlobString: the text is not well-formed UTF-16");
    expectFailure([&] { factory->newBlobStringTypeName(OUString(lone, 2), {}, {}); },
                  u"newBlobStringTypeName: the text is not well-formed UTF-16");
}

} // namespace
} // namespace corvane::test
