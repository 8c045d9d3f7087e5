#pragma once
// TPanel: a windowed control that groups other controls, with a caption and
// a frame of bevels. The bevels, the border width and a single border line
// narrow the area its aligned children share; controls placed by their own
// Left and Top are not moved.

#include "host/core/Export.h"
#include "host/ui/Controls.h"

VESKAR_PUBLIC_BEGIN

namespace host {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;
using TBorderWidth = int;

class TCustomPanel : public TCustomControl {
    HOST_CLASS(TCustomPanel, TCustomControl)
public:
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    // At least 1.
    TBevelWidth BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(TBevelWidth value);
    // At least 0.
    TBorderWidth BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(TBorderWidth value);
    // bsNone or bsSingle; any other style is taken as bsSingle.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    // The area left inside the border and the bevels, in client coordinates.
    TRect InnerRect() const;

protected:
    explicit TCustomPanel(TComponent* owner);
    void AdjustClientRect(TRect& rect) override;
    void Paint() override;

private:
    VESKAR_LOCAL void FrameChanged();

    TAlignment FAlignment = taCenter;
    TBevelCut FBevelInner = bvNone;
    TBevelCut FBevelOuter = bvRaised;
    TBevelWidth FBevelWidth = 1;
    TBorderWidth FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
    HOST_CLASS(TPanel, TCustomPanel)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

} // namespace host

VESKAR_PUBLIC_END
