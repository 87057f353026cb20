// Shape text: a range over a host text (the whole text, an appended run, an
// appended paragraph, or a selected range), the paragraphs that appending
// makes, and the style of a range.  Nothing is cached: every call reads or
// writes the host's text.

#include "shared.hxx"

#include <units.hxx>

#include <com/qam/vexo/awt/font.hxx>
#include <com/qam/vexo/beans/properties.hxx>
#include <cppu/implbase.hxx>

#include <cmath>

namespace corvane::presentation {
namespace {

using ::com::qam::vexo::beans::PropertyValue;
using ::com::qam::vexo::beans::XPropertySet;
using ::zel::uno::Any;
using ::zel::uno::RuntimeException;
using ::zel::uno::Sequence;
using ::zel::uno::UNO_QUERY;
using ::zel::uno::UNO_QUERY_THROW;
using ::zel::uno::XInterface;
using HostText = Reference<hosttext::XText>;
using HostRange = Reference<hosttext::XTextRange>;

// The properties of the range, or of the whole text: a cursor the text makes over it.
// A text that makes no cursor fails the operation rather than leaving a null to call.
Reference<XPropertySet> cursorProperties(const char16_t* operation, const HostText& text, const HostRange& range) {
    Reference<hosttext::XTextCursor> cursor = range.is() ? text->createTextCursorByRange(range) : text->createTextCursor();
    if (!cursor.is()) throw RuntimeException(OUString(operation) + u": the text gives no cursor");
    if (!range.is()) {
        cursor->gotoStart(false);
        cursor->gotoEnd(true);
    }
    return Reference<XPropertySet>(cursor, UNO_QUERY_THROW);
}

// Appends a run with no attributes of its own at the end of the text.
HostRange appendRun(const HostText& text, const OUString& s) {
    Reference<hosttext::XTextPortionAppend> append(text, UNO_QUERY);
    if (!append.is()) throw RuntimeException(u"appendText: the text cannot take appended runs");
    HostRange run = append->appendTextPortion(s, Sequence<PropertyValue>());
    if (!run.is()) throw RuntimeException(u"appendText: appending failed");
    return run;
}

class TextStyleImpl : public cppu::WeakImplHelper<XTextStyle> {
public:
    TextStyleImpl(HostText text, HostRange range) : text_(std::move(text)), range_(std::move(range)) {}

    Reference<XInterface> getuno() override {
        return range_.is() ? Reference<XInterface>(range_) : Reference<XInterface>(text_);
    }

    void getBackgroundColor() override { notImplemented(u"getBackgroundColor"); }
    void getBaselineOffset() override { notImplemented(u"getBaselineOffset"); }
    void getFontFamily() override { notImplemented(u"getFontFamily"); }
    void getFontSize() override { notImplemented(u"getFontSize"); }
    void getForegroundColor() override { notImplemented(u"getForegroundColor"); }
    void getLink() override { notImplemented(u"getLink"); }
    void hasLink() override { notImplemented(u"hasLink"); }
    void isBackgroundTransparent() override { notImplemented(u"isBackgroundTransparent"); }
    void isBold() override { notImplemented(u"isBold"); }
    void isItalic() override { notImplemented(u"isItalic"); }
    void isSmallCaps() override { notImplemented(u"isSmallCaps"); }
    void isStrikethrough() override { notImplemented(u"isStrikethrough"); }
    void isUnderline() override { notImplemented(u"isUnderline"); }
    void removeLink() override { notImplemented(u"removeLink"); }
    void setBackgroundColor(const Any&) override { notImplemented(u"setBackgroundColor"); }
    void setBackgroundColorRgb(sal_Int32, sal_Int32, sal_Int32) override { notImplemented(u"setBackgroundColorRgb"); }
    void setBackgroundColorTransparent() override { notImplemented(u"setBackgroundColorTransparent"); }
    void setBaselineOffset(TextBaselineOffset) override { notImplemented(u"setBaselineOffset"); }

    Reference<XTextStyle> setBold(bool bold) override {
        return write(u"setBold", {u"CharWeight", u"CharWeightAsian", u"CharWeightComplex"}, Any(bold ? 150.0f : 100.0f));
    }
    void setFontFamily(const OUString&) override { notImplemented(u"setFontFamily"); }
    // A size that is not finite and positive once narrowed to a float would make
    // a character height of nothing, of infinity or of a NaN: refused before writing.
    Reference<XTextStyle> setFontSize(double size) override {
        const float narrowed = static_cast<float>(size);
        if (!(std::isfinite(narrowed) && narrowed > 0.0f))
            throw RuntimeException(u"setFontSize: expected a positive size in points, got " + OUString::number(size));
        return write(u"setFontSize", {u"CharHeight", u"CharHeightAsian", u"CharHeightComplex"}, Any(narrowed));
    }
    Reference<XTextStyle> setForegroundColor(const Any& color) override {
        OUString text;
        if (color.getValueTypeClass() != ::zel::uno::TypeClass_STRING || !(color >>= text))
            notImplemented(u"setForegroundColor");
        const sal_uInt32 rgb = detail::parseColor(text);
        return write(u"setForegroundColor", {u"CharColor"}, Any(static_cast<sal_Int32>(rgb)));
    }
    void setForegroundColorRgb(sal_Int32, sal_Int32, sal_Int32) override { notImplemented(u"setForegroundColorRgb"); }
    Reference<XTextStyle> setItalic(bool italic) override {
        return write(u"setItalic", {u"CharPosture", u"CharPostureAsian", u"CharPostureComplex"},
                     Any(italic ? ::com::qam::vexo::awt::FontSlant_ITALIC : ::com::qam::vexo::awt::FontSlant_NONE));
    }
    void setLinkSlide(const Any&) override { notImplemented(u"setLinkSlide"); }
    void setLinkUrl(const OUString&) override { notImplemented(u"setLinkUrl"); }
    void setSmallCaps(bool) override { notImplemented(u"setSmallCaps"); }
    Reference<XTextStyle> setStrikethrough(bool strikethrough) override {
        return write(u"setStrikethrough", {u"CharStrikeout"}, Any(sal_Int16(strikethrough ? 1 : 0)));
    }
    void setUnderline(bool) override { notImplemented(u"setUnderline"); }

private:
    Reference<XTextStyle> write(const char16_t* operation, std::initializer_list<const char16_t*> names,
                                const Any& value) {
        Reference<XPropertySet> props = cursorProperties(operation, text_, range_);
        for (const char16_t* name : names) props->setPropertyValue(OUString(name), value);
        return this;
    }

    const HostText text_;
    const HostRange range_;
};

class TextParagraphImpl : public cppu::WeakImplHelper<XTextParagraph> {
public:
    explicit TextParagraphImpl(Reference<XTextRange> range) : range_(std::move(range)) {}
    Reference<XInterface> getuno() override { return range_->getuno(); }
    void getIndex() override { notImplemented(u"getIndex"); }
    Optional<Reference<XTextRange>> getRange() override { return {range_.is(), range_}; }

private:
    const Reference<XTextRange> range_;
};

class TextRangeImpl : public cppu::WeakImplHelper<XTextRange> {
public:
    TextRangeImpl(HostText text, HostRange range, bool paragraph)
        : text_(std::move(text)), range_(std::move(range)), paragraph_(paragraph) {}

    Reference<XInterface> getuno() override {
        return range_.is() ? Reference<XInterface>(range_) : Reference<XInterface>(text_);
    }

    Reference<XTextParagraph> appendParagraph(const OUString& s) override {
        if (range_.is()) throw RuntimeException(u"appendParagraph: only the shape's whole text range can append");
        Reference<hosttext::XParagraphAppend> append(text_, UNO_QUERY);
        if (!append.is()) throw RuntimeException(u"appendParagraph: the text cannot take appended paragraphs");
        append->finishParagraph(Sequence<PropertyValue>());
        HostRange range;
        if (!s.isEmpty()) {
            range = appendRun(text_, s);
        } else {
            Reference<hosttext::XTextCursor> cursor = text_->createTextCursor();
            cursor->gotoEnd(false);
            range = cursor;
        }
        return makeTextParagraph(makeTextRange(text_, range, true));
    }
    void appendRange(const Reference<XTextRange>&) override { notImplemented(u"appendRange"); }
    void appendRangeMatchSourceFormatting(const Reference<XTextRange>&, bool) override {
        notImplemented(u"appendRangeMatchSourceFormatting");
    }
    Reference<XTextRange> appendText(const OUString& s) override {
        if (range_.is()) throw RuntimeException(u"appendText: only the shape's whole text range can append");
        return makeTextRange(text_, appendRun(text_, s), false);
    }
    void asRenderedString() override { notImplemented(u"asRenderedString"); }
    OUString asString() override {
        if (range_.is() && !paragraph_) return range_->getString();
        return target()->getString() + u"\n";
    }
    void clear() override { notImplemented(u"clear"); }
    void clearRange(sal_Int32, sal_Int32) override { notImplemented(u"clearRange"); }
    void find(const OUString&) override { notImplemented(u"find"); }
    void findFrom(const OUString&, sal_Int32) override { notImplemented(u"findFrom"); }
    void getAutoTexts() override { notImplemented(u"getAutoTexts"); }
    void getEndIndex() override { notImplemented(u"getEndIndex"); }
    void getLength() override { notImplemented(u"getLength"); }
    void getLinks() override { notImplemented(u"getLinks"); }
    void getListParagraphs() override { notImplemented(u"getListParagraphs"); }
    void getListStyle() override { notImplemented(u"getListStyle"); }
    void getParagraphs() override { notImplemented(u"getParagraphs"); }
    void getParagraphStyle() override { notImplemented(u"getParagraphStyle"); }
    void getRange(sal_Int32, sal_Int32) override { notImplemented(u"getRange"); }
    void getRuns() override { notImplemented(u"getRuns"); }
    void getStartIndex() override { notImplemented(u"getStartIndex"); }
    Optional<Reference<XTextStyle>> getTextStyle() override {
        if (target()->getString().isEmpty()) return {};
        return {true, new TextStyleImpl(text_, range_)};
    }
    void insertParagraph(sal_Int32, const OUString&) override { notImplemented(u"insertParagraph"); }
    void insertRange(sal_Int32, const Reference<XTextRange>&) override { notImplemented(u"insertRange"); }
    void insertRangeMatchSourceFormatting(sal_Int32, const Reference<XTextRange>&, bool) override {
        notImplemented(u"insertRangeMatchSourceFormatting");
    }
    void insertText(sal_Int32, const OUString&) override { notImplemented(u"insertText"); }
    void isEmpty() override { notImplemented(u"isEmpty"); }
    void replaceAllText(const OUString&, const OUString&) override { notImplemented(u"replaceAllText"); }
    void replaceAllTextMatchCase(const OUString&, const OUString&, bool) override {
        notImplemented(u"replaceAllTextMatchCase");
    }
    void select() override { notImplemented(u"select"); }
    Reference<XTextRange> setBulletLevel(sal_Int32 level) override {
        if (level < -1 || level > 9)
            throw RuntimeException(u"setBulletLevel: the level must be between -1 (no bullet) and 9");
        cursorProperties(u"setBulletLevel", text_, range_)->setPropertyValue(u"NumberingLevel", Any(static_cast<sal_Int16>(level)));
        return this;
    }
    Reference<XTextRange> setText(const OUString& s) override {
        target()->setString(s);
        return this;
    }

private:
    HostRange target() const { return range_.is() ? range_ : HostRange(text_); }

    const HostText text_;
    const HostRange range_;  // empty for the whole text
    const bool paragraph_;
};

} // namespace

Reference<XTextRange> makeTextRange(const Reference<hosttext::XText>& text, const Reference<hosttext::XTextRange>& range,
                                    bool paragraph) {
    return new TextRangeImpl(text, range, paragraph);
}

Reference<XTextParagraph> makeTextParagraph(const Reference<XTextRange>& range) { return new TextParagraphImpl(range); }

} // namespace corvane::presentation
