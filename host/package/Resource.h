#pragma once
// Named resources of a module: bitmaps, icons, stored forms and texts. A
// library registers each of its resources while it loads, through a static
// TResourceRegistration in the source generated for it at build time, and
// takes them back when it unloads. Names are matched ignoring letter case.

#include "host/core/Export.h"
#include "host/package/Module.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

enum TResourceType { rtBitmap, rtIcon, rtRCData, rtText };

// A resource's bytes. They live in the library that carries the resource and
// go when it unloads.
using TResourceData = std::span<const unsigned char>;

// Registers one resource of the named module for the registration's life.
class TResourceRegistration {
public:
    TResourceRegistration(const char* module, const char* name, TResourceType type, const unsigned char* data,
                          std::size_t size);
    ~TResourceRegistration();
    TResourceRegistration(const TResourceRegistration&) = delete;
    TResourceRegistration& operator=(const TResourceRegistration&) = delete;
};

// The resource of that name and type in Module; nothing when the module does
// not carry it or Module is nil. Of two registrations of one name, the later
// one is found while it lasts.
std::optional<TResourceData> FindResource(HINSTANCE module, std::string_view name, TResourceType type);
// The first module, in EnumModules order, that carries the resource; nil
// when none does.
HINSTANCE FindResourceModule(std::string_view name, TResourceType type);
// A text resource as a string, without a trailing line break; raises
// EResNotFound "Resource X not found" when the module does not carry it.
std::string LoadTextResource(HINSTANCE module, std::string_view name);

} // namespace host

VESKAR_PUBLIC_END
