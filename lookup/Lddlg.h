#pragma once
// Lddlg: the lookup forms, a modal grid over the lookup dataset.

namespace veskar::Lddlg {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace veskar::Lddlg
