#include "host/stream/StandardClasses.h"

#include "host/core/ClassRegistry.h"
#include "host/core/Component.h"
#include "host/data/DataSource.h"
#include "host/data/MemoryDataSet.h"
#include "host/ui/Buttons.h"
#include "host/ui/ComCtrls.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/Menus.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"

namespace host {

void RegisterStandardClasses() {
    RegisterClasses({&TForm::ClassInfo(), &TPanel::ClassInfo(), &TEdit::ClassInfo(), &TMemo::ClassInfo(),
                     &TButton::ClassInfo(), &TBitBtn::ClassInfo(), &TSpeedButton::ClassInfo(),
                     &TLabel::ClassInfo(), &TGroupBox::ClassInfo(), &TRadioGroup::ClassInfo(), &TCheckBox::ClassInfo(),
                     &TListBox::ClassInfo(), &TComboBox::ClassInfo(), &TStaticText::ClassInfo(), &TDBEdit::ClassInfo(),
                     &TDBText::ClassInfo(), &TDBCheckBox::ClassInfo(), &TDBComboBox::ClassInfo(), &TDBNavigator::ClassInfo(),
                     &TDBGrid::ClassInfo(), &TPageControl::ClassInfo(), &TTabSheet::ClassInfo(),
                     &TStatusBar::ClassInfo(), &TMainMenu::ClassInfo(), &TPopupMenu::ClassInfo(),
                     &TMenuItem::ClassInfo(), &TDataModule::ClassInfo(), &TDataSource::ClassInfo(),
                     &TMemoryDataSet::ClassInfo()});
}

} // namespace host
