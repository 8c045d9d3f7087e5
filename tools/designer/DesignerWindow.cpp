#include "tools/designer/DesignerWindow.h"

#include "host/core/Exception.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Screen.h"

#include <algorithm>
#include <filesystem>

namespace designer {

using namespace host;

namespace {

constexpr int kInspectorCols = 40;
constexpr int kNameCols = 20;

int Cols(int n) { return n * kCellWidth; }
int Rows(int n) { return n * kCellHeight; }

std::string RowText(const TInspectorRow& row) {
    std::string name = row.Name.substr(0, kNameCols - 1);
    name.resize(kNameCols, ' ');
    return name + row.Value + (row.Attributes.Contains(paDialog) ? " ..." : "");
}

} // namespace

HOST_IMPLEMENT_COMPONENT(TDesignerWindow, TForm)

TDesignerWindow* TDesignerWindow::Make(TDesignDocument& document) {
    Owned<TDesignerWindow> window(TDesignerWindow::Create(nullptr));
    window->FDocument = &document;
    window->Build();
    return window.release();
}

void TDesignerWindow::Build() {
    SetName("DesignerWindow");
    // The whole screen but the status line, frame included.
    SetBounds(0, 0, std::max(Screen()->Width(), Cols(80)), std::max(Screen()->Height() - Rows(1), Rows(23)));
    const TRect cells = ClientCells();
    SetWidth(Width() - std::max(cells.Right + cells.Left - Screen()->Width() / kCellWidth, 0) * kCellWidth);
    SetHeight(Height() - std::max(cells.Bottom + cells.Top - Screen()->Height() / kCellHeight + 1, 0) * kCellHeight);
    const int width = ClientRect().Right;
    StatusLabel = TLabel::Create(this);
    StatusLabel->SetName("StatusLabel");
    StatusLabel->SetAlign(alBottom);
    StatusLabel->SetHeight(Rows(1));
    StatusLabel->SetParent(this);
    BuildPalette(width);
    // The surface first, so that it is first in the tab order too.
    Surface = TDesignSurface::Create(this);
    Surface->SetName("Surface");
    Surface->SetWindow(this);
    Surface->SetAlign(alClient);
    Surface->SetParent(this);
    BuildInspector();
    SetActiveControl(Surface);
    OnCloseQuery = [this](TObject*, bool& canClose) { AskToSave(canClose); };
    FillInspector();
    UpdateCaption();
    if (!FDocument->MissingClasses().empty()) {
        std::string names;
        for (const std::string& missing : FDocument->MissingClasses()) names += (names.empty() ? "" : ", ") + missing;
        SetStatus("Not registered, left out (kept in the file): " + names);
    } else {
        SetStatus("Pick a class on the palette, then click the form. ^S save  ^Q quit");
    }
}

// --- the palette --------------------------------------------------------------------

void TDesignerWindow::BuildPalette(int width) {
    PalettePanel = TPanel::Create(this);
    PalettePanel->SetName("PalettePanel");
    PalettePanel->SetCaption("");
    PalettePanel->SetBevelOuter(bvNone);
    PalettePanel->SetAlign(alTop);
    PalettePanel->SetParent(this);
    // The pages flow in rows of cells: each page's name, then its classes.
    int col = 0;
    int row = 0;
    auto place = [&](TControl* control, int cols) {
        if (col > 0 && Cols(col + cols) > width) {
            col = 0;
            ++row;
        }
        control->SetBounds(Cols(col), Rows(row), Cols(cols), Rows(1));
        control->SetParent(PalettePanel);
        col += cols + 1;
    };
    for (const TPalettePage& page : PalettePages()) {
        TLabel* label = TLabel::Create(this);
        label->SetCaption(page.Name + ":");
        place(label, static_cast<int>(page.Name.size()) + 1);
        for (const TPaletteItem& item : page.Items) {
            const std::string className = item.Class->ClassName();
            TButton* button = TButton::Create(this);
            button->SetName("Palette" + className);
            button->SetCaption(className);
            button->SetTabStop(false);
            button->OnClick = [this, className](TObject*) { ChoosePaletteClass(className); };
            place(button, static_cast<int>(className.size()) + 4);
            FPaletteButtons.push_back(button);
        }
    }
    PalettePanel->SetHeight(Rows(row + 1));
}

TButton* TDesignerWindow::PaletteButton(const std::string& className) const {
    for (TButton* button : FPaletteButtons)
        if (SameText(button->Caption(), className)) return button;
    return nullptr;
}

void TDesignerWindow::ChoosePaletteClass(const std::string& className) {
    FPendingClass = className;
    SetStatus("Click the form to place " + className + " (Esc: none)");
    Surface->SetFocus();
}

// --- the surface's actions ------------------------------------------------------------

TComponent* TDesignerWindow::Selected() const {
    const std::vector<TComponent*> selection = Designer().Selection();
    return selection.empty() ? nullptr : selection.front();
}

void TDesignerWindow::SelectComponent(TComponent* component) {
    Designer().Select(component);
    SetStatus(component ? component->Name() + ": " + component->ClassName() : std::string());
    Changed();
}

void TDesignerWindow::PlaceAt(TPoint point) {
    const std::string className = FPendingClass;
    FPendingClass.clear();
    try {
        TComponent* component = Designer().AddComponent(className);
        if (auto* control = dynamic_cast<TControl*>(component))
            control->SetBounds(point.X, point.Y, control->Width(), control->Height());
        else
            Designer().MoveComponent(component, point.X, point.Y);
        SetStatus("Placed " + component->Name());
    } catch (const std::exception& e) {
        SetStatus(e.what());
    }
    Changed();
}

void TDesignerWindow::MoveSelection(int dx, int dy, bool resize) {
    TComponent* component = Selected();
    if (!component || component == Designer().Root()) return;
    if (auto* control = dynamic_cast<TControl*>(component)) {
        if (resize)
            control->SetBounds(control->Left(), control->Top(), std::max(control->Width() + dx, kCellWidth),
                               std::max(control->Height() + dy, kCellHeight));
        else
            control->SetBounds(control->Left() + dx, control->Top() + dy, control->Width(), control->Height());
        Designer().Modified();
    } else if (!resize) {
        Designer().MoveComponent(component, DesignLeft(component) + dx, DesignTop(component) + dy);
    }
    Changed();
}

void TDesignerWindow::DeleteSelection() {
    TComponent* component = Selected();
    if (!component || component == Designer().Root()) return;
    const std::string name = component->Name();
    Designer().Select(nullptr);
    component->Free();
    Designer().Modified();
    SetStatus("Deleted " + name);
    Changed();
}

void TDesignerWindow::ShowVerbs() {
    TComponent* component = Selected();
    if (!component) return;
    std::vector<std::string> verbs;
    for (const TMenuItemInfo& item : Designer().ContextMenu(component)) verbs.push_back(item.Caption);
    if (verbs.empty()) {
        SetStatus(component->Name() + " has no editor verbs");
        return;
    }
    const int index = ChooseVerb(component->Name(), verbs);
    if (index < 0) return;
    try {
        Designer().ExecuteVerb(component, index);
    } catch (const std::exception& e) {
        SetStatus(e.what());
    }
    Changed();
}

void TDesignerWindow::RunDefaultVerb() {
    TComponent* component = Selected();
    if (!component || component == Designer().Root()) return;
    try {
        Designer().EditComponent(component);
    } catch (const std::exception& e) {
        SetStatus(e.what());
    }
    Changed();
}

// --- the object inspector --------------------------------------------------------------

void TDesignerWindow::BuildInspector() {
    InspectorPanel = TPanel::Create(this);
    InspectorPanel->SetName("InspectorPanel");
    InspectorPanel->SetCaption("");
    InspectorPanel->SetBevelOuter(bvNone);
    InspectorPanel->SetAlign(alRight);
    InspectorPanel->SetWidth(Cols(kInspectorCols));
    InspectorPanel->SetParent(this);

    ValueList = TListBox::Create(this);
    ValueList->SetName("ValueList");
    ValueList->SetAlign(alBottom);
    ValueList->SetHeight(Rows(5));
    ValueList->SetParent(InspectorPanel);
    ValueList->OnDblClick = [this](TObject*) {
        if (ValueList->ItemIndex() >= 0) ApplyValue(ValueList->Items()->Strings(ValueList->ItemIndex()));
    };
    ValueList->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState) {
        if (key == VK_RETURN && ValueList->ItemIndex() >= 0) {
            key = 0;
            ApplyValue(ValueList->Items()->Strings(ValueList->ItemIndex()));
        }
    };

    TPanel* editRow = TPanel::Create(this);
    editRow->SetCaption("");
    editRow->SetBevelOuter(bvNone);
    editRow->SetAlign(alBottom);
    editRow->SetHeight(Rows(1));
    editRow->SetParent(InspectorPanel);
    DialogButton = TButton::Create(this);
    DialogButton->SetName("DialogButton");
    DialogButton->SetCaption("...");
    DialogButton->SetAlign(alRight);
    DialogButton->SetWidth(Cols(5));
    DialogButton->SetParent(editRow);
    DialogButton->OnClick = [this](TObject*) { RunDialog(); };
    ValueEdit = TEdit::Create(this);
    ValueEdit->SetName("ValueEdit");
    ValueEdit->SetAlign(alClient);
    ValueEdit->SetParent(editRow);
    ValueEdit->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState shift) { EditValueKey(key, shift); };

    PropertyList = TListBox::Create(this);
    PropertyList->SetName("PropertyList");
    PropertyList->SetAlign(alClient);
    PropertyList->SetParent(InspectorPanel);
    PropertyList->OnClick = [this](TObject*) { ShowRow(); };
    PropertyList->OnKeyDown = [this](TObject*, std::uint16_t& key, TShiftState) {
        if (key == VK_RETURN) {
            key = 0;
            ValueEdit->SetFocus();
        }
    };
}

std::string TDesignerWindow::ChosenProperty() const {
    const int index = PropertyList->ItemIndex();
    return index >= 0 && index < static_cast<int>(FRowNames.size()) ? FRowNames[index] : std::string();
}

void TDesignerWindow::FillInspector() {
    const std::string chosen = ChosenProperty();
    FRowNames.clear();
    PropertyList->Items()->Clear();
    int keep = -1;
    for (const TInspectorRow& row : Designer().Inspector()) {
        if (row.Name == chosen) keep = static_cast<int>(FRowNames.size());
        FRowNames.push_back(row.Name);
        PropertyList->Items()->Add(RowText(row));
    }
    PropertyList->SetItemIndex(keep);
    ShowRow();
}

void TDesignerWindow::ShowRow() {
    ValueList->Items()->Clear();
    const std::string name = ChosenProperty();
    auto editor = name.empty() ? nullptr : Designer().PropertyEditor(name);
    if (!editor) {
        ValueEdit->SetText("");
        DialogButton->SetEnabled(false);
        return;
    }
    ValueEdit->SetText(editor->GetValue());
    DialogButton->SetEnabled(editor->GetAttributes().Contains(paDialog));
    for (const std::string& value : Designer().PropertyValues(name)) ValueList->Items()->Add(value);
}

void TDesignerWindow::ApplyValue(const std::string& text) {
    const std::string name = ChosenProperty();
    if (name.empty()) return;
    try {
        Designer().SetPropertyText(name, text);
        SetStatus(name + " = " + text);
    } catch (const std::exception& e) {
        // The editor refused the text: the property keeps its value.
        SetStatus(name + ": " + e.what());
    }
    Changed();
}

void TDesignerWindow::EditValueKey(std::uint16_t& key, TShiftState shift) {
    if (!shift.Empty()) return;
    if (key == VK_RETURN) {
        key = 0;
        ApplyValue(ValueEdit->Text());
    } else if (key == VK_ESCAPE) {
        key = 0;
        ShowRow();
    }
}

void TDesignerWindow::RunDialog() {
    const std::string name = ChosenProperty();
    if (name.empty()) return;
    try {
        Designer().EditProperty(name);
    } catch (const std::exception& e) {
        SetStatus(name + ": " + e.what());
    }
    Changed();
}

// --- the form file -------------------------------------------------------------------

bool TDesignerWindow::SaveFile() {
    try {
        FDocument->Save();
        SetStatus("Saved " + FDocument->Path());
        UpdateCaption();
        return true;
    } catch (const std::exception& e) {
        SetStatus(e.what());
        ShowMessage(e.what());
        UpdateCaption();
        return false;
    }
}

void TDesignerWindow::AskToSave(bool& canClose) {
    canClose = true;
    if (!Designer().IsModified()) return;
    switch (MessageDlg("Save changes to " + FDocument->Path() + "?", mtConfirmation, {mbYes, mbNo, mbCancel})) {
    case mrYes: canClose = SaveFile(); break;
    case mrNo: break;
    default: canClose = false; break;
    }
}

// The window's own keys, whichever of its controls has the focus.
bool TDesignerWindow::DialogKey(std::uint16_t& key, TShiftState shift) {
    if (shift == TShiftState{ssCtrl} && key == 'S') {
        SaveFile();
    } else if (shift == TShiftState{ssCtrl} && key == 'Q') {
        Close();
    } else {
        return inherited::DialogKey(key, shift);
    }
    key = 0;
    return true;
}

// --- following changes ----------------------------------------------------------------

void TDesignerWindow::Changed() {
    Surface->Invalidate();
    FillInspector();
    UpdateCaption();
}

void TDesignerWindow::UpdateCaption() {
    const std::string file = std::filesystem::path(FDocument->Path()).filename().string();
    SetCaption((Designer().IsModified() ? "*" : "") + file + " - veskar-designer");
}

void TDesignerWindow::SetStatus(const std::string& text) {
    FStatus = text;
    StatusLabel->SetCaption(text);
}

} // namespace designer
