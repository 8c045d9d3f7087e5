#pragma once
// The design-time package VeskarDesign: the unit Lddsgn (the editors and the
// key link dialog) with the dialog's stored form. It requires the run-time
// package Veskar, which the host loads first, and is loaded only by the
// designer (LoadDesignPackage("VeskarDesign")); applications never load it.

#include "host/core/Export.h"
#include "host/package/PackageInfo.h"

VESKAR_PUBLIC_BEGIN

namespace veskar {

inline constexpr const char* DesignPackageName = "VeskarDesign";

} // namespace veskar

VESKAR_PUBLIC_END
