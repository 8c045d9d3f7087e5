#include "lookup/Ldlkpdlg.h"

namespace veskar::Ldlkpdlg {

void Initialization() {}
void Finalization() {}

} // namespace veskar::Ldlkpdlg
