#pragma once
// Classes registered by name, so a form file's class names can be turned
// into classes. A unit registers its component classes when it starts and
// takes them back when it stops.

#include "host/core/Export.h"
#include "host/core/Class.h"

#include <initializer_list>
#include <string_view>

VESKAR_PUBLIC_BEGIN

namespace host {

// Registering a class twice keeps one entry; another class of the same name
// (letter case ignored) raises EInvalidOperation "A class named X already
// exists".
void RegisterClass(const TClass& cls);
void RegisterClasses(std::initializer_list<const TClass*> classes);
// Forgets the class; nothing happens when it is not registered.
void UnRegisterClass(const TClass& cls);
// The registered class of that name, letter case ignored; nil when none.
const TClass* GetClass(std::string_view name);
// As GetClass, but raises EClassNotFound "Class X not found".
const TClass& FindClass(std::string_view name);

} // namespace host

VESKAR_PUBLIC_END
