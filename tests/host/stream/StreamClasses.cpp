#include "StreamClasses.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Component.h"
#include "host/core/Publisher.h"
#include "host/ui/PropertyTypes.h"

namespace streamtest {

HOST_IMPLEMENT_CLASS(TProbeFont, TPersistent)
HOST_IMPLEMENT_COLLECTION_ITEM(TProbeItem, TCollectionItem)
HOST_IMPLEMENT_CLASS(TProbeItems, TCollection)
HOST_IMPLEMENT_COMPONENT(TProbe, TComponent)
HOST_IMPLEMENT_COMPONENT(TProbeForm, TWinControl)
HOST_IMPLEMENT_COMPONENT(TFieldOnlyPanel, TWinControl)
HOST_IMPLEMENT_COMPONENT(TFieldForm, TWinControl)

namespace {

const TIntegerInfo& ColorInfo() {
    static const TIntegerInfo info{"TColor", {{"clBlack", 0}, {"clRed", 0xFF}, {"clBtnFace", -16777201}}};
    return info;
}

const TEnumInfo& StyleInfo() {
    static const TEnumInfo info{"TProbeStyle", {"psBold", "psItalic", "psUnderline"}};
    return info;
}

const TSetInfo& StylesInfo() {
    static const TSetInfo info{"TProbeStyles", &StyleInfo()};
    return info;
}

} // namespace

void TProbeFont::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TProbeFont>();
    p.Integer("Color", [](const TProbeFont& f) { return f.Color; }, [](TProbeFont& f, int v) { f.Color = v; },
              ColorInfo())
        .Default(0);
    p.String("Name", [](const TProbeFont& f) { return f.Name; }, [](TProbeFont& f, const std::string& v) { f.Name = v; })
        .Default("Sans");
    p.Set("Style", [](const TProbeFont& f) { return f.Style; }, [](TProbeFont& f, TProbeStyles v) { f.Style = v; },
          StylesInfo())
        .Default(TProbeStyles{});
}

void TProbeItem::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TProbeItem>();
    p.String("Caption", [](const TProbeItem& i) { return i.Caption; },
             [](TProbeItem& i, const std::string& v) { i.Caption = v; });
    p.Integer("Width", [](const TProbeItem& i) { return i.Width; }, [](TProbeItem& i, int v) { i.Width = v; })
        .Default(64);
    p.Component("Source", [](const TProbeItem& i) { return i.Source; },
                [](TProbeItem& i, TDataSource* v) { i.Source = v; });
}

void TProbe::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TProbe>();
    p.Component("Source", &TProbe::Source, &TProbe::SetSource);
    p.Strings("Keys", &TProbe::Keys);
    p.Boolean("Active", [](const TProbe& o) { return o.Active; }, [](TProbe& o, bool v) { o.Active = v; });
    p.Integer("ShortCut", [](const TProbe& o) { return o.ShortCut; }, [](TProbe& o, TShortCut v) { o.ShortCut = v; },
              ShortCutTypeInfo());
    p.Integer("Count", [](const TProbe& o) { return o.Count; }, [](TProbe& o, int v) { o.Count = v; }).Default(0);
    p.Integer("Color", [](const TProbe& o) { return o.Color; }, [](TProbe& o, int v) { o.Color = v; }, ColorInfo())
        .Default(0);
    p.Float("Ratio", [](const TProbe& o) { return o.Ratio; }, [](TProbe& o, double v) { o.Ratio = v; }).Default(0.5);
    p.String("Title", [](const TProbe& o) { return o.Title; }, [](TProbe& o, const std::string& v) { o.Title = v; })
        .Default("");
    p.Enumeration("Side", [](const TProbe& o) { return o.Side; }, [](TProbe& o, TAlign v) { o.Side = v; },
                  AlignTypeInfo())
        .Default(alNone);
    p.Set("Styles", [](const TProbe& o) { return o.Styles; }, [](TProbe& o, TProbeStyles v) { o.Styles = v; },
          StylesInfo())
        .Default(TProbeStyles{});
    p.Binary("Blob", [](const TProbe& o) { return o.Blob; },
             [](TProbe& o, const std::vector<unsigned char>& v) { o.Blob = v; });
    p.Object("Font", &TProbe::Font);
    p.Collection("Items", &TProbe::Items);
    p.Event("OnChange", &TProbe::OnChange);
    p.Event("OnValue", &TProbe::OnValue, "TProbeEvent");
}

TProbe::TProbe(TComponent* owner)
    : TComponent(owner), FKeys(TStringList::Create()), FItems(TProbeItems::Create()), FFont(TProbeFont::Create()) {}

void TProbe::SetSource(TDataSource* value) {
    if (FSource) FSource->RemoveFreeNotification(this);
    FSource = value;
    if (FSource) FSource->FreeNotification(this);
}

void TProbe::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    ++Notices;
    if (operation == opRemove && component == FSource) FSource = nullptr;
}

void TProbe::Loaded() {
    LoadingWhenLoaded = ComponentState().Contains(csLoading);
    inherited::Loaded();
    LoadedCalled = true;
    SourceAtLoaded = FSource ? FSource->Name() : "";
    KeysAtLoaded = FKeys->Count();
    ChangeAtLoaded = OnChange.MethodName();
    LoadedLog().push_back(Name());
}

std::vector<std::string>& LoadedLog() {
    static std::vector<std::string> log;
    return log;
}

void TProbeForm::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TProbeForm>();
    p.Field("Edit1", &TProbeForm::Edit1);
    p.Field("Grid", &TProbeForm::Grid);
    p.Field("Source", &TProbeForm::Source);
    p.Field("Probe", &TProbeForm::Probe);
    p.Method("GridDblClick", &TProbeForm::GridDblClick);
    p.Method("ProbeValue", &TProbeForm::ProbeValue);
    p.Method("NavClick", &TProbeForm::NavClick);
}

void TProbeForm::NavClick(TObject*, TNavigateBtn button) { Calls.push_back("NavClick:" + std::to_string(button)); }

void TProbeForm::GridDblClick(TObject* sender) {
    Calls.push_back("GridDblClick:" + (Is<TComponent>(sender) ? static_cast<TComponent*>(sender)->Name() : ""));
}

void TProbeForm::ProbeValue(TObject*, int& value) {
    Calls.push_back("ProbeValue");
    value *= 2;
}

void TProbeForm::Loaded() {
    inherited::Loaded();
    LoadedLog().push_back(Name());
}

void TFieldForm::DeclarePublished(TPublisher& publisher) {
    publisher.Of<TFieldForm>().Field("Panel", &TFieldForm::Panel);
}

void RegisterStreamTestClasses() {
    RegisterClasses({&TProbe::ClassInfo(), &TProbeForm::ClassInfo(), &TFieldForm::ClassInfo(),
                     &TEdit::ClassInfo(), &TDBEdit::ClassInfo(), &TDBGrid::ClassInfo(), &TDataSource::ClassInfo(),
                     &TSpeedButton::ClassInfo(), &TWinControl::ClassInfo(), &TDataModule::ClassInfo()});
}

} // namespace streamtest
