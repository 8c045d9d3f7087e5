// Order entry, control capture: the order form's data-aware edits and its
// grid are captured by a controls list. Focusing one shows the lookup button
// at its right edge; the shortcut (or a click on the button) asks the list
// for a lookup, and the list here only says who asked.

#include "examples/Scenes.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "lookup/Ldcapt.h"

#include <iostream>
#include <string>

using namespace host;
using namespace veskar;

namespace {

// A list that tells what its links report.
class TAnnouncingList : public TLookupControlsList {
    HOST_CLASS(TAnnouncingList, TLookupControlsList)
public:
    void LookupButtonClicked(TWinControl* Control, TField* Field) override {
        std::cout << "    -> lookup asked by " << Control->Name() << " for field "
                  << (Field ? Field->FieldName() : std::string("(none)")) << "\n";
    }

protected:
    TAnnouncingList() = default;
};

HOST_IMPLEMENT_CLASS(TAnnouncingList, TLookupControlsList)

void DescribeButton(TLookupControlsList* list, TWinControl* control) {
    TLookupWinControlLink* link = list->GetLinkToControl(control);
    TLookupButton* button = link ? link->Button() : nullptr;
    if (!button) {
        std::cout << "    " << control->Name() << " shows no lookup button\n";
        return;
    }
    const TWinControl* host = button->Parent();
    std::cout << "    " << control->Name() << " shows the lookup button on " << host->ClassName() << " (width "
              << host->Width() << "): " << button->Width() << " x " << button->Height() << " at x "
              << button->Left() << ", hint \"" << button->Hint() << "\"\n";
}

void Press(const char* what, std::uint16_t key, TShiftState shift) {
    std::cout << "  The clerk presses " << what << ".\n";
    Keyboard().Press(key, shift);
}

TMemoryDataSet* MakeOrders(TComponent* owner) {
    TMemoryDataSet* orders = TMemoryDataSet::Create(owner);
    orders->FieldDefs().Add("OrderNo", ftInteger);
    orders->FieldDefs().Add("CustNo", ftString, 10);
    orders->FieldDefs().Add("PartNo", ftString, 10);
    orders->Open();
    orders->AppendRecord({1001, "1221", "900"});
    orders->AppendRecord({1002, "1351", "912"});
    orders->First();
    return orders;
}

TDBEdit* MakeEdit(TWinControl* window, TDataSource* source, const char* name, const char* field, int top) {
    TDBEdit* edit = TDBEdit::Create(window);
    edit->SetName(name);
    edit->SetParent(window);
    edit->SetBounds(90, top, 121, 21);
    edit->SetDataSource(source);
    edit->SetDataField(field);
    return edit;
}

} // namespace

void RunCaptureScene() {
    std::cout << "\nPart two: control capture\n\n";
    Owned<TForm> window(TForm::Create(nullptr));
    window->SetName("OrderForm");
    window->SetCaption("Orders");
    window->SetBounds(200, 120, 480, 360);
    TDataSource* source = TDataSource::Create(window.get());
    source->SetDataSet(MakeOrders(window.get()));
    TDBEdit* custEdit = MakeEdit(window.get(), source, "CustEdit", "CustNo", 10);
    TDBEdit* partEdit = MakeEdit(window.get(), source, "PartEdit", "PartNo", 40);
    TDBGrid* grid = TDBGrid::Create(window.get());
    grid->SetName("OrderGrid");
    grid->SetParent(window.get());
    grid->SetBounds(10, 80, 400, 200);
    grid->SetOptions(grid->Options() + TDBGridOptions{dgEditing});
    grid->SetDataSource(source);

    Owned<TAnnouncingList> list(TAnnouncingList::Create());
    for (TWinControl* control : {static_cast<TWinControl*>(custEdit), static_cast<TWinControl*>(partEdit),
                                 static_cast<TWinControl*>(grid)})
        list->AddLookupControl(control, true);
    window->Show();
    std::cout << "  The order form \"" << window->Caption() << "\" is shown at " << window->Left() << ", "
              << window->Top() << ".\n";
    std::cout << "  The list captures " << list->Count() << " controls; its shortcut is "
              << ShortCutToText(list->LookupShortCut()) << ".\n";

    std::cout << "\n  The clerk clicks into the customer number.\n";
    custEdit->SetFocus();
    DescribeButton(list.get(), custEdit);
    Press("Ctrl+F1", VK_F1, {ssCtrl});
    Press("Shift+Ctrl+F1 (not the shortcut)", VK_F1, {ssShift, ssCtrl});
    std::cout << "  The clerk clicks the lookup button.\n";
    Mouse().Click(list->GetLinkToControl(custEdit)->Button());

    std::cout << "\n  The clerk moves on to the part number.\n";
    partEdit->SetFocus();
    DescribeButton(list.get(), custEdit);
    DescribeButton(list.get(), partEdit);
    Press("Ctrl+F1", VK_F1, {ssCtrl});

    std::cout << "\n  The clerk enters the grid and starts editing the customer column.\n";
    grid->SetFocus();
    grid->SetSelectedIndex(1);
    grid->ShowEditor();
    DescribeButton(list.get(), grid);
    Press("Ctrl+F1", VK_F1, {ssCtrl});

    std::cout << "\n  The clerk leaves the grid.\n";
    custEdit->SetFocus();
    DescribeButton(list.get(), grid);
    FocusManager().SetFocus(nullptr);
}
