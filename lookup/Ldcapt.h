#pragma once
// Ldcapt: control capture. The lookup button shown inside a focused control,
// the links that take over a captured control's window procedure, and the
// list that owns those links.

namespace veskar::Ldcapt {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace veskar::Ldcapt
