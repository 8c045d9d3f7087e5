// Menus: the item tree, its place in form files, and shortcuts.

#include "host/ui/Menus.h"

#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TMenuItem, TComponent)
HOST_IMPLEMENT_ABSTRACT_COMPONENT(TMenu, TComponent)
HOST_IMPLEMENT_COMPONENT(TMainMenu, TMenu)
HOST_IMPLEMENT_COMPONENT(TPopupMenu, TMenu)

// --- TMenuItem ----------------------------------------------------------------------

void TMenuItem::Destroy() {
    if (FParent) FParent->Remove(this);
    // Items below that outlive it (owned elsewhere) no longer hang here.
    for (TMenuItem* item : FItems) item->FParent = nullptr;
    FItems.clear();
    inherited::Destroy();
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (index < 0 || index > Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    for (const TMenuItem* up = this; up; up = up->FParent)
        if (up == item) throw EInvalidOperation("A menu item cannot go inside itself");
    if (item->FParent) item->FParent->Remove(item);
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(FItems.begin(), FItems.end(), item);
    if (it == FItems.end()) return;
    FItems.erase(it);
    item->FParent = nullptr;
}

TMenuItem* TMenuItem::FindShortCut(TShortCut shortCut) const {
    if (shortCut == 0) return nullptr;
    for (TMenuItem* item : FItems) {
        if (!item->FEnabled || !item->FVisible) continue;
        if (item->FShortCut == shortCut) return item;
        if (TMenuItem* found = item->FindShortCut(shortCut)) return found;
    }
    return nullptr;
}

void TMenuItem::Click() {
    if (FEnabled && OnClick) OnClick(this);
}

// In a form file an item sits in the item above it, a top item in its menu.
TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->FMenu) return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* value) {
    if (auto* menu = dynamic_cast<TMenu*>(value))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(value))
        item->Add(this);
}

void TMenuItem::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    for (TMenuItem* item : FItems)
        if (item->Owner() == root) children.push_back(item);
}

void TMenuItem::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TMenuItem>();
    p.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption, "TCaption").Default("");
    p.Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    p.Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    p.Integer("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut, ShortCutTypeInfo()).Default(0);
    p.Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    p.Event("OnClick", &TMenuItem::OnClick);
}

// --- TMenu ------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(TMenuItem::Create(nullptr)) { FItems->FMenu = this; }

bool TMenu::IsShortCut(std::uint16_t key, TShiftState shift) {
    TMenuItem* item = FItems->FindShortCut(::host::ShortCut(key, shift));
    if (!item) return false;
    const TKeepAlive alive(item);
    item->Click();
    return true;
}

void TMenu::GetChildren(std::vector<TComponent*>& children, const TComponent* root) const {
    FItems->GetChildren(children, root);
}

void TPopupMenu::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TPopupMenu>();
    p.Boolean("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
}

bool MenusOfferShortCut(TComponent* owner, std::uint16_t key, TShiftState shift) {
    if (!owner || key == 0) return false;
    for (int i = 0; i < owner->ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMenu*>(owner->Components(i)); menu && menu->IsShortCut(key, shift))
            return true;
    return false;
}

} // namespace host
