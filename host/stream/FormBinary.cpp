#include "host/stream/FormBinary.h"

#include "host/core/TextUtils.h"
#include "host/stream/Writer.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <limits>

namespace host {

namespace {

// The value tags of the binary format.
enum TValueType : unsigned char {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary, vaSet,
    vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String, vaDouble,
};

constexpr unsigned char ffInherited = 1, ffChildPos = 2, ffInline = 4;
constexpr int MaxDepth = 200;

// --- 80-bit extended floats ---------------------------------------------------

double FromExtended(const unsigned char* p) {
    std::uint64_t mantissa = 0;
    for (int i = 7; i >= 0; --i) mantissa = (mantissa << 8) | p[i];
    const int exponent = ((p[9] & 0x7F) << 8) | p[8];
    const bool negative = (p[9] & 0x80) != 0;
    double value;
    if (exponent == 0x7FFF)
        value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity() : std::numeric_limits<double>::quiet_NaN();
    else
        value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    return negative ? -value : value;
}

void ToExtended(double value, unsigned char* p) {
    std::uint64_t mantissa = 0;
    int exponent = 0;
    const bool negative = std::signbit(value);
    if (std::isnan(value)) {
        exponent = 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        exponent = 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        int e = 0;
        const double fraction = std::frexp(std::fabs(value), &e);  // in [0.5, 1)
        mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        exponent = e - 1 + 16383;
    }
    for (int i = 0; i < 8; ++i) p[i] = static_cast<unsigned char>(mantissa >> (8 * i));
    p[8] = static_cast<unsigned char>(exponent & 0xFF);
    p[9] = static_cast<unsigned char>(((exponent >> 8) & 0x7F) | (negative ? 0x80 : 0));
}

// --- UTF-8 and UTF-16 -----------------------------------------------------------

// UTF-16 code units of well-formed UTF-8; false when Text is not that.
bool Utf8ToUtf16(std::string_view text, std::u16string& out) {
    for (size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                                        : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
        if (length == 0 || at + length > text.size()) return false;
        std::uint32_t code = length == 1 ? lead : lead & (0xFFu >> (length + 1));
        for (size_t i = 1; i < length; ++i) {
            const auto c = static_cast<unsigned char>(text[at + i]);
            if ((c & 0xC0) != 0x80) return false;
            code = (code << 6) | (c & 0x3Fu);
        }
        static const std::uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        at += length;
    }
    return true;
}

// --- reading ------------------------------------------------------------------------

class TBinaryParser {
public:
    explicit TBinaryParser(std::string_view data) : FData(data) {}

    TFormObject Root() {
        SkipResourceHeader();
        if (FData.substr(FPos, 4) != "TPF0") Fail("Invalid stream format");
        FPos += 4;
        return Object(0);
    }

private:
    [[noreturn]] void Fail(const std::string& reason) const { throw EParserError(reason, Here()); }
    TTextPos Here() const { return TTextPos{0, static_cast<int>(std::min<size_t>(FPos, INT32_MAX))}; }

    void Need(size_t count) const {
        if (count > FData.size() - FPos) Fail("Unexpected end of binary form");
    }
    unsigned char Byte() {
        Need(1);
        return static_cast<unsigned char>(FData[FPos++]);
    }
    unsigned char PeekByte() const {
        Need(1);
        return static_cast<unsigned char>(FData[FPos]);
    }
    std::uint64_t Unsigned(int bytes) {
        Need(static_cast<size_t>(bytes));
        std::uint64_t value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(FData[FPos + static_cast<size_t>(i)]);
        FPos += static_cast<size_t>(bytes);
        return value;
    }
    std::string Bytes(size_t count) {
        Need(count);
        std::string out(FData.substr(FPos, count));
        FPos += count;
        return out;
    }
    std::string ShortString() { return Bytes(Byte()); }
    // A name as form texts write it: letters, digits and underscores (and
    // dots in property names and identifiers); anything else would convert
    // to a text that does not read.
    // A name must read back from a form text: letters, digits and "_", not
    // starting with a digit, and for dotted names each part alike. The empty
    // name is let through; callers that need one say so.
    std::string Name(const char* what, bool dotted) {
        const size_t at = FPos;
        std::string name = ShortString();
        if (!name.empty() && !TextCanHold(name, dotted)) {
            FPos = at;
            Fail(std::string("Invalid ") + what);
        }
        return name;
    }

    static bool TextCanHold(const std::string& name, bool dotted) {
        bool partStart = true;
        for (char c : name) {
            const auto u = static_cast<unsigned char>(c);
            if (c == '.' && dotted && !partStart) {
                partStart = true;
                continue;
            }
            if (!(std::isalpha(u) || c == '_' || (!partStart && std::isdigit(u)))) return false;
            partStart = false;
        }
        return !partStart;
    }

    void SkipResourceHeader() {
        if (FData.size() < 3 || static_cast<unsigned char>(FData[0]) != 0xFF) return;
        FPos = 1;
        if (Unsigned(2) != 0x000A) Fail("Invalid resource header");
        // The resource's name (a number or a text), then its flags and size.
        if (PeekByte() == 0xFF) {
            Unsigned(3);
        } else {
            while (Byte() != 0) {
            }
        }
        Unsigned(2);
        const std::uint64_t size = Unsigned(4);
        if (size > FData.size() - FPos) Fail("Resource size beyond the data");
        FData = FData.substr(0, FPos + size);
    }

    TFormObject Object(int depth) {
        if (depth > MaxDepth) Fail("Form nested too deeply");
        TFormObject object;
        object.Pos = Here();
        if ((PeekByte() & 0xF0) == 0xF0) {
            const unsigned char flags = Byte() & 0x0F;
            if (flags & ffInherited) object.Kind = foInherited;
            if (flags & ffInline) object.Kind = foInline;
            if (flags & ffChildPos) {
                const TFormValue index = Value(depth + 1);
                if (index.Kind != fvInteger || index.Integer < 0 || index.Integer > 1'000'000)
                    throw EParserError("Invalid object index", index.Pos);
                object.Index = static_cast<int>(index.Integer);
            }
        }
        object.ClassPos = Here();
        object.ClassName = Name("class name", false);
        if (object.ClassName.empty()) Fail("Class name expected");
        object.Name = Name("component name", false);
        while (PeekByte() != vaNull) object.Properties.push_back(Property(depth));
        ++FPos;
        while (PeekByte() != vaNull) object.Children.push_back(Object(depth + 1));
        ++FPos;
        return object;
    }

    // InItem: a property of a collection item, where a form text reads every
    // word but "end" as a property name.
    TFormProperty Property(int depth, bool inItem = false) {
        TFormProperty property;
        property.Pos = Here();
        const size_t at = FPos;
        property.Name = Name("property name", true);
        if (property.Name.empty()) Fail("Property name expected");
        // A word that opens or closes an object in a form text would read
        // there as that, not as the property.
        static const char* const objectWords[] = {"end", "object", "inherited", "inline"};
        const size_t refused = inItem ? 1 : std::size(objectWords);
        for (size_t i = 0; i < refused; ++i) {
            if (SameText(property.Name, objectWords[i])) {
                FPos = at;
                Fail("Invalid property name");
            }
        }
        property.Value = Value(depth + 1);
        return property;
    }

    TFormValue Value(int depth) {
        if (depth > MaxDepth) Fail("Form nested too deeply");
        TFormValue value;
        value.Pos = Here();
        const unsigned char tag = Byte();
        auto integer = [&](std::int64_t n) {
            value.Kind = fvInteger;
            value.Integer = n;
        };
        auto floating = [&](double n, char type) {
            value.Kind = fvFloat;
            value.Float = n;
            value.FloatType = type;
        };
        auto text = [&](std::string s) {
            value.Kind = fvString;
            value.Text = std::move(s);
        };
        auto ident = [&](std::string s) {
            value.Kind = fvIdent;
            value.Text = std::move(s);
        };
        switch (tag) {
        case vaInt8: integer(static_cast<std::int8_t>(Unsigned(1))); break;
        case vaInt16: integer(static_cast<std::int16_t>(Unsigned(2))); break;
        case vaInt32: integer(static_cast<std::int32_t>(Unsigned(4))); break;
        case vaInt64: integer(static_cast<std::int64_t>(Unsigned(8))); break;
        case vaExtended: {
            Need(10);
            floating(FromExtended(reinterpret_cast<const unsigned char*>(FData.data() + FPos)), 0);
            FPos += 10;
            break;
        }
        case vaDouble:
        case vaDate: {
            const std::uint64_t bits = Unsigned(8);
            double n;
            std::memcpy(&n, &bits, sizeof n);
            floating(n, tag == vaDate ? 'd' : 0);
            break;
        }
        case vaSingle: {
            const auto bits = static_cast<std::uint32_t>(Unsigned(4));
            float n;
            std::memcpy(&n, &bits, sizeof n);
            floating(n, 's');
            break;
        }
        case vaCurrency: floating(static_cast<double>(static_cast<std::int64_t>(Unsigned(8))) / 10000, 'c'); break;
        case vaString: text(Latin1(ShortString())); break;
        case vaLString: text(Latin1(Bytes(Unsigned(4)))); break;
        case vaUTF8String: text(Bytes(Unsigned(4))); break;
        case vaWString: text(WideString()); break;
        case vaIdent: {
            std::string name = Name("identifier", true);
            if (name.empty()) Fail("Identifier expected");
            ident(std::move(name));
            break;
        }
        case vaFalse: ident("False"); break;
        case vaTrue: ident("True"); break;
        case vaNil: ident("nil"); break;
        case vaBinary: {
            value.Kind = fvBinary;
            const std::string bytes = Bytes(Unsigned(4));
            value.Bytes.assign(bytes.begin(), bytes.end());
            break;
        }
        case vaSet:
            value.Kind = fvSet;
            for (;;) {
                const TTextPos at = Here();
                std::string name = Name("set element", false);
                if (name.empty()) break;
                value.NamePos.push_back(at);
                value.Names.push_back(std::move(name));
            }
            break;
        case vaList:
            value.Kind = fvList;
            while (PeekByte() != vaNull) value.List.push_back(Value(depth + 1));
            ++FPos;
            break;
        case vaCollection:
            value.Kind = fvCollection;
            while (PeekByte() != vaNull) value.Items.push_back(Item(depth + 1));
            ++FPos;
            break;
        default: FPos = static_cast<size_t>(value.Pos.Column); Fail("Invalid value type " + std::to_string(tag));
        }
        return value;
    }

    TFormItem Item(int depth) {
        TFormItem item;
        item.Pos = Here();
        // An item may carry its order first; the items come in order anyway.
        const unsigned char tag = PeekByte();
        if (tag == vaInt8 || tag == vaInt16 || tag == vaInt32) Value(depth + 1);
        if (Byte() != vaList) {
            --FPos;
            Fail("Collection item expected");
        }
        while (PeekByte() != vaNull) item.Properties.push_back(Property(depth + 1, true));
        ++FPos;
        return item;
    }

    // Single-byte strings are Latin-1 characters; the tree keeps UTF-8.
    static std::string Latin1(const std::string& bytes) {
        std::string out;
        for (char c : bytes) AppendUtf8(out, static_cast<unsigned char>(c));
        return out;
    }

    std::string WideString() {
        const std::uint64_t count = Unsigned(4);
        if (count > (FData.size() - FPos) / 2) Fail("Unexpected end of binary form");
        std::string out;
        for (std::uint64_t i = 0; i < count; ++i) {
            auto unit = static_cast<std::uint32_t>(Unsigned(2));
            if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < count) {
                const auto low = static_cast<std::uint32_t>(Unsigned(2));
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
                FPos -= 2;
            }
            AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? 0xFFFD : unit);
        }
        return out;
    }

    std::string_view FData;
    size_t FPos = 0;
};

// --- writing ------------------------------------------------------------------------

class TBinaryWriter {
public:
    std::string Root(const TFormObject& tree) {
        FOut = "TPF0";
        Object(tree);
        return std::move(FOut);
    }

private:
    void Tag(TValueType tag) { FOut += static_cast<char>(tag); }
    void Unsigned(std::uint64_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) FOut += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    void ShortString(const std::string& text) {
        if (text.size() > 255) throw EReadError("Name too long for a binary form: " + text.substr(0, 32) + "...");
        FOut += static_cast<char>(text.size());
        FOut += text;
    }

    void Object(const TFormObject& object) {
        unsigned char flags = 0;
        if (object.Kind == foInherited) flags |= ffInherited;
        if (object.Kind == foInline) flags |= ffInline;
        if (object.Index >= 0) flags |= ffChildPos;
        if (flags) {
            FOut += static_cast<char>(0xF0 | flags);
            if (object.Index >= 0) Integer(object.Index);
        }
        ShortString(object.ClassName);
        ShortString(object.Name);
        for (const TFormProperty& property : object.Properties) Property(property);
        Tag(vaNull);
        for (const TFormObject& child : object.Children) Object(child);
        Tag(vaNull);
    }

    void Property(const TFormProperty& property) {
        ShortString(property.Name);
        Value(property.Value);
    }

    void Integer(std::int64_t n) {
        if (n >= INT8_MIN && n <= INT8_MAX) {
            Tag(vaInt8);
            Unsigned(static_cast<std::uint64_t>(n), 1);
        } else if (n >= INT16_MIN && n <= INT16_MAX) {
            Tag(vaInt16);
            Unsigned(static_cast<std::uint64_t>(n), 2);
        } else if (n >= INT32_MIN && n <= INT32_MAX) {
            Tag(vaInt32);
            Unsigned(static_cast<std::uint64_t>(n), 4);
        } else {
            Tag(vaInt64);
            Unsigned(static_cast<std::uint64_t>(n), 8);
        }
    }

    void Float(const TFormValue& value) {
        switch (value.FloatType) {
        case 's': {
            Tag(vaSingle);
            const auto single = static_cast<float>(value.Float);
            std::uint32_t bits;
            std::memcpy(&bits, &single, sizeof bits);
            Unsigned(bits, 4);
            return;
        }
        case 'c': {
            const double scaled = std::nearbyint(value.Float * 10000);
            // The whole 64-bit range: -2^63 and 2^63 are exact doubles.
            if (scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0) {
                Tag(vaCurrency);
                Unsigned(static_cast<std::uint64_t>(static_cast<std::int64_t>(scaled)), 8);
                return;
            }
            break;
        }
        case 'd': {
            Tag(vaDate);
            std::uint64_t bits;
            std::memcpy(&bits, &value.Float, sizeof bits);
            Unsigned(bits, 8);
            return;
        }
        default: break;
        }
        Tag(vaExtended);
        unsigned char extended[10];
        ToExtended(value.Float, extended);
        FOut.append(reinterpret_cast<const char*>(extended), 10);
    }

    void String(const std::string& text) {
        const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        std::u16string wide;
        if (ascii && text.size() <= 255) {
            Tag(vaString);
            ShortString(text);
        } else if (ascii) {
            Tag(vaLString);
            Unsigned(text.size(), 4);
            FOut += text;
        } else if (Utf8ToUtf16(text, wide)) {
            Tag(vaWString);
            Unsigned(wide.size(), 4);
            for (char16_t unit : wide) Unsigned(unit, 2);
        } else {
            // Bytes that are no UTF-8 are kept as they are.
            Tag(vaUTF8String);
            Unsigned(text.size(), 4);
            FOut += text;
        }
    }

    void Value(const TFormValue& value) {
        switch (value.Kind) {
        case fvInteger: Integer(value.Integer); return;
        case fvFloat: Float(value); return;
        case fvString: String(value.Text); return;
        case fvIdent:
            if (SameText(value.Text, "True"))
                Tag(vaTrue);
            else if (SameText(value.Text, "False"))
                Tag(vaFalse);
            else if (SameText(value.Text, "nil"))
                Tag(vaNil);
            else {
                Tag(vaIdent);
                ShortString(value.Text);
            }
            return;
        case fvSet:
            Tag(vaSet);
            for (const std::string& name : value.Names) ShortString(name);
            ShortString("");
            return;
        case fvList:
            Tag(vaList);
            for (const TFormValue& item : value.List) Value(item);
            Tag(vaNull);
            return;
        case fvCollection:
            Tag(vaCollection);
            for (const TFormItem& item : value.Items) {
                Tag(vaList);
                for (const TFormProperty& property : item.Properties) Property(property);
                Tag(vaNull);
            }
            Tag(vaNull);
            return;
        case fvBinary:
            Tag(vaBinary);
            Unsigned(value.Bytes.size(), 4);
            FOut.append(value.Bytes.begin(), value.Bytes.end());
            return;
        }
    }

    std::string FOut;
};

} // namespace

bool IsBinaryForm(std::string_view data) {
    return data.substr(0, 4) == "TPF0" || data.substr(0, 3) == std::string_view("\xFF\x0A\x00", 3);
}

TFormObject ParseFormBinary(std::string_view data) { return TBinaryParser(data).Root(); }

std::string FormTreeBinary(const TFormObject& tree) { return TBinaryWriter().Root(tree); }

TFormObject ParseFormData(std::string_view data) {
    return IsBinaryForm(data) ? ParseFormBinary(data) : ParseFormText(data);
}

std::string ObjectTextToBinary(std::string_view text) { return FormTreeBinary(ParseFormText(text)); }

std::string ObjectBinaryToText(std::string_view binary) { return FormTreeText(ParseFormBinary(binary)); }

std::string WriteComponentBinary(const TComponent* root) {
    return FormTreeBinary(ParseFormText(WriteComponentText(root)));
}

} // namespace host
