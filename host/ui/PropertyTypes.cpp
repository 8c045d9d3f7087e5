// The descriptors of the property types that several controls publish.

#include "host/ui/PropertyTypes.h"

#include "host/ui/Colors.h"
#include "host/ui/Controls.h"
#include "host/ui/Font.h"

namespace host {

const TEnumInfo& AlignTypeInfo() {
    static const TEnumInfo info{"TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"}};
    return info;
}

const TSetInfo& AnchorsTypeInfo() {
    static const TEnumInfo kind{"TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"}};
    static const TSetInfo info{"TAnchors", &kind};
    return info;
}

const TSetInfo& BorderIconsTypeInfo() {
    static const TEnumInfo icon{"TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}};
    static const TSetInfo info{"TBorderIcons", &icon};
    return info;
}

const TIntegerInfo& CursorTypeInfo() {
    static const TIntegerInfo info{"TCursor",
                                   {{"crDefault", crDefault},
                                    {"crNone", crNone},
                                    {"crArrow", crArrow},
                                    {"crCross", crCross},
                                    {"crIBeam", crIBeam},
                                    {"crHourGlass", crHourGlass},
                                    {"crHandPoint", crHandPoint},
                                    {"crSizeAll", crSizeAll}}};
    return info;
}

const TIntegerInfo& ShortCutTypeInfo() {
    static const TIntegerInfo info{"TShortCut", {}};
    return info;
}

const TEnumInfo& DBGridOptionTypeInfo() {
    static const TEnumInfo info{"TDBGridOption",
                                {"dgEditing", "dgAlwaysShowEditor", "dgTitles", "dgIndicator", "dgColumnResize",
                                 "dgColLines", "dgRowLines", "dgTabs", "dgRowSelect", "dgAlwaysShowSelection",
                                 "dgConfirmDelete", "dgCancelOnExit", "dgMultiSelect", "dgTitleClick",
                                 "dgTitleHotTrack"}};
    return info;
}

const TSetInfo& DBGridOptionsTypeInfo() {
    static const TSetInfo info{"TDBGridOptions", &DBGridOptionTypeInfo()};
    return info;
}

const TIntegerInfo& ColorTypeInfo() {
    static const TIntegerInfo info = [] {
        TIntegerInfo made{"TColor", {}};
        EnumColorIdents([&](const char* ident, TColor color) { made.Idents.push_back({ident, color}); });
        return made;
    }();
    return info;
}

const TIntegerInfo& CharsetTypeInfo() {
    static const TIntegerInfo info = [] {
        TIntegerInfo made{"TFontCharset", {}};
        EnumCharsetIdents([&](const char* ident, TFontCharset charset) { made.Idents.push_back({ident, charset}); });
        return made;
    }();
    return info;
}

const TEnumInfo& AlignmentTypeInfo() {
    static const TEnumInfo info{"TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"}};
    return info;
}

const TEnumInfo& ComboBoxStyleTypeInfo() {
    static const TEnumInfo info{"TComboBoxStyle",
                                {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"}};
    return info;
}

const TEnumInfo& FormBorderStyleTypeInfo() {
    static const TEnumInfo info{"TFormBorderStyle",
                                {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}};
    return info;
}

const TEnumInfo& TextLayoutTypeInfo() {
    static const TEnumInfo info{"TTextLayout", {"tlTop", "tlCenter", "tlBottom"}};
    return info;
}

} // namespace host
