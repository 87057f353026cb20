#pragma once
// The character attributes of XText and how each is stored in the host's
// character properties: the property, the values written and how a value
// read back is understood.

#include <com/qam/vexo/awt/font.hxx>
#include <cassert>
#include <initializer_list>
#include <com/qam/vexo/beans/properties.hxx>
#include <corvane/text.hxx>

namespace corvane::detail {

enum class Attribute { BOLD, ITALIC, UNDERLINE, STRIKETHROUGH, FONT_FAMILY, LINK_URL, ALIGNMENT };

inline OUString propertyName(Attribute a) {
    switch (a) {
    case Attribute::BOLD: return u"CharWeight";
    case Attribute::ITALIC: return u"CharPosture";
    case Attribute::UNDERLINE: return u"CharUnderline";
    case Attribute::STRIKETHROUGH: return u"CharStrikeout";
    case Attribute::FONT_FAMILY: return u"CharFontName";
    case Attribute::LINK_URL: return u"HyperLinkURL";
    case Attribute::ALIGNMENT: return u"CharEscapement";
    }
    assert(false && "unknown text attribute");
    return OUString();
}

// The name of the whole-text setter, which range failures name too.
inline OUString setterName(Attribute a) {
    switch (a) {
    case Attribute::BOLD: return u"setBold";
    case Attribute::ITALIC: return u"setItalic";
    case Attribute::UNDERLINE: return u"setUnderline";
    case Attribute::STRIKETHROUGH: return u"setStrikethrough";
    case Attribute::FONT_FAMILY: return u"setFontFamily";
    case Attribute::LINK_URL: return u"setLinkUrl";
    case Attribute::ALIGNMENT: return u"setTextAlignment";
    }
    assert(false && "unknown text attribute");
    return OUString();
}

inline OUString getterName(Attribute a) {
    switch (a) {
    case Attribute::BOLD: return u"isBold";
    case Attribute::ITALIC: return u"isItalic";
    case Attribute::UNDERLINE: return u"isUnderline";
    case Attribute::STRIKETHROUGH: return u"isStrikethrough";
    case Attribute::FONT_FAMILY: return u"getFontFamily";
    case Attribute::LINK_URL: return u"getLinkUrl";
    case Attribute::ALIGNMENT: return u"getTextAlignment";
    }
    assert(false && "unknown text attribute");
    return OUString();
}

inline OUString description(Attribute a) {
    switch (a) {
    case Attribute::BOLD: return u"bold attribute";
    case Attribute::ITALIC: return u"italic attribute";
    case Attribute::UNDERLINE: return u"underline attribute";
    case Attribute::STRIKETHROUGH: return u"strikethrough attribute";
    case Attribute::FONT_FAMILY: return u"font family";
    case Attribute::LINK_URL: return u"link URL";
    case Attribute::ALIGNMENT: return u"alignment";
    }
    assert(false && "unknown text attribute");
    return OUString();
}

inline bool holdsOneOf(const ::zel::uno::Any& v, std::initializer_list<::zel::uno::TypeClass> classes) {
    for (auto c : classes)
        if (v.getValueTypeClass() == c) return true;
    return false;
}

// The value of an 8-bit, 16-bit or unsigned 16-bit integer; 0 for any other value.
inline sal_Int32 smallInteger(const ::zel::uno::Any& v) {
    using namespace ::zel::uno;
    sal_Int32 value = 0;
    if (holdsOneOf(v, {TypeClass_BYTE, TypeClass_SHORT, TypeClass_UNSIGNED_SHORT})) v >>= value;
    return value;
}

inline bool readBold(const ::zel::uno::Any& v) {
    using namespace ::zel::uno;
    if (v.getValueTypeClass() == TypeClass_FLOAT) return v.get<float>() >= 150.0f;
    if (holdsOneOf(v, {TypeClass_SHORT, TypeClass_UNSIGNED_SHORT})) return v.get<sal_Int32>() > 149;
    return false;
}

inline bool readItalic(const ::zel::uno::Any& v) {
    ::com::qam::vexo::awt::FontSlant slant = ::com::qam::vexo::awt::FontSlant_NONE;
    if (!(v >>= slant)) return false;
    return slant == ::com::qam::vexo::awt::FontSlant_OBLIQUE || slant == ::com::qam::vexo::awt::FontSlant_ITALIC;
}

inline bool readFlag(const ::zel::uno::Any& v) { return smallInteger(v) != 0; }

inline OUString readString(const ::zel::uno::Any& v) {
    OUString s;
    v >>= s;
    return s;
}

inline TextAlignment readAlignment(const ::zel::uno::Any& v) {
    const sal_Int32 escapement = smallInteger(v);
    if (escapement > 0) return TextAlignment::SUPERSCRIPT;
    if (escapement < 0) return TextAlignment::SUBSCRIPT;
    return TextAlignment::NORMAL;
}

inline ::zel::uno::Any boldValue(bool on) { return ::zel::uno::Any(on ? 150.0f : 100.0f); }
inline ::zel::uno::Any italicValue(bool on) {
    return ::zel::uno::Any(on ? ::com::qam::vexo::awt::FontSlant_ITALIC : ::com::qam::vexo::awt::FontSlant_NONE);
}
inline ::zel::uno::Any flagValue(bool on) { return ::zel::uno::Any(static_cast<sal_Int16>(on ? 1 : 0)); }

// Escapement first, then its height, as the host expects them paired.
inline void writeAlignment(const ::zel::uno::Reference<::com::qam::vexo::beans::XPropertySet>& props,
                           TextAlignment alignment) {
    sal_Int16 escapement = 0;
    sal_Int8 height = 100;
    if (alignment == TextAlignment::SUPERSCRIPT) {
        escapement = 33;
        height = 58;
    } else if (alignment == TextAlignment::SUBSCRIPT) {
        escapement = -33;
        height = 58;
    }
    props->setPropertyValue(u"CharEscapement", ::zel::uno::Any(escapement));
    props->setPropertyValue(u"CharEscapementHeight", ::zel::uno::Any(height));
}

} // namespace corvane::detail
