#pragma once
// The colour names that the host understands in colour fields: the named
// colours of CSS (Color Module Level 4), including both spellings of the greys
// and "rebeccapurple".

#include <rtl/ustring.hxx>
#include <sal/types.h>

// The colour 0x00RRGGBB for a CSS colour name, compared without regard to ASCII
// case and without trimming; 0xFFFFFFFF ("no colour") for any other text,
// including "transparent", which names no colour value.
SAL_DLLPUBLIC_EXPORT sal_uInt32 GetHTMLColor(const ::rtl::OUString& name);
