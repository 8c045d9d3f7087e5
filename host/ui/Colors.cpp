#include "host/ui/Colors.h"

#include "host/core/Exception.h"
#include "host/core/TextUtils.h"

#include <array>
#include <cstdio>
#include <cstdlib>

namespace host {

namespace {

struct TColorName {
    TColor Color;
    const char* Name;
};

// The names a form file writes colours with.
constexpr std::array<TColorName, 52> kColorNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
}};

// The standard scheme, indexed by system colour number (25 has no colour of
// its own: black).
constexpr std::array<TColor, 31> kScheme{{
    RGBColor(192, 192, 192), RGBColor(0, 128, 128),   RGBColor(0, 0, 128),     RGBColor(128, 128, 128),
    RGBColor(192, 192, 192), RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(0, 0, 0),
    RGBColor(0, 0, 0),       RGBColor(255, 255, 255), RGBColor(192, 192, 192), RGBColor(192, 192, 192),
    RGBColor(128, 128, 128), RGBColor(0, 0, 128),     RGBColor(255, 255, 255), RGBColor(192, 192, 192),
    RGBColor(128, 128, 128), RGBColor(128, 128, 128), RGBColor(0, 0, 0),       RGBColor(192, 192, 192),
    RGBColor(255, 255, 255), RGBColor(0, 0, 0),       RGBColor(223, 223, 223), RGBColor(0, 0, 0),
    RGBColor(255, 255, 225), RGBColor(0, 0, 0),       RGBColor(0, 0, 128),     RGBColor(16, 132, 208),
    RGBColor(181, 181, 181), RGBColor(0, 0, 128),     RGBColor(192, 192, 192),
}};

} // namespace

TColor ColorToRGB(TColor color) {
    if (color == clNone || color == clDefault) return clBlack;
    if (!IsSystemColor(color)) return MakeColor(static_cast<std::uint32_t>(color) & 0xFFFFFF);
    const std::uint32_t index = static_cast<std::uint32_t>(color) & 0xFF;
    return index < kScheme.size() ? kScheme[index] : clBlack;
}

std::uint32_t ColorToPixel(TColor color) {
    const auto rgb = static_cast<std::uint32_t>(ColorToRGB(color));
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

void EnumColorIdents(const std::function<void(const char* ident, TColor color)>& func) {
    for (const TColorName& entry : kColorNames) func(entry.Name, entry.Color);
}

bool ColorToIdent(TColor color, std::string& ident) {
    for (const TColorName& entry : kColorNames)
        if (entry.Color == color) {
            ident = entry.Name;
            return true;
        }
    return false;
}

bool IdentToColor(const std::string& ident, TColor& color) {
    for (const TColorName& entry : kColorNames)
        if (SameText(ident, entry.Name)) {
            color = entry.Color;
            return true;
        }
    return false;
}

std::string ColorToString(TColor color) {
    std::string ident;
    if (ColorToIdent(color, ident)) return ident;
    char text[16];
    std::snprintf(text, sizeof text, "$%08X", static_cast<unsigned>(static_cast<std::uint32_t>(color)));
    return text;
}

TColor StringToColor(const std::string& text) {
    TColor color = clBlack;
    if (IdentToColor(text, color)) return color;
    const bool hex = !text.empty() && text[0] == '$';
    const std::string digits = hex ? text.substr(1) : text;
    if (!digits.empty()) {
        char* end = nullptr;
        const long long value = std::strtoll(digits.c_str(), &end, hex ? 16 : 10);
        if (end && *end == '\0' && value >= INT32_MIN && value <= static_cast<long long>(UINT32_MAX))
            return MakeColor(static_cast<std::uint32_t>(value));
    }
    throw EConvertError("'" + text + "' is not a valid colour");
}

} // namespace host
