#pragma once
// What a form's window shows: the form's client area painted through a
// canvas (the window manager draws the frame and the caption), and whether
// anything on it waits to be painted again.
// Code: FormPicture.cpp.

#include "host/core/Export.h"

VESKAR_PUBLIC_BEGIN

namespace host {
class TCanvas;
class TCustomForm;
}

namespace host::gtk {

// Paints the client area, controls included, at (0, 0) of Canvas.
void PaintFormClient(TCustomForm* form, TCanvas& canvas);
// True when a control of the form was invalidated and not painted since.
bool FormPaintPending(const TCustomForm* form);

} // namespace host::gtk

VESKAR_PUBLIC_END
