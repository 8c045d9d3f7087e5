// Binary form files. Parsing raises nothing but EParserError naming an
// offset. A file that parses converts to text and back: the text of the new
// binary is the same text. A full read into a form raises nothing but a read
// error; a file that reads is written in the binary format, read again, and
// written once more the same.

#include "host/core/StreamErrors.h"
#include "host/stream/FormBinary.h"
#include "host/stream/Reader.h"
#include "host/ui/Screen.h"
#include "tests/fuzz/FuzzForms.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace host;

namespace {

bool Parses(std::string_view data) {
    try {
        ParseFormBinary(data);
        return true;
    } catch (const EParserError& e) {
        fuzz::Check(e.Message().find("offset") != std::string::npos, "parser error without an offset: " + e.Message());
    }
    return false;
}

void CheckConversions(std::string_view data) {
    const std::string text = ObjectBinaryToText(data);
    const std::string binary = ObjectTextToBinary(text);
    const std::string again = ObjectBinaryToText(binary);
    fuzz::Check(again == text, "text -> binary -> text differs:\n" + text + "\n---\n" + again);
    fuzz::Check(ObjectTextToBinary(again) == binary, "converting again differs");
}

Owned<TComponent> Read(std::string_view data) {
    try {
        return Owned<TComponent>(CreateComponentFromText(data));
    } catch (const EReadError&) {
    }
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    fuzz::RegisterFormClasses();
    const std::string_view data(reinterpret_cast<const char*>(bytes), size);
    if (!IsBinaryForm(data) || !Parses(data)) return 0;
    CheckConversions(data);

    const int formsBefore = Screen()->FormCount();
    if (Owned<TComponent> root = Read(data)) {
        const std::string written = WriteComponentBinary(root.get());
        root.reset();
        Owned<TComponent> again;
        try {
            again.reset(CreateComponentFromText(written));
        } catch (const Exception& e) {
            fuzz::Check(false, "a written binary form does not read: " + e.Message());
        }
        fuzz::Check(WriteComponentBinary(again.get()) == written, "writing again differs");
    }
    fuzz::Check(Screen()->FormCount() == formsBefore, "a form outlived its read");
    fuzz::ForgetShown();
    return 0;
}
