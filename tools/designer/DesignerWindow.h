#pragma once
// The designer's window, made of the host's own controls so that it runs
// on every back end: the palette (each registered page with a button per
// class) across the top, the designed form on a design surface, the object
// inspector (property names and values, a value edit, a value list and a
// "..." button) on the right, and a status line at the bottom.
//
// On the surface: a click places the palette's chosen class or selects;
// arrows move the selection by a cell, Shift+arrows resize it, Delete
// deletes it, Shift+F10 shows its component editor's verbs, a double click
// or Enter runs the default verb. Ctrl+S saves; closing with changes asks.
// Code: DesignerWindow.cpp (window, palette, inspector), DesignSurface.cpp,
// VerbMenu.cpp.

#include "host/ui/Forms.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/StdCtrls.h"
#include "tools/designer/DesignDocument.h"

#include <string>
#include <vector>

namespace designer {

class TDesignerWindow;

// Draws the designed form (its controls as at run time, its non-visual
// components as named icons at their design places) and takes the clicks
// and keys of design. Its client coordinates are the form's.
class TDesignSurface : public host::TCustomControl {
    HOST_CLASS(TDesignSurface, host::TCustomControl)
public:
    void SetWindow(TDesignerWindow* window) { FWindow = window; }
    // The component at a point of the form's client area: a non-visual
    // component's icon, else the innermost control, else the form.
    host::TComponent* ComponentAt(host::TPoint point) const;
    // A non-visual component's icon, in the form's client coordinates.
    host::TRect IconRect(const host::TComponent* component) const;

protected:
    explicit TDesignSurface(host::TComponent* owner);
    void Paint() override;
    void MouseDown(host::TMouseButton button, host::TShiftState shift, int x, int y) override;
    void KeyDown(std::uint16_t& key, host::TShiftState shift) override;

private:
    TDesignerWindow* FWindow = nullptr;
};

class TDesignerWindow : public host::TForm {
    HOST_CLASS(TDesignerWindow, host::TForm)
public:
    // A new window on Document, sized to the screen; the caller frees it
    // (the document outlives it).
    static TDesignerWindow* Make(TDesignDocument& document);

    TDesignDocument& Document() const { return *FDocument; }
    host::TFormDesigner& Designer() const { return FDocument->Designer(); }

    // The controls, for a person and for scripts alike.
    host::TPanel* PalettePanel = nullptr;
    TDesignSurface* Surface = nullptr;
    host::TPanel* InspectorPanel = nullptr;
    host::TListBox* PropertyList = nullptr;
    host::TEdit* ValueEdit = nullptr;
    host::TButton* DialogButton = nullptr;
    host::TListBox* ValueList = nullptr;
    host::TLabel* StatusLabel = nullptr;
    // The palette button of a class; nil when the palette has none.
    host::TButton* PaletteButton(const std::string& className) const;

    // The class the next click on the form places; empty when none.
    const std::string& PendingClass() const { return FPendingClass; }
    void ChoosePaletteClass(const std::string& className);
    // The property whose row is chosen in the inspector.
    std::string ChosenProperty() const;
    const std::string& Status() const { return FStatus; }

    // What the surface does.
    void PlaceAt(host::TPoint point);
    void SelectComponent(host::TComponent* component);
    host::TComponent* Selected() const;
    void MoveSelection(int dx, int dy, bool resize);
    void DeleteSelection();
    void ShowVerbs();
    void RunDefaultVerb();

    // Writes the form file; false (with the reason on the status line and
    // in a message) when it cannot.
    bool SaveFile();
    // Something changed: the surface, the inspector and the caption follow.
    void Changed();
    void SetStatus(const std::string& text);

protected:
    explicit TDesignerWindow(host::TComponent* owner) : TForm(owner) {}
    // Built in code, not from a stored definition.
    void LoadDefinition() override {}
    bool DialogKey(std::uint16_t& key, host::TShiftState shift) override;

private:
    void Build();
    void BuildPalette(int width);
    void BuildInspector();
    void UpdateCaption();
    void FillInspector();
    void ShowRow();
    void ApplyValue(const std::string& text);
    void EditValueKey(std::uint16_t& key, host::TShiftState shift);
    void RunDialog();
    void AskToSave(bool& canClose);

    TDesignDocument* FDocument = nullptr;
    std::vector<host::TButton*> FPaletteButtons;
    std::vector<std::string> FRowNames;
    std::string FPendingClass;
    std::string FStatus;
};

// The verbs of a component editor as a small modal list: Enter or a double
// click picks one, Esc picks none. Answers the verb's index or -1.
int ChooseVerb(const std::string& componentName, const std::vector<std::string>& verbs);

} // namespace designer
