// Shortcut text: every shortcut with a text reads back from it, and every
// text that reads as a shortcut prints as a text that reads the same.

#include "host/ui/ShortCuts.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TBytes bytes(data, size);
    const TShortCut code = static_cast<TShortCut>(bytes.Next() << 8 | bytes.Next());
    const std::string printed = ShortCutToText(code);
    // The bits between the key and the modifiers mean nothing and print as nothing.
    const TShortCut meant = code & (scShift | scCtrl | scAlt | 0xFF);
    if (!printed.empty())
        fuzz::Check(TextToShortCut(printed) == meant, "the text of " + std::to_string(code) + " reads otherwise: " + printed);

    const std::string text(reinterpret_cast<const char*>(data), size);
    const TShortCut read = TextToShortCut(text);
    if (read != scNone) {
        const std::string shown = ShortCutToText(read);
        fuzz::Check(!shown.empty(), "a shortcut read from text has no text");
        fuzz::Check(TextToShortCut(shown) == read, "printed shortcut reads otherwise: " + shown);
    }
    return 0;
}
