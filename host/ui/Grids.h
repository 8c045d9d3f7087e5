#pragma once
// Grids: a windowed control of cells in columns and rows, the first ones
// fixed (titles). One cell is current (Col, Row). Editing a cell shows an
// in-place editor, a windowed child the grid makes at its first edit and
// keeps; what is typed there goes back to the cell on Enter or on leaving
// the editor.
//
// TCustomDBGrid shows a data source's dataset: a column per visible field,
// a row per record. Its current row is the dataset's cursor, both ways.
//
// Layout: each column is ColWidths wide and each row RowHeights high, the
// fixed ones first, then the scrolling ones from LeftCol and TopRow on.
// Painting scrolls so the current cell shows. Column lines take the last
// cell column of each column; a line under the fixed rows takes the last
// cell row of a fixed row two cells high or more. A data grid's titles are
// two cells high (text and line), its records one each, and it reads only
// the records it shows. Painting code: GridPaint.cpp.

#include "host/core/Collection.h"
#include "host/core/Export.h"
#include "host/core/Set.h"
#include "host/data/DataLink.h"
#include "host/data/DataSource.h"
#include "host/ui/StdCtrls.h"

#include <algorithm>
#include <map>
#include <string>
#include <utility>
#include <vector>

VESKAR_PUBLIC_BEGIN

namespace host {

class TCustomGrid;

enum TGridOption {
    goFixedVertLine,
    goFixedHorzLine,
    goVertLine,
    goHorzLine,
    goRangeSelect,
    goDrawFocusSelected,
    goRowSizing,
    goColSizing,
    goRowMoving,
    goColMoving,
    goEditing,
    goTabs,
    goRowSelect,
    goAlwaysShowEditor,
    goThumbTracking,
};
using TGridOptions = TSet<TGridOption>;

// The grid's in-place editor. Its owner and parent are the grid.
class TInplaceEdit : public TCustomMaskEdit {
    HOST_CLASS(TInplaceEdit, TCustomMaskEdit)
public:
    TCustomGrid* Grid() const { return FGrid; }

protected:
    explicit TInplaceEdit(TComponent* owner);

    bool EditCanModify() override;
    void Change() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    // Ctrl+Delete is left to the grid (a data grid deletes the record).
    void EditKey(std::uint16_t& key, TShiftState shift) override;
    void CMExit(TMessage& message) override;

private:
    friend class TCustomGrid;
    TCustomGrid* FGrid;
};

class TCustomGrid : public TCustomControl {
    HOST_CLASS(TCustomGrid, TCustomControl)
public:
    int ColCount() const { return FColCount; }
    void SetColCount(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    // Fixed columns and rows come first and are never current; there is at
    // least one scrolling column and row.
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int value);
    int Col() const { return FCol; }
    void SetCol(int value) { FocusCell(value, FRow); }
    int Row() const { return FRow; }
    void SetRow(int value) { FocusCell(FCol, value); }
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int value) { FDefaultColWidth = value > 0 ? value : 1; }
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int value) { FDefaultRowHeight = value > 0 ? value : 1; }
    // The cell under a point of the client area; -1, -1 outside every cell.
    std::pair<int, int> MouseCoord(int x, int y) const;
    // Column widths and row heights in pixels.
    virtual int ColWidths(int col) const;
    virtual int RowHeights(int row) const;
    // The first scrolling row and column in view.
    int TopRow() const { return FTopRow; }
    void SetTopRow(int value);
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int value);
    // The scrolling rows that fit below the fixed ones, one at least.
    int VisibleRowCount() const;
    // A cell's rectangle in the client area; empty when it is out of view.
    TRect CellRect(int col, int row) const;

    TGridOptions Options() const { return FOptions; }
    void SetOptions(TGridOptions value);

    // The text of a cell; "" for a cell never set.
    std::string Cells(int col, int row) const;
    void SetCells(int col, int row, const std::string& value);

    // Nil until the first cell edit.
    TInplaceEdit* InplaceEditor() const { return FInplaceEdit; }
    // True while the current cell is being edited.
    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool value);
    // Shows the editor on the current cell when the cell may be edited.
    void ShowEditor();
    // Writes the editor's text back and hides it.
    void HideEditor();

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TCustomGrid(TComponent* owner);
    void Destroy() override;

    // The cell may be edited (goEditing on, no row select, a scrolling cell).
    virtual bool CanEditShow() const;
    // Asked before a typed key changes the editor's text.
    virtual bool CanEditModify() { return true; }
    virtual std::string GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const std::string& value);
    // The most characters the editor takes in a cell (0: no limit), and
    // how it aligns the cell's text.
    virtual int GetEditLimit() { return 0; }
    virtual TAlignment GetEditAlignment() { return taLeftJustify; }
    // Asked before the current cell moves; false keeps it.
    virtual bool SelectCell(int /*col*/, int /*row*/) { return true; }
    // Told after the current cell moved (by any means).
    virtual void CurrentChanged(int /*oldCol*/, int /*oldRow*/) {}
    // Told when the editor's text changed.
    virtual void EditorChanged() {}
    // Writes the editor's text to the current cell when it changed.
    void UpdateText();
    // Moves the current cell, clamped to the scrolling cells.
    void FocusCell(int col, int row);
    // Moves the current cell without asking or telling (the grid's own
    // bookkeeping, such as following a dataset).
    void MoveCurrentTo(int col, int row);
    // Reloads the editor's text from the current cell.
    void ReloadEditor();
    // Loads the editor for a cell it enters: all its text selected, so
    // what is typed first replaces it.
    void EnterEditor();

    void WMSetFocus(TMessage& message) override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    // A notch of the wheel moves the current row by one, as the arrow keys do.
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;

    void Paint() override;
    // Draws one cell's content in Rect (the column line excluded).
    virtual void DrawCell(int col, int row, const TRect& rect, bool current);
    // Scrolls so that Row (and Col) show.
    void ScrollInView(int col, int row);
    // Draws the column lines and the line under the fixed rows over cells
    // drawn up to Bottom.
    void DrawGridLines(int bottom);
    // The x of each column in view (fixed, then scrolling from LeftCol),
    // and the y of each row in view, up to the client area's edge.
    std::vector<std::pair<int, int>> VisibleCols() const;
    std::vector<std::pair<int, int>> VisibleRows() const;
    // The x just past the last column in view.
    int ColumnsRight() const;
    // Moves TopRow while painting: what is painted already shows it.
    void ScrollQuietly(int topRow) { FTopRow = std::clamp(topRow, FFixedRows, FRowCount - 1); }
    // Puts the editor on the current cell's rectangle.
    void PlaceEditor();
    virtual TRect EditorRect() const { return CellRect(FCol, FRow); }

private:
    friend class TInplaceEdit;
    VESKAR_LOCAL void ClampCurrent();
    VESKAR_LOCAL void EditorExit();
    VESKAR_LOCAL void EditorKey(std::uint16_t& key, TShiftState shift);
    VESKAR_LOCAL void RefocusEditor();

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FCol = 1;
    int FRow = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    TGridOptions FOptions;
    std::map<std::pair<int, int>, std::string> FCells;
    TInplaceEdit* FInplaceEdit = nullptr;  // owned and parented by the grid
    bool FEditorMode = false;
    bool FUpdatingText = false;
    int FTopRow = 1;
    int FLeftCol = 1;
};

class TDrawGrid : public TCustomGrid {
    HOST_CLASS(TDrawGrid, TCustomGrid)
protected:
    explicit TDrawGrid(TComponent* owner) : TCustomGrid(owner) {}
};

class TStringGrid : public TDrawGrid {
    HOST_CLASS(TStringGrid, TDrawGrid)
protected:
    explicit TStringGrid(TComponent* owner) : TDrawGrid(owner) {}
};

enum TDBGridOption {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
    dgTitleClick,     // kept for form files; titles here take no clicks
    dgTitleHotTrack,  // kept for form files; titles here are not tracked
};
using TDBGridOptions = TSet<TDBGridOption>;

class TCustomDBGrid;
class TColumn;

// A column's title: its caption is the field's label until one is given.
class TColumnTitle : public TPersistent {
    HOST_CLASS(TColumnTitle, TPersistent)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    std::string Caption() const;
    void SetCaption(const std::string& value);
    bool CaptionAssigned() const { return FCaptionAssigned; }
    TColumn* Column() const { return FColumn; }
    void Assign(const TPersistent* source) override;

protected:
    explicit TColumnTitle(TColumn* column) : FColumn(column) {}

private:
    TColumn* FColumn;
    std::string FCaption;
    bool FCaptionAssigned = false;
};

// One column of a data grid, naming the field it shows. Width and
// Alignment follow the field until they are given. Code: DBGridColumns.cpp.
class TColumn : public TCollectionItem {
    HOST_CLASS(TColumn, TCollectionItem)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    const std::string& FieldName() const { return FFieldName; }
    void SetFieldName(const std::string& value);
    // The grid's dataset's field of that name; nil when there is none.
    TField* Field() const;
    TColumnTitle* Title() const { return FTitle.get(); }
    // Pixels; the field's display width when none was given.
    int Width() const;
    void SetWidth(int value);
    bool WidthAssigned() const { return FWidth > 0; }
    TAlignment Alignment() const;
    void SetAlignment(TAlignment value);
    bool AlignmentAssigned() const { return FAlignmentAssigned; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TCustomDBGrid* Grid() const;
    std::string DisplayName() const override;
    void Assign(const TPersistent* source) override;

protected:
    explicit TColumn(TCollection* collection);

private:
    friend class TColumnTitle;
    VESKAR_LOCAL void TitleChanged() { Changed(false); }

    std::string FFieldName;
    Owned<TColumnTitle> FTitle;
    int FWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    bool FAlignmentAssigned = false;
    bool FReadOnly = false;
    bool FVisible = true;
};

// A data grid's columns. Empty, the grid shows every visible field.
class TDBGridColumns : public TCollection {
    HOST_CLASS(TDBGridColumns, TCollection)
public:
    TCustomDBGrid* Grid() const { return FGrid; }
    TColumn* Items(int index) const { return static_cast<TColumn*>(TCollection::Items(index)); }
    TColumn* Add() { return static_cast<TColumn*>(TCollection::Add()); }

protected:
    explicit TDBGridColumns(TCustomDBGrid* grid);
    void Update(TCollectionItem* item) override;

private:
    TCustomDBGrid* FGrid;
};

// The grid's link to its data source.
class TGridDataLink : public TDataLink {
    HOST_CLASS(TGridDataLink, TDataLink)
public:
    TCustomDBGrid* Grid() const { return FGrid; }

protected:
    explicit TGridDataLink(TCustomDBGrid* grid) : FGrid(grid) {}
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;

private:
    TCustomDBGrid* FGrid;
};

class TCustomDBGrid : public TCustomGrid {
    HOST_CLASS(TCustomDBGrid, TCustomGrid)
public:
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    TGridDataLink* DataLink() const { return FDataLink.get(); }
    TDBGridOptions Options() const { return FOptions; }
    void SetOptions(TDBGridOptions value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    // The font of the column titles. It follows the grid's Font until it is
    // changed by itself.
    TFont* TitleFont() const { return FTitleFont.get(); }
    void SetTitleFont(const TFont* value) { FTitleFont->Assign(value); }

    // The columns as given; empty shows every visible field.
    TDBGridColumns* Columns() const { return FColumnItems.get(); }
    void SetColumns(const TDBGridColumns* value) { FColumnItems->Assign(value); }
    // The fields shown, one a column: those of the visible columns that name
    // a field of the dataset, or else its visible fields in field order.
    int FieldCount() const { return static_cast<int>(FColumns.size()); }
    int ColumnCount() const { return FieldCount(); }
    TField* Fields(int index) const;
    // The column of the current cell, counted from the first data column;
    // the field shown there (nil when there is none).
    int SelectedIndex() const;
    void SetSelectedIndex(int value);
    TField* SelectedField() const;
    // A field that has no column leaves the selection as it is.
    void SetSelectedField(TField* value);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TCustomDBGrid(TComponent* owner);
    void Destroy() override;

    bool CanEditShow() const override;
    bool CanEditModify() override;
    int GetEditLimit() override;
    TAlignment GetEditAlignment() override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
    void CurrentChanged(int oldCol, int oldRow) override;
    void FontChanged() override;
    int ColWidths(int col) const override;
    int RowHeights(int row) const override;
    void Paint() override;
    // A notch of the wheel takes the focus and moves the dataset's cursor
    // by one record.
    bool DoMouseWheelDown(TShiftState shift, TPoint mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, TPoint mousePos) override;
    // The record keys: Insert inserts a record, Ctrl+Delete deletes the
    // current one (asking "Delete record?" first under dgConfirmDelete),
    // Escape drops the record's changes. A grid or dataset that cannot be
    // written leaves them to the form.
    void KeyDown(std::uint16_t& key, TShiftState shift) override;

private:
    friend class TGridDataLink;
    VESKAR_LOCAL bool MoveByWheel(int distance);
    VESKAR_LOCAL bool RecordKey(std::uint16_t key, TShiftState shift);
    VESKAR_LOCAL bool CanWriteRecords() const;
    VESKAR_LOCAL int IndicatorOffset() const { return FOptions.Contains(dgIndicator) ? 1 : 0; }
    VESKAR_LOCAL int TitleOffset() const { return FOptions.Contains(dgTitles) ? 1 : 0; }
    VESKAR_LOCAL void LinkActive();
    void LayoutChanged();
    VESKAR_LOCAL void DataChanged();
    void RecordChanged(TField* field);
    void UpdateData();
    VESKAR_LOCAL void SyncRow();
    VESKAR_LOCAL void PaintTitles(const std::vector<std::pair<int, int>>& cols);
    VESKAR_LOCAL void PaintRecord(TDataSet* dataSet, int record, int y, bool current,
                     const std::vector<std::pair<int, int>>& cols);
    // The height of the title row, 0 without titles.
    VESKAR_LOCAL int TitleHeight() const;
    // The column given for a shown field; nil when they are the fields'.
    VESKAR_LOCAL const TColumn* ColumnAt(int index) const;
    VESKAR_LOCAL std::string TitleText(int index) const;
    VESKAR_LOCAL TAlignment FieldAlignment(int index) const;
    VESKAR_LOCAL void ShowGivenColumns(TDataSet* dataSet);
    friend class TDBGridColumns;
    VESKAR_LOCAL void ColumnsChanged();

    Owned<TGridDataLink> FDataLink;
    Owned<TFont> FTitleFont;
    bool FTitleFontOwn = false;     // changed by itself: no longer follows Font
    bool FTitleFollowing = false;   // being copied from Font
    TDBGridOptions FOptions;
    bool FReadOnly = false;
    std::vector<TField*> FColumns;
    std::vector<const TColumn*> FShownItems;  // beside FColumns; nil for a field's own column
    Owned<TDBGridColumns> FColumnItems;
    bool FSyncing = false;  // the row follows the dataset, not the other way
};

class TDBGrid : public TCustomDBGrid {
    HOST_CLASS(TDBGrid, TCustomDBGrid)
    static void DeclarePublished(::host::TPublisher& publisher);
protected:
    explicit TDBGrid(TComponent* owner) : TCustomDBGrid(owner) {}
};

} // namespace host

VESKAR_PUBLIC_END
