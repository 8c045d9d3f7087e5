#include "lookup/Lsdblkp.h"

namespace veskar::Lsdblkp {

void Initialization() {}
void Finalization() {}

} // namespace veskar::Lsdblkp
