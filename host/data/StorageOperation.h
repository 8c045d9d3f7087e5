#pragma once
// What a dataset asks of its storage at a given moment. A connection keeps
// the operation its datasets run now (TSQLOperationScope), so that whoever
// watches its statements can tell a lookup from a post.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {

enum class TStorageOperation { Open, Fetch, Post, Delete, Lookup, Locate };

} // namespace host

VESKAR_PUBLIC_END
