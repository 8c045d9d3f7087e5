#include "DataFixture.h"

namespace host::testing {
HOST_IMPLEMENT_CLASS(TLoggingLink, TFieldDataLink)
HOST_IMPLEMENT_CLASS(TNoticeLink, TDataLink)
}
