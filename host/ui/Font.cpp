#include "host/ui/Font.h"

#include "host/core/Publisher.h"
#include "host/core/TextUtils.h"
#include "host/ui/PropertyTypes.h"

#include <array>
#include <cstdint>

namespace host {

HOST_IMPLEMENT_CLASS(TFont, TPersistent)

namespace {

struct TCharsetName {
    TFontCharset Charset;
    const char* Name;
};

constexpr std::array<TCharsetName, 17> kCharsetNames{{
    {ANSI_CHARSET, "ANSI_CHARSET"},
    {DEFAULT_CHARSET, "DEFAULT_CHARSET"},
    {SYMBOL_CHARSET, "SYMBOL_CHARSET"},
    {MAC_CHARSET, "MAC_CHARSET"},
    {SHIFTJIS_CHARSET, "SHIFTJIS_CHARSET"},
    {HANGEUL_CHARSET, "HANGEUL_CHARSET"},
    {GB2312_CHARSET, "GB2312_CHARSET"},
    {CHINESEBIG5_CHARSET, "CHINESEBIG5_CHARSET"},
    {GREEK_CHARSET, "GREEK_CHARSET"},
    {TURKISH_CHARSET, "TURKISH_CHARSET"},
    {HEBREW_CHARSET, "HEBREW_CHARSET"},
    {ARABIC_CHARSET, "ARABIC_CHARSET"},
    {BALTIC_CHARSET, "BALTIC_CHARSET"},
    {RUSSIAN_CHARSET, "RUSSIAN_CHARSET"},
    {THAI_CHARSET, "THAI_CHARSET"},
    {EASTEUROPE_CHARSET, "EASTEUROPE_CHARSET"},
    {OEM_CHARSET, "OEM_CHARSET"},
}};

} // namespace

void EnumCharsetIdents(const std::function<void(const char* ident, TFontCharset charset)>& func) {
    for (const TCharsetName& entry : kCharsetNames) func(entry.Name, entry.Charset);
}

bool CharsetToIdent(TFontCharset charset, std::string& ident) {
    for (const TCharsetName& entry : kCharsetNames)
        if (entry.Charset == charset) {
            ident = entry.Name;
            return true;
        }
    return false;
}

bool IdentToCharset(const std::string& ident, TFontCharset& charset) {
    for (const TCharsetName& entry : kCharsetNames)
        if (SameText(ident, entry.Name)) {
            charset = entry.Charset;
            return true;
        }
    return false;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) return 0;
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t half = (c < 0 ? -c : c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = ((product < 0 ? -product : product) + half) / (c < 0 ? -c : c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void TFont::SetCharset(TFontCharset value) {
    if (FCharset == value) return;
    FCharset = value;
    Changed();
}

void TFont::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    Changed();
}

void TFont::SetHeight(int value) {
    if (FHeight == value) return;
    FHeight = value;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, FPixelsPerInch); }

void TFont::SetSize(int value) { SetHeight(-MulDiv(value, FPixelsPerInch, 72)); }

void TFont::SetName(const std::string& value) {
    if (FName == value || value.empty()) return;
    FName = value;
    Changed();
}

void TFont::SetStyle(TFontStyles value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (FPitch == value) return;
    FPitch = value;
    Changed();
}

void TFont::SetPixelsPerInch(int value) {
    // Height is what the font keeps; Size follows the new resolution.
    if (value > 0) FPixelsPerInch = value;
}

bool TFont::SameAs(const TFont& other) const {
    return FCharset == other.FCharset && FColor == other.FColor && FHeight == other.FHeight && FName == other.FName &&
           FStyle == other.FStyle && FPitch == other.FPitch;
}

void TFont::Assign(const TPersistent* source) {
    if (auto* other = dynamic_cast<const TFont*>(source)) {
        if (other == this || SameAs(*other)) return;
        FCharset = other->FCharset;
        FColor = other->FColor;
        FHeight = other->FHeight;
        FName = other->FName;
        FStyle = other->FStyle;
        FPitch = other->FPitch;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TFont::Changed() {
    if (OnChange) OnChange(this);
}

namespace {

const TEnumInfo& FontStyleInfo() {
    static const TEnumInfo info{"TFontStyle", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
    return info;
}

const TSetInfo& FontStylesInfo() {
    static const TSetInfo info{"TFontStyles", &FontStyleInfo()};
    return info;
}

} // namespace

void TFont::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TFont>();
    p.Integer("Charset", &TFont::Charset, &TFont::SetCharset, CharsetTypeInfo());
    p.Integer("Color", &TFont::Color, &TFont::SetColor, ColorTypeInfo());
    p.Integer("Height", &TFont::Height, &TFont::SetHeight);
    p.String("Name", &TFont::Name, &TFont::SetName, "TFontName");
    p.Set("Style", &TFont::Style, &TFont::SetStyle, FontStylesInfo());
}

} // namespace host
