#pragma once
// Menus: a tree of items, each a caption (with an "&" access letter), an
// optional shortcut, a check mark; enabled and visible ones run OnClick
// when chosen. The shortcuts of the menus a form owns work anywhere on the
// form (the form asks them with a key no control used). Form files nest
// the items in their menu and in each other. Code: Menus.cpp.

#include "host/core/Component.h"
#include "host/core/Event.h"
#include "host/core/Export.h"
#include "host/ui/Keyboard.h"
#include "host/ui/ShortCuts.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TMenu;

class TMenuItem : public TComponent {
    HOST_CLASS(TMenuItem, TComponent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value) { FCaption = value; }
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value) { FShortCut = value; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool value) { FChecked = value; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value) { FEnabled = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }

    // The items below this one, in order.
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int index) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    int IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return FParent; }
    // The item with this shortcut among the enabled, visible items below
    // this one (itself not included); nil for none.
    TMenuItem* FindShortCut(TShortCut shortCut) const;
    // Runs OnClick when enabled.
    virtual void Click();

    TNotifyEvent OnClick;

    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;
    void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;

protected:
    explicit TMenuItem(TComponent* owner) : TComponent(owner) {}
    void Destroy() override;

private:
    friend class TMenu;
    std::string FCaption;
    TShortCut FShortCut = 0;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on a menu's own root item
};

class TMenu : public TComponent {
    HOST_CLASS(TMenu, TComponent)
public:
    // The root item: the menu's top items are its items.
    TMenuItem* Items() const { return FItems.get(); }
    // Chooses the item with the shortcut of Key and Shift, if there is one;
    // true when one ran.
    bool IsShortCut(std::uint16_t key, TShiftState shift);

    void GetChildren(std::vector<TComponent*>& children, const TComponent* root) const override;

protected:
    explicit TMenu(TComponent* owner);

private:
    Owned<TMenuItem> FItems;
};

class TMainMenu : public TMenu {
    HOST_CLASS(TMainMenu, TMenu)
protected:
    explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
};

class TPopupMenu : public TMenu {
    HOST_CLASS(TPopupMenu, TMenu)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }

protected:
    explicit TPopupMenu(TComponent* owner) : TMenu(owner) {}

private:
    bool FAutoPopup = true;
};

// The first menu owned by Owner (a form) with an item for this shortcut
// chooses it; true when one ran.
bool MenusOfferShortCut(TComponent* owner, std::uint16_t key, TShiftState shift);

} // namespace host

VESKAR_PUBLIC_END
