// Anchors: a control that is not aligned keeps its distances to the parent
// edges it is anchored to when the parent's client area changes size.

#include "host/ui/Controls.h"

#include "host/core/Guards.h"

#include <algorithm>

namespace host {

namespace {

struct TSpan {
    int Pos;
    int Size;
};

// One axis: Was and Now are the parent's client extent then and now.
TSpan Anchored(bool low, bool high, TSpan span, int was, int now) {
    const int delta = now - was;
    if (low && high) return {span.Pos, std::max(0, span.Size + delta)};
    if (high) return {span.Pos + delta, span.Size};
    if (low || was <= 0) return span;
    // Neither edge: the centre stays where it was in proportion.
    const long long centre = span.Pos + span.Size / 2;
    return {static_cast<int>(centre * now / was) - span.Size / 2, span.Size};
}

} // namespace

void TControl::SetAnchors(TAnchors value) {
    if (FAnchors == value) return;
    FAnchors = value;
    UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
    FAnchorBase = BoundsRect();
    // A file's positions belong to the client size it gives its parent
    // before them; the kept DesignSize is not used, so a form written after
    // a resize reads back where it was.
    FAnchorSpace = FParent ? TPoint{FParent->ClientWidth(), FParent->ClientHeight()} : TPoint{-1, -1};
}

void TControl::ApplyAnchors(TPoint space) {
    if (FAlign != alNone || FAnchors == kDefaultAnchors || FAnchorSpace.X < 0) return;
    const TSpan x = Anchored(FAnchors.Contains(akLeft), FAnchors.Contains(akRight),
                             {FAnchorBase.Left, FAnchorBase.Width()}, FAnchorSpace.X, space.X);
    const TSpan y = Anchored(FAnchors.Contains(akTop), FAnchors.Contains(akBottom),
                             {FAnchorBase.Top, FAnchorBase.Height()}, FAnchorSpace.Y, space.Y);
    const TScopedFlag moving(FAnchorMove);
    SetBounds(x.Pos, y.Pos, x.Size, y.Size);
}

} // namespace host
