// The README's publishing sample: a component of one's own publishes its
// properties and event, and is written as form text and read back.
#include "host/core/ClassRegistry.h"
#include "host/core/Component.h"
#include "host/core/ComponentRef.h"
#include "host/core/Publisher.h"
#include "host/core/Strings.h"
#include "host/data/DataSource.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"

#include <iostream>

class TMyComponent : public host::TComponent {
    HOST_CLASS(TMyComponent, host::TComponent)
    static void DeclarePublished(host::TPublisher& publisher);
public:
    host::TDataSource* DataSource() const { return FDataSource.Get(); }
    void SetDataSource(host::TDataSource* value) { FDataSource.Set(value); }
    host::TStrings* KeyFields() const { return FKeyFields.get(); }
    bool Active() const { return FActive; }
    void SetActive(bool value) { FActive = value; }
    host::TNotifyEvent OnChange;
protected:
    explicit TMyComponent(host::TComponent* owner) : TComponent(owner) {}
private:
    host::TComponentRef<host::TDataSource> FDataSource;   // nil when the source goes
    host::Owned<host::TStringList> FKeyFields{host::TStringList::Create()};
    bool FActive = false;
};

HOST_IMPLEMENT_COMPONENT(TMyComponent, host::TComponent)

// readme begin
// in the class:  static void DeclarePublished(host::TPublisher& publisher);
void TMyComponent::DeclarePublished(host::TPublisher& publisher) {
    auto p = publisher.Of<TMyComponent>();
    p.Component("DataSource", &TMyComponent::DataSource, &TMyComponent::SetDataSource);
    p.Strings("KeyFields", &TMyComponent::KeyFields);
    p.Boolean("Active", &TMyComponent::Active, &TMyComponent::SetActive);
    p.Event("OnChange", &TMyComponent::OnChange);
}
// readme end

int main() {
    host::RegisterClasses({&host::TDataModule::ClassInfo(), &host::TDataSource::ClassInfo(), &TMyComponent::ClassInfo()});
    host::Owned<host::TDataModule> module(host::TDataModule::Create(nullptr));
    module->SetName("Data");
    host::TDataSource* source = host::TDataSource::Create(module.get());
    source->SetName("OrdersSource");
    TMyComponent* mine = TMyComponent::Create(module.get());
    mine->SetName("Mine");
    mine->SetDataSource(source);
    mine->KeyFields()->SetCommaText("CustNo");
    mine->SetActive(true);

    const std::string text = host::WriteComponentText(module.get());
    host::Owned<host::TComponent> copy(host::CreateComponentFromText(text));
    auto* read = static_cast<TMyComponent*>(copy->FindComponent("Mine"));
    std::cout << text << "read back: " << read->KeyFields()->CommaText() << (read->Active() ? " active" : "")
              << (read->DataSource() == copy->FindComponent("OrdersSource") ? " on OrdersSource" : "") << "\n";
}
