#include "lookup/Ldcapt.h"

namespace veskar::Ldcapt {

void Initialization() {}
void Finalization() {}

} // namespace veskar::Ldcapt
