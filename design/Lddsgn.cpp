#include "design/Lddsgn.h"

namespace veskar::Lddsgn {

void Initialization() {}
void Finalization() {}

} // namespace veskar::Lddsgn
