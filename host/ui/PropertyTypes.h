#pragma once
// Type descriptors of the host's own property types, for classes that
// publish properties of these types and for property editors that match
// them.

#include "host/core/Export.h"
#include "host/core/TypInfo.h"

VESKAR_PUBLIC_BEGIN

namespace host {

const TEnumInfo& AlignTypeInfo();            // TAlign: alNone ... alClient
const TSetInfo& AnchorsTypeInfo();           // TAnchors: [akLeft, akTop, akRight, akBottom]
const TSetInfo& BorderIconsTypeInfo();       // TBorderIcons: [biSystemMenu, biMinimize, ...]
const TIntegerInfo& CursorTypeInfo();        // TCursor, with crDefault, crArrow...
const TIntegerInfo& ShortCutTypeInfo();      // TShortCut, written as a number
const TEnumInfo& DBGridOptionTypeInfo();     // TDBGridOption: dgEditing ...
const TSetInfo& DBGridOptionsTypeInfo();     // TDBGridOptions
const TIntegerInfo& ColorTypeInfo();         // TColor, with clBtnFace, clWindowText...
const TIntegerInfo& CharsetTypeInfo();       // TFontCharset, with DEFAULT_CHARSET...
const TEnumInfo& AlignmentTypeInfo();        // TAlignment: taLeftJustify ...
const TEnumInfo& FormBorderStyleTypeInfo();  // TFormBorderStyle: bsNone ...
const TEnumInfo& TextLayoutTypeInfo();       // TTextLayout: tlTop ...
const TEnumInfo& ComboBoxStyleTypeInfo();    // TComboBoxStyle: csDropDown ...

} // namespace host

VESKAR_PUBLIC_END
