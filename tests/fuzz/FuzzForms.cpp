#include "tests/fuzz/FuzzForms.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Publisher.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Buttons.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/Screen.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"
#include "lookup/Ldcapt.h"
#include "lookup/Ldlkpdlg.h"
#include "lookup/LkFill.h"
#include "lookup/Lsdblkp.h"

using namespace host;

namespace {

// The root every seed names: a form with no stored definition of its own.
class TFuzzForm : public TForm {
    HOST_CLASS(TFuzzForm, TForm)
    static void DeclarePublished(TPublisher&) {}

protected:
    explicit TFuzzForm(TComponent* owner) : TForm(owner) {}
    void LoadDefinition() override {}
};
HOST_IMPLEMENT_COMPONENT(TFuzzForm, TForm)

void RegisterAll() {
    static const bool done = [] {
        RegisterClasses({&TFuzzForm::ClassInfo(), &TButton::ClassInfo(), &TBitBtn::ClassInfo(), &TEdit::ClassInfo(),
                         &TDBEdit::ClassInfo(), &TDBGrid::ClassInfo(), &TDrawGrid::ClassInfo(),
                         &TStringGrid::ClassInfo(), &TListBox::ClassInfo(), &TPanel::ClassInfo(),
                         &TSpeedButton::ClassInfo(), &TStaticText::ClassInfo(), &TDataSource::ClassInfo(),
                         &TMemoryDataSet::ClassInfo(), &veskar::TLookupFill::ClassInfo(),
                         &veskar::TLookupDialog::ClassInfo(), &veskar::TSmartDBLookup::ClassInfo()});
        return true;
    }();
    (void)done;
}

} // namespace

namespace fuzz {

void RegisterFormClasses() { RegisterAll(); }

} // namespace fuzz
