#include "host/ui/Controls.h"

#include "host/core/Exception.h"
#include "host/core/Publisher.h"
#include "host/ui/Focus.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>
#include <unordered_map>

namespace host {

HOST_IMPLEMENT_COMPONENT(TWinControl, TControl)
HOST_IMPLEMENT_COMPONENT(TCustomControl, TWinControl)

namespace {

std::unordered_map<TWindowHandle, TWinControl*>& WindowTable() {
    static std::unordered_map<TWindowHandle, TWinControl*> table;
    return table;
}

TWindowHandle NewHandle() {
    static TWindowHandle last = 0;
    return ++last;
}

} // namespace

TWinControl* FindControl(TWindowHandle handle) {
    auto it = WindowTable().find(handle);
    return it == WindowTable().end() ? nullptr : it->second;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

void TWinControl::Destroy() {
    DestroyHandle();
    // The window forgets its focused control before the children go.
    TopLevel()->DefocusControl(this);
    // No one tabs through a control that is going.
    FTabList.clear();
    // What it owns goes first, last made first, its own controls among
    // them; then the controls it parents for other owners.
    DestroyComponents();
    FreeChildControls();
    inherited::Destroy();
}

void TWinControl::FreeChildControls() {
    // Each child leaves first, so a child whose end is deferred (it is
    // handling a message) no longer points at this control.
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        FControls.pop_back();
        if (auto* windowed = dynamic_cast<TWinControl*>(child)) std::erase(FTabList, windowed);
        child->FParent = nullptr;
        child->Free();
    }
}

// --- children -------------------------------------------------------------

void TWinControl::ControlIndexError(int index) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

bool TWinControl::ContainsControl(const TControl* control) const { return control && control->HasParent(this); }

void TWinControl::InsertControl(TControl* control) {
    FControls.push_back(control);
    control->FParent = this;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed) FTabList.push_back(windowed);
    if (control->Align() != alNone) Realign();
    if (windowed && HandleAllocated() && windowed->Visible()) windowed->CreateHandle();
}

void TWinControl::RemoveControl(TControl* control) {
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed) windowed->DestroyHandle();
    if (windowed) TopLevel()->DefocusControl(windowed);
    FocusManager().RemoveFocusFrom(control);
    // Controls mostly go last made first: look from the end.
    auto drop = [](auto& list, auto* item) {
        auto it = std::find(list.rbegin(), list.rend(), item);
        if (it != list.rend()) list.erase(std::next(it).base());
    };
    drop(FControls, control);
    if (windowed) drop(FTabList, windowed);
    control->FParent = nullptr;
    if (control->Align() != alNone && control->Visible()) Realign();
    Invalidate();
}

void TWinControl::MoveControl(TControl* control, size_t index) {
    auto it = std::find(FControls.begin(), FControls.end(), control);
    if (it == FControls.end()) return;
    FControls.erase(it);
    index = std::min(index, FControls.size());
    FControls.insert(FControls.begin() + static_cast<std::ptrdiff_t>(index), control);
    if (control->Align() != alNone) Realign();
    control->Invalidate();
}

// --- window handle ----------------------------------------------------------

TWindowHandle TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    // The parent's window may have made this one with its visible children.
    if (!FHandle) CreateHandle();
}

void TWinControl::CreateHandle() {
    if (FHandle) return;
    CreateWnd();
    NotifyParent(WM_CREATE);
    CreateChildHandles();
}

void TWinControl::CreateWnd() {
    FHandle = NewHandle();
    WindowTable()[FHandle] = this;
    Perform(WM_CREATE);
}

void TWinControl::CreateChildHandles() {
    for (size_t i = 0; i < FControls.size() && FHandle; ++i)
        if (auto* child = dynamic_cast<TWinControl*>(FControls[i]); child && child->Visible()) child->CreateHandle();
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    FocusManager().RemoveFocusFrom(this);
    DestroyChildHandles();
    NotifyParent(WM_DESTROY);
    if (FHandle) DestroyWnd();
}

void TWinControl::DestroyWnd() {
    Perform(WM_DESTROY);
    WindowTable().erase(FHandle);
    FHandle = 0;
}

void TWinControl::DestroyChildHandles() {
    for (size_t i = 0; i < FControls.size(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(FControls[i])) child->DestroyHandle();
}

void TWinControl::NotifyParent(unsigned event) {
    if (FParent && FParent->HandleAllocated())
        FParent->Perform(WM_PARENTNOTIFY, MakeWParam(static_cast<std::uint16_t>(event), 0),
                         static_cast<std::intptr_t>(FHandle));
}

void TWinControl::VisibleChanged() {
    inherited::VisibleChanged();
    if (!Visible())
        FocusManager().RemoveFocusFrom(this);
    else if (FParent && FParent->HandleAllocated())
        CreateHandle();
}

void TWinControl::EnabledChanged() {
    inherited::EnabledChanged();
    if (!Enabled()) FocusManager().RemoveFocusFrom(this);
}

// --- focus ------------------------------------------------------------------

bool TWinControl::CanFocus() const {
    for (const TControl* c = this; c; c = c->Parent())
        if (!c->Visible() || !c->Enabled()) return false;
    return true;
}

void TWinControl::SetFocus() {
    if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    HandleNeeded();
    FocusManager().SetFocus(this);
}

bool TWinControl::Focused() const { return FocusManager().Focused() == this; }

void TWinControl::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    for (TControl* control : FControls)
        if (control->Owner() == root) children.push_back(control);
}

int TWinControl::TabOrder() const {
    if (!Parent()) return -1;
    const auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!Parent()) return;
    if (ComponentState().Contains(csReading)) {
        FReadTabOrder = value;
        return;
    }
    auto& list = Parent()->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    list.erase(it);
    const int last = static_cast<int>(list.size());
    value = std::clamp(value, 0, last);
    list.insert(list.begin() + value, this);
}

void TWinControl::ChildrenRead() {
    // Each read value names a slot; of two controls naming one slot the
    // later one has it. The others fill the free slots in the order they
    // were read.
    std::vector<TWinControl*> slots(FTabList.size(), nullptr);
    for (TWinControl* child : FTabList)
        if (child->FReadTabOrder >= 0 && child->FReadTabOrder < static_cast<int>(slots.size()))
            slots[static_cast<size_t>(child->FReadTabOrder)] = child;
    size_t next = 0;
    for (TWinControl* child : FTabList) {
        const int read = child->FReadTabOrder;
        child->FReadTabOrder = -1;
        if (read >= 0 && read < static_cast<int>(slots.size()) && slots[static_cast<size_t>(read)] == child) continue;
        while (slots[next]) ++next;
        slots[next] = child;
    }
    FTabList = std::move(slots);
}

void TWinControl::ListTabOrder(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : FTabList) {
        list.push_back(child);
        child->ListTabOrder(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop) const {
    std::vector<TWinControl*> list;
    ListTabOrder(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    auto found = std::find(list.begin(), list.end(), current);
    int start = found != list.end() ? static_cast<int>(found - list.begin()) : (goForward ? count - 1 : 0);
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[static_cast<size_t>(i)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop())) return candidate;
    } while (i != start);
    return nullptr;
}

// --- messages ---------------------------------------------------------------

void TWinControl::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CREATE: WMCreate(message); break;
    case WM_DESTROY: WMDestroy(message); break;
    case WM_SETFOCUS:
        Invalidate();  // a focused control looks different
        // The window first tells the controls the focus leaves and enters;
        // one of them may move the focus away again.
        if (FocusManager().Focused() == this) {
            TopLevel()->SetFocusedControl(this);
            if (FocusManager().Focused() != this) break;
        }
        WMSetFocus(message);
        break;
    case WM_KILLFOCUS:
        Invalidate();
        WMKillFocus(message);
        break;
    case WM_KEYDOWN: WMKeyDown(message); break;
    case WM_KEYUP: WMKeyUp(message); break;
    case WM_SYSKEYDOWN: WMSysKeyDown(message); break;
    case WM_SYSKEYUP: WMSysKeyUp(message); break;
    case WM_CHAR: WMChar(message); break;
    case WM_PARENTNOTIFY: WMParentNotify(message); break;
    case CM_ENTER: CMEnter(message); break;
    case CM_EXIT: CMExit(message); break;
    default: inherited::WndProc(message); break;
    }
}

void TWinControl::WMSetFocus(TMessage& message) { DefaultHandler(message); }

void TWinControl::WMKillFocus(TMessage& message) { DefaultHandler(message); }

void TWinControl::DoEnter() {
    if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
    if (OnExit) OnExit(this);
}

void TWinControl::WMKeyDown(TMessage& message) {
    TWMKey msg(message);
    std::uint16_t key = msg.CharCode();
    const TShiftState shift = KeyDataToShiftState(msg.KeyData());
    KeyDown(key, shift);
    if (key != 0) DispatchDialogKey(key, shift);
    msg.SetCharCode(key);
}

void TWinControl::WMSysKeyDown(TMessage& message) { WMKeyDown(message); }

void TWinControl::WMKeyUp(TMessage& message) {
    TWMKey msg(message);
    std::uint16_t key = msg.CharCode();
    KeyUp(key, KeyDataToShiftState(msg.KeyData()));
    msg.SetCharCode(key);
}

void TWinControl::WMSysKeyUp(TMessage& message) { WMKeyUp(message); }

void TWinControl::WMChar(TMessage& message) {
    char key = static_cast<char>(LoWord(message.WParam) & 0xFF);
    KeyPress(key);
    message.WParam = static_cast<unsigned char>(key);
}

bool TWinControl::DispatchDialogKey(std::uint16_t& key, TShiftState shift) {
    for (TWinControl* p = Parent(); p; p = p->Parent())
        if (p->DialogKey(key, shift)) {
            key = 0;
            return true;
        }
    return false;
}

void TWinControl::KeyDown(std::uint16_t& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(std::uint16_t& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DialogKey(std::uint16_t& /*key*/, TShiftState /*shift*/) { return false; }

void TWinControl::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TWinControl>();
    // A control without a parent (a form) has no place in a tab order.
    p.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).StoredWhen([](const TObject* o) {
        return static_cast<const TWinControl*>(o)->Parent() != nullptr;
    });
    p.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
    p.Event("OnEnter", &TWinControl::OnEnter);
    p.Event("OnExit", &TWinControl::OnExit);
    p.Event("OnKeyDown", &TWinControl::OnKeyDown, "TKeyEvent");
    p.Event("OnKeyPress", &TWinControl::OnKeyPress, "TKeyPressEvent");
    p.Event("OnKeyUp", &TWinControl::OnKeyUp, "TKeyEvent");
}

} // namespace host
