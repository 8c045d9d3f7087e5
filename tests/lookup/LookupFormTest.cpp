// The default lookup form as its stored definition builds it.

#include "host/ui/Buttons.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Mouse.h"
#include "tests/lookup/DialogFixture.h"

namespace dialog {
namespace {

TEST(LookupFormTest, TheStoredFormBuildsTheGridAndTheButtons) {
    Owned<TDefaultLookupForm> form(TDefaultLookupForm::Create(nullptr));
    EXPECT_EQ(form->Name(), "DefaultLookupForm");
    EXPECT_EQ(form->Caption(), "LookupDialog");
    EXPECT_EQ(form->BorderStyle(), bsDialog);
    EXPECT_EQ(form->Position(), poDefaultSizeOnly);
    EXPECT_EQ(form->Left(), 287);
    EXPECT_EQ(form->Top(), 259);
    EXPECT_EQ(form->ClientWidth(), 445);
    EXPECT_EQ(form->ClientHeight(), 243);
    EXPECT_EQ(form->Color(), clBtnFace);
    EXPECT_EQ(form->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(form->Font()->Height(), -11);
    EXPECT_EQ(form->PixelsPerInch(), 96);
    EXPECT_EQ(form->TextHeight(), 13);
    EXPECT_FALSE(form->OldCreateOrder());

    ASSERT_NE(form->lGrid, nullptr);
    ASSERT_NE(form->Panel1, nullptr);
    ASSERT_NE(form->bOk, nullptr);
    ASSERT_NE(form->bCancel, nullptr);
    EXPECT_EQ(form->ActiveControl(), form->lGrid);
    EXPECT_EQ(form->lGrid->Parent(), form.get());
    EXPECT_EQ(form->lGrid->Align(), alClient);
    EXPECT_TRUE(form->lGrid->ReadOnly());
    EXPECT_EQ(form->lGrid->Options(), (TDBGridOptions{dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
                                                      dgTabs, dgConfirmDelete, dgCancelOnExit}));
    EXPECT_EQ(form->lGrid->OnDblClick.MethodName(), "lGridDblClick");
    EXPECT_EQ(form->Panel1->Align(), alBottom);
    EXPECT_EQ(form->Panel1->Height(), 33);
    EXPECT_EQ(form->Panel1->Caption(), "");
    EXPECT_EQ(form->bOk->Parent(), form->Panel1);
    EXPECT_EQ(form->bOk->Caption(), "OK");
    EXPECT_TRUE(form->bOk->Default());
    EXPECT_EQ(form->bOk->ModalResult(), mrOk);
    EXPECT_EQ(form->bOk->BoundsRect(), Bounds(285, 4, 75, 25));
    EXPECT_EQ(form->bCancel->Caption(), "Cancel");
    EXPECT_TRUE(form->bCancel->Cancel());
    EXPECT_EQ(form->bCancel->ModalResult(), mrCancel);
    EXPECT_EQ(form->bOk->Glyph()->Width(), 16);
    EXPECT_EQ(form->bOk->Glyph()->Height(), 16);
    EXPECT_EQ(form->bCancel->Glyph()->Width(), 16);
    EXPECT_NE(form->bOk->Glyph()->Pixels(7, 10), form->bOk->Glyph()->Pixels(0, 15)) << "a drawn tick";

    EXPECT_EQ(form->GetDataSource(), nullptr);
}

TEST(LookupFormTest, TheGridOnlyBrowsesAndItsDoubleClickAccepts) {
    Owned<TForm> owner(TForm::Create(nullptr));
    TMemoryDataSet* table = TMemoryDataSet::Create(owner.get());
    table->FieldDefs().Add("Code", ftString, 10);
    table->Open();
    table->AppendRecord({"A"});
    table->AppendRecord({"B"});
    TDataSource* source = TDataSource::Create(owner.get());
    source->SetDataSet(table);
    TDefaultLookupForm* form = TDefaultLookupForm::Create(owner.get());
    form->SetDataSource(source);
    EXPECT_EQ(form->GetDataSource(), source);
    EXPECT_EQ(form->lGrid->DataSource(), source);

    HeadlessBackend()->QueueModalAnswer([&](TCustomForm*) {
        Keyboard().Type("Z");  // no edit in a read-only browsing grid
        EXPECT_EQ(form->lGrid->InplaceEditor(), nullptr);
        table->First();
        Mouse().DblClick(form->lGrid);
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(table->FieldByName("Code")->AsString(), "A");
    EXPECT_EQ(table->State(), dsBrowse);
}

TEST(LookupFormTest, TabLeavesTheGridForTheButtonsWhateverItsColumn) {
    Owned<TForm> owner(TForm::Create(nullptr));
    TMemoryDataSet* table = TMemoryDataSet::Create(owner.get());
    table->FieldDefs().Add("Code", ftString, 10);
    table->FieldDefs().Add("Name", ftString, 10);
    table->Open();
    table->AppendRecord({"A", "Ant"});
    TDataSource* source = TDataSource::Create(owner.get());
    source->SetDataSet(table);
    TDefaultLookupForm* form = TDefaultLookupForm::Create(owner.get());
    form->SetDataSource(source);
    HeadlessBackend()->QueueModalAnswer([&](TCustomForm*) {
        EXPECT_TRUE(form->lGrid->Focused());
        Keyboard().Press(VK_TAB);
        EXPECT_EQ(form->lGrid->SelectedIndex(), 0) << "the column stays";
        EXPECT_TRUE(form->bOk->Focused());
        Keyboard().Press(VK_TAB);
        EXPECT_TRUE(form->bCancel->Focused());
        Keyboard().Press(VK_TAB);
        EXPECT_TRUE(form->lGrid->Focused());
        Keyboard().Press(VK_TAB, {ssShift});
        EXPECT_TRUE(form->bCancel->Focused());
        Keyboard().Press(VK_RETURN);
    });
    EXPECT_EQ(form->ShowModal(), mrCancel);
    // The stored options stay as they are.
    EXPECT_TRUE(form->lGrid->Options().Contains(dgTabs));
}

} // namespace
} // namespace dialog
