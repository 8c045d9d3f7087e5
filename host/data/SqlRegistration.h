#pragma once
// Makes the SQL connection and dataset classes known to form files.

namespace host {

void RegisterSQLClasses();

} // namespace host
