#include "host/ui/Canvas.h"
#include "host/ui/PaintTools.h"
#include "host/ui/PublishLabels.h"
#include "host/ui/StdCtrls.h"

namespace host {

HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomLabel, TGraphicControl)
HOST_IMPLEMENT_COMPONENT(TLabel, TCustomLabel)

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 65, 17);
    SetControlStyle({csSetCaption, csReplicatable, csClickEvents, csDoubleClicks});
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (FFocusControl == value) return;
    if (FFocusControl) RemoveFreeNotification(FFocusControl);
    FFocusControl = value;
    if (value) FreeNotification(value);
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value) return;
    FShowAccelChar = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

std::string TCustomLabel::GetLabelText() const { return Caption(); }

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component && component == FFocusControl) FFocusControl = nullptr;
}

void TCustomLabel::TextChanged() {
    inherited::TextChanged();
    AdjustBounds();
}

void TCustomLabel::Loaded() {
    inherited::Loaded();
    AdjustBounds();
}

// The width the text takes in cells; a right-justified label keeps its
// right edge. A label being read waits for Loaded.
void TCustomLabel::AdjustBounds() {
    if (!FAutoSize || FWordWrap || ComponentState().Contains(csLoading)) return;
    const std::string text = FShowAccelChar ? StripAccelChars(GetLabelText()) : GetLabelText();
    const int width = static_cast<int>(DecodeUtf8(text).size()) * kCellWidth;
    if (width == Width()) return;
    const int left = FAlignment == taRightJustify ? Left() + Width() - width : Left();
    SetBounds(left, Top(), width, Height());
}

void TCustomLabel::WndProc(TMessage& message) {
    if (message.Msg == CM_DIALOGCHAR) {
        if (FShowAccelChar && FFocusControl && Enabled() &&
            IsAccel(static_cast<std::uint16_t>(message.WParam), Caption()) && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            message.Result = 1;
        }
        return;
    }
    inherited::WndProc(message);
}

void TCustomLabel::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect all = Rect(0, 0, Width(), Height());
    if (FTransparent) {
        canvas.Brush()->SetStyle(bsClear);
    } else {
        canvas.Brush()->SetColor(Color());
        canvas.FillRect(all);
    }
    canvas.Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
    const int rows = canvas.CellRect(all).Height();
    int top = 0;
    if (FLayout == tlCenter) top = CenteredTextTop(Height());
    if (FLayout == tlBottom) top = Height() - kCellHeight;
    if (rows <= 1) top = 0;
    const std::string caption = GetLabelText();
    const int width = AccelTextWidth(canvas, caption, FShowAccelChar);
    if (!FWordWrap) {
        DrawAccelText(canvas, AlignedTextLeft(0, Width(), width, FAlignment), top, caption, FShowAccelChar);
        return;
    }
    // Word wrap: whole words a line, as many lines as fit.
    const int columns = std::max(1, canvas.CellRect(all).Width());
    std::string line;
    int y = 0;
    auto flush = [&] {
        canvas.TextOut(AlignedTextLeft(0, Width(), canvas.TextWidth(line), FAlignment), y, line);
        y += kCellHeight;
        line.clear();
    };
    std::string word;
    const std::string words = (FShowAccelChar ? StripAccelChars(caption) : caption) + " ";
    for (char ch : words) {
        if (ch != ' ') {
            word.push_back(ch);
            continue;
        }
        if (word.empty()) continue;
        const size_t need = DecodeUtf8(line).size() + (line.empty() ? 0 : 1) + DecodeUtf8(word).size();
        if (!line.empty() && static_cast<int>(need) > columns) flush();
        if (!line.empty()) line.push_back(' ');
        line += word;
        word.clear();
    }
    if (!line.empty()) flush();
}

void TLabel::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TLabel>();
    DeclareLabel(p, true);
    p.Component("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
    p.Boolean("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(true);
}

} // namespace host
