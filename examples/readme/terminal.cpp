// The README's terminal sample: a form with a stored definition (TMYFORM.form,
// compiled in by veskar_embed_resources) run on the terminal back end until
// it closes; Enter presses its Close button.
#include "host/core/ClassRegistry.h"
#include "host/core/Publisher.h"
#include "host/ui/Forms.h"
#include "host/ui/StdCtrls.h"

#include <iostream>

class TMyForm : public host::TForm {
    HOST_CLASS(TMyForm, host::TForm)
    static void DeclarePublished(host::TPublisher& publisher) {
        publisher.Of<TMyForm>().Method("CloseClick", &TMyForm::CloseClick);
    }
public:
    void CloseClick(host::TObject*) { Close(); }
protected:
    explicit TMyForm(host::TComponent* owner) : TForm(owner) {}
};

HOST_IMPLEMENT_COMPONENT(TMyForm, host::TForm)

// readme begin
#include "host/terminal/TerminalBackend.h"
#include "host/ui/App.h"
// readme end

int main() {
    host::RegisterClasses({&host::TLabel::ClassInfo(), &host::TButton::ClassInfo()});
    // readme begin
    host::SetUIBackend(std::make_unique<host::term::TTerminalBackend>());
    TMyForm* form = nullptr;
    host::Application()->CreateForm(form);
    host::Application()->Run();
    host::Application()->DestroyComponents();   // the forms, before their data
    host::SetUIBackend(nullptr);                 // headless again; the terminal is restored
    // readme end
    std::cout << "closed\n";
}
