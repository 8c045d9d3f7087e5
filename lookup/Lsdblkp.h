#pragma once
// Lsdblkp: the smart lookup component, one dialog and one fill driven by
// connection strings.

namespace veskar::Lsdblkp {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace veskar::Lsdblkp
