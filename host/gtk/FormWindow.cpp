#include "host/gtk/FormWindow.h"

#include "host/core/Exception.h"
#include "host/gtk/CairoDevice.h"
#include "host/gtk/GtkBackend.h"
#include "host/gtk/GtkKeys.h"
#include "host/ui/Canvas.h"
#include "host/ui/Focus.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Messages.h"
#include "host/ui/Mouse.h"
#include "host/ui/Screen.h"

#include <cairo.h>

#include <cmath>
#include <exception>

namespace host::gtk {

namespace {

std::uintptr_t KeysOf(unsigned state, bool buttonDown) {
    std::uintptr_t keys = buttonDown ? MK_LBUTTON : 0;
    if (state & GDK_SHIFT_MASK) keys |= MK_SHIFT;
    if (state & GDK_CONTROL_MASK) keys |= MK_CONTROL;
    return keys;
}

unsigned StateOf(GtkEventController* controller) {
    return static_cast<unsigned>(gtk_event_controller_get_current_event_state(controller));
}

// Runs a handler's work: an error is shown, as the framework's loop does,
// and never crosses the toolkit's C frames.
template <typename F>
void Guarded(TFormWindow* w, F&& work) {
    TGtkBackend& backend = w->Backend;
    backend.Delivered();
    try {
        work();
    } catch (const Exception& e) {
        backend.Report(e.Message());
    } catch (const std::exception& e) {
        backend.Report(e.what());
    }
}

void Draw(GtkDrawingArea*, cairo_t* cr, int width, int height, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    TCustomForm* form = w->Form.Get();
    if (!form) return;
    w->Invalidated = form->InvalidateCount();
    TCairoDevice device(cr, width, height);
    {
        TCanvas canvas(device);
        PaintFormClient(form, canvas);
    }
    if (auto caret = device.Caret(); caret && Screen()->ActiveForm() == form) {
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_rectangle(cr, caret->Left, caret->Top, caret->Width(), caret->Height());
        cairo_fill(cr);
    }
}

void Resized(GtkDrawingArea*, int width, int height, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    TCustomForm* form = w->Form.Get();
    if (!form || (form->ClientWidth() == width && form->ClientHeight() == height)) return;
    Guarded(w, [&] {
        form->SetClientWidth(width);
        form->SetClientHeight(height);
    });
}

gboolean CloseRequest(GtkWindow*, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    if (TCustomForm* form = w->Form.Get()) Guarded(w, [&] { host::Mouse().ClickCloseBox(form); });
    // The window goes when its form hides.
    return TRUE;
}

gboolean KeyPressed(GtkEventControllerKey*, guint keyval, guint, GdkModifierType state, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    const TGtkKey key = TranslateKey(keyval, state);
    if (key.Text.empty() && key.Key == 0) return FALSE;
    Guarded(w, [&] { DeliverKey(key); });
    return TRUE;
}

void OnPressed(GtkGestureClick* gesture, int count, double x, double y, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    TCustomForm* form = w->Form.Get();
    if (!form) return;
    const unsigned state = StateOf(GTK_EVENT_CONTROLLER(gesture));
    w->Pressed.Set(nullptr);
    TControl* target = ControlAtPoint(form, Point(static_cast<int>(x), static_cast<int>(y)));
    if (!TakesPointerInput(target)) return;
    Guarded(w, [&] {
        const TComponentRef<TControl> alive(target);
        // A click gives a window the focus before it sees the button.
        auto* windowed = dynamic_cast<TWinControl*>(target);
        if (windowed && windowed != form && windowed->CanFocus() && !windowed->Focused()) windowed->SetFocus();
        if (!alive) return;
        const TPoint at = target->ScreenToClient(form->ClientToScreen(Point(static_cast<int>(x), static_cast<int>(y))));
        target->Perform(count == 2 ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, KeysOf(state, true), PointToLParam(at.X, at.Y));
        if (alive) w->Pressed.Set(target);
    });
}

void OnReleased(GtkGestureClick* gesture, int, double x, double y, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    TControl* target = w->Pressed.Get();
    TCustomForm* form = w->Form.Get();
    w->Pressed.Set(nullptr);
    if (!target || !form) return;
    const unsigned state = StateOf(GTK_EVENT_CONTROLLER(gesture));
    Guarded(w, [&] {
        const TPoint at = target->ScreenToClient(form->ClientToScreen(Point(static_cast<int>(x), static_cast<int>(y))));
        target->Perform(WM_LBUTTONUP, KeysOf(state, false), PointToLParam(at.X, at.Y));
    });
}

void Moved(GtkEventControllerMotion* motion, double x, double y, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    TCustomForm* form = w->Form.Get();
    if (!form) return;
    // While a button is held the pressed control follows the mouse.
    TControl* target = w->Pressed.Get();
    if (!target) target = ControlAtPoint(form, Point(static_cast<int>(x), static_cast<int>(y)));
    if (!TakesPointerInput(target)) return;
    const unsigned state = StateOf(GTK_EVENT_CONTROLLER(motion));
    Guarded(w, [&] {
        const TPoint at = target->ScreenToClient(form->ClientToScreen(Point(static_cast<int>(x), static_cast<int>(y))));
        target->Perform(WM_MOUSEMOVE, KeysOf(state, w->Pressed.Get() != nullptr), PointToLParam(at.X, at.Y));
    });
}

gboolean Scrolled(GtkEventControllerScroll* scroll, double, double dy, gpointer data) {
    auto* w = static_cast<TFormWindow*>(data);
    TCustomForm* form = w->Form.Get();
    if (!form || dy == 0) return FALSE;
    double x = 0;
    double y = 0;
    GdkEvent* event = gtk_event_controller_get_current_event(GTK_EVENT_CONTROLLER(scroll));
    if (event) gdk_event_get_position(event, &x, &y);
    const TPoint client = Point(static_cast<int>(x), static_cast<int>(y));
    TControl* target = ControlAtPoint(form, client);
    if (!TakesPointerInput(target)) return FALSE;
    const unsigned state = StateOf(GTK_EVENT_CONTROLLER(scroll));
    // A notch down is a negative distance.
    const int distance = static_cast<int>(std::lround(-dy * WHEEL_DELTA));
    Guarded(w, [&] {
        const TPoint screen = form->ClientToScreen(client);
        target->Perform(WM_MOUSEWHEEL,
                        MakeWParam(static_cast<std::uint16_t>(KeysOf(state, false)),
                                   static_cast<std::uint16_t>(static_cast<std::int16_t>(distance))),
                        PointToLParam(screen.X, screen.Y));
    });
    return TRUE;
}

} // namespace

TFormWindow::TFormWindow(TGtkBackend& backend, TCustomForm* form, GtkWindow* below)
    : Backend(backend), Form(form) {
    Window = gtk_window_new();
    g_object_ref_sink(Window);
    Area = gtk_drawing_area_new();
    gtk_widget_set_focusable(Area, TRUE);
    gtk_window_set_child(GTK_WINDOW(Window), Area);
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(Area), Draw, this, nullptr);
    gtk_window_set_default_size(GTK_WINDOW(Window), form->ClientWidth(), form->ClientHeight());
    gtk_window_set_resizable(GTK_WINDOW(Window), form->BorderStyle() == bsSizeable);
    if (form->Modal()) gtk_window_set_modal(GTK_WINDOW(Window), TRUE);
    if (below) gtk_window_set_transient_for(GTK_WINDOW(Window), below);
    g_signal_connect(Area, "resize", G_CALLBACK(Resized), this);
    g_signal_connect(Window, "close-request", G_CALLBACK(CloseRequest), this);

    GtkEventController* keys = gtk_event_controller_key_new();
    g_signal_connect(keys, "key-pressed", G_CALLBACK(KeyPressed), this);
    // Before the toolkit's own keys (Tab's focus moves): the form has them.
    gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
    gtk_widget_add_controller(Window, keys);
    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), GDK_BUTTON_PRIMARY);
    g_signal_connect(click, "pressed", G_CALLBACK(OnPressed), this);
    g_signal_connect(click, "released", G_CALLBACK(OnReleased), this);
    gtk_widget_add_controller(Area, GTK_EVENT_CONTROLLER(click));
    GtkEventController* motion = gtk_event_controller_motion_new();
    g_signal_connect(motion, "motion", G_CALLBACK(Moved), this);
    gtk_widget_add_controller(Area, motion);
    GtkEventController* scroll = gtk_event_controller_scroll_new(GTK_EVENT_CONTROLLER_SCROLL_VERTICAL);
    g_signal_connect(scroll, "scroll", G_CALLBACK(Scrolled), this);
    gtk_widget_add_controller(Area, scroll);

    Update();
    gtk_window_present(GTK_WINDOW(Window));
    gtk_widget_grab_focus(Area);
}

TFormWindow::~TFormWindow() {
    Close();
    if (Window) g_object_unref(Window);
}

void TFormWindow::Close() {
    if (!Window || !gtk_widget_get_visible(Window)) return;
    // No handler may reach this object once it is closed.
    g_signal_handlers_disconnect_by_data(Window, this);
    g_signal_handlers_disconnect_by_data(Area, this);
    gtk_drawing_area_set_draw_func(GTK_DRAWING_AREA(Area), nullptr, nullptr, nullptr);
    gtk_window_destroy(GTK_WINDOW(Window));
}

void TFormWindow::Update() {
    TCustomForm* form = Form.Get();
    if (!form) return;
    if (form->Caption() != Caption) {
        Caption = form->Caption();
        gtk_window_set_title(GTK_WINDOW(Window), Caption.c_str());
    }
    if (Invalidated != form->InvalidateCount() || FormPaintPending(form)) gtk_widget_queue_draw(Area);
}

} // namespace host::gtk
