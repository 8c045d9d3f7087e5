// Published properties, fields and methods as classes declare them, and the
// class registry by name.

#include "StreamClasses.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Publisher.h"
#include "host/core/StreamErrors.h"
#include "host/core/TypInfo.h"
#include "host/ui/PropertyTypes.h"

#include <gtest/gtest.h>

using namespace host;
using namespace streamtest;

namespace {

std::vector<std::string> PropNames(const TClass& cls) {
    std::vector<std::string> names;
    const TTypeData& data = GetTypeData(cls);
    for (int i = 0; i < data.PropCount(); ++i) names.push_back(data.Props(i).Name);
    return names;
}

// Declares Count twice: a table that cannot be built.
class TTwice : public TComponent {
    HOST_CLASS(TTwice, TComponent)
    static void DeclarePublished(TPublisher& publisher) {
        auto p = publisher.Of<TTwice>();
        p.Integer("Count", [](const TTwice&) { return 0; }, [](TTwice&, int) {});
        p.Integer("count", [](const TTwice&) { return 0; }, [](TTwice&, int) {});
    }

protected:
    explicit TTwice(TComponent* owner) : TComponent(owner) {}
};
HOST_IMPLEMENT_COMPONENT(TTwice, TComponent)

} // namespace

TEST(PublishedProperties, ComeInheritedFirstInDeclarationOrder) {
    EXPECT_EQ(PropNames(TEdit::ClassInfo()),
              (std::vector<std::string>{"Name", "Tag", "Left", "Top", "Width", "Height", "Align", "Anchors", "Caption",
                                        "Constraints", "Cursor", "Hint", "ShowHint", "Visible", "Enabled", "Color", "Font",
                                        "ParentColor", "ParentFont", "OnClick",
                                        "OnDblClick", "TabOrder", "TabStop", "OnEnter", "OnExit", "OnKeyDown",
                                        "OnKeyPress", "OnKeyUp", "ReadOnly", "Text", "TextHint"}));
    // A class that declares nothing has its parent's table; the inner grid
    // editor publishes nothing of the edit boxes'.
    EXPECT_EQ(PropNames(TFieldOnlyPanel::ClassInfo()), PropNames(TWinControl::ClassInfo()));
    EXPECT_EQ(GetPropInfo(TInplaceEdit::ClassInfo(), "Text"), nullptr);
    EXPECT_EQ(PropNames(TDataSource::ClassInfo()),
              (std::vector<std::string>{"Name", "Tag", "AutoEdit", "DataSet", "Enabled"}));
    // Redeclaring changes the descendant's entry only.
    EXPECT_TRUE(GetPropInfo(TWinControl::ClassInfo(), "Caption")->Stored);
    EXPECT_FALSE(GetPropInfo(TEdit::ClassInfo(), "Caption")->Stored);
    EXPECT_FALSE(GetPropInfo(TDBEdit::ClassInfo(), "Caption")->Stored);
    EXPECT_THROW(GetTypeData(TTwice::ClassInfo()), EInvalidOperation);
}

TEST(PublishedProperties, KnowTheirKindTypeAndDefault) {
    struct TExpect {
        const TClass* Class;
        const char* Name;
        TPropKind Kind;
        const char* TypeName;
        bool HasDefault;
    };
    const std::vector<TExpect> expected = {
        {&TProbe::ClassInfo(), "ShortCut", pkInteger, "TShortCut", false},
        {&TProbe::ClassInfo(), "Active", pkBoolean, "Boolean", false},
        {&TProbe::ClassInfo(), "Keys", pkStrings, "TStrings", false},
        {&TProbe::ClassInfo(), "Source", pkComponent, "TDataSource", false},
        {&TProbe::ClassInfo(), "OnChange", pkMethod, "TNotifyEvent", false},
        {&TProbe::ClassInfo(), "OnValue", pkMethod, "TProbeEvent", false},
        {&TProbe::ClassInfo(), "Items", pkCollection, "TCollection", false},
        {&TProbe::ClassInfo(), "Ratio", pkFloat, "Double", true},
        {&TProbe::ClassInfo(), "Title", pkString, "string", true},
        {&TControl::ClassInfo(), "Align", pkEnumeration, "TAlign", true},
        {&TControl::ClassInfo(), "Constraints", pkClass, "TSizeConstraints", false},
        {&TControl::ClassInfo(), "Cursor", pkInteger, "TCursor", true},
        {&TControl::ClassInfo(), "Left", pkInteger, "Integer", false},
        {&TDBGrid::ClassInfo(), "Options", pkSet, "TDBGridOptions", true},
        {&TSpeedButton::ClassInfo(), "Glyph", pkClass, "TBitmap", false},
        {&TBitmap::ClassInfo(), "Data", pkBinary, "TBytes", false},
        {&TDataSet::ClassInfo(), "Active", pkBoolean, "Boolean", true},
    };
    for (const TExpect& e : expected) {
        SCOPED_TRACE(e.Name);
        const TPropInfo* prop = GetPropInfo(*e.Class, e.Name);
        ASSERT_NE(prop, nullptr);
        EXPECT_EQ(prop->Kind, e.Kind);
        EXPECT_EQ(prop->TypeName, e.TypeName);
        EXPECT_EQ(prop->HasDefault, e.HasDefault);
    }
    EXPECT_EQ(GetPropInfo(TProbe::ClassInfo(), "keys")->PropClass, &TStrings::ClassInfo());
    EXPECT_EQ(GetPropInfo(TProbe::ClassInfo(), "Source")->PropClass, &TDataSource::ClassInfo());
    EXPECT_EQ(GetPropInfo(TControl::ClassInfo(), "Visible")->DefaultOrd, 1);
    EXPECT_FALSE(GetPropInfo(TComponent::ClassInfo(), "Name")->Stored);
    EXPECT_EQ(GetPropInfo(TProbe::ClassInfo(), "Nope"), nullptr);
}

TEST(PublishedProperties, AreReachedThroughTypeErasedAccessorsAndDottedPaths) {
    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    TPropTarget target = ResolvePropPath(form.get(), "Constraints.MaxHeight");
    ASSERT_NE(target.Prop, nullptr);
    EXPECT_EQ(target.Instance, form->Constraints());
    SetOrdProp(target.Instance, *target.Prop, 80);
    EXPECT_EQ(form->Constraints()->MaxHeight(), 80);
    EXPECT_EQ(ResolvePropPath(form.get(), "Constraints.Nope").Prop, nullptr);
    EXPECT_EQ(ResolvePropPath(form.get(), "Left.Nope").Prop, nullptr);

    const TPropInfo& align = *GetPropInfo(form.get(), "Align");
    SetEnumProp(form.get(), align, "alclient");
    EXPECT_EQ(form->Align(), alClient);
    EXPECT_EQ(GetEnumProp(form.get(), align), "alClient");
    EXPECT_THROW(SetEnumProp(form.get(), align, "alSideways"), EPropertyError);
    EXPECT_THROW(SetOrdProp(form.get(), align, 6), EPropertyError);
    EXPECT_THROW(SetStrProp(form.get(), align, "x"), EPropertyError);

    TProbe* probe = TProbe::Create(form.get());
    EXPECT_THROW(SetOrdProp(probe, *GetPropInfo(probe, "ShortCut"), 0x10000), EPropertyError);
    SetOrdProp(probe, *GetPropInfo(probe, "Styles"), 0b101);
    EXPECT_EQ(probe->Styles, (TProbeStyles{psBold, psUnderline}));
    EXPECT_EQ(GetEnumProp(probe, *GetPropInfo(probe, "Styles")), "[psBold,psUnderline]");
    EXPECT_THROW(SetOrdProp(probe, *GetPropInfo(probe, "Styles"), 0b1000), EPropertyError);

    const TPropInfo& source = *GetPropInfo(probe, "Source");
    TEdit* edit = TEdit::Create(form.get());
    EXPECT_THROW(SetComponentProp(probe, source, edit), EPropertyError);
    TDataSource* data = TDataSource::Create(form.get());
    SetComponentProp(probe, source, data);
    EXPECT_EQ(GetObjectProp(probe, source), data);

    const TPropInfo& onValue = *GetPropInfo(probe, "OnValue");
    SetMethodProp(probe, onValue, form.get(), "probevalue");
    int value = 4;
    probe->OnValue(probe, value);
    EXPECT_EQ(value, 8);
    const TMethodRef bound = GetMethodProp(probe, onValue);
    EXPECT_TRUE(bound.Assigned);
    EXPECT_EQ(bound.Data, form.get());
    EXPECT_EQ(bound.Name, "ProbeValue");
    EXPECT_THROW(SetMethodProp(probe, onValue, form.get(), "GridDblClick"), EPropertyError);
    EXPECT_THROW(SetMethodProp(probe, onValue, form.get(), "Missing"), EPropertyError);
    SetMethodProp(probe, onValue, form.get(), "");
    EXPECT_FALSE(probe->OnValue.Assigned());
}

TEST(PublishedFields, AreDeclaredWithTheirClassesAndFollowNaming) {
    const TTypeData& data = GetTypeData(TProbeForm::ClassInfo());
    ASSERT_EQ(data.Fields().size(), 4u);
    EXPECT_EQ(data.FindField("grid")->FieldClass, &TDBGrid::ClassInfo());
    ASSERT_NE(data.FindMethod("GridDblClick"), nullptr);
    EXPECT_EQ(data.FindMethod("GridDblClick")->EventType, std::type_index(typeid(TNotifyEvent)));

    Owned<TProbeForm> form(TProbeForm::Create(nullptr));
    TEdit* edit = TEdit::Create(form.get());
    EXPECT_EQ(form->Edit1, nullptr);
    edit->SetName("Edit1");
    EXPECT_EQ(form->Edit1, edit);
    edit->Free();
    EXPECT_EQ(form->Edit1, nullptr);
}

TEST(ClassRegistry, FindsRegisteredClassesByNameIgnoringCase) {
    EXPECT_EQ(GetClass("TTwice"), nullptr);
    RegisterClass(TTwice::ClassInfo());
    RegisterClass(TTwice::ClassInfo());
    EXPECT_EQ(GetClass("ttwice"), &TTwice::ClassInfo());
    EXPECT_EQ(&FindClass("TTWICE"), &TTwice::ClassInfo());
    UnRegisterClass(TTwice::ClassInfo());
    EXPECT_EQ(GetClass("TTwice"), nullptr);
    try {
        FindClass("TTwice");
        FAIL() << "an unregistered class was found";
    } catch (const EClassNotFound& e) {
        EXPECT_STREQ(e.what(), "Class TTwice not found");
    }

    // Another class of a registered name is refused.
    static const TComponentClass impostor("TTwice", &TComponent::ClassInfo(), nullptr);
    RegisterClasses({&TTwice::ClassInfo(), &TProbe::ClassInfo()});
    try {
        RegisterClass(impostor);
        FAIL() << "two classes took one name";
    } catch (const EInvalidOperation& e) {
        EXPECT_STREQ(e.what(), "A class named TTwice already exists");
    }
    UnRegisterClass(TTwice::ClassInfo());
    UnRegisterClass(impostor);
}
