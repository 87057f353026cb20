# The package builder and the assembler use the instruction list and the record
# layouts of the package reader (headers only, no link dependency).
target_link_libraries(qx_testsupport PUBLIC lexivor_format)
