#include "lookup/Lddlg.h"

#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/core/Utf8.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Screen.h"

namespace veskar {

using namespace host;

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TBaseLookupForm, TForm)

HOST_IMPLEMENT_COMPONENT(TDefaultLookupForm, TBaseLookupForm)

void TDefaultLookupForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDefaultLookupForm>();
    p.Field("lGrid", &TDefaultLookupForm::lGrid);
    p.Field("Panel1", &TDefaultLookupForm::Panel1);
    p.Field("bOk", &TDefaultLookupForm::bOk);
    p.Field("bCancel", &TDefaultLookupForm::bCancel);
    p.Method("lGridDblClick", &TDefaultLookupForm::lGridDblClick);
}

TDataSource* TDefaultLookupForm::GetDataSource() { return lGrid ? lGrid->DataSource() : nullptr; }

void TDefaultLookupForm::SetDataSource(TDataSource* Value) {
    if (lGrid) lGrid->SetDataSource(Value);
}

void TDefaultLookupForm::lGridDblClick(TObject* /*Sender*/) { SetModalResult(mrOk); }

// ---- TSearchLookupForm ----------------------------------------------------

HOST_IMPLEMENT_COMPONENT(TSearchLookupForm, TBaseLookupForm)

void TSearchLookupForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TSearchLookupForm>();
    p.Field("SearchPanel", &TSearchLookupForm::SearchPanel);
    p.Field("lSearch", &TSearchLookupForm::lSearch);
    p.Field("eSearch", &TSearchLookupForm::eSearch);
    p.Field("lMatch", &TSearchLookupForm::lMatch);
    p.Field("lGrid", &TSearchLookupForm::lGrid);
    p.Field("Panel1", &TSearchLookupForm::Panel1);
    p.Field("bOk", &TSearchLookupForm::bOk);
    p.Field("bCancel", &TSearchLookupForm::bCancel);
    p.Method("eSearchKeyDown", &TSearchLookupForm::eSearchKeyDown);
    p.Method("lGridDblClick", &TSearchLookupForm::lGridDblClick);
}

void TSearchLookupForm::Loaded() {
    inherited::Loaded();
    if (lGrid) lGrid->OnMouseDown = TMouseEvent::Method(this, &TSearchLookupForm::lGridMouseDown, "lGridMouseDown");
    if (eSearch) eSearch->OnChange = TNotifyEvent::Method(this, &TSearchLookupForm::eSearchChange, "eSearchChange");
}

TDataSource* TSearchLookupForm::GetDataSource() { return lGrid ? lGrid->DataSource() : nullptr; }

void TSearchLookupForm::SetDataSource(TDataSource* Value) {
    if (!lGrid || !eSearch) return;
    lGrid->SetDataSource(Value);
    FSearchColumn = 0;
    ShowSearchColumn();
    // The dialog sets the source before the form shows: the focus is still
    // in the control the lookup was opened from, and its text is what the
    // user typed. The records stay where the dialog put them.
    std::string typed;
    if (auto* edit = As<TCustomMaskEdit>(Screen()->ActiveControl())) typed = edit->Text();
    {
        const TScopedFlag prefilling(FPrefilling);
        eSearch->SetText(typed);
    }
    eSearch->SetSelStart(Utf8Length(typed));
    const TField* field = SearchField();
    ShowMatch(typed.empty() || (field && StartsText(typed, field->AsString())));
}

TField* TSearchLookupForm::SearchField() const {
    if (!lGrid || lGrid->ColumnCount() == 0) return nullptr;
    return lGrid->Fields(std::min(FSearchColumn, lGrid->ColumnCount() - 1));
}

void TSearchLookupForm::SetSearchColumn(int Index) {
    if (!lGrid || Index < 0 || Index >= lGrid->ColumnCount()) return;
    FSearchColumn = Index;
    ShowSearchColumn();
    Search();
}

void TSearchLookupForm::ShowSearchColumn() {
    const TField* field = SearchField();
    if (lSearch) lSearch->SetCaption((field ? field->DisplayLabel() : std::string("Search")) + ":");
    if (lGrid && field) lGrid->SetSelectedIndex(FSearchColumn);
}

void TSearchLookupForm::Search() {
    const TDataSource* source = GetDataSource();
    TField* field = SearchField();
    if (!eSearch || !source || !source->DataSet() || !field) return;
    const std::string text = eSearch->Text();
    if (text.empty()) {
        ShowMatch(true);
        return;
    }
    bool found = false;
    try {
        found = source->DataSet()->Locate(field->FieldName(), text, TLocateOptions{loCaseInsensitive, loPartialKey});
    } catch (const Exception&) {
        // A text the column cannot hold (letters in a number) matches nothing.
    }
    ShowMatch(found);
}

void TSearchLookupForm::ShowMatch(bool Matched) {
    FNoMatch = !Matched;
    if (lMatch) lMatch->SetCaption(Matched ? "" : "no match");
    if (bOk) bOk->SetEnabled(Matched);
}

void TSearchLookupForm::MoveGrid(int Distance) {
    const TDataSource* source = GetDataSource();
    if (!source || !source->DataSet() || !source->DataSet()->Active()) return;
    source->DataSet()->MoveBy(Distance);
    // A record reached by moving is chosen by the user, whatever the text.
    ShowMatch(true);
}

void TSearchLookupForm::eSearchChange(TObject* /*Sender*/) {
    if (!FPrefilling) Search();
}

void TSearchLookupForm::eSearchKeyDown(TObject* /*Sender*/, std::uint16_t& Key, TShiftState Shift) {
    const int page = lGrid ? std::max(1, lGrid->VisibleRowCount() - 1) : 1;
    const bool ctrl = Shift.Contains(ssCtrl);
    switch (Key) {
    case VK_DOWN: MoveGrid(1); break;
    case VK_UP: MoveGrid(-1); break;
    case VK_NEXT: MoveGrid(page); break;
    case VK_PRIOR: MoveGrid(-page); break;
    case VK_LEFT:
    case VK_RIGHT:
        if (!ctrl) return;
        SetSearchColumn(FSearchColumn + (Key == VK_RIGHT ? 1 : -1));
        break;
    default: return;
    }
    Key = 0;
}

void TSearchLookupForm::lGridDblClick(TObject* /*Sender*/) {
    if (!FNoMatch) SetModalResult(mrOk);
}

void TSearchLookupForm::lGridMouseDown(TObject* /*Sender*/, TMouseButton Button, TShiftState /*Shift*/, int X, int Y) {
    if (Button != mbLeft || !lGrid) return;
    const auto [col, row] = lGrid->MouseCoord(X, Y);
    const int indicator = lGrid->Options().Contains(dgIndicator) ? 1 : 0;
    // A click on a column's title searches that column; the search edit keeps the focus.
    if (row == 0 && lGrid->Options().Contains(dgTitles) && col >= indicator) {
        SetSearchColumn(col - indicator);
        if (eSearch && eSearch->CanFocus()) eSearch->SetFocus();
    } else {
        ShowMatch(true);
    }
}

void TDefaultLookupForm::Loaded() {
    inherited::Loaded();
    if (!lGrid || lGrid->OnKeyDown) return;
    lGrid->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState shift) {
        if (key == VK_TAB && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && DialogKey(key, shift)) key = 0;
    };
}

namespace Lddlg {

void Initialization() {}
void Finalization() {}

} // namespace Lddlg

} // namespace veskar
