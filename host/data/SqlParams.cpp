#include "host/data/SqlParams.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"

#include <cctype>

namespace host {

TSQLParam& TSQLParams::Items(int index) {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FItems[static_cast<size_t>(index)];
}

TSQLParam* TSQLParams::FindParam(const std::string& name) {
    for (TSQLParam& p : FItems)
        if (SameText(p.Name, name)) return &p;
    return nullptr;
}

TSQLParam& TSQLParams::ParamByName(const std::string& name) {
    if (TSQLParam* p = FindParam(name)) return *p;
    FItems.push_back({name, Variant()});
    return FItems.back();
}

namespace {

bool NameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool NamePart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Copies a quoted text or name (doubled quotes inside) and answers where it
// ends.
size_t CopyQuoted(const std::string& sql, size_t at, std::string& out) {
    const char quote = sql[at];
    size_t i = at + 1;
    while (i < sql.size()) {
        if (sql[i] == quote) {
            if (i + 1 < sql.size() && sql[i + 1] == quote) {
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        ++i;
    }
    out.append(sql, at, i - at);
    return i;
}

size_t CopyUntil(const std::string& sql, size_t at, const char* end, std::string& out) {
    size_t stop = sql.find(end, at);
    stop = stop == std::string::npos ? sql.size() : stop + std::char_traits<char>::length(end);
    out.append(sql, at, stop - at);
    return stop;
}

} // namespace

TParsedSQL ParseSQLParams(const std::string& sql) {
    TParsedSQL parsed;
    size_t i = 0;
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            i = CopyQuoted(sql, i, parsed.Text);
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            i = CopyUntil(sql, i, "\n", parsed.Text);
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            i = CopyUntil(sql, i + 2, "*/", parsed.Text.append("/*"));
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            parsed.Text += "::";
            i += 2;
        } else if (c == ':' && i + 1 < sql.size() && NameStart(sql[i + 1])) {
            size_t end = i + 1;
            while (end < sql.size() && NamePart(sql[end])) ++end;
            parsed.Names.push_back(sql.substr(i + 1, end - i - 1));
            parsed.Text += '?';
            i = end;
        } else {
            parsed.Text += c;
            ++i;
        }
    }
    return parsed;
}

} // namespace host
