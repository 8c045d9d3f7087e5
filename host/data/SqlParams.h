#pragma once
// The named parameters of an SQL text (":Name"), and the translation of such
// a text to positional "?" parameters. Names are compared ignoring letter
// case; quoted texts, quoted names, comments and "::" casts are left alone.

#include "host/core/Export.h"
#include "host/core/Variant.h"

#include <string>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

struct TSQLParam {
    std::string Name;
    Variant Value;  // unassigned until set: opening then raises
    void SetValue(const Variant& value) { Value = value; }
};

class TSQLParams {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TSQLParam& Items(int index);
    // The parameter of that name, added when missing.
    TSQLParam& ParamByName(const std::string& name);
    TSQLParam* FindParam(const std::string& name);
    void Clear() { FItems.clear(); }

private:
    std::vector<TSQLParam> FItems;
};

struct TParsedSQL {
    std::string Text;                // ":Name" replaced by "?"
    std::vector<std::string> Names;  // one per "?", in order
};

// Ends on every input; an unterminated quote or comment runs to the end.
TParsedSQL ParseSQLParams(const std::string& sql);

} // namespace host

VESKAR_PUBLIC_END
