#include "host/stream/Writer.h"

#include "host/core/Collection.h"
#include "host/core/Component.h"
#include "host/core/Strings.h"
#include "host/core/TypInfo.h"

#include <charconv>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace host {

namespace {

// Long strings and binary data are split so no line grows without end.
constexpr size_t StringChunk = 64;
constexpr size_t BinaryChunk = 32;

bool Printable(unsigned char c) { return c >= 32 && c < 127; }

// The length of the UTF-8 sequence at Text[At] and its code point; 0 when
// the bytes there are no well-formed sequence.
size_t Utf8Sequence(std::string_view text, size_t at, std::uint32_t& code) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    size_t length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    // Overlong forms, surrogates and codes beyond Unicode do not read back.
    static const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return 0;
    return length;
}

// One run of text: printable ASCII in quotes ('' for a quote), control
// characters and every other character as #code (a code above FFFF as its
// two UTF-16 halves). Bytes that are no UTF-8 go in quotes as they are.
std::string Quote(std::string_view text) {
    if (text.empty()) return "''";
    std::string out;
    bool quoted = false;
    auto code = [&](std::uint32_t value) {
        if (quoted) out += '\'';
        quoted = false;
        out += '#' + std::to_string(value);
    };
    auto raw = [&](char ch) {
        if (!quoted) out += '\'';
        quoted = true;
        out += ch;
        if (ch == '\'') out += '\'';
    };
    for (size_t at = 0; at < text.size();) {
        const auto c = static_cast<unsigned char>(text[at]);
        if (c < 0x80) {
            if (Printable(c))
                raw(text[at]);
            else
                code(c);
            ++at;
            continue;
        }
        std::uint32_t point = 0;
        const size_t length = Utf8Sequence(text, at, point);
        if (length == 0) {
            raw(text[at]);
            ++at;
            continue;
        }
        if (point >= 0x10000) {
            code(0xD800 + ((point - 0x10000) >> 10));
            code(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            code(point);
        }
        at += length;
    }
    if (quoted) out += '\'';
    return out;
}

// Where to cut a long text at or before Limit without splitting a UTF-8
// sequence (always after From).
size_t CutAt(std::string_view text, size_t from, size_t limit) {
    if (limit >= text.size()) return text.size();
    size_t cut = limit;
    for (int back = 0; back < 3 && cut > from + 1 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80; ++back)
        --cut;
    return cut;
}

// The shortest digits that read back as Value, in the general format: plain
// up to 18 digits before the point, else with an exponent ("1E19", "1E-7"),
// so the text is always a number the reader takes for this value.
std::string GeneralFloat(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    // "-0" would read back as the integer 0 and then print as "0".
    if (value == 0) return "0";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    const size_t e = text.find('e');
    std::string sign;
    std::string digits;
    for (char c : text.substr(0, e)) {
        if (c == '-')
            sign = "-";
        else if (c != '.')
            digits += c;
    }
    int exponent = 0;
    const std::string_view exp = text.substr(e + 1);
    std::from_chars(exp.data() + (exp[0] == '+' ? 1 : 0), exp.data() + exp.size(), exponent);
    if (exponent >= 18 || exponent < -5) {
        std::string out = sign + digits.substr(0, 1);
        if (digits.size() > 1) out += "." + digits.substr(1);
        return out + "E" + std::to_string(exponent);
    }
    if (exponent < 0) return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    const auto whole = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= whole) return sign + digits + std::string(whole - digits.size(), '0');
    return sign + digits.substr(0, whole) + "." + digits.substr(whole);
}

// A float as the framework types it: Single with "s", Currency as its
// value times 10,000 with "c", dates with "d", any other as it is.
std::string FloatText(double value, const std::string& typeName) {
    if (typeName == "Single") {
        const auto single = static_cast<float>(value);
        if (!std::isfinite(single)) return GeneralFloat(single);
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::scientific);
        double shortest = 0;
        std::from_chars(buffer, result.ptr, shortest);
        return GeneralFloat(shortest) + "s";
    }
    if (typeName == "Currency" && std::isfinite(value)) return GeneralFloat(std::nearbyint(value * 10000)) + "c";
    if ((typeName == "TDateTime" || typeName == "TDate" || typeName == "TTime") && std::isfinite(value))
        return GeneralFloat(value) + "d";
    return GeneralFloat(value);
}

} // namespace

std::string FormFloatText(double value, const std::string& typeName) { return FloatText(value, typeName); }

namespace {

class TFormWriter {
public:
    explicit TFormWriter(const TComponent* root) : FRoot(root) {}

    std::string Text() {
        Object(FRoot, 0);
        return std::move(FOut);
    }

    // A tree as read, written back as text.
    std::string Text(const TFormObject& tree) {
        Object(tree, 0);
        return std::move(FOut);
    }

private:
    void Line(int indent, const std::string& text) {
        FOut.append(static_cast<size_t>(indent) * 2, ' ');
        FOut += text;
        FOut += '\n';
    }

    void Object(const TComponent* component, int indent) {
        std::string head = "object ";
        if (!component->Name().empty()) head += component->Name() + ": ";
        Line(indent, head + component->ClassName());
        Properties(component, "", indent + 1);
        for (const TComponent* child : Children(component)) Object(child, indent + 1);
        Line(indent, "end");
    }

    std::vector<TComponent*> Children(const TComponent* component) {
        if (!FNestingKnown) LearnNesting();
        std::vector<TComponent*> children;
        component->GetChildren(children, FRoot);
        std::erase_if(children, [](const TComponent* c) { return c->ComponentStyle().Contains(csSubComponent); });
        const auto nested = FNested.find(component);
        if (nested == FNested.end()) return children;
        // Those nested here that the component does not list itself (a
        // control read inside something that cannot parent it).
        const std::unordered_set<TComponent*> listed(children.begin(), children.end());
        for (TComponent* c : nested->second)
            if (!listed.contains(c)) children.push_back(c);
        return children;
    }

    // Which of the root's components are nested in which, once for the whole
    // text; the root's list holds those nested in nothing the root writes.
    void LearnNesting() {
        FNestingKnown = true;
        for (int i = 0; i < FRoot->ComponentCount(); ++i) {
            TComponent* owned = FRoot->Components(i);
            if (owned->ComponentStyle().Contains(csSubComponent)) continue;
            const TComponent* parent = owned->GetParentComponent();
            if (!parent || (parent != FRoot && parent->Owner() != FRoot))
                FRootLevel.push_back(owned);
            else
                FNested[parent].push_back(owned);
        }
        std::vector<TComponent*>& atRoot = FNested[FRoot];
        atRoot.insert(atRoot.end(), FRootLevel.begin(), FRootLevel.end());
    }

    void Properties(const TObject* instance, const std::string& prefix, int indent) {
        const TTypeData& data = GetTypeData(instance->ClassType());
        for (int i = 0; i < data.PropCount(); ++i) {
            const TPropInfo& prop = data.Props(i);
            if (!prop.IsStored(instance)) continue;
            Property(instance, prop, prefix + prop.Name, indent);
        }
        for (const auto& defined : data.Defined())
            if (!data.FindProp(defined->Name) && defined->Stored(instance))
                Value(prefix + defined->Name, defined->Write(instance), indent);
    }

    void Object(const TFormObject& object, int indent) {
        static const char* const keywords[] = {"object ", "inherited ", "inline "};
        std::string head = keywords[object.Kind];
        if (!object.Name.empty()) head += object.Name + ": ";
        head += object.ClassName;
        if (object.Index >= 0) head += " [" + std::to_string(object.Index) + "]";
        Line(indent, head);
        for (const TFormProperty& property : object.Properties) Value(property.Name, property.Value, indent + 1);
        for (const TFormObject& child : object.Children) Object(child, indent + 1);
        Line(indent, "end");
    }

    // A whole value as the reader reads it.
    void Value(const std::string& name, const TFormValue& value, int indent) {
        switch (value.Kind) {
        case fvString: String(value.Text, name, indent); return;
        case fvBinary:
            if (value.Bytes.empty())
                Line(indent, name + " = {}");
            else
                Binary(value.Bytes, name, indent);
            return;
        case fvList:
            Line(indent, name + " = (" + (value.List.empty() ? ")" : ""));
            for (size_t i = 0; i < value.List.size(); ++i) {
                const TFormValue& item = value.List[i];
                const std::string close = i + 1 == value.List.size() ? ")" : "";
                if (item.Kind == fvList || item.Kind == fvCollection || item.Kind == fvBinary) {
                    // Nested: written as a value of its own, then closed.
                    std::string nested = TFormWriter(nullptr).ValueText(item, indent + 1);
                    nested.pop_back();
                    FOut += nested + close + "\n";
                } else {
                    Line(indent + 1, ScalarText(item) + close);
                }
            }
            return;
        case fvCollection:
            Line(indent, name + " = <" + (value.Items.empty() ? ">" : ""));
            for (size_t i = 0; i < value.Items.size(); ++i) {
                Line(indent + 1, "item");
                for (const TFormProperty& property : value.Items[i].Properties)
                    Value(property.Name, property.Value, indent + 2);
                Line(indent + 1, i + 1 == value.Items.size() ? "end>" : "end");
            }
            return;
        default: Line(indent, name + " = " + ScalarText(value)); return;
        }
    }

    // A value standing alone in a list: its lines without "name = ".
    std::string ValueText(const TFormValue& value, int indent) {
        Value("", value, indent);
        const std::string marker(static_cast<size_t>(indent) * 2, ' ');
        std::string text = std::move(FOut);
        // Drop the " = " the name would have had.
        const size_t at = text.find(" = ");
        if (at == marker.size()) text.erase(at, 3);
        return text;
    }

    static std::string ScalarText(const TFormValue& value) {
        switch (value.Kind) {
        case fvInteger: return std::to_string(value.Integer);
        case fvFloat:
            // NAN and INF read back only without a type letter.
            if (!std::isfinite(value.Float)) return GeneralFloat(value.Float);
            if (value.FloatType == 'c') return GeneralFloat(std::nearbyint(value.Float * 10000)) + "c";
            return GeneralFloat(value.Float) + (value.FloatType ? std::string(1, value.FloatType) : "");
        case fvString: return Quote(value.Text);
        case fvIdent: return value.Text;
        case fvSet: {
            std::string text = "[";
            for (const std::string& element : value.Names) text += (text.size() > 1 ? ", " : "") + element;
            return text + "]";
        }
        default: return "''";
        }
    }

    void Property(const TObject* instance, const TPropInfo& prop, const std::string& name, int indent) {
        switch (prop.Kind) {
        case pkInteger:
        case pkEnumeration:
        case pkBoolean:
        case pkSet:
        case pkFloat:
        case pkString:
            if (!prop.IsDefault(instance)) Simple(instance, prop, name, indent);
            return;
        case pkComponent: {
            const auto* target = static_cast<const TComponent*>(prop.GetObject(instance));
            const std::string ref = target ? ReferenceName(target) : std::string();
            if (!ref.empty()) Line(indent, name + " = " + ref);
            return;
        }
        case pkMethod: {
            const TMethodRef method = prop.GetMethod(instance);
            if (method.Assigned && !method.Name.empty() && method.Data == FRoot) Line(indent, name + " = " + method.Name);
            return;
        }
        case pkStrings:
            if (const auto* strings = dynamic_cast<const TStrings*>(prop.GetObject(instance))) StringList(*strings, name, indent);
            return;
        case pkCollection:
            if (const auto* collection = dynamic_cast<const TCollection*>(prop.GetObject(instance)))
                CollectionItems(*collection, name, indent);
            return;
        case pkBinary: Binary(prop.GetBytes(instance), name, indent); return;
        case pkClass:
            if (const TObject* sub = prop.GetObject(instance)) Properties(sub, name + ".", indent);
            return;
        }
    }

    void Simple(const TObject* instance, const TPropInfo& prop, const std::string& name, int indent) {
        switch (prop.Kind) {
        case pkInteger: {
            const std::int64_t value = prop.GetOrd(instance);
            const auto* ident = prop.IntegerType ? prop.IntegerType->FindValue(value) : nullptr;
            Line(indent, name + " = " + (ident ? ident->Name : std::to_string(value)));
            return;
        }
        case pkEnumeration:
        case pkBoolean:
        case pkSet: Line(indent, name + " = " + SetText(instance, prop)); return;
        case pkFloat: Line(indent, name + " = " + FloatText(prop.GetFloat(instance), prop.TypeName)); return;
        case pkString: String(prop.GetString(instance), name, indent); return;
        default: return;
        }
    }

    static std::string SetText(const TObject* instance, const TPropInfo& prop) {
        if (prop.Kind != pkSet) return GetEnumProp(instance, prop);
        const auto bits = static_cast<std::uint64_t>(prop.GetOrd(instance));
        const auto& names = prop.EnumType->Values;
        std::string text = "[";
        for (size_t i = 0; i < names.size() && i < 64; ++i) {
            if (!((bits >> i) & 1u)) continue;
            if (text.size() > 1) text += ", ";
            text += names[i];
        }
        return text + "]";
    }

    void String(const std::string& value, const std::string& name, int indent) {
        if (value.size() <= StringChunk) {
            Line(indent, name + " = " + Quote(value));
            return;
        }
        Line(indent, name + " =");
        const std::string_view text = value;
        for (size_t at = 0; at < text.size();) {
            const size_t cut = CutAt(text, at, at + StringChunk);
            Line(indent + 1, Quote(text.substr(at, cut - at)) + (cut == text.size() ? "" : " +"));
            at = cut;
        }
    }

    void StringList(const TStrings& strings, const std::string& name, int indent) {
        if (strings.Count() == 0) return;
        Line(indent, name + ".Strings = (");
        for (int i = 0; i < strings.Count(); ++i)
            Line(indent + 1, Quote(strings.Get(i)) + (i + 1 == strings.Count() ? ")" : ""));
    }

    void CollectionItems(const TCollection& collection, const std::string& name, int indent) {
        if (collection.Count() == 0) return;
        Line(indent, name + " = <");
        for (int i = 0; i < collection.Count(); ++i) {
            Line(indent + 1, "item");
            Properties(collection.Items(i), "", indent + 2);
            Line(indent + 1, i + 1 == collection.Count() ? "end>" : "end");
        }
    }

    void Binary(const std::vector<unsigned char>& bytes, const std::string& name, int indent) {
        if (bytes.empty()) return;
        static const char digits[] = "0123456789ABCDEF";
        Line(indent, name + " = {");
        for (size_t at = 0; at < bytes.size(); at += BinaryChunk) {
            std::string hex;
            for (size_t i = at; i < bytes.size() && i < at + BinaryChunk; ++i) {
                hex += digits[bytes[i] >> 4];
                hex += digits[bytes[i] & 15];
            }
            if (at + BinaryChunk >= bytes.size()) hex += '}';
            Line(indent + 1, hex);
        }
    }

    // The name the reader finds the component by; empty when it has none.
    std::string ReferenceName(const TComponent* target) const {
        if (target->Name().empty()) return {};
        if (target == FRoot || target->Owner() == FRoot || !target->Owner()) return target->Name();
        const TComponent* owner = target->Owner();
        if (owner->Name().empty()) return {};
        return owner->Name() + "." + target->Name();
    }

    const TComponent* FRoot;
    std::string FOut;
    bool FNestingKnown = false;
    std::unordered_map<const TComponent*, std::vector<TComponent*>> FNested;
    std::vector<TComponent*> FRootLevel;
};

} // namespace

std::string WriteComponentText(const TComponent* root) { return TFormWriter(root).Text(); }

std::string FormTreeText(const TFormObject& tree) { return TFormWriter(nullptr).Text(tree); }

} // namespace host
