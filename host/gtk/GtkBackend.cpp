#include "host/gtk/GtkBackend.h"

#include "host/core/Exception.h"
#include "host/gtk/FormWindow.h"
#include "host/ui/App.h"
#include "host/ui/Forms.h"
#include "host/ui/Keyboard.h"
#include "host/ui/MessageForm.h"
#include "host/ui/Screen.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace host::gtk {

namespace {

// The screen forms are placed on when the display tells no size.
constexpr int kScreenWidth = 1280;
constexpr int kScreenHeight = 1024;

// A guard around a turn of the loop: closed windows are freed only when no
// handler of theirs can be running.
struct TDepthScope {
    explicit TDepthScope(int& depth) : Depth(depth) { ++Depth; }
    ~TDepthScope() { --Depth; }
    TDepthScope(const TDepthScope&) = delete;
    TDepthScope& operator=(const TDepthScope&) = delete;
    int& Depth;
};

void SizeScreen() {
    int width = kScreenWidth;
    int height = kScreenHeight;
    GdkDisplay* display = gdk_display_get_default();
    GListModel* monitors = display ? gdk_display_get_monitors(display) : nullptr;
    if (monitors && g_list_model_get_n_items(monitors) > 0) {
        auto* monitor = static_cast<GdkMonitor*>(g_list_model_get_item(monitors, 0));
        GdkRectangle area{};
        gdk_monitor_get_geometry(monitor, &area);
        if (area.width > 0 && area.height > 0) {
            width = area.width;
            height = area.height;
        }
        g_object_unref(monitor);
    }
    Screen()->SetSize(width, height);
}

} // namespace

bool TGtkBackend::DisplayAvailable() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (wayland && *wayland);
}

TGtkBackend::TGtkBackend() {
    if (!gtk_init_check()) throw std::runtime_error("cannot open a display for windows");
    SizeScreen();
}

TGtkBackend::~TGtkBackend() {
    FWindows.clear();
    FClosed.clear();
    // Let the toolkit finish closing them.
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
}

TFormWindow* TGtkBackend::WindowOf(const TCustomForm* form) const {
    for (const auto& w : FWindows)
        if (w->Form.Get() == form) return w.get();
    return nullptr;
}

void TGtkBackend::Open(TCustomForm* form) {
    // Transient for the window of the form that was active, else the last opened.
    GtkWindow* below = nullptr;
    for (auto it = FWindows.rbegin(); it != FWindows.rend() && !below; ++it)
        if ((*it)->Form.Get() && (*it)->Form.Get() != form) below = GTK_WINDOW((*it)->Window);
    if (TFormWindow* active = WindowOf(Screen()->ActiveForm()); active && active->Form.Get() != form)
        below = GTK_WINDOW(active->Window);
    FWindows.push_back(std::make_unique<TFormWindow>(*this, form, below));
}

void TGtkBackend::Sync() {
    // Windows of freed or hidden forms close.
    for (auto it = FWindows.begin(); it != FWindows.end();) {
        TCustomForm* form = (*it)->Form.Get();
        if (form && form->Visible()) {
            ++it;
            continue;
        }
        (*it)->Close();
        FClosed.push_back(std::move(*it));
        it = FWindows.erase(it);
    }
    // Only the outermost turn of the loop is sure no handler runs.
    if (FDepth <= 1) FClosed.clear();
    for (int i = 0; i < Screen()->FormCount(); ++i) {
        TCustomForm* form = Screen()->Forms(i);
        if (form->Visible() && !WindowOf(form)) Open(form);
    }
    for (const auto& w : FWindows) w->Update();
}

void TGtkBackend::Report(const std::string& message) { ShowException(message); }

void TGtkBackend::ShowMessage(const std::string& text) {
    Owned<TMessageForm> box(TMessageForm::Make(Application()->Title().empty() ? "Message" : Application()->Title(), text, {mbOK}));
    box->ShowModal();
}

void TGtkBackend::ShowException(const std::string& message) {
    Owned<TMessageForm> box(TMessageForm::Make("Error", message, {mbOK}));
    box->ShowModal();
}

void TGtkBackend::AboutBox(const std::string& className, const std::string& version) {
    Owned<TMessageForm> box(TMessageForm::Make("About " + className, className + "\n" + version, {mbOK}));
    box->ShowModal();
}

void TGtkBackend::RunModal(TCustomForm* form) {
    // The keys that opened the form are let go before the user acts in it.
    Keyboard().SetShiftState({});
    for (;;) {
        if (Application()->Terminated() && form->ModalResult() == mrNone) form->SetModalResult(mrCancel);
        if (form->ModalResult() != mrNone && form->CloseModal()) return;
        if (!HandleInput(true)) form->SetModalResult(mrCancel);
    }
}

bool TGtkBackend::HandleInput(bool wait) {
    TDepthScope depth(FDepth);
    Sync();
    FDelivered = false;
    if (!wait) {
        // What is waiting now, input or not; answers whether input came.
        while (g_main_context_iteration(nullptr, FALSE) && !FDelivered) {
        }
    } else {
        while (!FDelivered) {
            if (FWindows.empty()) return false;
            g_main_context_iteration(nullptr, TRUE);
            // A form shown or invalidated by a timer or the loop: keep up.
            Sync();
        }
    }
    Sync();
    return FDelivered;
}

} // namespace host::gtk
