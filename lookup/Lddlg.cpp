#include "lookup/Lddlg.h"

namespace veskar::Lddlg {

void Initialization() {}
void Finalization() {}

} // namespace veskar::Lddlg
