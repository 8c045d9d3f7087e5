#pragma once
// Edit boxes: a windowed control holding one line of text that the user
// types into. A printable character (WM_CHAR) goes at the end of the text,
// backspace takes the last one off; a read-only box takes neither.

#include "host/ui/Controls.h"

namespace host {

class TCustomEdit : public TWinControl {
    HOST_CLASS(TCustomEdit, TWinControl)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    bool ReadOnly() const { return FReadOnly; }
    virtual void SetReadOnly(bool value) { FReadOnly = value; }
    // True once the user typed since the flag was last cleared; text set by
    // the program leaves it alone.
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }
    void Clear() { SetText(""); }
    // The most characters typing may make; 0 is no limit. Text set by the
    // program is not cut.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value) { FMaxLength = value > 0 ? value : 0; }

    // Run on every change of the text, typed or set.
    TNotifyEvent OnChange;

protected:
    explicit TCustomEdit(TComponent* owner);

    void WMChar(TMessage& message) override;
    void TextChanged() override;
    // Runs OnChange.
    virtual void Change();
    // Asked before a typed key changes the text; false refuses the key.
    virtual bool EditCanModify() { return !FReadOnly; }

private:
    bool FReadOnly = false;
    bool FModified = false;
    int FMaxLength = 0;
};

// An edit box that may restrict what is typed through an edit mask. The
// mask is kept as text; an empty mask (the default) accepts any character.
class TCustomMaskEdit : public TCustomEdit {
    HOST_CLASS(TCustomMaskEdit, TCustomEdit)
public:
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& value) { FEditMask = value; }

protected:
    explicit TCustomMaskEdit(TComponent* owner) : TCustomEdit(owner) {}

private:
    std::string FEditMask;
};

class TEdit : public TCustomEdit {
    HOST_CLASS(TEdit, TCustomEdit)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

} // namespace host
