// Form text. Parsing alone raises nothing but EParserError. A full read into
// a form, with the host's and the package's classes registered, raises
// nothing but a read error naming its line and column; a text that reads is
// written, the written text reads again, and writing that gives the same
// text.

#include "host/core/FormTree.h"
#include "host/core/StreamErrors.h"
#include "host/stream/FormBinary.h"
#include "host/stream/Reader.h"
#include "host/stream/Writer.h"
#include "host/ui/Screen.h"
#include "tests/fuzz/FuzzForms.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace host;

namespace {

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
    fuzz::RegisterFormClasses();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    // Binary forms have a target of their own.
    if (IsBinaryForm(text)) return 0;
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
