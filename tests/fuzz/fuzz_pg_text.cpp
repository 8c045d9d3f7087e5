// The PostgreSQL engine's text readers: SQL text whose "?" become $1, $2...
// (ends on every input, changes nothing but the marks it numbers), and the
// server's date and time texts (what reads prints as a text that reads back
// to the same millisecond).

#include "host/core/Exception.h"
#include "host/data/PgStatement.h"
#include "host/data/PgValues.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cmath>
#include <string>

using namespace host;

namespace {

size_t Digits(int n) { return std::to_string(n).size(); }

void CheckPlaceholders(const std::string& sql) {
    int count = -1;
    const std::string out = pg::TranslatePlaceholders(sql, count);
    size_t marks = 0;
    for (char c : sql) marks += c == '?';
    fuzz::Check(count >= 0 && static_cast<size_t>(count) <= marks, "more parameters than question marks");
    size_t grown = 0;
    for (int k = 1; k <= count; ++k) grown += Digits(k);
    fuzz::Check(out.size() == sql.size() + grown, "the text changed beyond its numbered marks");
    // Putting each "$k" back as "?" gives the input again.
    std::string back;
    int next = 1;
    for (size_t i = 0; i < out.size(); ++i) {
        const std::string mark = "$" + std::to_string(next);
        if (next <= count && out.compare(i, mark.size(), mark) == 0 && sql.size() > back.size() &&
            sql[back.size()] == '?') {
            back += '?';
            i += mark.size() - 1;
            ++next;
        } else {
            back += out[i];
        }
    }
    fuzz::Check(back == sql && next == count + 1, "the numbered marks do not stand where the question marks did");
}

void CheckDateText(const std::string& text) {
    TDateTime value = 0;
    if (!pg::IsoToDateTime(text, value)) return;
    fuzz::Check(std::isfinite(value), "a date text read as no number: " + text);
    std::string printed;
    try {
        printed = pg::DateTimeToIso(value);
    } catch (const EDatabaseError&) {
        return;  // beyond the years a date-time holds
    }
    TDateTime again = 0;
    fuzz::Check(pg::IsoToDateTime(printed, again), "a printed date does not read: " + printed);
    fuzz::Check(std::fabs(again - value) * 86400000.0 < 1.0, "a date reads back otherwise: " + text + " / " + printed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckPlaceholders(text);
    CheckDateText(text);
    return 0;
}
