# The spreadsheet builder drives the host stand-in's own interfaces.
target_link_libraries(qx_testsupport PUBLIC mergedqx)
