// A data grid's given columns: which fields it shows, in what order, how
// wide and under what titles.

#include "host/core/Publisher.h"
#include "host/data/DataSet.h"
#include "host/ui/CellSurface.h"
#include "host/ui/Grids.h"
#include "host/ui/PropertyTypes.h"

#include <algorithm>

namespace host {

HOST_IMPLEMENT_CLASS(TColumnTitle, TPersistent)
HOST_IMPLEMENT_COLLECTION_ITEM(TColumn, TCollectionItem)
HOST_IMPLEMENT_CLASS(TDBGridColumns, TCollection)

// --- TColumnTitle --------------------------------------------------------------

std::string TColumnTitle::Caption() const {
    if (FCaptionAssigned) return FCaption;
    if (const TField* field = FColumn->Field()) return field->DisplayLabel();
    return FColumn->FieldName();
}

void TColumnTitle::SetCaption(const std::string& value) {
    FCaption = value;
    FCaptionAssigned = true;
    FColumn->TitleChanged();
}

void TColumnTitle::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TColumnTitle*>(source)) {
        FCaption = other->FCaption;
        FCaptionAssigned = other->FCaptionAssigned;
        FColumn->TitleChanged();
        return;
    }
    inherited::Assign(source);
}

void TColumnTitle::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TColumnTitle>();
    p.String("Caption", &TColumnTitle::Caption, &TColumnTitle::SetCaption)
        .StoredWhen([](const TObject* o) { return static_cast<const TColumnTitle*>(o)->CaptionAssigned(); });
}

// --- TColumn -------------------------------------------------------------------

TColumn::TColumn(TCollection* collection) : TCollectionItem(collection), FTitle(TColumnTitle::Create(this)) {}

TCustomDBGrid* TColumn::Grid() const {
    const auto* columns = dynamic_cast<const TDBGridColumns*>(Collection());
    return columns ? columns->Grid() : nullptr;
}

TField* TColumn::Field() const {
    const TCustomDBGrid* grid = Grid();
    if (!grid || FFieldName.empty() || !grid->DataLink()->Active()) return nullptr;
    TDataSet* dataSet = grid->DataLink()->DataSet();
    return dataSet ? dataSet->FindField(FFieldName) : nullptr;
}

void TColumn::SetFieldName(const std::string& value) {
    if (FFieldName == value) return;
    FFieldName = value;
    Changed(false);
}

int TColumn::Width() const {
    if (FWidth > 0) return FWidth;
    const TField* field = Field();
    if (!field) return Grid() ? Grid()->DefaultColWidth() : 64;
    const int chars = std::max(field->DisplayWidth(), static_cast<int>(DecodeUtf8(FTitle->Caption()).size()));
    return (chars + 1) * kCellWidth;
}

void TColumn::SetWidth(int value) {
    FWidth = std::max(0, value);
    Changed(false);
}

TAlignment TColumn::Alignment() const {
    if (FAlignmentAssigned) return FAlignment;
    const TField* field = Field();
    if (!field) return taLeftJustify;
    const TFieldType type = field->DataType();
    return type == ftInteger || type == ftLargeint || type == ftFloat ? taRightJustify : taLeftJustify;
}

void TColumn::SetAlignment(TAlignment value) {
    FAlignment = value;
    FAlignmentAssigned = true;
    Changed(false);
}

void TColumn::SetReadOnly(bool value) {
    FReadOnly = value;
    Changed(false);
}

void TColumn::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    Changed(false);
}

std::string TColumn::DisplayName() const { return FFieldName.empty() ? ClassName() : FFieldName; }

void TColumn::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TColumn*>(source)) {
        FFieldName = other->FFieldName;
        FWidth = other->FWidth;
        FAlignment = other->FAlignment;
        FAlignmentAssigned = other->FAlignmentAssigned;
        FReadOnly = other->FReadOnly;
        FVisible = other->FVisible;
        FTitle->Assign(other->FTitle.get());
        return;
    }
    inherited::Assign(source);
}

void TColumn::DeclarePublished(TPublisher& publisher) {
    auto p = publisher.Of<TColumn>();
    p.Enumeration("Alignment", &TColumn::Alignment, &TColumn::SetAlignment, AlignmentTypeInfo())
        .StoredWhen([](const TObject* o) { return static_cast<const TColumn*>(o)->AlignmentAssigned(); });
    p.String("FieldName", &TColumn::FieldName, &TColumn::SetFieldName).Default("");
    p.Boolean("ReadOnly", &TColumn::ReadOnly, &TColumn::SetReadOnly).Default(false);
    p.Object("Title", &TColumn::Title);
    p.Boolean("Visible", &TColumn::Visible, &TColumn::SetVisible).Default(true);
    p.Integer("Width", &TColumn::Width, &TColumn::SetWidth)
        .StoredWhen([](const TObject* o) { return static_cast<const TColumn*>(o)->WidthAssigned(); });
}

// --- TDBGridColumns ------------------------------------------------------------

TDBGridColumns::TDBGridColumns(TCustomDBGrid* grid) : TCollection(TColumn::ClassInfo()), FGrid(grid) {}

void TDBGridColumns::Update(TCollectionItem*) {
    if (FGrid) FGrid->ColumnsChanged();
}

// --- TCustomDBGrid's side ------------------------------------------------------

const TColumn* TCustomDBGrid::ColumnAt(int index) const {
    return index >= 0 && index < static_cast<int>(FShownItems.size()) ? FShownItems[static_cast<size_t>(index)]
                                                                     : nullptr;
}

std::string TCustomDBGrid::TitleText(int index) const {
    if (const TColumn* column = ColumnAt(index)) return column->Title()->Caption();
    return FColumns[static_cast<size_t>(index)]->DisplayLabel();
}

TAlignment TCustomDBGrid::FieldAlignment(int index) const {
    if (const TColumn* column = ColumnAt(index)) return column->Alignment();
    const TFieldType type = FColumns[static_cast<size_t>(index)]->DataType();
    return type == ftInteger || type == ftLargeint || type == ftFloat ? taRightJustify : taLeftJustify;
}

// A column naming no field of the dataset shows nothing.
void TCustomDBGrid::ShowGivenColumns(TDataSet* dataSet) {
    for (int i = 0; i < FColumnItems->Count(); ++i) {
        const TColumn* column = FColumnItems->Items(i);
        if (!column->Visible()) continue;
        if (TField* field = dataSet->FindField(column->FieldName())) {
            FColumns.push_back(field);
            FShownItems.push_back(column);
        }
    }
}

void TCustomDBGrid::ColumnsChanged() {
    if (!ComponentState().Contains(csDestroying)) LayoutChanged();
}

} // namespace host
