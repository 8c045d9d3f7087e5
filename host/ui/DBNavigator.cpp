#include "host/ui/DBCtrls.h"

#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/ui/Canvas.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Keyboard.h"
#include "host/ui/PropertyTypes.h"

namespace host {

HOST_IMPLEMENT_CLASS(TNavDataLink, TDataLink)
HOST_IMPLEMENT_COMPONENT(TNavButton, TSpeedButton)
HOST_IMPLEMENT_COMPONENT(TDBNavigator, TCustomPanel)

namespace {

struct TNavButtonLook {
    const char* Caption;
    const char* Hint;
};

// Captions that read in a character cell or two.
constexpr TNavButtonLook kLooks[] = {
    {"|<", "First record"}, {"<", "Prior record"},  {">", "Next record"},   {">|", "Last record"},
    {"+", "Insert record"}, {"-", "Delete record"}, {"^", "Edit record"},   {"\u2713", "Post edit"},
    {"x", "Cancel edit"},   {"\u21BB", "Refresh data"},
};

} // namespace

void TNavButton::Paint() {
    inherited::Paint();
    auto* navigator = dynamic_cast<TDBNavigator*>(Parent());
    if (!navigator || !navigator->Focused() || navigator->FocusedButton() != FIndex) return;
    TCanvas& canvas = *Canvas();
    const TRect cells = canvas.CellRect(Rect(0, 0, Width(), Height()));
    const TPoint at = canvas.Origin();
    for (int r = cells.Top; r < cells.Bottom; ++r)
        for (int c = cells.Left; c < cells.Right; ++c) {
            const TCell cell = canvas.Surface().CellAt(c, r);
            canvas.PutChar(c * kCellWidth - at.X, r * kCellHeight - at.Y, cell.Ch, cell.Fore, cell.Back,
                           static_cast<TCellAttrs>(cell.Attrs | caReverse));
        }
}

void TNavDataLink::ActiveChanged() { FNavigator->UpdateButtons(); }
void TNavDataLink::DataSetChanged() { FNavigator->UpdateButtons(); }
void TNavDataLink::EditingChanged() { FNavigator->UpdateButtons(); }

TDBNavigator::TDBNavigator(TComponent* owner) : TCustomPanel(owner), FDataLink(TNavDataLink::Create(this)) {
    SetCaption("");
    SetBevelOuter(bvNone);
    SetControlStyle(ControlStyle().Exclude(csAcceptsControls).Exclude(csSetCaption));
    SetBounds(0, 0, 240, 25);
}

// The buttons are made once the navigator is whole: they are its components.
void TDBNavigator::Constructed() {
    inherited::Constructed();
    for (int i = nbFirst; i <= nbRefresh; ++i) {
        auto index = static_cast<TNavigateBtn>(i);
        TNavButton* button = TNavButton::Create(this);
        button->FIndex = index;
        button->SetCaption(kLooks[i].Caption);
        button->SetHint(kLooks[i].Hint);
        button->OnClick = [this, index](TObject*) { BtnClick(index); };
        button->SetParent(this);
        FButtons[i] = button;
    }
    LayoutButtons();
    UpdateButtons();
}

void TDBNavigator::Destroy() {
    FDataLink->ReleaseFor(this);
    inherited::Destroy();
}

void TDBNavigator::SetDataSource(TDataSource* value) {
    if (!FDataLink->SetDataSourceFor(this, value)) return;
    UpdateButtons();
}

void TDBNavigator::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation != opRemove) return;
    if (FDataLink && component == FDataLink->DataSource()) {
        FDataLink->SetDataSource(nullptr);
        UpdateButtons();
    }
    for (auto& button : FButtons)
        if (button == component) button = nullptr;
}

void TDBNavigator::SetVisibleButtons(TButtonSet value) {
    if (FVisibleButtons == value) return;
    FVisibleButtons = value;
    LayoutButtons();
    Invalidate();
}

void TDBNavigator::Resize() {
    inherited::Resize();
    LayoutButtons();
}

void TDBNavigator::EnabledChanged() {
    inherited::EnabledChanged();
    UpdateButtons();
}

// The visible buttons share the width, whole cells each where they can.
void TDBNavigator::LayoutButtons() {
    int count = 0;
    for (int i = nbFirst; i <= nbRefresh; ++i)
        if (FButtons[i] && FVisibleButtons.Contains(static_cast<TNavigateBtn>(i))) ++count;
    if (count == 0) return;
    // The keyboard's button is one that shows.
    if (!FVisibleButtons.Contains(FFocusedButton))
        for (int i = nbFirst; i <= nbRefresh; ++i)
            if (FButtons[i] && FVisibleButtons.Contains(static_cast<TNavigateBtn>(i))) {
                FFocusedButton = static_cast<TNavigateBtn>(i);
                break;
            }
    int x = 0;
    int shown = 0;
    for (int i = nbFirst; i <= nbRefresh; ++i) {
        TNavButton* button = FButtons[i];
        if (!button) continue;
        const bool visible = FVisibleButtons.Contains(static_cast<TNavigateBtn>(i));
        button->SetVisible(visible);
        if (!visible) continue;
        ++shown;
        const int right = Width() * shown / count;
        button->SetBounds(x, 0, right - x, Height());
        x = right;
    }
}

void TDBNavigator::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (key != VK_LEFT && key != VK_RIGHT && key != VK_SPACE) return;
    if (key == VK_SPACE) {
        BtnClick(FFocusedButton);
    } else {
        // To the next visible button that way; none: it stays.
        const int step = key == VK_RIGHT ? 1 : -1;
        for (int i = FFocusedButton + step; i >= nbFirst && i <= nbRefresh; i += step) {
            if (FButtons[i] && FVisibleButtons.Contains(static_cast<TNavigateBtn>(i))) {
                if (FButtons[FFocusedButton]) FButtons[FFocusedButton]->Invalidate();
                FFocusedButton = static_cast<TNavigateBtn>(i);
                FButtons[i]->Invalidate();
                break;
            }
        }
    }
    key = 0;
}

void TDBNavigator::DoEnter() {
    if (FButtons[FFocusedButton]) FButtons[FFocusedButton]->Invalidate();
    inherited::DoEnter();
}

void TDBNavigator::DoExit() {
    if (FButtons[FFocusedButton]) FButtons[FFocusedButton]->Invalidate();
    inherited::DoExit();
}

// As the framework enables them: moving back needs a record before, moving
// on one after; changing needs a dataset that can be modified; posting and
// cancelling an edit in progress.
void TDBNavigator::UpdateButtons() {
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    const bool active = Enabled() && dataSet;
    const bool up = active && !dataSet->Bof();
    const bool down = active && !dataSet->Eof();
    const bool canModify = active && dataSet->CanModify();
    const bool editing = active && (dataSet->State() == dsEdit || dataSet->State() == dsInsert);
    const bool enabled[] = {
        up,  up,  down, down, canModify, canModify && !(dataSet->Bof() && dataSet->Eof()), canModify && !editing,
        canModify && editing, canModify && editing, active && !editing,
    };
    for (int i = nbFirst; i <= nbRefresh; ++i)
        if (FButtons[i]) FButtons[i]->SetEnabled(enabled[i]);
}

void TDBNavigator::BtnClick(TNavigateBtn index) {
    TNavButton* button = FButtons[index];
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    if (!dataSet || !button || !button->Enabled()) return;
    TKeepAlive alive(this);
    if (BeforeAction) BeforeAction(this, index);
    switch (index) {
    case nbFirst: dataSet->First(); break;
    case nbPrior: dataSet->Prior(); break;
    case nbNext: dataSet->Next(); break;
    case nbLast: dataSet->Last(); break;
    case nbInsert: dataSet->Insert(); break;
    case nbDelete:
        if (!FConfirmDelete || MessageDlg("Delete record?", mtConfirmation, {mbYes, mbNo}) == mrYes) {
            // The question ran a modal loop: the navigator's source or its
            // dataset may have gone meanwhile.
            if (FreePending() || !FDataLink->Active()) return;
            FDataLink->DataSet()->Delete();
        }
        break;
    case nbEdit: dataSet->Edit(); break;
    case nbPost: dataSet->Post(); break;
    case nbCancel: dataSet->Cancel(); break;
    case nbRefresh: dataSet->Refresh(); break;
    }
    if (!FreePending() && OnNavClick) OnNavClick(this, index);
}

namespace {

const TEnumInfo& NavigateBtnInfo() {
    static const TEnumInfo info{"TNavigateBtn", {"nbFirst", "nbPrior", "nbNext", "nbLast", "nbInsert", "nbDelete",
                                                 "nbEdit", "nbPost", "nbCancel", "nbRefresh"}};
    return info;
}

const TSetInfo& ButtonSetInfo() {
    static const TSetInfo info{"TButtonSet", &NavigateBtnInfo()};
    return info;
}

} // namespace

void TDBNavigator::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBNavigator>();
    // What a new one is, is not written.
    p.Redeclare("ParentColor").Default(false);
    p.Boolean("ConfirmDelete", &TDBNavigator::ConfirmDelete, &TDBNavigator::SetConfirmDelete).Default(true);
    p.Component("DataSource", &TDBNavigator::DataSource, &TDBNavigator::SetDataSource);
    p.Set("VisibleButtons", &TDBNavigator::VisibleButtons, &TDBNavigator::SetVisibleButtons, ButtonSetInfo())
        .Default(TButtonSet{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh});
    p.Event("BeforeAction", &TDBNavigator::BeforeAction, "TNavClickEvent");
    // The navigator's click says which button: it takes the place of every
    // control's OnClick.
    p.ReplaceEvent("OnClick", &TDBNavigator::OnNavClick, "TNavClickEvent");
}

} // namespace host
