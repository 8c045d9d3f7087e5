#pragma once
// TPanel: a windowed control that groups other controls, with a caption and
// a frame of bevels. The bevels, the border width and a single border line
// narrow the area its aligned children share; controls placed by their own
// Left and Top are not moved.

#include "host/core/Export.h"
#include "host/ui/Controls.h"
#include "host/ui/StdCtrls.h"

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

// A group box of choices, one of which is picked: a mark and a text for
// each item, laid out in Columns, filled top to bottom. Up and Left pick
// the item before, Down and Right the one after, a click picks the item
// under it; each pick by the user runs OnClick. Code: RadioGroup.cpp.
class TCustomRadioGroup : public TCustomGroupBox {
    HOST_CLASS(TCustomRadioGroup, TCustomGroupBox)
public:
    TStrings* Items() const { return FItems.get(); }
    void SetItems(const TStrings* value) { FItems->Assign(value); }
    // -1 for none; an index outside the items picks none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    // 1 to 16.
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    // The item whose mark is at a client point; -1 for none.
    int ItemAtPos(TPoint pos) const;
    // Where an item is painted, in client pixels.
    TRect ItemRect(int index) const;

protected:
    explicit TCustomRadioGroup(TComponent* owner);
    void Loaded() override;
    void Paint() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    VESKAR_LOCAL int RowsPerColumn() const;
    VESKAR_LOCAL void UserPick(int index);

    Owned<TStringList> FItems;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
    HOST_CLASS(TRadioGroup, TCustomRadioGroup)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

} // namespace host

VESKAR_PUBLIC_END
