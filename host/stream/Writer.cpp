#include "host/stream/Writer.h"

#include "host/core/Collection.h"
#include "host/core/Component.h"
#include "host/core/Strings.h"
#include "host/stream/TypInfo.h"

#include <charconv>
#include <vector>

namespace host {

namespace {

// Long strings and binary data are split so no line grows without end.
constexpr size_t StringChunk = 64;
constexpr size_t BinaryChunk = 32;

bool Printable(unsigned char c) { return c >= 32 && c != 127; }

// One run of text in quotes, with '' for a quote and #nn for control
// characters.
std::string Quote(std::string_view text) {
    if (text.empty()) return "''";
    std::string out;
    bool quoted = false;
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (Printable(c)) {
            if (!quoted) out += '\'';
            quoted = true;
            out += ch;
            if (ch == '\'') out += '\'';
        } else {
            if (quoted) out += '\'';
            quoted = false;
            out += '#' + std::to_string(c);
        }
    }
    if (quoted) out += '\'';
    return out;
}

std::string FloatText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

class TFormWriter {
public:
    explicit TFormWriter(const TComponent* root) : FRoot(root) {}

    std::string Text() {
        Object(FRoot, 0);
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

    std::vector<TComponent*> Children(const TComponent* component) const {
        std::vector<TComponent*> children;
        component->GetChildren(children, FRoot);
        if (component != FRoot) return children;
        // Components nested in nothing the root writes come after its own
        // children.
        for (int i = 0; i < FRoot->ComponentCount(); ++i) {
            TComponent* owned = FRoot->Components(i);
            const TComponent* parent = owned->GetParentComponent();
            if (!parent || (parent != FRoot && parent->Owner() != FRoot)) children.push_back(owned);
        }
        return children;
    }

    void Properties(const TObject* instance, const std::string& prefix, int indent) {
        const TTypeData& data = GetTypeData(instance->ClassType());
        for (int i = 0; i < data.PropCount(); ++i) {
            const TPropInfo& prop = data.Props(i);
            if (!prop.IsStored(instance)) continue;
            Property(instance, prop, prefix + prop.Name, indent);
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
        case pkFloat: Line(indent, name + " = " + FloatText(prop.GetFloat(instance))); return;
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
        for (size_t at = 0; at < value.size(); at += StringChunk) {
            const bool last = at + StringChunk >= value.size();
            Line(indent + 1, Quote(std::string_view(value).substr(at, StringChunk)) + (last ? "" : " +"));
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
};

} // namespace

std::string WriteComponentText(const TComponent* root) { return TFormWriter(root).Text(); }

} // namespace host
