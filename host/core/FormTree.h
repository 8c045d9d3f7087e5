#pragma once
// A form text as read, before any component is made: objects with their
// property lines and nested objects, each with its place in the text.
//
//     object Name: TClass [index]     (or inherited / inline)
//       Prop = value                   (dotted names: Font.Name)
//       object Child: TChildClass ... end
//     end

#include "host/core/Export.h"
#include "host/core/StreamErrors.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

struct TFormItem;

enum TFormValueKind {
    fvInteger,     // 12, -3, $FF
    fvFloat,       // 1.5, 2E3, 1.5s (single), 15000c (currency 1.5), 2.5d (date)
    fvString,      // 'a''b'#13 + 'c'
    fvIdent,       // True, alClient, DataSource1, DM.Source, lGridDblClick, nil
    fvSet,         // [dgTitles, dgTabs]
    fvList,        // ( 'a' 'b' )
    fvCollection,  // < item ... end >
    fvBinary,      // { 0A1B }
};

struct TFormValue {
    TFormValueKind Kind = fvInteger;
    std::int64_t Integer = 0;
    double Float = 0;
    char FloatType = 0;                // 's', 'c', 'd' or 0, as the lexer reads it
    std::string Text;                  // strings and identifiers
    std::vector<std::string> Names;    // sets
    std::vector<TTextPos> NamePos;     // where each set element stands
    std::vector<TFormValue> List;      // lists
    std::vector<TFormItem> Items;      // collections
    std::vector<unsigned char> Bytes;  // binary data
    TTextPos Pos;
};

struct TFormProperty {
    std::string Name;
    TFormValue Value;
    TTextPos Pos;
};

struct TFormItem {
    std::vector<TFormProperty> Properties;
    TTextPos Pos;
};

enum TFormObjectKind { foObject, foInherited, foInline };

struct TFormObject {
    TFormObjectKind Kind = foObject;
    std::string Name;       // may be empty
    std::string ClassName;
    int Index = -1;         // the [index] after the class, when given
    std::vector<TFormProperty> Properties;
    std::vector<TFormObject> Children;
    TTextPos Pos;           // of the object keyword
    TTextPos ClassPos;
};

// Reads one object and everything nested in it; the text after its end is
// ignored. Raises EParserError naming the place and what was expected.
TFormObject ParseFormText(std::string_view text);

} // namespace host

VESKAR_PUBLIC_END
