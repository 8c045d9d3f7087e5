#pragma once
// The design-time package VeskarDesign: the unit Lddsgn (the editors and the
// key link dialog) with the dialog's stored form. It requires the run-time
// package Veskar, which the host loads first, and is loaded only by the
// designer (LoadDesignPackage("VeskarDesign")); applications never load it.

#include "host/package/PackageInfo.h"

namespace veskar {

inline constexpr const char* DesignPackageName = "VeskarDesign";

} // namespace veskar
