#pragma once
// The classes a fuzzed form may name: the host's controls and data
// components, the package's lookups, and a root form without a stored
// definition of its own (every form seed names it).

namespace fuzz {

// Registers them once.
void RegisterFormClasses();

} // namespace fuzz
