#pragma once
// What other units of the library call of the text-document model.

#include <corvane/text.hxx>

namespace com::qam::vexo::frame {
class XModel;
}

namespace corvane::detail {

// A new document wrapper over a model that is known to be a text document.
::zel::uno::Reference<XDocument> createDocument(const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

// "PARAGRAPH", "LIST_ITEM", ...; RuntimeException "unknown element type <n>" otherwise.
OUString elementTypeName(ElementType type);

} // namespace corvane::detail
