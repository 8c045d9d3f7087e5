#pragma once
// Lddsgn: design-time support. Registration with the form designer, the
// property and component editors, and the key link dialog.

namespace veskar::Lddsgn {

// The unit's start-up and shut-down, run by the package's Initialize and
// Finalize; they do nothing of their own.
void Initialization();
void Finalization();

} // namespace veskar::Lddsgn
