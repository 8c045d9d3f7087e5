#include "host/ui/Grids.h"

#include "host/core/Exception.h"
#include "host/core/Guards.h"
#include "host/core/Publisher.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Dialogs.h"
#include "host/ui/Focus.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_COMPONENT(TInplaceEdit, TCustomMaskEdit)
HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomGrid, TCustomControl)
HOST_IMPLEMENT_COMPONENT(TDrawGrid, TCustomGrid)
HOST_IMPLEMENT_COMPONENT(TStringGrid, TDrawGrid)
HOST_IMPLEMENT_CLASS(TGridDataLink, TDataLink)
HOST_IMPLEMENT_ABSTRACT_COMPONENT(TCustomDBGrid, TCustomGrid)
HOST_IMPLEMENT_COMPONENT(TDBGrid, TCustomDBGrid)

// --- TInplaceEdit ------------------------------------------------------------

TInplaceEdit::TInplaceEdit(TComponent* owner)
    : TCustomMaskEdit(owner), FGrid(dynamic_cast<TCustomGrid*>(owner)) {
    if (!FGrid) throw EInvalidOperation("An in-place editor needs a grid as its owner");
    SetBorderStyle(bsNone);
    SetTabStop(false);
    SetVisible(false);
}

bool TInplaceEdit::EditCanModify() { return !ReadOnly() && FGrid->CanEditModify(); }

void TInplaceEdit::Change() {
    inherited::Change();
    if (!FGrid->FUpdatingText) FGrid->EditorChanged();
}

void TInplaceEdit::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (key != 0) FGrid->EditorKey(key, shift);
}

void TInplaceEdit::EditKey(std::uint16_t& key, TShiftState shift) {
    if (key == VK_DELETE && shift.Contains(ssCtrl)) return;
    inherited::EditKey(key, shift);
}

void TInplaceEdit::CMExit(TMessage& message) {
    FGrid->EditorExit();
    inherited::CMExit(message);
}

// --- TCustomGrid -------------------------------------------------------------

TCustomGrid::TCustomGrid(TComponent* owner) : TCustomControl(owner) {
    SetBounds(0, 0, 320, 120);
    SetTabStop(true);
    SetControlStyle({csCaptureMouse, csOpaque, csDoubleClicks, csClickEvents});
    SetColor(clWindow);
    FOptions = {goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
}

void TCustomGrid::Destroy() {
    // The editor goes while the grid is whole; it calls back into it.
    if (TInplaceEdit* editor = FInplaceEdit) {
        FInplaceEdit = nullptr;
        editor->Free();
    }
    inherited::Destroy();
}

void TCustomGrid::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && component == FInplaceEdit) {
        FInplaceEdit = nullptr;
        FEditorMode = false;
    }
}

void TCustomGrid::SetColCount(int value) {
    value = std::max(value, 1);
    if (FColCount == value) return;
    FColCount = value;
    if (FFixedCols >= FColCount) FFixedCols = FColCount - 1;
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::SetRowCount(int value) {
    value = std::max(value, 1);
    if (FRowCount == value) return;
    FRowCount = value;
    if (FFixedRows >= FRowCount) FFixedRows = FRowCount - 1;
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::SetFixedCols(int value) {
    if (value < 0 || value >= FColCount) throw EInvalidOperation("Fixed column count must be less than column count");
    FFixedCols = value;
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::SetFixedRows(int value) {
    if (value < 0 || value >= FRowCount) throw EInvalidOperation("Fixed row count must be less than row count");
    FFixedRows = value;
    ClampCurrent();
    Invalidate();
}

void TCustomGrid::ClampCurrent() {
    FTopRow = std::clamp(FTopRow, FFixedRows, FRowCount - 1);
    FLeftCol = std::clamp(FLeftCol, FFixedCols, FColCount - 1);
    MoveCurrentTo(std::clamp(FCol, FFixedCols, FColCount - 1), std::clamp(FRow, FFixedRows, FRowCount - 1));
}

void TCustomGrid::MoveCurrentTo(int col, int row) {
    if (col == FCol && row == FRow) return;
    const bool newColumn = col != FCol;
    FCol = col;
    FRow = row;
    ScrollInView(FCol, FRow);
    if (FEditorMode) {
        EnterEditor();
        PlaceEditor();
    }
    if (newColumn) RefocusEditor();
    Invalidate();
}

void TCustomGrid::RefocusEditor() {
    // The editor leaves and takes the focus again, as a cell's editor is
    // put on a cell anew: what watches its focus learns of the new column.
    if (!FInplaceEdit || !FInplaceEdit->Focused() || !CanFocus()) return;
    const TKeepAlive alive(this);
    SetFocus();
    if (FreePending()) return;
    if (FEditorMode && FInplaceEdit && !FInplaceEdit->Focused() && FInplaceEdit->CanFocus()) FInplaceEdit->SetFocus();
}

int TCustomGrid::ColWidths(int) const { return FDefaultColWidth; }

int TCustomGrid::RowHeights(int) const { return FDefaultRowHeight; }

void TCustomGrid::SetTopRow(int value) {
    value = std::clamp(value, FFixedRows, FRowCount - 1);
    if (value == FTopRow) return;
    FTopRow = value;
    PlaceEditor();
    Invalidate();
}

void TCustomGrid::SetLeftCol(int value) {
    value = std::clamp(value, FFixedCols, FColCount - 1);
    if (value == FLeftCol) return;
    FLeftCol = value;
    PlaceEditor();
    Invalidate();
}

int TCustomGrid::VisibleRowCount() const {
    int height = ClientHeight();
    for (int r = 0; r < FFixedRows; ++r) height -= RowHeights(r);
    int count = 0;
    for (int r = FTopRow; r < FRowCount && height >= RowHeights(r); ++r) {
        height -= RowHeights(r);
        ++count;
    }
    return std::max(count, 1);
}

void TCustomGrid::ScrollInView(int col, int row) {
    if (row >= FFixedRows) {
        if (row < FTopRow)
            FTopRow = row;
        else if (row >= FTopRow + VisibleRowCount())
            FTopRow = std::max(FFixedRows, row - VisibleRowCount() + 1);
    }
    if (col >= FFixedCols) {
        if (col < FLeftCol) {
            FLeftCol = col;
        } else {
            int fixed = 0;
            for (int c = 0; c < FFixedCols; ++c) fixed += ColWidths(c);
            auto span = [&] {
                int width = fixed;
                for (int c = FLeftCol; c <= col; ++c) width += ColWidths(c);
                return width;
            };
            while (FLeftCol < col && span() > ClientWidth()) ++FLeftCol;
        }
    }
}

std::vector<std::pair<int, int>> TCustomGrid::VisibleCols() const {
    std::vector<std::pair<int, int>> cols;
    int x = 0;
    for (int c = 0; c < FFixedCols && x < ClientWidth(); ++c) {
        cols.emplace_back(c, x);
        x += ColWidths(c);
    }
    for (int c = FLeftCol; c < FColCount && x < ClientWidth(); ++c) {
        cols.emplace_back(c, x);
        x += ColWidths(c);
    }
    return cols;
}

std::vector<std::pair<int, int>> TCustomGrid::VisibleRows() const {
    std::vector<std::pair<int, int>> rows;
    int y = 0;
    for (int r = 0; r < FFixedRows && y < ClientHeight(); ++r) {
        rows.emplace_back(r, y);
        y += RowHeights(r);
    }
    for (int r = FTopRow; r < FRowCount && y < ClientHeight(); ++r) {
        rows.emplace_back(r, y);
        y += RowHeights(r);
    }
    return rows;
}

TRect TCustomGrid::CellRect(int col, int row) const {
    int left = -1;
    for (auto [c, x] : VisibleCols())
        if (c == col) left = x;
    int top = -1;
    for (auto [r, y] : VisibleRows())
        if (r == row) top = y;
    if (left < 0 || top < 0) return TRect{};
    return Bounds(left, top, ColWidths(col), RowHeights(row));
}

void TCustomGrid::PlaceEditor() {
    if (!FInplaceEdit || !FEditorMode) return;
    TRect rect = EditorRect();
    // The column line stays in view beside the editor.
    if (rect.Width() > kCellWidth && (FOptions.Contains(goVertLine))) rect.Right -= kCellWidth;
    FInplaceEdit->SetBoundsRect(rect);
}

void TCustomGrid::FocusCell(int col, int row) {
    col = std::clamp(col, FFixedCols, FColCount - 1);
    row = std::clamp(row, FFixedRows, FRowCount - 1);
    if (col == FCol && row == FRow) return;
    if (!SelectCell(col, row)) return;
    // What was typed belongs to the cell being left.
    UpdateText();
    const int oldCol = FCol;
    const int oldRow = FRow;
    FCol = col;
    FRow = row;
    ScrollInView(FCol, FRow);
    CurrentChanged(oldCol, oldRow);
    if (FEditorMode) {
        if (CanEditShow()) {
            EnterEditor();
            PlaceEditor();
        } else {
            HideEditor();
        }
    }
    if (FCol != oldCol) RefocusEditor();
    Invalidate();
}

std::pair<int, int> TCustomGrid::MouseCoord(int x, int y) const {
    if (x < 0 || y < 0) return {-1, -1};
    int col = -1;
    for (auto [c, left] : VisibleCols())
        if (x >= left && x < left + ColWidths(c)) col = c;
    int row = -1;
    for (auto [r, top] : VisibleRows())
        if (y >= top && y < top + RowHeights(r)) row = r;
    if (col < 0 || row < 0) return {-1, -1};
    return {col, row};
}

void TCustomGrid::SetOptions(TGridOptions value) {
    if (FOptions == value) return;
    FOptions = value;
    if (FOptions.Contains(goAlwaysShowEditor) && FOptions.Contains(goEditing) && Focused())
        ShowEditor();
    else if (FEditorMode && !CanEditShow())
        HideEditor();
    Invalidate();
}

std::string TCustomGrid::Cells(int col, int row) const {
    auto it = FCells.find({col, row});
    return it == FCells.end() ? std::string() : it->second;
}

void TCustomGrid::SetCells(int col, int row, const std::string& value) {
    if (value.empty())
        FCells.erase({col, row});
    else
        FCells[{col, row}] = value;
    if (FEditorMode && col == FCol && row == FRow && FInplaceEdit && !FInplaceEdit->Modified()) ReloadEditor();
    Invalidate();
}

bool TCustomGrid::CanEditShow() const {
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FCol >= FFixedCols &&
           FRow >= FFixedRows;
}

std::string TCustomGrid::GetEditText(int col, int row) { return Cells(col, row); }

void TCustomGrid::SetEditText(int col, int row, const std::string& value) { SetCells(col, row, value); }

void TCustomGrid::SetEditorMode(bool value) {
    if (value)
        ShowEditor();
    else
        HideEditor();
}

void TCustomGrid::ShowEditor() {
    if (!CanEditShow()) return;
    if (!FInplaceEdit) {
        FInplaceEdit = TInplaceEdit::Create(this);
        FInplaceEdit->SetSubComponent(true);
        FInplaceEdit->SetParent(this);
    }
    FEditorMode = true;
    EnterEditor();
    PlaceEditor();
    FInplaceEdit->Show();
    // The editor's window is made now (the grid's first, when it has none),
    // and its creation is told to the grid.
    FInplaceEdit->HandleNeeded();
    if (Focused() && FInplaceEdit->CanFocus()) FInplaceEdit->SetFocus();
}

void TCustomGrid::HideEditor() {
    if (!FEditorMode) return;
    UpdateText();
    FEditorMode = false;
    if (!FInplaceEdit) return;
    const bool hadFocus = FInplaceEdit->Focused();
    FInplaceEdit->Hide();
    if (hadFocus && CanFocus()) SetFocus();
}

void TCustomGrid::ReloadEditor() {
    if (!FInplaceEdit) return;
    const TScopedFlag scoped(FUpdatingText);
    FInplaceEdit->SetMaxLength(GetEditLimit());
    FInplaceEdit->SetAlignment(GetEditAlignment());
    FInplaceEdit->SetText(GetEditText(FCol, FRow));
    FInplaceEdit->SetModified(false);
}

void TCustomGrid::EnterEditor() {
    ReloadEditor();
    if (FInplaceEdit) FInplaceEdit->SelectAll();
}

void TCustomGrid::UpdateText() {
    if (!FEditorMode || !FInplaceEdit || !FInplaceEdit->Modified() || FUpdatingText) return;
    const std::string text = FInplaceEdit->Text();
    FInplaceEdit->SetModified(false);
    SetEditText(FCol, FRow, text);
}

void TCustomGrid::EditorExit() { UpdateText(); }

void TCustomGrid::EditorKey(std::uint16_t& key, TShiftState shift) {
    switch (key) {
    case VK_RETURN:
        UpdateText();
        key = 0;
        break;
    case VK_ESCAPE:
        // Drops what was typed in the cell; with nothing typed, the grid
        // takes it (a data grid drops the record's changes).
        if (FInplaceEdit && FInplaceEdit->Modified()) {
            ReloadEditor();
            key = 0;
        } else {
            KeyDown(key, shift);
        }
        break;
    case VK_INSERT:
        KeyDown(key, shift);
        break;
    case VK_DELETE:
        // Delete alone deletes a character; Ctrl+Delete is the grid's.
        if (shift.Contains(ssCtrl)) KeyDown(key, shift);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_TAB:
        KeyDown(key, shift);
        break;
    default: break;
    }
}

void TCustomGrid::WMSetFocus(TMessage& message) {
    inherited::WMSetFocus(message);
    if (!Focused()) return;
    if (FOptions.Contains(goAlwaysShowEditor) && !FEditorMode) ShowEditor();
    // With editing on, the keys go to the editor.
    if (FEditorMode && FInplaceEdit && FInplaceEdit->CanFocus()) FInplaceEdit->SetFocus();
}

void TCustomGrid::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    switch (key) {
    case VK_UP: FocusCell(FCol, FRow - 1); break;
    case VK_DOWN: FocusCell(FCol, FRow + 1); break;
    case VK_LEFT: FocusCell(FCol - 1, FRow); break;
    case VK_RIGHT: FocusCell(FCol + 1, FRow); break;
    // A page is what the grid shows; Ctrl with Home or End goes to the
    // first or last row instead of the first or last column.
    case VK_PRIOR: FocusCell(FCol, FRow - VisibleRowCount()); break;
    case VK_NEXT: FocusCell(FCol, FRow + VisibleRowCount()); break;
    case VK_HOME:
        if (shift.Contains(ssCtrl)) FocusCell(FCol, FFixedRows);
        else FocusCell(FFixedCols, FRow);
        break;
    case VK_END:
        if (shift.Contains(ssCtrl)) FocusCell(FCol, FRowCount - 1);
        else FocusCell(FColCount - 1, FRow);
        break;
    case VK_TAB: {
        // Without goTabs, and past the last (or before the first) column,
        // Tab is the form's: it leaves the grid.
        if (!FOptions.Contains(goTabs) || shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return;
        const int next = shift.Contains(ssShift) ? FCol - 1 : FCol + 1;
        if (next < FFixedCols || next >= FColCount) return;
        FocusCell(next, FRow);
        break;
    }
    case VK_F2: ShowEditor(); break;
    default: return;
    }
    key = 0;
}

void TCustomGrid::KeyPress(char& key) {
    inherited::KeyPress(key);
    const auto c = static_cast<unsigned char>(key);
    if (c < 0x20 || c == 0x7F || FEditorMode || !CanEditShow()) return;
    // A character typed on the grid starts the edit and goes to the editor.
    ShowEditor();
    if (FInplaceEdit && FEditorMode) FInplaceEdit->Perform(WM_CHAR, c);
    key = 0;
}

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        // The editor's focus is the grid's already.
        const bool editorFocused = FInplaceEdit && FInplaceEdit->Focused();
        if (CanFocus() && !Focused() && !editorFocused) SetFocus();
        auto [col, row] = MouseCoord(x, y);
        if (col >= FFixedCols && row >= FFixedRows) FocusCell(col, row);
    }
    inherited::MouseDown(button, shift, x, y);
}

bool TCustomGrid::DoMouseWheelDown(TShiftState, TPoint) {
    FocusCell(FCol, FRow + 1);
    return true;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState, TPoint) {
    FocusCell(FCol, FRow - 1);
    return true;
}

// --- TGridDataLink -----------------------------------------------------------

void TGridDataLink::ActiveChanged() { FGrid->LinkActive(); }
void TGridDataLink::DataSetChanged() { FGrid->DataChanged(); }
void TGridDataLink::DataSetScrolled(int) { FGrid->SyncRow(); }
void TGridDataLink::LayoutChanged() { FGrid->LayoutChanged(); }
void TGridDataLink::RecordChanged(TField* field) { FGrid->RecordChanged(field); }
void TGridDataLink::UpdateData() { FGrid->UpdateData(); }

// --- TCustomDBGrid -----------------------------------------------------------

TCustomDBGrid::TCustomDBGrid(TComponent* owner)
    : TCustomGrid(owner), FDataLink(TGridDataLink::Create(this)), FTitleFont(TFont::Create()),
      FColumnItems(TDBGridColumns::Create(this)) {
    FDataLink->SetVisualControl(true);
    FTitleFont->Assign(Font());
    FTitleFont->OnChange = [this](TObject*) {
        if (!FTitleFollowing) FTitleFontOwn = true;
        Invalidate();
    };
    SetOptions({dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs, dgConfirmDelete,
                dgCancelOnExit});
    LayoutChanged();
}

void TCustomDBGrid::Destroy() {
    FDataLink->ReleaseFor(this);
    inherited::Destroy();
}

void TCustomDBGrid::SetDataSource(TDataSource* value) {
    if (!FDataLink->SetDataSourceFor(this, value)) return;
    LinkActive();
}

void TCustomDBGrid::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == opRemove && FDataLink && component == FDataLink->DataSource()) {
        FDataLink->SetDataSource(nullptr);
        LinkActive();
    }
}

void TCustomDBGrid::SetOptions(TDBGridOptions value) {
    // Row select and editing exclude each other.
    if (value.Contains(dgRowSelect)) value.Exclude(dgAlwaysShowEditor).Exclude(dgEditing);
    // The selected field stays selected when the indicator comes or goes.
    TField* selected = SelectedField();
    FOptions = value;
    TGridOptions grid = inherited::Options();
    auto map = [&grid](bool on, TGridOption option) {
        if (on)
            grid.Include(option);
        else
            grid.Exclude(option);
    };
    map(value.Contains(dgEditing), goEditing);
    map(value.Contains(dgAlwaysShowEditor), goAlwaysShowEditor);
    map(value.Contains(dgRowSelect), goRowSelect);
    map(value.Contains(dgTabs), goTabs);
    map(value.Contains(dgColLines), goVertLine);
    map(value.Contains(dgRowLines), goHorzLine);
    map(value.Contains(dgColumnResize), goColSizing);
    inherited::SetOptions(grid);
    LayoutChanged();
    SetSelectedField(selected);
}

void TCustomDBGrid::FontChanged() {
    inherited::FontChanged();
    if (FTitleFontOwn || !FTitleFont) return;
    const TScopedFlag scoped(FTitleFollowing);
    FTitleFont->Assign(Font());
}

void TCustomDBGrid::SetReadOnly(bool value) {
    FReadOnly = value;
    if (value) HideEditor();
}

TField* TCustomDBGrid::Fields(int index) const {
    if (index < 0 || index >= ColumnCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return FColumns[static_cast<size_t>(index)];
}

int TCustomDBGrid::SelectedIndex() const { return Col() - IndicatorOffset(); }

void TCustomDBGrid::SetSelectedIndex(int value) { SetCol(value + IndicatorOffset()); }

TField* TCustomDBGrid::SelectedField() const {
    const int index = SelectedIndex();
    return index >= 0 && index < ColumnCount() ? FColumns[static_cast<size_t>(index)] : nullptr;
}

void TCustomDBGrid::SetSelectedField(TField* value) {
    auto it = std::find(FColumns.begin(), FColumns.end(), value);
    if (value && it != FColumns.end()) SetSelectedIndex(static_cast<int>(it - FColumns.begin()));
}

void TCustomDBGrid::LinkActive() { LayoutChanged(); }

void TCustomDBGrid::LayoutChanged() {
    TField* selected = SelectedField();
    FColumns.clear();
    FShownItems.clear();
    if (FDataLink->Active())
        if (TDataSet* dataSet = FDataLink->DataSet()) {
            if (FColumnItems && FColumnItems->Count() > 0)
                ShowGivenColumns(dataSet);
            else
                for (int i = 0; i < dataSet->FieldCount(); ++i)
                    if (dataSet->Fields(i)->Visible()) FColumns.push_back(dataSet->Fields(i));
        }
    FShownItems.resize(FColumns.size(), nullptr);
    const int indicator = IndicatorOffset();
    const int titles = TitleOffset();
    // Counts grow before the fixed parts change, so the grid stays valid.
    SetColCount(indicator + std::max(1, ColumnCount()) + 1);
    SetFixedCols(indicator);
    SetColCount(indicator + std::max(1, ColumnCount()));
    SetRowCount(titles + 2);
    SetFixedRows(titles);
    auto it = std::find(FColumns.begin(), FColumns.end(), selected);
    if (selected && it != FColumns.end()) MoveCurrentTo(indicator + static_cast<int>(it - FColumns.begin()), Row());
    DataChanged();
}

void TCustomDBGrid::DataChanged() {
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    // The grid's rows are the rows shown: a record being inserted has one.
    // Never a count: a dataset that knows only the rows read so far reads on
    // when the cursor reaches the last of them, and SyncRow grows the rows.
    const int records = dataSet ? dataSet->DisplayRowCount() : 0;
    SetRowCount(TitleOffset() + std::max(1, records));
    SyncRow();
    if (EditorMode() && !CanEditShow()) HideEditor();
    else if (EditorMode()) ReloadEditor();
    Invalidate();
}

void TCustomDBGrid::SyncRow() {
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    const int shown = dataSet ? dataSet->DisplayRow() : -1;
    if (shown < 0) return;
    const TScopedFlag scoped(FSyncing);
    const int rows = TitleOffset() + std::max(shown + 1, dataSet->DisplayRowCount());
    if (rows > RowCount()) SetRowCount(rows);
    MoveCurrentTo(Col(), TitleOffset() + shown);
}

void TCustomDBGrid::RecordChanged(TField* field) {
    if (EditorMode() && InplaceEditor() && !InplaceEditor()->Modified() && (!field || field == SelectedField()))
        ReloadEditor();
    Invalidate();
}

void TCustomDBGrid::UpdateData() { UpdateText(); }

void TCustomDBGrid::CurrentChanged(int, int oldRow) {
    if (FSyncing || Row() == oldRow) return;
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    if (!dataSet || dataSet->IsEmpty()) return;
    // Moving the row moves the cursor; the scroll it causes syncs the row
    // back (to where the dataset could go).
    // A refused move (a post that failed) leaves the row with the cursor.
    const TFinally sync([this] { SyncRow(); });
    if (dataSet->State() != dsInsert) {
        dataSet->MoveBy(Row() - oldRow);
        return;
    }
    // Leaving a new record posts or drops it; dropped, its row goes and the
    // rows below it move up one.
    const int target = Row() - TitleOffset();
    const int inserted = dataSet->DisplayRow();
    const int rows = dataSet->DisplayRowCount();
    dataSet->CheckBrowseMode();
    const bool dropped = dataSet->DisplayRowCount() < rows;
    dataSet->MoveBy((dropped && target > inserted ? target - 1 : target) - dataSet->DisplayRow());
}

bool TCustomDBGrid::DoMouseWheelDown(TShiftState, TPoint) { return MoveByWheel(1); }

bool TCustomDBGrid::DoMouseWheelUp(TShiftState, TPoint) { return MoveByWheel(-1); }

bool TCustomDBGrid::MoveByWheel(int distance) {
    if (CanFocus() && !Focused()) SetFocus();
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    if (!dataSet) return false;
    // What was typed in the cell goes with the record it was typed for.
    UpdateText();
    dataSet->MoveBy(distance);
    return true;
}

void TCustomDBGrid::KeyDown(std::uint16_t& key, TShiftState shift) {
    inherited::KeyDown(key, shift);
    if (key != 0 && RecordKey(key, shift)) key = 0;
}

bool TCustomDBGrid::CanWriteRecords() const {
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    return dataSet && !FReadOnly && !FDataLink->ReadOnly() && dataSet->CanModify();
}

bool TCustomDBGrid::RecordKey(std::uint16_t key, TShiftState shift) {
    TDataSet* dataSet = FDataLink->Active() ? FDataLink->DataSet() : nullptr;
    if (!dataSet) return false;
    switch (key) {
    case VK_INSERT:
        if (!shift.Empty() || !CanWriteRecords() || !FOptions.Contains(dgEditing)) return false;
        // What was typed in the cell goes with the record it was typed for.
        UpdateText();
        dataSet->Insert();
        return true;
    case VK_DELETE: {
        if (shift != TShiftState{ssCtrl} || !CanWriteRecords()) return false;
        if (dataSet->IsEmpty() && dataSet->State() != dsInsert) return true;
        const TKeepAlive alive(this);
        if (FOptions.Contains(dgConfirmDelete) &&
            MessageDlg("Delete record?", mtConfirmation, {mbYes, mbNo}) != mrYes)
            return true;
        // The question ran a modal loop: the grid, its source or its
        // dataset may have changed or gone meanwhile.
        if (FreePending() || !CanWriteRecords()) return true;
        FDataLink->DataSet()->Delete();
        return true;
    }
    case VK_ESCAPE:
        // A read-only grid changed nothing: its Escape is the form's (a
        // lookup form's Cancel).
        if (!CanWriteRecords() || (dataSet->State() != dsEdit && dataSet->State() != dsInsert)) return false;
        dataSet->Cancel();
        return true;
    default:
        return false;
    }
}

bool TCustomDBGrid::CanEditShow() const {
    return !FReadOnly && FOptions.Contains(dgEditing) && FDataLink->Active() && SelectedField() &&
           inherited::CanEditShow();
}

bool TCustomDBGrid::CanEditModify() {
    TField* field = SelectedField();
    if (FReadOnly || FDataLink->ReadOnly() || !field || !field->CanModify()) return false;
    if (const TColumn* column = ColumnAt(SelectedIndex()); column && column->ReadOnly()) return false;
    if (TDataSet* dataSet = FDataLink->DataSet()) {
        if (dataSet->State() == dsEdit || dataSet->State() == dsInsert) return true;
        FDataLink->Edit();
        return dataSet->State() == dsEdit || dataSet->State() == dsInsert;
    }
    return false;
}

int TCustomDBGrid::GetEditLimit() {
    TField* field = SelectedField();
    return field && field->DataType() == ftString ? field->Size() : 0;
}

TAlignment TCustomDBGrid::GetEditAlignment() {
    const int index = SelectedIndex();
    return index >= 0 && index < ColumnCount() ? FieldAlignment(index) : taLeftJustify;
}

std::string TCustomDBGrid::GetEditText(int col, int) {
    const int index = col - IndicatorOffset();
    if (index < 0 || index >= ColumnCount()) return {};
    return FColumns[static_cast<size_t>(index)]->Text();
}

void TCustomDBGrid::SetEditText(int col, int, const std::string& value) {
    const int index = col - IndicatorOffset();
    if (index < 0 || index >= ColumnCount()) return;
    TField* field = FColumns[static_cast<size_t>(index)];
    if (!CanEditModify()) return;
    field->SetText(value);
}

void TDBGrid::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TDBGrid>();
    // What a new one is, is not written.
    p.Redeclare("ParentColor").Default(false);
    p.Redeclare("TabStop").Default(true);
    p.Component("DataSource", &TDBGrid::DataSource, &TDBGrid::SetDataSource);
    p.Set("Options", &TDBGrid::Options, &TDBGrid::SetOptions, DBGridOptionsTypeInfo())
        .Default(TDBGridOptions{dgEditing, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
                                dgConfirmDelete, dgCancelOnExit});
    p.Boolean("ReadOnly", &TDBGrid::ReadOnly, &TDBGrid::SetReadOnly).Default(false);
    p.Object("TitleFont", &TDBGrid::TitleFont);
    p.Collection("Columns", &TDBGrid::Columns);
}

} // namespace host
