#pragma once
// The presentation and drawing documents of the scripting model (see presentation.hxx).

#include <corvane/presentation.hxx>
