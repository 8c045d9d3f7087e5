#include "tests/examples/ClerksRoad.h"

#include "host/ui/Dialogs.h"
#include "host/ui/Focus.h"
#include "host/ui/Grids.h"
#include "host/ui/Keyboard.h"
#include "host/ui/Mouse.h"
#include "lookup/Lddlg.h"

#include <exception>

namespace demo::testing {

using namespace host;
using namespace veskar;

void Act(const std::function<void()>& step) {
    try {
        step();
    } catch (const std::exception&) {
        ShowCurrentException();
    }
    HeadlessBackend()->ClearModalAnswers();
}

std::vector<std::string> ClerksRoad(TOrderEntryForm* form, TDataSet* orders, TDataSet* parts) {
    THeadlessBackend* ui = HeadlessBackend();
    std::vector<std::string> shown;
    const auto step = [&](const std::function<void()>& event) {
        Act(event);
        shown.push_back(form->CustEdit->Text());
    };
    step([&] { form->CustEdit->SetFocus(); });
    step([&] { Keyboard().Type("c"); });
    step([&] { Keyboard().Type("e"); });
    step([&] {
        ui->QueueModalAnswer([](TCustomForm*) {
            Keyboard().Press(VK_DOWN);
            Keyboard().Press(VK_RETURN);
        });
        Keyboard().Press(VK_F1, TShiftState{ssCtrl});
    });
    step([&] { form->PartEdit->SetFocus(); });
    step([&] {
        ui->QueueModalAnswer([&](TCustomForm* lookupForm) {
            parts->Last();
            Mouse().DblClick(As<TDefaultLookupForm>(lookupForm)->lGrid);
        });
        Keyboard().Press(VK_F1, TShiftState{ssCtrl});
    });
    step([&] { form->CustEdit->SetFocus(); });
    step([&] {
        ui->QueueModalAnswer([](TCustomForm*) {
            Keyboard().Press(VK_DOWN);
            Keyboard().Press(VK_ESCAPE);
        });
        Keyboard().Press(VK_F1, TShiftState{ssCtrl});
    });
    step([&] {
        auto* grid = As<TDBGrid>(form->FindComponent("OrderGrid"));
        grid->SetFocus();
        grid->SetSelectedField(orders->FieldByName("PartNo"));
        grid->ShowEditor();
    });
    step([&] {
        ui->QueueModalAnswer([&](TCustomForm* lookupForm) {
            parts->First();
            Mouse().Click(As<TDefaultLookupForm>(lookupForm)->bOk);
        });
        Keyboard().Press(VK_F1, TShiftState{ssCtrl});
    });
    step([&] { FocusManager().SetFocus(nullptr); });
    step([&] { orders->Post(); });
    return shown;
}

std::vector<std::string> Shown(TShownKind kind) {
    std::vector<std::string> texts;
    for (const TShownItem& item : HeadlessBackend()->Shown())
        if (item.Kind == kind) texts.push_back(item.Text);
    return texts;
}

std::string Road(const std::vector<std::string>& shown) {
    std::string road;
    for (const std::string& text : shown) road += "'" + text + "' ";
    return road;
}

} // namespace demo::testing
