#include "tests/lookup/CaptureFixture.h"

namespace capture {
HOST_IMPLEMENT_CLASS(TRecordingList, TLookupControlsList)
} // namespace capture
