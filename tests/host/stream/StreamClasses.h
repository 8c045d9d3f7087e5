#pragma once
// Classes that publish one property of every kind, a form-like root with
// fields and handlers, and a log of Loaded calls, for the form file tests.

#include "host/core/Collection.h"
#include "host/core/Component.h"
#include "host/core/Strings.h"
#include "host/core/TypInfo.h"
#include "host/data/DataSource.h"
#include "host/ui/Controls.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/Grids.h"
#include "host/ui/ShortCuts.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"

#include <string>
#include <vector>

namespace streamtest {

using namespace host;

enum TProbeStyle { psBold, psItalic, psUnderline };
using TProbeStyles = TSet<TProbeStyle>;

// A sub-object stored dotted (Font.Name, Font.Style).
class TProbeFont : public TPersistent {
    HOST_CLASS(TProbeFont, TPersistent)
    static void DeclarePublished(TPublisher& publisher);

public:
    std::string Name = "Sans";
    int Color = 0;
    TProbeStyles Style;

protected:
    TProbeFont() = default;
};

class TProbeItem : public TCollectionItem {
    HOST_CLASS(TProbeItem, TCollectionItem)
    static void DeclarePublished(TPublisher& publisher);

public:
    std::string Caption;
    int Width = 64;
    TDataSource* Source = nullptr;

protected:
    explicit TProbeItem(TCollection* collection) : TCollectionItem(collection) {}
};

class TProbeItems : public TCollection {
    HOST_CLASS(TProbeItems, TCollection)
protected:
    TProbeItems() : TCollection(TProbeItem::ClassInfo()) {}
};

using TProbeEvent = TEvent<void(TObject* Sender, int& Value)>;

// Every kind of property; Loaded writes down what it saw.
class TProbe : public TComponent {
    HOST_CLASS(TProbe, TComponent)
    static void DeclarePublished(TPublisher& publisher);

public:
    TDataSource* Source() const { return FSource; }
    void SetSource(TDataSource* value);
    TStrings* Keys() const { return FKeys.get(); }
    TCollection* Items() const { return FItems.get(); }
    TProbeFont* Font() const { return FFont.get(); }

    bool Active = true;          // no declared default: always written
    TShortCut ShortCut = 0x4070; // Ctrl+F1, no declared default
    int Count = 0;               // default 0
    int Color = 0;               // an integer type with names
    double Ratio = 0.5;
    std::string Title;
    TAlign Side = alNone;
    TProbeStyles Styles;
    std::vector<unsigned char> Blob;
    TNotifyEvent OnChange;
    TProbeEvent OnValue;

    // Filled by Loaded.
    bool LoadedCalled = false;
    bool LoadingWhenLoaded = false;
    std::string SourceAtLoaded;
    int KeysAtLoaded = -1;
    std::string ChangeAtLoaded;
    std::vector<std::string>* Log = nullptr;
    // Every notice heard, of any component.
    int Notices = 0;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TProbe(TComponent* owner);
    void Loaded() override;

private:
    TDataSource* FSource = nullptr;
    Owned<TStringList> FKeys;
    Owned<TProbeItems> FItems;
    Owned<TProbeFont> FFont;
};

// The log Loaded calls write to, in order ("Name" per call).
std::vector<std::string>& LoadedLog();

// A root like a form: a windowed control with published fields for its
// components and published handlers.
class TProbeForm : public TWinControl {
    HOST_CLASS(TProbeForm, TWinControl)
    static void DeclarePublished(TPublisher& publisher);

public:
    TEdit* Edit1 = nullptr;
    TDBGrid* Grid = nullptr;
    TDataSource* Source = nullptr;
    TProbe* Probe = nullptr;

    void GridDblClick(TObject* sender);
    void ProbeValue(TObject* sender, int& value);
    void NavClick(TObject* sender, TNavigateBtn button);
    std::vector<std::string> Calls;

protected:
    explicit TProbeForm(TComponent* owner) : TWinControl(owner) {}
    void Loaded() override;
};

// A form class registered nowhere but known through the root's fields: the
// reader must find it there.
class TFieldOnlyPanel : public TWinControl {
    HOST_CLASS(TFieldOnlyPanel, TWinControl)
protected:
    explicit TFieldOnlyPanel(TComponent* owner) : TWinControl(owner) {}
};

class TFieldForm : public TWinControl {
    HOST_CLASS(TFieldForm, TWinControl)
    static void DeclarePublished(TPublisher& publisher);

public:
    TFieldOnlyPanel* Panel = nullptr;

protected:
    explicit TFieldForm(TComponent* owner) : TWinControl(owner) {}
};

// Registers the classes the texts name (once).
void RegisterStreamTestClasses();

} // namespace streamtest
