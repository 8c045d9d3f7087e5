// Comma and delimited text: the first bytes choose the delimiter, the quote
// character and the strictness, the rest is the text. A list read from a text
// writes a text that reads back as the same list, and no text makes more
// items than it has characters plus one.

#include "host/core/Strings.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace host;

namespace {

void CheckReadsBack(TStringList& list, bool comma, const std::string& text) {
    fuzz::Check(list.Count() <= static_cast<int>(text.size()) + 1, "more items than characters plus one");
    const std::string written = comma ? list.CommaText() : list.DelimitedText();
    Owned<TStringList> owned(TStringList::Create());
    TStringList& again = *owned;
    again.SetDelimiter(list.Delimiter());
    again.SetQuoteChar(list.QuoteChar());
    again.SetStrictDelimiter(list.StrictDelimiter());
    if (comma)
        again.SetCommaText(written);
    else
        again.SetDelimitedText(written);
    fuzz::Check(again.Equals(&list), "the written text reads back as another list: [" + written + "]");
    fuzz::Check((comma ? again.CommaText() : again.DelimitedText()) == written, "writing again differs");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::TBytes bytes(data, size);
    const char delimiter = static_cast<char>(bytes.Next());
    const char quote = static_cast<char>(bytes.Next());
    const bool strict = bytes.Next() & 1;
    const std::string text = bytes.Rest();

    Owned<TStringList> commaOwned(TStringList::Create());
    TStringList& comma = *commaOwned;
    comma.SetCommaText(text);
    CheckReadsBack(comma, true, text);

    // A delimiter that is also the quote, or a character 0 that ends every
    // text, cannot separate items; a quote that is a blank is skipped as one
    // unless the list is strict.
    if (delimiter == quote || delimiter == '\0' || quote == '\0') return 0;
    if (!strict && static_cast<unsigned char>(quote) <= ' ') return 0;
    Owned<TStringList> listOwned(TStringList::Create());
    TStringList& list = *listOwned;
    list.SetDelimiter(delimiter);
    list.SetQuoteChar(quote);
    list.SetStrictDelimiter(strict);
    list.SetDelimitedText(text);
    CheckReadsBack(list, false, text);
    return 0;
}
