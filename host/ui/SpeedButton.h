#pragma once
// TSpeedButton: a windowless button with a glyph, painted on its parent.
// A left click (button down and up inside it) runs Click, which runs OnClick.

#include "host/core/Export.h"
#include "host/ui/Controls.h"
#include "host/ui/Graphics.h"

VESKAR_PUBLIC_BEGIN

namespace host {

class TSpeedButton : public TGraphicControl {
    HOST_CLASS(TSpeedButton, TGraphicControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TBitmap* Glyph() const { return FGlyph.get(); }
    // Copies Value into the button's own glyph.
    void SetGlyph(const TBitmap* value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool value);
    // True while the left button is held down on it.
    bool Pressed() const { return FPressed; }

    void Click() override;

protected:
    explicit TSpeedButton(TComponent* owner);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void EnabledChanged() override;
    void Paint() override;

private:
    VESKAR_LOCAL void GlyphChanged(TObject* sender);

    Owned<TBitmap> FGlyph;
    bool FFlat = false;
    bool FPressed = false;
};

} // namespace host

VESKAR_PUBLIC_END
