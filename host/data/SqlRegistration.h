#pragma once
// Makes the SQL connection and dataset classes known to form files.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {

void RegisterSQLClasses();

} // namespace host

VESKAR_PUBLIC_END
