#pragma once
// Between PostgreSQL's text form of a value and the host's variants and
// field types. Dates travel as ISO text ("2024-03-01 12:30:00.250"), which
// the session's DateStyle (ISO) also uses for output. Like every Pg*.h, not
// installed and not exported: the tests compile the Pg*.cpp files themselves.

#include "host/core/Variant.h"
#include "host/data/Field.h"
#include "host/data/SqlConnection.h"

#include <libpq-fe.h>

#include <optional>
#include <string>
#include <string_view>

namespace host::pg {

// The field a column of Type (with its modifier) becomes: integers, floats
// and numerics, Booleans, dates and times, and everything else as text (of
// its declared length, DefaultStringSize when it has none).
TSQLColumnType FieldTypeOf(Oid type, int modifier);

// A column value from its text; raises EDatabaseError for a value the
// field cannot hold (an infinite timestamp).
Variant ValueFromText(Oid type, std::string_view text);

// A parameter's text; nothing for Null and unassigned (SQL NULL). Raises
// EDatabaseError for an array and for text with a zero byte, which the
// server cannot take.
std::optional<std::string> ParamText(const Variant& value);

// ISO text of a date-time, to the millisecond.
std::string DateTimeToIso(TDateTime value);
// Reads "YYYY-MM-DD[ HH:MM:SS[.fff…]][±zone][ BC]" or "HH:MM:SS[.fff…]";
// false for anything else.
bool IsoToDateTime(std::string_view text, TDateTime& value);

} // namespace host::pg
