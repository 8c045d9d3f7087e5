#include "lookup/Ldcapt.h"

#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Grids.h"
#include "lookup/Package.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

namespace veskar {

using namespace host;

namespace {

const char* const LookupShortCutText = "Ctrl+F1";

// The shortcut a key message stands for: the key code in the low 16 bits of
// WParam, Shift and Ctrl as held, Alt from the key data.
TShortCut KeyMessageShortCut(const TMessage& message) {
    const auto charCode = static_cast<std::uint16_t>(message.WParam & 0xFFFF);
    const auto keyData = static_cast<std::int32_t>(message.LParam);
    return ShortCut(charCode, KeyDataToShiftState(keyData));
}

} // namespace

// --- TLookupButton ----------------------------------------------------------

HOST_IMPLEMENT_COMPONENT(TLookupButton, TSpeedButton)

void TLookupButton::Constructed() {
    inherited::Constructed();
    SetControlStyle(ControlStyle().Include(csReplicatable));
    LoadGlyph();
    FitToOwner();
    SetAlign(alRight);
    SetCursor(crArrow);
    SetHint("Lookup");
    SetShowHint(true);
}

void TLookupButton::LoadGlyph() {
    try {
        Glyph()->LoadFromResourceName(HInstance(), "LENZ");
    } catch (...) {
        // A button without its picture still works; it shows dots instead.
        SetCaption("...");
    }
}

void TLookupButton::FitToOwner() {
    auto* owner = As<TWinControl>(Owner());
    if (!owner) return;
    // A square just inside the owner's height. An owner 2 pixels high or
    // less leaves no room: the button gets no size, and no limit (0 is none).
    Constraints()->SetMaxHeight(std::max(owner->Height() - 2, 0));
    Constraints()->SetMaxWidth(Constraints()->MaxHeight());
    SetHeight(Constraints()->MaxHeight());
    SetWidth(Constraints()->MaxWidth());
}

void TLookupButton::ValidateContainer(TComponent* AComponent) {
    inherited::ValidateContainer(AComponent);
    if (!Is<TWinControl>(AComponent)) throw Exception("TLookupButton: Owner must be TWinControl");
}

// --- forwarding subclasses ---------------------------------------------------

HOST_IMPLEMENT_CLASS(TLookupControlSubclass, TControlSubclass)

void TLookupControlSubclass::BeforeWndProc(TMessage& Message) {
    if (FLink) FLink->WndProc(Message);
}

HOST_IMPLEMENT_CLASS(TInplaceEditorSubclass, TControlSubclass)

void TInplaceEditorSubclass::BeforeWndProc(TMessage& Message) {
    if (FLink) FLink->InplaceEditorWndProc(Message);
}

// --- TLookupWinControlLink: life ---------------------------------------------

HOST_IMPLEMENT_COMPONENT(TLookupWinControlLink, TComponent)

TLookupWinControlLink::TLookupWinControlLink(TComponent* AOwner) : TComponent(AOwner) { Init(nullptr, nullptr); }

TLookupWinControlLink::TLookupWinControlLink(TWinControl* AControl, TLookupControlsList* AList)
    : TComponent(nullptr) {
    Init(AControl, AList);
    // Raising here ends the C++ construction: the subclass made above goes
    // with it, and nothing was registered yet.
    if (!AControl) throw Exception("Control is NIL.");
    if (!AList) throw Exception("Owner is NIL.");
}

void TLookupWinControlLink::Init(TWinControl* AControl, TLookupControlsList* AList) {
    FControl = AControl;
    FOwnerList = AList;
    FCaptured = false;
    FButton = nullptr;
    FInButtonClick = false;
    FSubclass.reset(TLookupControlSubclass::Create());
    FSubclass->FLink = this;
}

void TLookupWinControlLink::Destroy() {
    HideLookupButton();
    // Still set only when the link was freed inside a click; by now that
    // click has returned.
    if (FButton) FreeAndNil(FButton);
    // Virtual: a grid link lets its editor go too.
    UnCapture();
    inherited::Destroy();
}

void TLookupWinControlLink::Detach() {
    UnCapture();
    FOwnerList = nullptr;
}

// --- TLookupWinControlLink: capture ------------------------------------------

void TLookupWinControlLink::Capture() {
    if (FCaptured || !FControl) return;
    TKeepAlive alive(this);
    RegisterSubclass(FControl, FSubclass.get());
    FControl->FreeNotification(this);
    FCaptured = true;
    if (FControl->Focused()) DoBeginEdit();
}

void TLookupWinControlLink::UnCapture() {
    if (!FCaptured) return;
    UnRegisterSubclass(FControl, FSubclass.get());
    HideLookupButton();
    FCaptured = false;
}

void TLookupWinControlLink::Recapture() {
    // A button goes while the control is released, and a descendant may
    // capture differently: both take the long way.
    if (!FCaptured || !FControl || FButton || &ClassType() != &ClassRecord<TLookupWinControlLink>()) {
        UnCapture();
        Capture();
        return;
    }
    TKeepAlive alive(this);
    // The free notification stays from the capture: nothing removes it.
    RenewSubclass(FControl, FSubclass.get());
    if (FControl->Focused()) DoBeginEdit();
}

void TLookupWinControlLink::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove) {
        if (AComponent == FControl) {
            UnCapture();
            FControl = nullptr;
        }
        if (AComponent == FButton) FButton = nullptr;
    }
    inherited::Notification(AComponent, Operation);
}

// --- TLookupWinControlLink: messages and editing -----------------------------

void TLookupWinControlLink::WndProc(TMessage& Message) {
    TKeepAlive alive(this);
    switch (Message.Msg) {
    case WM_SETFOCUS:
        DoBeginEdit();
        break;
    case WM_KILLFOCUS:
        DoEndEdit();
        break;
    case WM_KEYDOWN: {
        const TShortCut lookupKey = GetLookupShortCut();
        // A shortcut of 0 stands for no key at all.
        if (lookupKey != 0 && KeyMessageShortCut(Message) == lookupKey && FButton) FButton->Click();
        break;
    }
    default:
        break;
    }
}

void TLookupWinControlLink::DoBeginEdit() {
    TKeepAlive alive(this);
    if (TLookupControlsList* list = FOwnerList) {
        TKeepAlive listAlive(list);
        list->ControlBeginEdit(this);
    }
    if (CheckControlLookup()) ShowLookupButton(FControl);
}

void TLookupWinControlLink::DoEndEdit() {
    TKeepAlive alive(this);
    if (TLookupControlsList* list = FOwnerList) {
        TKeepAlive listAlive(list);
        list->ControlEndEdit(this);
    }
    HideLookupButton();
}

bool TLookupWinControlLink::CheckControlLookup() {
    TLookupControlsList* list = FOwnerList;
    auto* edit = As<TDBEdit>(FControl);
    if (!list || !edit || !edit->Visible() || edit->ReadOnly()) return false;
    TKeepAlive listAlive(list);
    return list->CheckControlLookup(edit, edit->Field());
}

// --- TLookupWinControlLink: the button ---------------------------------------

void TLookupWinControlLink::ShowLookupButton(TWinControl* AControl) {
    if (FInButtonClick) {
        // The button being clicked stays; it is only repainted.
        if (FButton) FButton->Invalidate();
        return;
    }
    if (FButton) HideLookupButton();
    FButton = TLookupButton::Create(AControl);
    FButton->FreeNotification(this);
    FButton->SetHint(ShortCutToText(GetLookupShortCut()) + " Lookup");
    FButton->OnClick = TNotifyEvent::Method(this, &TLookupWinControlLink::LookupButtonClick, "LookupButtonClick");
    FButton->SetParent(AControl);
    FButton->BringToFront();
}

void TLookupWinControlLink::HideLookupButton() {
    if (!FInButtonClick && FButton) FreeAndNil(FButton);
}

void TLookupWinControlLink::LookupButtonClick(TObject* /*Sender*/) {
    TKeepAlive alive(this);
    const TScopedFlag inClick(FInButtonClick);
    LookupButtonClicked();
}

void TLookupWinControlLink::LookupButtonClicked() {
    TLookupControlsList* list = FOwnerList;
    auto* edit = As<TDBEdit>(FControl);
    if (!list || !edit) return;
    TKeepAlive listAlive(list);
    list->LookupButtonClicked(edit, edit->Field());
}

TShortCut TLookupWinControlLink::GetLookupShortCut() const {
    return FOwnerList ? FOwnerList->LookupShortCut() : TextToShortCut(LookupShortCutText);
}

// --- TLookupGridControlLink --------------------------------------------------

HOST_IMPLEMENT_COMPONENT(TLookupGridControlLink, TLookupWinControlLink)

TLookupGridControlLink::TLookupGridControlLink(TComponent* AOwner) : TLookupWinControlLink(AOwner) {
    InitInplace();
}

TLookupGridControlLink::TLookupGridControlLink(TWinControl* AControl, TLookupControlsList* AList)
    : TLookupWinControlLink(AControl, AList) {
    InitInplace();
}

void TLookupGridControlLink::InitInplace() {
    FInplaceEditor = nullptr;
    FInplaceSubclass.reset(TInplaceEditorSubclass::Create());
    FInplaceSubclass->FLink = this;
}

void TLookupGridControlLink::Capture() {
    if (Captured() || !Control()) return;
    TKeepAlive alive(this);
    RegisterSubclass(Control(), Subclass());
    Control()->FreeNotification(this);
    CaptureInplaceEditor();
    SetCaptured(true);
}

void TLookupGridControlLink::UnCapture() {
    if (!Captured() || !Control()) return;
    UnRegisterSubclass(Control(), Subclass());
    UnCaptureInplaceEditor();
    HideLookupButton();
    SetCaptured(false);
}

void TLookupGridControlLink::Recapture() {
    // A button goes while the grid is released, and a descendant may capture
    // differently: both take the long way.
    if (!Captured() || !Control() || Button() || &ClassType() != &ClassRecord<TLookupGridControlLink>()) {
        UnCapture();
        Capture();
        return;
    }
    TKeepAlive alive(this);
    RenewSubclass(Control(), Subclass());
    auto* grid = KindOf<TCustomGrid>(Control());
    TWinControl* editor = grid ? grid->InplaceEditor() : nullptr;
    if (!editor || editor != FInplaceEditor) {
        UnCaptureInplaceEditor();
        CaptureInplaceEditor();
        return;
    }
    RenewSubclass(editor, FInplaceSubclass.get());
    if (editor->Focused()) DoBeginEdit();
}

void TLookupGridControlLink::CaptureInplaceEditor() {
    auto* grid = KindOf<TCustomGrid>(Control());
    if (!grid) return;
    TWinControl* editor = grid->InplaceEditor();
    if (!editor || editor == FInplaceEditor) return;
    TKeepAlive alive(this);
    if (FInplaceEditor) UnCaptureInplaceEditor();
    FInplaceEditor = editor;
    RegisterSubclass(editor, FInplaceSubclass.get());
    editor->FreeNotification(this);
    if (editor->Focused()) DoBeginEdit();
}

void TLookupGridControlLink::UnCaptureInplaceEditor() {
    if (!FInplaceEditor) return;
    UnRegisterSubclass(FInplaceEditor, FInplaceSubclass.get());
    FInplaceEditor = nullptr;
}

void TLookupGridControlLink::WndProc(TMessage& Message) {
    if (Message.Msg != WM_PARENTNOTIFY) return;
    TKeepAlive alive(this);
    auto* grid = KindOf<TCustomGrid>(Control());
    if (grid && grid->InplaceEditor()) CaptureInplaceEditor();
}

void TLookupGridControlLink::InplaceEditorWndProc(TMessage& Message) {
    // The editor stands for the grid: focus and keys as for an edit.
    inherited::WndProc(Message);
}

void TLookupGridControlLink::ShowLookupButton(TWinControl* /*AControl*/) {
    if (Button()) HideLookupButton();
    if (FInplaceEditor && FInplaceEditor->Focused()) inherited::ShowLookupButton(FInplaceEditor);
}

bool TLookupGridControlLink::CheckControlLookup() {
    TLookupControlsList* list = OwnerList();
    auto* grid = As<TCustomDBGrid>(Control());
    if (!list || !grid || !grid->Visible() || grid->ReadOnly()) return false;
    TKeepAlive listAlive(list);
    return list->CheckControlLookup(grid, grid->SelectedField());
}

void TLookupGridControlLink::LookupButtonClicked() {
    TLookupControlsList* list = OwnerList();
    auto* grid = As<TCustomDBGrid>(Control());
    if (!list || !grid) return;
    TKeepAlive listAlive(list);
    list->LookupButtonClicked(grid, grid->SelectedField());
}

void TLookupGridControlLink::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent == FInplaceEditor) UnCaptureInplaceEditor();
    inherited::Notification(AComponent, Operation);
}

// --- TLookupControlsList -----------------------------------------------------

HOST_IMPLEMENT_CLASS(TLookupControlsList, TList)

TLookupControlsList::TLookupControlsList() : FLookupShortCut(TextToShortCut(LookupShortCutText)) {}

void TLookupControlsList::ControlBeginEdit(TLookupWinControlLink* /*Link*/) {}

void TLookupControlsList::ControlEndEdit(TLookupWinControlLink* /*Link*/) {}

bool TLookupControlsList::CheckControlLookup(TWinControl* /*Control*/, TField* /*Field*/) { return true; }

void TLookupControlsList::LookupButtonClicked(TWinControl* /*Control*/, TField* /*Field*/) {}

int TLookupControlsList::AddLookupControl(TWinControl* AControl, bool ACapture) {
    TLookupWinControlLink* link = Is<TCustomGrid>(AControl)
                                      ? TLookupGridControlLink::Create(AControl, this)
                                      : TLookupWinControlLink::Create(AControl, this);
    const int index = Add(link);
    if (ACapture) link->Capture();
    return index;
}

int TLookupControlsList::RemoveLookupControl(TWinControl* AControl) {
    TLookupWinControlLink* link = GetLinkToControl(AControl);
    if (!link) return -1;
    link->UnCapture();
    const int index = Remove(link);
    link->Free();
    return index;
}

void TLookupControlsList::DeleteLookupControl(int AIndex) {
    if (AIndex >= 0 && AIndex < Count()) {
        if (auto* link = Links(AIndex)) {
            // The item is cleared first, so nothing reached from the link's
            // end finds it in the list.
            Put(AIndex, nullptr);
            link->Free();
        }
    }
    Delete(AIndex);
}

void TLookupControlsList::Clear() {
    for (int i = Count() - 1; i >= 0; --i)
        if (i < Count()) DeleteLookupControl(i);
    inherited::Clear();
}

bool TLookupControlsList::Reusable(const TLookupWinControlLink* ALink, const TWinControl* AControl) const {
    if (!ALink || !AControl || ALink->Control() != AControl || ALink->OwnerList() != this) return false;
    if (ALink->FreePending() || ALink->InButtonClick()) return false;
    const bool grid = AControl->InheritsFrom(ClassRecord<TCustomGrid>());
    const TClass& kind = grid ? ClassRecord<TLookupGridControlLink>() : ClassRecord<TLookupWinControlLink>();
    return &ALink->ClassType() == &kind;
}

void TLookupControlsList::RecaptureControls(const TList& AControls) {
    std::vector<TLookupWinControlLink*> old(static_cast<size_t>(Count()));
    for (int i = 0; i < Count(); ++i) old[static_cast<size_t>(i)] = Links(i);
    // The old links leave the list first, as Clear would take them out.
    inherited::Clear();

    // A control is usually found where it was the last time; the others are
    // looked for by control.
    std::unordered_map<const TWinControl*, size_t> byControl;
    auto oldIndexOf = [&](const TWinControl* control, size_t at) -> std::optional<size_t> {
        if (at < old.size() && Reusable(old[at], control)) return at;
        if (byControl.empty())
            for (size_t i = old.size(); i-- > 0;)
                if (old[i] && old[i]->Control()) byControl[old[i]->Control()] = i;  // the first link wins
        const auto found = byControl.find(control);
        if (found == byControl.end() || !Reusable(old[found->second], control)) return std::nullopt;
        return found->second;
    };
    // Links and controls lie scattered in memory: both loops ask for the
    // ones a few steps ahead early.
    constexpr int kAhead = 4;
    auto prefetch = [&](int i) {
        if (i >= AControls.Count()) return;
        __builtin_prefetch(AControls.Items(i));
        if (static_cast<size_t>(i) < old.size()) __builtin_prefetch(old[static_cast<size_t>(i)]);
    };
    std::vector<TLookupWinControlLink*> kept(static_cast<size_t>(AControls.Count()), nullptr);
    for (int i = 0; i < AControls.Count(); ++i) {
        prefetch(i + kAhead);
        const auto at = oldIndexOf(AControls.Get<TWinControl>(i), static_cast<size_t>(i));
        if (!at) continue;
        kept[static_cast<size_t>(i)] = old[*at];
        old[*at] = nullptr;
    }
    // The links not kept go, last first, as Clear frees them.
    for (size_t i = old.size(); i-- > 0;)
        if (old[i]) old[i]->Free();

    int next = 0;
    try {
        for (; next < AControls.Count(); ++next) {
            if (next + kAhead < AControls.Count()) {
                __builtin_prefetch(AControls.Items(next + kAhead));
                __builtin_prefetch(kept[static_cast<size_t>(next + kAhead)]);
            }
            TLookupWinControlLink* link = kept[static_cast<size_t>(next)];
            if (!link) {
                AddLookupControl(AControls.Get<TWinControl>(next), true);
                continue;
            }
            kept[static_cast<size_t>(next)] = nullptr;
            Add(link);
            // Released and captured again, as a new link would be: its hook
            // goes behind the others and a focused control gets its button.
            link->Recapture();
        }
    } catch (...) {
        // Captures after a failing one do not happen; their kept links go.
        for (TLookupWinControlLink* link : kept)
            if (link) link->Free();
        throw;
    }
}

TWinControl* TLookupControlsList::Controls(int AIndex) const {
    if (AIndex < 0 || AIndex >= Count()) return nullptr;
    const TLookupWinControlLink* link = Links(AIndex);
    return link ? link->Control() : nullptr;
}

int TLookupControlsList::IndexOfControl(TWinControl* AControl) const {
    for (int i = 0; i < Count(); ++i)
        if (Controls(i) == AControl) return i;
    return -1;
}

TLookupWinControlLink* TLookupControlsList::GetLinkToControl(TWinControl* AControl) const {
    const int index = IndexOfControl(AControl);
    return index < 0 ? nullptr : Links(index);
}

// --- unit ----------------------------------------------------------------------

namespace Ldcapt {

void Initialization() {}
void Finalization() {}

} // namespace Ldcapt

} // namespace veskar
