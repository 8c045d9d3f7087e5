#include "tests/lookup/DialogFixture.h"

namespace dialog {
HOST_IMPLEMENT_COMPONENT(TRecordingTable, TMemoryDataSet)
} // namespace dialog
