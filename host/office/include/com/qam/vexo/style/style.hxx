#pragma once
// Styles and numbering of text documents (module com.qam.vexo.style).
//
// A text document's paragraph styles are the family "ParagraphStyles" of its
// style families (XStyleFamiliesSupplier), a container::XNameContainer of style
// objects (XStyle, beans::XPropertySet).  New styles come from the document's
// service factory as "com.qam.vexo.style.ParagraphStyle".
//
// Numbering rules ("com.qam.vexo.text.NumberingRules" from the document's service
// factory, and the "NumberingRules" property) are a container::XIndexReplace of
// ten levels; each level is a Sequence<beans::PropertyValue> with "NumberingType"
// (short, NumberingType), "BulletChar" (string), "Prefix", "Suffix" (strings),
// "StartWith" (short) and "LeftMargin" (long).  replaceByIndex merges the given
// entries into the level.  The rules are values: a paragraph keeps a copy of
// the rules set on it, and reading the property gives a new copy.

#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/lang/interfaces.hxx>

namespace com::qam::vexo::style {

using ::zel::uno::Reference;

// "ParaAdjust" (short).
namespace ParagraphAdjust {
constexpr sal_Int16 LEFT = 0;
constexpr sal_Int16 RIGHT = 1;
constexpr sal_Int16 BLOCK = 2;
constexpr sal_Int16 CENTER = 3;
constexpr sal_Int16 STRETCH = 4;
} // namespace ParagraphAdjust

// "NumberingType" of a numbering level (short).
namespace NumberingType {
constexpr sal_Int16 CHARS_UPPER_LETTER = 0;
constexpr sal_Int16 CHARS_LOWER_LETTER = 1;
constexpr sal_Int16 ROMAN_UPPER = 2;
constexpr sal_Int16 ROMAN_LOWER = 3;
constexpr sal_Int16 ARABIC = 4;
constexpr sal_Int16 NUMBER_NONE = 5;
constexpr sal_Int16 CHAR_SPECIAL = 6;
constexpr sal_Int16 PAGE_DESCRIPTOR = 7;
constexpr sal_Int16 BITMAP = 8;
constexpr sal_Int16 CHARS_UPPER_LETTER_N = 9;
constexpr sal_Int16 CHARS_LOWER_LETTER_N = 10;
} // namespace NumberingType

class ZEL_UNO_INTERFACE_CLASS XStyle : public ::com::qam::vexo::container::XNamed {
public:
    ZEL_UNO_INTERFACE(XStyle, "com.qam.vexo.style.XStyle")
    virtual bool isUserDefined() = 0;
    virtual bool isInUse() = 0;
    // The name of the style that this one inherits from, empty for none.
    virtual OUString getParentStyle() = 0;
    // NoSuchElementException for an unknown parent.
    virtual void setParentStyle(const OUString& parentStyle) = 0;
};

class ZEL_UNO_INTERFACE_CLASS XStyleFamiliesSupplier : public virtual ::zel::uno::XInterface {
public:
    ZEL_UNO_INTERFACE(XStyleFamiliesSupplier, "com.qam.vexo.style.XStyleFamiliesSupplier")
    // The style families by name; each family is a container::XNameContainer of styles.
    virtual Reference<::com::qam::vexo::container::XNameAccess> getStyleFamilies() = 0;
};

} // namespace com::qam::vexo::style
