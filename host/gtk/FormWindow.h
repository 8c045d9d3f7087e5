#pragma once
// Private to host/gtk: one form's window and its handlers.
// Code: FormWindow.cpp.

#include "host/core/ComponentRef.h"
#include "host/gtk/FormPicture.h"
#include "host/ui/Forms.h"

#include <gtk/gtk.h>

#include <string>

namespace host::gtk {

class TGtkBackend;

struct TFormWindow {
    TFormWindow(TGtkBackend& backend, TCustomForm* form, GtkWindow* below);
    ~TFormWindow();
    TFormWindow(const TFormWindow&) = delete;
    TFormWindow& operator=(const TFormWindow&) = delete;

    // Caption and size from the form; a repaint when something is invalid.
    void Update();
    void Close();

    TGtkBackend& Backend;
    TComponentRef<TCustomForm> Form;
    GtkWidget* Window = nullptr;
    GtkWidget* Area = nullptr;
    std::string Caption;
    int Invalidated = -1;  // the form's InvalidateCount at the last paint
    // The control that got the button press gets the release.
    TComponentRef<TControl> Pressed;
};

} // namespace host::gtk
