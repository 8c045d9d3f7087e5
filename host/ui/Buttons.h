#pragma once
// TBitBtn: a button with a glyph beside its caption. Its Kind sets up a
// stock button: the caption, the modal result and whether it answers Enter
// (Default) or Esc (Cancel); the glyph is left as it is. A bkClose button
// on a form closes the form when clicked, instead of running OnClick.

#include "host/core/Export.h"
#include "host/ui/Graphics.h"
#include "host/ui/StdCtrls.h"

VESKAR_PUBLIC_BEGIN

namespace host {

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TBitBtn : public TButton {
    HOST_CLASS(TBitBtn, TButton)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TBitmap* Glyph() const { return FGlyph.get(); }
    // Copies Value into the button's own glyph.
    void SetGlyph(const TBitmap* value) { FGlyph->Assign(value); }
    // How many images the glyph holds side by side (up, disabled, down,
    // held); 1 to 4.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    TBitBtnKind Kind() const { return FKind; }
    // While the button is being read only Kind itself is kept: the stored
    // caption and result are read on their own.
    void SetKind(TBitBtnKind value);
    TButtonLayout Layout() const { return FLayout; }
    void SetLayout(TButtonLayout value);
    // Pixels from the edge to the glyph; -1 centres glyph and caption.
    int Margin() const { return FMargin; }
    void SetMargin(int value);
    // Pixels between the glyph and the caption.
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);

    void Click() override;

protected:
    explicit TBitBtn(TComponent* owner);
    void PaintFace(TCanvas& canvas, const TRect& inner, int textTop) override;

private:
    Owned<TBitmap> FGlyph;
    int FNumGlyphs = 1;
    TBitBtnKind FKind = bkCustom;
    TButtonLayout FLayout = blGlyphLeft;
    int FMargin = -1;
    int FSpacing = 4;
};

// The caption and the modal result a stock button kind comes with.
const char* BitBtnCaption(TBitBtnKind kind);
TModalResult BitBtnModalResult(TBitBtnKind kind);

} // namespace host

VESKAR_PUBLIC_END
