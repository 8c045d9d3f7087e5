// Form text. Parsing alone raises nothing but EParserError. A full read into
// a form, with the host's and the package's classes registered, raises
// nothing but a read error naming its line and column; a text that reads is
// written, the written text reads again, and writing that gives the same
// text.

#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/stream/ClassRegistry.h"
#include "host/stream/FormTree.h"
#include "host/stream/Publisher.h"
#include "host/stream/Reader.h"
#include "host/stream/StreamErrors.h"
#include "host/stream/Writer.h"
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
#include "tests/fuzz/FuzzSupport.h"

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

void RegisterOnce() {
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

bool NamesPlace(const std::string& message) {
    return message.find(" at line ") != std::string::npos && message.find(", column ") != std::string::npos;
}

void ParseOnly(std::string_view text) {
    try {
        ParseFormText(text);
    } catch (const EParserError& e) {
        fuzz::Check(e.Line() >= 1 && e.Column() >= 1 && NamesPlace(e.Message()), "parser error without a place: " + e.Message());
    }
}

Owned<TComponent> Read(std::string_view text) {
    try {
        return Owned<TComponent>(CreateComponentFromText(text));
    } catch (const EReadError& e) {
        fuzz::Check(NamesPlace(e.Message()), "read error without a place: " + e.Message());
    }
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RegisterOnce();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ParseOnly(text);

    const int formsBefore = Screen()->FormCount();
    if (Owned<TComponent> root = Read(text)) {
        const std::string written = WriteComponentText(root.get());
        root.reset();
        Owned<TComponent> again;
        try {
            again.reset(CreateComponentFromText(written));
        } catch (const Exception& e) {
            fuzz::Check(false, "a written text does not read: " + e.Message() + "\n" + written);
        }
        const std::string rewritten = WriteComponentText(again.get());
        fuzz::Check(rewritten == written, "writing again differs:\n" + written + "\n---\n" + rewritten);
    }
    fuzz::Check(Screen()->FormCount() == formsBefore, "a form outlived its read");
    fuzz::ForgetShown();
    return 0;
}
