#pragma once
// TFont: the typeface a control writes its text in. Height is the font's
// height in pixels, negative for the character height without the internal
// leading (the usual way a form stores it); Size is the same in points at
// PixelsPerInch (96), so Height -11 is Size 8. Every change calls OnChange
// once, Assign included.

#include "host/core/Export.h"
#include "host/core/Event.h"
#include "host/core/Object.h"
#include "host/core/Set.h"
#include "host/ui/Colors.h"

#include <cstdint>
#include <functional>
#include <string>

VESKAR_PUBLIC_BEGIN

namespace host {

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

enum TFontPitch { fpDefault, fpVariable, fpFixed };

using TFontCharset = std::uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset SYMBOL_CHARSET = 2;
constexpr TFontCharset MAC_CHARSET = 77;
constexpr TFontCharset SHIFTJIS_CHARSET = 128;
constexpr TFontCharset HANGEUL_CHARSET = 129;
constexpr TFontCharset GB2312_CHARSET = 134;
constexpr TFontCharset CHINESEBIG5_CHARSET = 136;
constexpr TFontCharset GREEK_CHARSET = 161;
constexpr TFontCharset TURKISH_CHARSET = 162;
constexpr TFontCharset HEBREW_CHARSET = 177;
constexpr TFontCharset ARABIC_CHARSET = 178;
constexpr TFontCharset BALTIC_CHARSET = 186;
constexpr TFontCharset RUSSIAN_CHARSET = 204;
constexpr TFontCharset THAI_CHARSET = 222;
constexpr TFontCharset EASTEUROPE_CHARSET = 238;
constexpr TFontCharset OEM_CHARSET = 255;

// The identifier of a character set ("DEFAULT_CHARSET"); false when it has
// none. The other way round ignores letter case.
bool CharsetToIdent(TFontCharset charset, std::string& ident);
// Calls Func with each charset identifier and its charset, in a fixed order.
void EnumCharsetIdents(const std::function<void(const char* ident, TFontCharset charset)>& func);
bool IdentToCharset(const std::string& ident, TFontCharset& charset);

// Rounds A * B / C to the nearest integer, halves away from zero; 0 when C
// is 0.
int MulDiv(int a, int b, int c);

class TFont : public TPersistent {
    HOST_CLASS(TFont, TPersistent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    // -MulDiv(Height, 72, PixelsPerInch); setting it sets Height.
    int Size() const;
    void SetSize(int value);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch value);
    // The resolution Size is measured against; the screen's, 96.
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int value);

    // Copies every property of another font (not its OnChange), then calls
    // OnChange once if anything differed.
    void Assign(const TPersistent* source) override;
    bool SameAs(const TFont& other) const;

    TNotifyEvent OnChange;

protected:
    TFont() = default;
    virtual void Changed();

private:
    TFontCharset FCharset = DEFAULT_CHARSET;
    TColor FColor = clWindowText;
    int FHeight = -11;
    std::string FName = "MS Sans Serif";
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    int FPixelsPerInch = 96;
};

} // namespace host

VESKAR_PUBLIC_END
