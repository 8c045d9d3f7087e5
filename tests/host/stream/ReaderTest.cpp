// Reading form texts: components made and nested, values of every kind,
// events, references (forward and to other roots), Loaded, inherited reads.

#include "SampleForm.h"
#include "StreamClasses.h"

#include "host/core/ClassRegistry.h"
#include "host/core/GlobalRoots.h"
#include "host/core/StreamErrors.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"

#include <gtest/gtest.h>

using namespace host;
using namespace streamtest;

namespace {

class FormReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterStreamTestClasses();
        LoadedLog().clear();
    }

    Owned<TProbeForm> ReadSample() {
        TComponent* root = CreateComponentFromText(SampleFormText());
        auto* form = dynamic_cast<TProbeForm*>(root);
        EXPECT_NE(form, nullptr);
        return Owned<TProbeForm>(form);
    }
};

template <class T>
T* Find(TComponent* root, const std::string& name) {
    return dynamic_cast<T*>(root->FindComponent(name));
}

} // namespace

TEST_F(FormReaderTest, MakesComponentsOwnedByTheRootAndNestedControlsInTheirParents) {
    auto form = ReadSample();
    EXPECT_EQ(form->Name(), "MainForm");
    ASSERT_EQ(form->ComponentCount(), 6);
    for (int i = 0; i < form->ComponentCount(); ++i) EXPECT_EQ(form->Components(i)->Owner(), form.get());

    auto* panel = Find<TWinControl>(form.get(), "Panel1");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(form->Grid->Parent(), form.get());
    EXPECT_EQ(panel->Parent(), form.get());
    EXPECT_EQ(form->Edit1->Parent(), panel);
    EXPECT_EQ(Find<TControl>(form.get(), "Button")->Parent(), panel);
    ASSERT_EQ(panel->ControlCount(), 2);
    EXPECT_EQ(panel->Controls(0), form->Edit1);

    // Published fields point at the components of their names.
    EXPECT_EQ(form->Grid, form->FindComponent("Grid"));
    EXPECT_EQ(form->Source, form->FindComponent("Source"));
    EXPECT_EQ(form->Probe, form->FindComponent("Probe"));
    EXPECT_FALSE(form->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form->Probe->ComponentState().Contains(csLoading));
}

TEST_F(FormReaderTest, SetsValuesOfEveryKind) {
    auto form = ReadSample();
    EXPECT_EQ(form->BoundsRect(), Bounds(10, 20, 400, 300));
    EXPECT_EQ(form->Caption(), "Main");
    EXPECT_EQ(form->Grid->Align(), alClient);
    EXPECT_TRUE(form->Grid->ReadOnly());
    EXPECT_EQ(form->Grid->Options(), (TDBGridOptions{dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs}));
    EXPECT_EQ(Find<TWinControl>(form.get(), "Panel1")->Constraints()->MaxHeight(), 120);
    EXPECT_EQ(form->Edit1->Cursor(), crHandPoint);
    EXPECT_EQ(form->Edit1->Hint(), "It's\r\nhere");
    EXPECT_TRUE(form->Edit1->ShowHint());
    EXPECT_EQ(form->Edit1->Text(), "first second");
    EXPECT_FALSE(form->Source->AutoEdit());

    auto* button = Find<TSpeedButton>(form.get(), "Button");
    EXPECT_TRUE(button->Flat());
    EXPECT_TRUE(button->Glyph()->SamePicture(*SampleGlyph()));

    TProbe* probe = form->Probe;
    EXPECT_EQ(probe->Tag(), 7);
    EXPECT_EQ(probe->Keys()->CommaText(), "CustNo,\"Order No\"");
    EXPECT_FALSE(probe->Active);
    EXPECT_EQ(probe->ShortCut, 0x4070);
    EXPECT_EQ(probe->Count, -3);
    EXPECT_EQ(probe->Color, 0xFF);
    EXPECT_DOUBLE_EQ(probe->Ratio, 125.0);
    EXPECT_EQ(probe->Title, "Abc");
    EXPECT_EQ(probe->Side, alRight);
    EXPECT_EQ(probe->Styles, (TProbeStyles{psBold, psUnderline}));
    EXPECT_EQ(probe->Blob, (std::vector<unsigned char>{0x00, 0xFF, 0x10}));
    EXPECT_EQ(probe->Font()->Name, "Mono");
    EXPECT_EQ(probe->Font()->Style, TProbeStyles{psItalic});
    ASSERT_EQ(probe->Items()->Count(), 2);
    auto* first = static_cast<TProbeItem*>(probe->Items()->Items(0));
    auto* second = static_cast<TProbeItem*>(probe->Items()->Items(1));
    EXPECT_EQ(first->Caption, "one");
    EXPECT_EQ(first->Width, 64);
    EXPECT_EQ(first->Source, form->Source);
    EXPECT_EQ(second->Width, 10);
    EXPECT_EQ(second->Source, nullptr);
}

TEST_F(FormReaderTest, BindsEventsToPublishedMethodsOfTheRootByName) {
    auto form = ReadSample();
    EXPECT_EQ(form->Grid->OnDblClick.MethodName(), "GridDblClick");
    EXPECT_EQ(form->Grid->OnDblClick.Data(), form.get());
    form->Grid->DblClick();
    EXPECT_EQ(form->Calls, std::vector<std::string>{"GridDblClick:Grid"});

    int value = 21;
    ASSERT_TRUE(form->Probe->OnValue.Assigned());
    form->Probe->OnValue(form->Probe, value);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(form->Probe->OnValue.MethodName(), "ProbeValue");
}

TEST_F(FormReaderTest, CallsLoadedInReadOrderAfterReferencesAndEventsAreSet) {
    auto form = ReadSample();
    TProbe* probe = form->Probe;
    EXPECT_TRUE(probe->LoadedCalled);
    // Still loading when Loaded begins; the source is read after the grid
    // and the probe refer to it.
    EXPECT_TRUE(probe->LoadingWhenLoaded);
    EXPECT_EQ(probe->SourceAtLoaded, "Source");
    EXPECT_EQ(probe->KeysAtLoaded, 2);
    EXPECT_EQ(probe->ChangeAtLoaded, "GridDblClick");
    EXPECT_EQ(form->Grid->DataSource(), form->Source);
    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"MainForm", "Probe"}));
}

TEST_F(FormReaderTest, ReadsIntoAnExistingRoot) {
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    ReadComponentText(form.get(),
                      "object Renamed: TProbeForm\n"
                      "  Width = 50\n"
                      "  object Probe: TProbe\n"
                      "    Source = Source\n"
                      "  end\n"
                      "  object Source: TDataSource\n"
                      "  end\n"
                      "end\n");
    EXPECT_EQ(form->Name(), "Renamed");
    EXPECT_EQ(form->Width(), 50);
    ASSERT_NE(form->Probe, nullptr);
    EXPECT_EQ(form->Probe->Source(), form->Source);
    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"Renamed", "Probe"}));
}

TEST_F(FormReaderTest, ReferencesReachComponentsOfOtherRootsByRootName) {
    Owned<TComponent> data(CreateComponentFromText("object Data1: TDataModule\n"
                                                   "  object Orders: TDataSource\n"
                                                   "  end\n"
                                                   "end"));
    EXPECT_EQ(FindGlobalRoot("data1"), data.get());
    Owned<TComponent> form(CreateComponentFromText("object F: TProbeForm\n"
                                                   "  object Probe: TProbe\n"
                                                   "    Source = Data1.Orders\n"
                                                   "  end\n"
                                                   "end"));
    auto* probe = Find<TProbe>(form.get(), "Probe");
    EXPECT_EQ(probe->Source(), data->FindComponent("Orders"));
    EXPECT_EQ(probe->SourceAtLoaded, "Orders");
}

TEST_F(FormReaderTest, AReferenceToARootNotYetMadeIsSetWhenItIsRead) {
    const int waiting = PendingReferenceCount();
    Owned<TComponent> form(CreateComponentFromText("object F: TProbeForm\n"
                                                   "  object Probe: TProbe\n"
                                                   "    Source = Later.Customers\n"
                                                   "  end\n"
                                                   "end"));
    auto* probe = Find<TProbe>(form.get(), "Probe");
    EXPECT_EQ(probe->Source(), nullptr);
    EXPECT_EQ(PendingReferenceCount(), waiting + 1);

    Owned<TComponent> later(CreateComponentFromText("object Later: TDataModule\n"
                                                    "  object Customers: TDataSource\n"
                                                    "  end\n"
                                                    "end"));
    EXPECT_EQ(probe->Source(), later->FindComponent("Customers"));
    EXPECT_EQ(PendingReferenceCount(), waiting);

    // A waiting reference goes with the component that holds it.
    Owned<TComponent> other(CreateComponentFromText("object G: TProbeForm\n"
                                                    "  object Probe: TProbe\n"
                                                    "    Source = Never.Customers\n"
                                                    "  end\n"
                                                    "end"));
    EXPECT_EQ(PendingReferenceCount(), waiting + 1);
    other.reset();
    EXPECT_EQ(PendingReferenceCount(), waiting);

    // One read into a collection item is not set once the item is gone.
    Owned<TComponent> third(CreateComponentFromText("object H: TProbeForm\n"
                                                    "  object Probe: TProbe\n"
                                                    "    Items = <\n"
                                                    "      item\n"
                                                    "        Source = Late.Customers\n"
                                                    "      end>\n"
                                                    "  end\n"
                                                    "end"));
    Find<TProbe>(third.get(), "Probe")->Items()->Clear();
    Owned<TComponent> late(CreateComponentFromText("object Late: TDataModule\n"
                                                   "  object Customers: TDataSource\n"
                                                   "  end\n"
                                                   "end"));
    EXPECT_EQ(PendingReferenceCount(), waiting);
}

TEST_F(FormReaderTest, FindsClassesAmongTheRootsFieldsBeforeTheRegistry) {
    const std::string text = "object F: TFieldForm\n"
                             "  object Panel: TFieldOnlyPanel\n"
                             "  end\n"
                             "end";
    EXPECT_EQ(GetClass("TFieldOnlyPanel"), nullptr);
    Owned<TComponent> form(CreateComponentFromText(text));
    auto* fieldForm = dynamic_cast<TFieldForm*>(form.get());
    ASSERT_NE(fieldForm, nullptr);
    ASSERT_NE(fieldForm->Panel, nullptr);
    EXPECT_EQ(fieldForm->Panel->Parent(), fieldForm);

    Owned<TProbeForm> other(TProbeForm::Create(nullptr));
    try {
        ReadComponentText(other.get(), text);
        FAIL() << "a class known to no field and no registry was made";
    } catch (const EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TFieldOnlyPanel not found at line 2, column 17 (register it with host::RegisterClasses; host::RegisterStandardClasses and "
                               "host::RegisterSQLClasses register the host's own)");
    }
}

TEST_F(FormReaderTest, InheritedObjectsChangeTheComponentsAnEarlierTextMade) {
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    {
        TReader reader;
        reader.ReadRoot(form.get(), "object Base: TProbeForm\n"
                                    "  object Edit1: TEdit\n"
                                    "    Text = 'base'\n"
                                    "    Width = 30\n"
                                    "  end\n"
                                    "end");
        reader.ReadRoot(form.get(), "inherited Derived: TProbeForm\n"
                                    "  inherited Edit1: TEdit [0]\n"
                                    "    Text = 'derived'\n"
                                    "  end\n"
                                    "  object Probe: TProbe\n"
                                    "    OnChange = GridDblClick\n"
                                    "  end\n"
                                    "end");
        EXPECT_TRUE(form->Probe->ComponentState().Contains(csLoading));
        EXPECT_FALSE(form->Probe->OnChange.Assigned());
        reader.Finish();
    }
    EXPECT_EQ(form->Name(), "Derived");
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_EQ(form->Edit1->Text(), "derived");
    EXPECT_EQ(form->Edit1->Width(), 30);
    EXPECT_EQ(form->Probe->ChangeAtLoaded, "GridDblClick");
    // Each component's Loaded ran once, after both texts.
    EXPECT_EQ(LoadedLog(), (std::vector<std::string>{"Derived", "Probe"}));

    Owned<TProbeForm> lone(TProbeForm::Create(nullptr));
    try {
        ReadComponentText(lone.get(), "inherited X: TProbeForm\n  inherited Nope: TEdit\n  end\nend");
        FAIL() << "an inherited object without its ancestor was read";
    } catch (const EParserError& e) {
        EXPECT_EQ(e.Reason(), "Ancestor for 'Nope' not found");
        EXPECT_EQ(e.Line(), 2);
    }
}

TEST_F(FormReaderTest, IgnoresWhatFollowsTheLastEnd) {
    Owned<TComponent> probe(CreateComponentFromText("object P: TProbe\n  Count = 4\nend\n'unterminated } garbage"));
    EXPECT_EQ(static_cast<TProbe*>(probe.get())->Count, 4);
    Owned<TComponent> unnamed(CreateComponentFromText("object TProbe\nend"));
    EXPECT_EQ(unnamed->Name(), "");
}

TEST_F(FormReaderTest, AFieldIsClearedWhenItsComponentGoesOrIsRenamed) {
    auto form = ReadSample();
    form->Grid->Free();
    EXPECT_EQ(form->Grid, nullptr);
    form->Edit1->SetName("Edit2");
    EXPECT_EQ(form->Edit1, nullptr);
    form->FindComponent("Edit2")->SetName("Edit1");
    EXPECT_EQ(form->Edit1, form->FindComponent("Edit1"));
    // A component of another class than the field's leaves the field alone.
    TEdit* edit = TEdit::Create(form.get());
    edit->SetName("Grid");
    EXPECT_EQ(form->Grid, nullptr);
}

TEST_F(FormReaderTest, TabOrdersTakeEffectOnceAllSiblingsAreRead) {
    // The first edit read asks for the last place; only when its siblings
    // are there can it take it. Read again after writing, the order holds.
    const char* text = "object MainForm: TProbeForm\n"
                       "  object First: TEdit\n    TabOrder = 2\n  end\n"
                       "  object Second: TEdit\n    TabOrder = 0\n  end\n"
                       "  object Third: TEdit\n    TabOrder = 1\n  end\n"
                       "end\n";
    Owned<TComponent> form(CreateComponentFromText(text));
    auto order = [](TComponent* root) {
        std::string names;
        for (const char* name : {"First", "Second", "Third"})
            names += std::to_string(Find<TWinControl>(root, name)->TabOrder());
        return names;
    };
    EXPECT_EQ(order(form.get()), "201");
    Owned<TComponent> again(CreateComponentFromText(WriteComponentText(form.get())));
    EXPECT_EQ(order(again.get()), "201");
}
