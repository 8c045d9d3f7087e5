#pragma once
// Data-aware controls. TDBEdit shows one field of a data source's current
// record and writes what is typed back into it. TDBText shows a field as a
// label. TDBCheckBox shows a field as checked when its value is one of
// ValueChecked (a boolean field: when true), greyed when it is null, and
// writes the first of ValueChecked or ValueUnchecked when toggled.
// TDBNavigator moves through a dataset and edits it with a row of buttons,
// each enabled only when its action can run.
// TDBComboBox shows a field's text and writes the item picked (or the text
// typed, on leaving) back into it.
// Code: DBCtrls.cpp (TDBEdit), DBText.cpp, DBCheckBox.cpp, DBNavigator.cpp,
// DBComboBox.cpp.

#include "host/core/Export.h"
#include "host/data/DataLink.h"
#include "host/data/DataSource.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"

VESKAR_PUBLIC_BEGIN

namespace host {

class TDBEdit : public TCustomMaskEdit {
    HOST_CLASS(TDBEdit, TCustomMaskEdit)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    const std::string& DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const std::string& value);
    TField* Field() const { return FDataLink->Field(); }
    // Read-only here, or through the link (a read-only field or dataset does
    // not take typing either, since the link cannot edit).
    void SetReadOnly(bool value) override;
    TFieldDataLink* DataLink() const { return FDataLink.get(); }

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TDBEdit(TComponent* owner);
    void Destroy() override;

    bool EditCanModify() override;
    void Change() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void CMExit(TMessage& message) override;

private:
    VESKAR_LOCAL void DataChange(TObject* sender);
    void UpdateData(TObject* sender);
    // Writes a pending change into the field.
    void UpdateRecord();

    Owned<TFieldDataLink> FDataLink;
    bool FShowing = false;  // the text is being set from the field
};

class TDBText : public TCustomLabel {
    HOST_CLASS(TDBText, TCustomLabel)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    const std::string& DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const std::string& value);
    TField* Field() const { return FDataLink->Field(); }
    TFieldDataLink* DataLink() const { return FDataLink.get(); }
    // The field's text; the caption (the name, at design time) without one.
    std::string GetLabelText() const override;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TDBText(TComponent* owner);
    void Destroy() override;

private:
    VESKAR_LOCAL void DataChange(TObject* sender);

    Owned<TFieldDataLink> FDataLink;
};

class TDBCheckBox : public TCustomCheckBox {
    HOST_CLASS(TDBCheckBox, TCustomCheckBox)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    const std::string& DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const std::string& value);
    TField* Field() const { return FDataLink->Field(); }
    TFieldDataLink* DataLink() const { return FDataLink.get(); }
    bool ReadOnly() const { return FDataLink->ReadOnly(); }
    void SetReadOnly(bool value) { FDataLink->SetReadOnly(value); }
    // Values separated by ";", letter case ignored when compared.
    const std::string& ValueChecked() const { return FValueChecked; }
    void SetValueChecked(const std::string& value);
    const std::string& ValueUnchecked() const { return FValueUnchecked; }
    void SetValueUnchecked(const std::string& value);

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TDBCheckBox(TComponent* owner);
    void Destroy() override;
    void Toggle() override;

private:
    VESKAR_LOCAL void DataChange(TObject* sender);
    void UpdateData(TObject* sender);
    VESKAR_LOCAL TCheckBoxState FieldState() const;

    Owned<TFieldDataLink> FDataLink;
    std::string FValueChecked = "True";
    std::string FValueUnchecked = "False";
    bool FShowing = false;  // the state is being set from the field
};

class TDBComboBox : public TCustomComboBox {
    HOST_CLASS(TDBComboBox, TCustomComboBox)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    const std::string& DataField() const { return FDataLink->FieldName(); }
    void SetDataField(const std::string& value);
    TField* Field() const { return FDataLink->Field(); }
    TFieldDataLink* DataLink() const { return FDataLink.get(); }
    bool ReadOnly() const { return FDataLink->ReadOnly(); }
    void SetReadOnly(bool value) override;

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TDBComboBox(TComponent* owner);
    void Destroy() override;

    bool EditCanModify() override;
    void Change() override;
    void Select() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void CMExit(TMessage& message) override;

private:
    VESKAR_LOCAL void DataChange(TObject* sender);
    void UpdateData(TObject* sender);

    Owned<TFieldDataLink> FDataLink;
    bool FShowing = false;  // the text is being set from the field
};

enum TNavigateBtn { nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh };
using TButtonSet = TSet<TNavigateBtn>;
using TNavClickEvent = TEvent<void(TObject* Sender, TNavigateBtn Button)>;

class TDBNavigator;

// The navigator's link to its data source.
class TNavDataLink : public TDataLink {
    HOST_CLASS(TNavDataLink, TDataLink)
protected:
    explicit TNavDataLink(TDBNavigator* navigator) : FNavigator(navigator) {}
    void ActiveChanged() override;
    void DataSetChanged() override;
    void EditingChanged() override;

private:
    TDBNavigator* FNavigator;
};

// One of the navigator's buttons; the navigator owns and places them. The
// button the keyboard works on shows reversed while the navigator has the
// focus.
class TNavButton : public TSpeedButton {
    HOST_CLASS(TNavButton, TSpeedButton)
public:
    TNavigateBtn Index() const { return FIndex; }

protected:
    explicit TNavButton(TComponent* owner) : TSpeedButton(owner) {}
    void Paint() override;

private:
    friend class TDBNavigator;
    TNavigateBtn FIndex = nbFirst;
};

class TDBNavigator : public TCustomPanel {
    HOST_CLASS(TDBNavigator, TCustomPanel)
    static void DeclarePublished(::host::TPublisher& publisher);
public:
    TDataSource* DataSource() const { return FDataLink->DataSource(); }
    void SetDataSource(TDataSource* value);
    TNavDataLink* DataLink() const { return FDataLink.get(); }
    // The buttons shown, side by side in their order.
    TButtonSet VisibleButtons() const { return FVisibleButtons; }
    void SetVisibleButtons(TButtonSet value);
    TNavButton* Buttons(TNavigateBtn index) const { return FButtons[index]; }
    // Delete asks "Delete record?" first (MessageDlg, Yes and No) and
    // deletes only on Yes. On by default.
    bool ConfirmDelete() const { return FConfirmDelete; }
    void SetConfirmDelete(bool value) { FConfirmDelete = value; }
    // Runs a button's action, as clicking it does (an enabled one only):
    // BeforeAction, the action, then OnNavClick, which is told of the
    // button even when the user declined a delete.
    virtual void BtnClick(TNavigateBtn index);

    TNavClickEvent BeforeAction;
    // Published as OnClick: the navigator's click tells which button.
    TNavClickEvent OnNavClick;

    // The button the keyboard works on while the navigator has the focus:
    // Left and Right move it among the visible buttons, Space clicks it.
    TNavigateBtn FocusedButton() const { return FFocusedButton; }

    void Notification(TComponent* component, TOperation operation) override;

protected:
    explicit TDBNavigator(TComponent* owner);
    void Constructed() override;
    void Destroy() override;
    void Resize() override;
    void EnabledChanged() override;
    void KeyDown(std::uint16_t& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;

private:
    friend class TNavDataLink;
    // Enables each button by the dataset's state and position.
    VESKAR_LOCAL void UpdateButtons();
    VESKAR_LOCAL void LayoutButtons();

    Owned<TNavDataLink> FDataLink;
    TNavButton* FButtons[nbRefresh + 1] = {};  // owned and parented here
    TButtonSet FVisibleButtons{nbFirst, nbPrior, nbNext, nbLast, nbInsert, nbDelete, nbEdit, nbPost, nbCancel, nbRefresh};
    bool FConfirmDelete = true;
    TNavigateBtn FFocusedButton = nbFirst;
};

} // namespace host

VESKAR_PUBLIC_END
