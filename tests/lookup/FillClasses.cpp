#include "FillFixture.h"

namespace veskar::testing {
HOST_IMPLEMENT_COMPONENT(TCountingFill, TLookupFill)
HOST_IMPLEMENT_COMPONENT(TRecordingDataSet, host::TMemoryDataSet)
} // namespace veskar::testing
