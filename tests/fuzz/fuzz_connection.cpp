// Connection strings ("Key,LookupKey;..."): reading never raises and gives
// two lists of the same count; printing the lists and reading the print gives
// the same lists, and printing those gives the same text.

#include "host/core/Strings.h"
#include "host/ui/Backend.h"
#include "lookup/Lsdblkp.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace host;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Owned<TStringList> firstOwned(TStringList::Create()), secondOwned(TStringList::Create());
    TStringList& first = *firstOwned;
    TStringList& second = *secondOwned;
    veskar::String2Lists(text, first, second);
    fuzz::ForgetShown();
    fuzz::Check(first.Count() == second.Count(), "lists of different counts");
    fuzz::Check(first.Count() <= static_cast<int>(size / 2) + 1, "more pairs than the text can hold");

    std::string printed;
    veskar::Lists2String(first, second, printed);
    Owned<TStringList> first2Owned(TStringList::Create()), second2Owned(TStringList::Create());
    TStringList& first2 = *first2Owned;
    TStringList& second2 = *second2Owned;
    veskar::String2Lists(printed, first2, second2);
    fuzz::Check(HeadlessBackend()->Shown().empty(), "a printed text does not read: [" + printed + "]");
    fuzz::Check(first2.Equals(&first) && second2.Equals(&second), "the print reads as other lists: [" + printed + "]");
    std::string again;
    veskar::Lists2String(first2, second2, again);
    fuzz::Check(again == printed, "printing again differs");
    return 0;
}
