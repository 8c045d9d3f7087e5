#pragma once
// A window with data-aware edits and a grid over an orders table, and a
// controls list that writes down every hook call.

#include "host/core/Exception.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Focus.h"
#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"
#include "host/ui/StdCtrls.h"
#include "lookup/Ldcapt.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace capture {

using namespace host;
using namespace veskar;

inline std::string NameOf(const TComponent* c) { return c ? c->Name() : std::string("nil"); }
inline std::string FieldOf(const TField* f) { return f ? f->FieldName() : std::string("nil"); }

class TRecordingList : public TLookupControlsList {
    HOST_CLASS(TRecordingList, TLookupControlsList)
public:
    std::vector<std::string> Log;
    // Fields (by name) for which the check answers false.
    std::set<std::string> Refused;
    std::function<void(TWinControl*, TField*)> OnClicked;

    void ControlBeginEdit(TLookupWinControlLink* Link) override { Log.push_back("begin:" + NameOf(Link->Control())); }
    void ControlEndEdit(TLookupWinControlLink* Link) override { Log.push_back("end:" + NameOf(Link->Control())); }
    bool CheckControlLookup(TWinControl* Control, TField* Field) override {
        Log.push_back("check:" + NameOf(Control) + ":" + FieldOf(Field));
        return !Refused.count(FieldOf(Field));
    }
    void LookupButtonClicked(TWinControl* Control, TField* Field) override {
        Log.push_back("click:" + NameOf(Control) + ":" + FieldOf(Field));
        if (OnClicked) OnClicked(Control, Field);
    }
    std::vector<std::string> TakeLog() { return std::exchange(Log, {}); }

protected:
    TRecordingList() = default;
};

class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override {
        Window = TWinControl::Create(nullptr);
        Window->SetBounds(100, 50, 600, 400);
        Orders = TMemoryDataSet::Create(Window);
        Orders->FieldDefs().Add("OrderNo", ftInteger);
        Orders->FieldDefs().Add("CustNo", ftString, 10);
        Orders->FieldDefs().Add("Note", ftString, 20);
        Orders->Open();
        Orders->AppendRecord({1, "C1", "first"});
        Orders->AppendRecord({2, "C2", "second"});
        Orders->First();
        Source = TDataSource::Create(Window);
        Source->SetDataSet(Orders);
        CustEdit = MakeEdit("CustEdit", "CustNo", 10);
        NoteEdit = MakeEdit("NoteEdit", "Note", 40);
        Plain = TEdit::Create(Window);
        Plain->SetName("Plain");
        Plain->SetParent(Window);
        List.reset(TRecordingList::Create());
    }
    void TearDown() override {
        List.reset();
        FocusManager().SetFocus(nullptr);
        Keyboard().SetShiftState({});
        Free(Window);
    }

    TDBEdit* MakeEdit(const char* name, const char* field, int top) {
        TDBEdit* edit = TDBEdit::Create(Window);
        edit->SetName(name);
        edit->SetParent(Window);
        edit->SetBounds(10, top, 121, 21);
        edit->SetDataSource(Source);
        edit->SetDataField(field);
        return edit;
    }

    TDBGrid* MakeGrid() {
        TDBGrid* grid = TDBGrid::Create(Window);
        grid->SetName("Grid");
        grid->SetParent(Window);
        grid->SetBounds(10, 100, 400, 200);
        grid->SetOptions(grid->Options() + TDBGridOptions{dgEditing});
        grid->SetDataSource(Source);
        return grid;
    }

    TLookupWinControlLink* Capture(TWinControl* control) {
        return List->Links(List->AddLookupControl(control, true));
    }

    static bool CtrlF1() { return Keyboard().Press(VK_F1, TShiftState{ssCtrl}); }

    TWinControl* Window = nullptr;
    TMemoryDataSet* Orders = nullptr;
    TDataSource* Source = nullptr;
    TDBEdit* CustEdit = nullptr;
    TDBEdit* NoteEdit = nullptr;
    TEdit* Plain = nullptr;
    Owned<TRecordingList> List;
};

using Log = std::vector<std::string>;

} // namespace capture
