// Writing components as form text, and reading the text back.

#include "SampleForm.h"
#include "StreamClasses.h"

#include "host/stream/Reader.h"
#include "host/stream/Writer.h"

#include <gtest/gtest.h>

using namespace host;
using namespace streamtest;

namespace {

class FormWriterTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterStreamTestClasses(); }
};

} // namespace

TEST_F(FormWriterTest, WritesDefaultsOnlyWhenTheyDifferAndUndeclaredOnesAlways) {
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    form->SetName("F");
    TProbe* probe = TProbe::Create(form.get());
    probe->SetName("P");
    EXPECT_EQ(WriteComponentText(form.get()),
              "object F: TProbeForm\n"
              "  Left = 0\n"
              "  Top = 0\n"
              "  Width = 0\n"
              "  Height = 0\n"
              "  Caption = 'F'\n"
              "  object P: TProbe\n"
              "    Active = True\n"
              "    ShortCut = 16496\n"
              "  end\n"
              "end\n");

    probe->SetTag(3);
    probe->Active = false;
    probe->Count = 2;
    probe->Color = 0xFF;
    probe->Ratio = 0.1;
    probe->Title = "a'b\tc";
    probe->Side = alClient;
    probe->Styles = {psBold, psUnderline};
    probe->Font()->Name = "Mono";
    probe->Keys()->SetCommaText("A,B");
    static_cast<TProbeItem*>(probe->Items()->Add())->Caption = "x";
    probe->Items()->Add();
    EXPECT_EQ(WriteComponentText(probe),
              "object P: TProbe\n"
              "  Tag = 3\n"
              "  Keys.Strings = (\n"
              "    'A'\n"
              "    'B')\n"
              "  Active = False\n"
              "  ShortCut = 16496\n"
              "  Count = 2\n"
              "  Color = clRed\n"
              "  Ratio = 0.1\n"
              "  Title = 'a''b'#9'c'\n"
              "  Side = alClient\n"
              "  Styles = [psBold, psUnderline]\n"
              "  Font.Name = 'Mono'\n"
              "  Items = <\n"
              "    item\n"
              "      Caption = 'x'\n"
              "    end\n"
              "    item\n"
              "      Caption = ''\n"
              "    end>\n"
              "end\n");
}

TEST_F(FormWriterTest, SplitsLongStringsAndBinaryDataOverLines) {
    Owned<TProbe> probe(TProbe::Create(nullptr));
    probe->Title = std::string(64, 'a') + std::string(10, 'b');
    for (int i = 0; i < 40; ++i) probe->Blob.push_back(static_cast<unsigned char>(i));
    EXPECT_EQ(WriteComponentText(probe.get()),
              "object TProbe\n"
              "  Active = True\n"
              "  ShortCut = 16496\n"
              "  Title =\n"
              "    '" + std::string(64, 'a') + "' +\n"
              "    'bbbbbbbbbb'\n"
              "  Blob = {\n"
              "    000102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D1E1F\n"
              "    2021222324252627}\n"
              "end\n");
    Owned<TComponent> back(CreateComponentFromText(WriteComponentText(probe.get())));
    auto* read = static_cast<TProbe*>(back.get());
    EXPECT_EQ(read->Title, probe->Title);
    EXPECT_EQ(read->Blob, probe->Blob);
}

TEST_F(FormWriterTest, ARoundTripReadsBackTheSameComponentsAndValues) {
    Owned<TComponent> first(CreateComponentFromText(SampleFormText()));
    const std::string written = WriteComponentText(first.get());
    Owned<TComponent> second(CreateComponentFromText(written));
    EXPECT_EQ(WriteComponentText(second.get()), written);

    auto* form = dynamic_cast<TProbeForm*>(second.get());
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->ComponentCount(), 6);
    EXPECT_EQ(form->Grid->DataSource(), form->Source);
    EXPECT_EQ(form->Grid->Options(), (TDBGridOptions{dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs}));
    EXPECT_EQ(form->Grid->OnDblClick.MethodName(), "GridDblClick");
    EXPECT_EQ(form->Edit1->Hint(), "It's\r\nhere");
    EXPECT_EQ(form->Edit1->Parent()->Name(), "Panel1");
    EXPECT_FALSE(form->Source->AutoEdit());
    EXPECT_FALSE(form->Probe->Active);
    EXPECT_EQ(form->Probe->ShortCut, 0x4070);
    EXPECT_EQ(form->Probe->Keys()->CommaText(), "CustNo,\"Order No\"");
    EXPECT_EQ(form->Probe->Source(), form->Source);
    EXPECT_EQ(static_cast<TProbeItem*>(form->Probe->Items()->Items(0))->Source, form->Source);
    auto* button = dynamic_cast<TSpeedButton*>(form->FindComponent("Button"));
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->Glyph()->SamePicture(*SampleGlyph()));
    // What the sample stored and no default covers is written.
    EXPECT_NE(written.find("    Options = [dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs]\n"), std::string::npos);
    EXPECT_NE(written.find("    Active = False\n"), std::string::npos);
    EXPECT_NE(written.find("      Glyph.Data = {\n        " + GlyphHex(*SampleGlyph()).substr(0, 64) + "\n"),
              std::string::npos);
}

TEST_F(FormWriterTest, NestsControlsInZOrderAndLeavesOutWhatOthersOwn) {
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    form->SetName("F");
    TDataSource* source = TDataSource::Create(form.get());
    source->SetName("Source");
    TWinControl* panel = TWinControl::Create(form.get());
    panel->SetName("Panel");
    panel->SetParent(form.get());
    TEdit* a = TEdit::Create(form.get());
    a->SetName("A");
    a->SetParent(panel);
    TEdit* b = TEdit::Create(form.get());
    b->SetName("B");
    b->SetParent(panel);
    a->BringToFront();
    // Owned by the panel, not the root: not the root's to write.
    TEdit* inner = TEdit::Create(panel);
    inner->SetName("Inner");
    inner->SetParent(panel);
    // A control without a parent is written at the top.
    TEdit* loose = TEdit::Create(form.get());
    loose->SetName("Loose");

    const std::string text = WriteComponentText(form.get());
    auto at = [&](const std::string& line) { return text.find(line); };
    ASSERT_NE(at("  object Panel: TWinControl\n"), std::string::npos);
    EXPECT_LT(at("  object Panel: TWinControl\n"), at("    object B: TEdit\n"));
    EXPECT_LT(at("    object B: TEdit\n"), at("    object A: TEdit\n"));
    EXPECT_LT(at("    object A: TEdit\n"), at("  object Source: TDataSource\n"));
    EXPECT_LT(at("  object Source: TDataSource\n"), at("  object Loose: TEdit\n"));
    EXPECT_EQ(at("Inner"), std::string::npos);
    // Parts a component makes for itself are made again when it is read.
    TEdit* part = TEdit::Create(form.get());
    part->SetName("Part");
    part->SetParent(panel);
    part->SetSubComponent(true);
    TDataSource* hidden = TDataSource::Create(form.get());
    hidden->SetName("Hidden");
    hidden->SetSubComponent(true);
    const std::string withParts = WriteComponentText(form.get());
    EXPECT_EQ(withParts, text) << "sub-components are not written";
    // An edit's caption is its text, stored once as Text.
    EXPECT_NE(at("    Caption = 'Panel'\n"), std::string::npos);
    EXPECT_NE(at("      Text = 'A'\n"), std::string::npos);
    EXPECT_EQ(at("Caption = 'A'"), std::string::npos);
}

TEST_F(FormWriterTest, WritesReferencesToOtherRootsAndOnlyNamedEventsOfTheRoot) {
    Owned<TDataModule> data(TDataModule::Create(nullptr));
    data->SetName("Data1");
    TDataSource* orders = TDataSource::Create(data.get());
    orders->SetName("Orders");
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    form->SetName("F");
    TProbe* probe = TProbe::Create(form.get());
    probe->SetName("P");
    probe->SetSource(orders);
    probe->OnChange = TNotifyEvent::Method(form.get(), &TProbeForm::GridDblClick, "GridDblClick");
    probe->OnValue = [](TObject*, int&) {};
    const std::string text = WriteComponentText(form.get());
    EXPECT_NE(text.find("    Source = Data1.Orders\n"), std::string::npos);
    EXPECT_NE(text.find("    OnChange = GridDblClick\n"), std::string::npos);
    EXPECT_EQ(text.find("OnValue"), std::string::npos);

    Owned<TComponent> back(CreateComponentFromText(text));
    auto* read = dynamic_cast<TProbe*>(back->FindComponent("P"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Source(), orders);
}
