#pragma once
// The host's own components on the palette, so that a whole form can be
// designed: controls on "Standard", "Additional" and "Data Controls", data
// access on "Data Access". The run-time libraries register nothing; the
// designer does it for them. Code: StdReg.cpp.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {

// Registers the standard classes with the main program as their module
// (a class already on its page stays where it is), and the form and data
// module as classes a form file's root may have.
void RegisterStandardComponents();

} // namespace host

VESKAR_PUBLIC_END
