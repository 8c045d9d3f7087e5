#pragma once
// TScreen: the display the forms live on. It knows its size (settable, so
// tests and demos can place forms on a screen of their choice), every form
// that exists, in the order they were made, and which form and control are
// active: the focused control and the form that holds it, kept from the
// focus manager's notices.

#include "host/core/Export.h"
#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/ui/Geometry.h"

#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCustomForm;
class TScreen;
class TWinControl;

TScreen* Screen();

class TScreen : public TComponent {
    HOST_CLASS(TScreen, TComponent)
public:
    // 1024 x 768 until set otherwise. Sizes below 1 are taken as 1.
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetWidth(int value);
    void SetHeight(int value);
    void SetSize(int width, int height);
    // The screen's resolution; fonts measure their Size against it.
    int PixelsPerInch() const { return 96; }

    // Every existing form, oldest first.
    int FormCount() const { return static_cast<int>(FForms.size()); }
    // Raises EListError for an index out of range.
    TCustomForm* Forms(int index) const;
    // The form a form centred on its main form is centred on: the oldest
    // existing form. Nil when there is none.
    TCustomForm* MainForm() const { return FForms.empty() ? nullptr : FForms.front(); }

    // The form that holds the focused control (or last held it); nil once
    // that form is hidden or gone.
    TCustomForm* ActiveForm() const { return FActiveForm; }
    // The focused control, or nil.
    TWinControl* ActiveControl() const { return FActiveControl; }

    // Where the system places a form that asks for a default position: a
    // cascade that starts at 24, 24 and moves 24 pixels right and down each
    // time, starting over when a form of the given size would leave the
    // screen.
    TPoint NextDefaultPosition(int width, int height);
    // The size the system gives a form that asks for a default size: three
    // quarters of the screen's width and height.
    int DefaultFormWidth() const { return FWidth * 3 / 4; }
    int DefaultFormHeight() const { return FHeight * 3 / 4; }

    TNotifyEvent OnActiveControlChange;
    TNotifyEvent OnActiveFormChange;

protected:
    explicit TScreen(TComponent* owner);

private:
    friend class TCustomForm;
    friend TScreen* Screen();
    VESKAR_LOCAL void AddForm(TCustomForm* form);
    VESKAR_LOCAL void RemoveForm(TCustomForm* form);
    // A form was hidden: it is active no more.
    VESKAR_LOCAL void FormHidden(TCustomForm* form);
    VESKAR_LOCAL void FocusChanged(TWinControl* focused);
    VESKAR_LOCAL void SetActiveForm(TCustomForm* form);

    int FWidth = 1024;
    int FHeight = 768;
    std::vector<TCustomForm*> FForms;
    TCustomForm* FActiveForm = nullptr;
    TWinControl* FActiveControl = nullptr;
    int FCascade = 0;
};

// The screen of the application; made on first use and kept for the life of
// the program.
TScreen* Screen();

} // namespace host

VESKAR_PUBLIC_END
