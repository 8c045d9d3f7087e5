#include "host/designer/StdReg.h"

#include "host/core/ClassRegistry.h"
#include "host/core/ComponentRegistration.h"
#include "host/data/DataSource.h"
#include "host/data/PostgresConnection.h"
#include "host/data/SqlQuery.h"
#include "host/data/SqlTable.h"
#include "host/data/SqliteConnection.h"
#include "host/ui/Buttons.h"
#include "host/ui/DBCtrls.h"
#include "host/ui/ExtCtrls.h"
#include "host/ui/Forms.h"
#include "host/ui/Grids.h"
#include "host/ui/SpeedButton.h"
#include "host/ui/StdCtrls.h"

namespace host {

void RegisterStandardComponents() {
    // The roots a form file may have.
    RegisterClasses({&TForm::ClassInfo(), &TDataModule::ClassInfo()});
    RegisterComponents("Standard", {&ClassOf<TLabel>(), &ClassOf<TEdit>(), &ClassOf<TMemo>(), &ClassOf<TButton>(),
                                    &ClassOf<TCheckBox>(), &ClassOf<TListBox>(), &ClassOf<TGroupBox>(),
                                    &ClassOf<TPanel>()});
    RegisterComponents("Additional", {&ClassOf<TBitBtn>(), &ClassOf<TSpeedButton>(), &ClassOf<TStaticText>(),
                                      &ClassOf<TStringGrid>()});
    RegisterComponents("Data Access", {&ClassOf<TDataSource>(), &ClassOf<TSQLTable>(), &ClassOf<TSQLQuery>(),
                                       &ClassOf<TSQLiteConnection>(), &ClassOf<TPostgresConnection>()});
    RegisterComponents("Data Controls", {&ClassOf<TDBGrid>(), &ClassOf<TDBNavigator>(), &ClassOf<TDBText>(),
                                         &ClassOf<TDBEdit>(), &ClassOf<TDBCheckBox>()});
}

} // namespace host
