#pragma once
// Modal results: what a modal form answers from ShowModal. A button that
// has one gives it to its form when clicked; a form whose ModalResult is not
// mrNone during a modal run ends the run.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {

using TModalResult = int;

constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

} // namespace host

VESKAR_PUBLIC_END
