#pragma once
// Ldlkpdlg: the lookup dialog component, which captures its form's controls
// and runs the lookup.

namespace veskar::Ldlkpdlg {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace veskar::Ldlkpdlg
