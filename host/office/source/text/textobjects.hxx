#pragma once
// What textdocument.cxx (the document, its view and its styles) uses of the
// interface objects of textobjects.cxx, which stay private to that file.  Not
// visible outside the text area of libmergedqx.

#include "textcore.hxx"

#include <com/qam/vexo/beans/properties.hxx>
#include <com/qam/vexo/container/collections.hxx>
#include <com/qam/vexo/text/text.hxx>

#include <memory>

namespace officehost::text::objects {

using CorePtr = std::shared_ptr<textcore::Core>;

// DisposedException "<operation>: the object is no longer part of the document".
[[noreturn]] void gone(const OUString& operation);
// UnknownPropertyException "<operation>: unknown property <name>".
[[noreturn]] void unknownProperty(const OUString& operation, const OUString& name);

// The paragraph and character properties, as a style offers them.
::zel::uno::Reference<::com::qam::vexo::beans::XPropertySetInfo> styleInfo();
// Numbering rules as the value objects that paragraphs and styles give, and back.
::zel::uno::Reference<::com::qam::vexo::container::XIndexReplace> rulesOf(const textcore::NumberingData& data);
textcore::NumberingPtr numberingOf(textcore::Core& core, const ::zel::uno::Any& value, const OUString& operation);

// A new table, footnote or graphic object of the document, not yet inserted;
// empty for other service names.
::zel::uno::Reference<::zel::uno::XInterface> newContent(const CorePtr& core, const OUString& service);
// The object that presents a text (the body, a cell, a footnote).
::zel::uno::Reference<::com::qam::vexo::text::XText> textObjectOf(const CorePtr& core, textcore::TextNode* text);
// The document's footnotes in document order, read anew on every call.
::zel::uno::Reference<::com::qam::vexo::container::XIndexAccess> footnoteList(const CorePtr& core);

// The cursor of a view, and how often it has moved.
::zel::uno::Reference<::com::qam::vexo::text::XTextViewCursor> newViewCursor(const CorePtr& core, textcore::Pos at);
sal_uInt64 movesOf(::com::qam::vexo::text::XTextViewCursor& cursor);
// The positions of a range of this document, start first; false for foreign or removed ranges.
bool rangeOf(::zel::uno::XInterface* range, const textcore::Core& core, textcore::Pos& start, textcore::Pos& end);
// A new range between two positions of one text, in either order.
::zel::uno::Reference<::com::qam::vexo::text::XTextRange> rangeBetween(const CorePtr& core, textcore::Pos start,
                                                                      textcore::Pos end);
// Whether the object is a graphic object of this model; and one that stands in a
// text (of the given document, when core is not null).
bool isGraphic(::zel::uno::XInterface* object);
bool isInsertedGraphic(::zel::uno::XInterface* object, const textcore::Core* core);

} // namespace officehost::text::objects
