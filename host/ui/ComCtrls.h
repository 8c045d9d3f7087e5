#pragma once
// Page controls and status bars.
//
// A page control shows one of its tab sheets at a time below a row of tabs
// (the sheets' captions). A click on a tab, Ctrl+Tab and Ctrl+Shift+Tab
// (from anywhere inside it) change the page and run OnChange; only the
// active sheet's controls show and take the focus. Code: PageControl.cpp.
//
// A status bar lies along the form's bottom: its panels side by side, each
// Width pixels wide, or with SimplePanel one text across. Code: StatusBar.cpp.

#include "host/core/Collection.h"
#include "host/core/Export.h"
#include "host/ui/Controls.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TPageControl;

class TTabSheet : public TWinControl {
    HOST_CLASS(TTabSheet, TWinControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    // The page control it is a page of: its parent, when that is one.
    TPageControl* PageControl() const;
    void SetPageControl(TPageControl* value);
    // Its place among the pages; -1 outside a page control.
    int PageIndex() const;
    void SetParent(TWinControl* value) override;

protected:
    explicit TTabSheet(TComponent* owner);
    void TextChanged() override;
    void Paint() override;
};

class TPageControl : public TWinControl {
    HOST_CLASS(TPageControl, TWinControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int index) const;
    // The sheet shown; nil when there are none.
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* value);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    int TabIndex() const { return ActivePageIndex(); }
    void SetTabIndex(int value) { SetActivePageIndex(value); }
    // The next (or previous) page, round; runs OnChange.
    void SelectNextPage(bool goForward);
    // The page whose tab is at a client point; -1 for none.
    int IndexOfTabAt(int x, int y) const;
    // Where a page's tab lies on the tab row, in client pixels.
    TRect TabRect(int index) const;

    // Run when the user changed the page.
    TNotifyEvent OnChange;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TPageControl(TComponent* owner);
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    bool DialogKey(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;

private:
    friend class TTabSheet;
    VESKAR_LOCAL void InsertPage(TTabSheet* page);
    VESKAR_LOCAL void RemovePage(TTabSheet* page);
    VESKAR_LOCAL void ShowActive();
    // A change by the user: tells OnChange.
    VESKAR_LOCAL void UserSelect(int index);

    std::vector<TTabSheet*> FPages;  // its children, in page order
    TTabSheet* FActivePage = nullptr;
};

enum TStatusPanelStyle { psText, psOwnerDraw };

class TStatusPanel : public TCollectionItem {
    HOST_CLASS(TStatusPanel, TCollectionItem)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    const std::string& Text() const { return FText; }
    void SetText(const std::string& value);
    int Width() const { return FWidth; }
    void SetWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void Assign(const TPersistent* source) override;

protected:
    explicit TStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

private:
    std::string FText;
    int FWidth = 50;
    TAlignment FAlignment = taLeftJustify;
};

class TStatusBar;

class TStatusPanels : public TCollection {
    HOST_CLASS(TStatusPanels, TCollection)
public:
    TStatusPanel* Items(int index) const { return static_cast<TStatusPanel*>(TCollection::Items(index)); }
    TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }

protected:
    explicit TStatusPanels(TStatusBar* bar);
    void Update(TCollectionItem* item) override;

private:
    TStatusBar* FBar;
};

class TStatusBar : public TWinControl {
    HOST_CLASS(TStatusBar, TWinControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TStatusPanels* Panels() const { return FPanels.get(); }
    void SetPanels(const TStatusPanels* value) { FPanels->Assign(value); }
    bool SimplePanel() const { return FSimplePanel; }
    void SetSimplePanel(bool value);
    const std::string& SimpleText() const { return FSimpleText; }
    void SetSimpleText(const std::string& value);

protected:
    explicit TStatusBar(TComponent* owner);
    void Paint() override;

private:
    VESKAR_LOCAL void PaintPanel(const TStatusPanel& panel, int left, int right, int top);

    Owned<TStatusPanels> FPanels;
    bool FSimplePanel = false;
    std::string FSimpleText;
};

} // namespace host

VESKAR_PUBLIC_END
