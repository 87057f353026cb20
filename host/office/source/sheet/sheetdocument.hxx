#pragma once
// What the desktop area needs of the sheet area: making spreadsheet documents
// and their views.  Not exported from libmergedqx.

#include <com/qam/vexo/frame/frame.hxx>

namespace officehost::sheet {

// A new spreadsheet document with one empty sheet "Sheet1".  A non-empty
// location is the URL it was loaded from, as a loader would give it.
::zel::uno::Reference<::com::qam::vexo::frame::XModel> createSpreadsheetDocument(const OUString& location);

// A new view of a document made by createSpreadsheetDocument (IllegalArgumentException
// for any other model): the first sheet active, its A1 selected, no frozen panes.
::zel::uno::Reference<::com::qam::vexo::frame::XController> createSpreadsheetController(
    const ::zel::uno::Reference<::com::qam::vexo::frame::XModel>& model);

} // namespace officehost::sheet
