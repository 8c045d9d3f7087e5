// The grammar of form texts, read into a TFormObject tree.

#include "host/core/FormTree.h"
#include "host/stream/FormLexer.h"

namespace host {

namespace {

// Deeper nesting than any form has is taken as a broken text, before the
// stack suffers for it.
constexpr int MaxDepth = 200;

class TFormParser {
public:
    explicit TFormParser(std::string_view text) : FLex(text) {}

    TFormObject Root() { return Object(0); }

private:
    [[noreturn]] void Expected(const std::string& what) {
        throw EParserError(what + " expected but " + FLex.Describe() + " found", FLex.Token().Pos);
    }

    void Deeper(int depth) {
        if (depth > MaxDepth) throw EParserError("Form text nested too deeply", FLex.Token().Pos);
    }

    void Symbol(char c) {
        if (!FLex.IsSymbol(c)) Expected(std::string(1, c));
        FLex.Next();
    }

    std::string Ident() {
        if (FLex.Token().Kind != TFormTokenKind::Ident) Expected("Identifier");
        std::string name = FLex.Token().Text;
        FLex.Next();
        return name;
    }

    // A name a binary form holds as it is: no dots.
    std::string PlainIdent(const char* what) {
        const TTextPos pos = FLex.Token().Pos;
        std::string name = Ident();
        if (name.find('.') != std::string::npos) throw EParserError(std::string("Invalid ") + what, pos);
        return name;
    }

    bool AtObject() const {
        return FLex.IsKeyword("object") || FLex.IsKeyword("inherited") || FLex.IsKeyword("inline");
    }

    TFormObject Object(int depth) {
        Deeper(depth);
        TFormObject object;
        object.Pos = FLex.Token().Pos;
        if (FLex.IsKeyword("inherited"))
            object.Kind = foInherited;
        else if (FLex.IsKeyword("inline"))
            object.Kind = foInline;
        else if (!FLex.IsKeyword("object"))
            Expected("object");
        FLex.Next();
        object.ClassPos = FLex.Token().Pos;
        const TTextPos firstPos = object.ClassPos;
        std::string first = Ident();
        if (FLex.IsSymbol(':')) {
            FLex.Next();
            if (first.find('.') != std::string::npos) throw EParserError("Invalid component name", firstPos);
            object.Name = std::move(first);
            object.ClassPos = FLex.Token().Pos;
            object.ClassName = PlainIdent("class name");
        } else {
            if (first.find('.') != std::string::npos) throw EParserError("Invalid class name", firstPos);
            object.ClassName = std::move(first);
        }
        if (FLex.IsSymbol('[')) {
            FLex.Next();
            if (FLex.Token().Kind != TFormTokenKind::Integer) Expected("Integer");
            if (FLex.Token().Integer < 0 || FLex.Token().Integer > 1'000'000)
                throw EParserError("Invalid object index", FLex.Token().Pos);
            object.Index = static_cast<int>(FLex.Token().Integer);
            FLex.Next();
            Symbol(']');
        }
        while (FLex.Token().Kind == TFormTokenKind::Ident && !AtObject() && !FLex.IsKeyword("end"))
            object.Properties.push_back(Property(depth));
        while (AtObject()) object.Children.push_back(Object(depth + 1));
        if (!FLex.IsKeyword("end")) Expected("end");
        // The root's end is the last token read: what follows is ignored.
        if (depth > 0) FLex.Next();
        return object;
    }

    TFormProperty Property(int depth) {
        TFormProperty property;
        property.Pos = FLex.Token().Pos;
        property.Name = Ident();
        Symbol('=');
        property.Value = Value(depth + 1);
        return property;
    }

    TFormValue Value(int depth) {
        Deeper(depth);
        TFormValue value;
        const TFormToken& token = FLex.Token();
        value.Pos = token.Pos;
        switch (token.Kind) {
        case TFormTokenKind::Integer:
            value.Kind = fvInteger;
            value.Integer = token.Integer;
            FLex.Next();
            return value;
        case TFormTokenKind::Float:
            value.Kind = fvFloat;
            value.Float = token.Float;
            value.FloatType = token.FloatType;
            FLex.Next();
            return value;
        case TFormTokenKind::String:
            value.Kind = fvString;
            value.Text = token.Text;
            FLex.Next();
            while (FLex.IsSymbol('+')) {
                FLex.Next();
                if (FLex.Token().Kind != TFormTokenKind::String) Expected("String");
                value.Text += FLex.Token().Text;
                FLex.Next();
            }
            return value;
        case TFormTokenKind::Ident:
            value.Kind = fvIdent;
            value.Text = token.Text;
            FLex.Next();
            return value;
        case TFormTokenKind::Symbol:
            break;
        case TFormTokenKind::End:
            Expected("Value");
        }
        switch (token.Symbol) {
        case '[': return SetValue(value);
        case '(': return ListValue(value, depth);
        case '<': return CollectionValue(value, depth);
        case '{':
            value.Kind = fvBinary;
            value.Bytes = FLex.ReadBinary();
            return value;
        default: throw EParserError("Invalid property value", token.Pos);
        }
    }

    TFormValue SetValue(TFormValue value) {
        value.Kind = fvSet;
        FLex.Next();
        if (FLex.IsSymbol(']')) {
            FLex.Next();
            return value;
        }
        for (;;) {
            value.NamePos.push_back(FLex.Token().Pos);
            value.Names.push_back(PlainIdent("set element"));
            if (FLex.IsSymbol(']')) break;
            if (!FLex.IsSymbol(',')) Expected("]");
            FLex.Next();
        }
        FLex.Next();
        return value;
    }

    TFormValue ListValue(TFormValue value, int depth) {
        value.Kind = fvList;
        FLex.Next();
        while (!FLex.IsSymbol(')')) {
            if (FLex.Token().Kind == TFormTokenKind::End) Expected(")");
            value.List.push_back(Value(depth + 1));
        }
        FLex.Next();
        return value;
    }

    TFormValue CollectionValue(TFormValue value, int depth) {
        value.Kind = fvCollection;
        FLex.Next();
        while (!FLex.IsSymbol('>')) {
            if (!FLex.IsKeyword("item")) Expected("item");
            TFormItem item;
            item.Pos = FLex.Token().Pos;
            FLex.Next();
            while (FLex.Token().Kind == TFormTokenKind::Ident && !FLex.IsKeyword("end"))
                item.Properties.push_back(Property(depth + 1));
            if (!FLex.IsKeyword("end")) Expected("end");
            FLex.Next();
            value.Items.push_back(std::move(item));
        }
        FLex.Next();
        return value;
    }

    TFormLexer FLex;
};

} // namespace

TFormObject ParseFormText(std::string_view text) { return TFormParser(text).Root(); }

} // namespace host
