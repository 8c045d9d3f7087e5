#include "tools/designer/DesignerWindow.h"

#include "host/core/Guards.h"
#include "host/ui/CellSurface.h"
#include "host/ui/ModalResult.h"

#include <algorithm>

namespace designer {

using namespace host;

namespace {

// A form built in code around one list box.
class TVerbMenu : public TForm {
    HOST_CLASS(TVerbMenu, TForm)
public:
    TListBox* List = nullptr;

protected:
    explicit TVerbMenu(TComponent* owner) : TForm(owner) {}
    void LoadDefinition() override {}
};

// A menu caption as it shows: the access key's "&" gone, "&&" a plain "&".
std::string Shown(const std::string& caption) {
    std::string text;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        text += caption[i];
    }
    return text;
}

} // namespace

HOST_IMPLEMENT_COMPONENT(TVerbMenu, TForm)

int ChooseVerb(const std::string& componentName, const std::vector<std::string>& verbs) {
    Owned<TVerbMenu> menu(TVerbMenu::Create(nullptr));
    menu->SetName("VerbMenu");
    menu->SetCaption(componentName);
    menu->SetPosition(poScreenCenter);
    size_t widest = componentName.size() + 4;
    for (const std::string& verb : verbs) widest = std::max(widest, verb.size() + 2);
    menu->SetClientWidth(static_cast<int>(widest) * kCellWidth);
    menu->SetClientHeight(static_cast<int>(verbs.size()) * kCellHeight);
    TListBox* list = TListBox::Create(menu.get());
    list->SetName("VerbList");
    list->SetAlign(alClient);
    list->SetParent(menu.get());
    for (const std::string& verb : verbs) list->Items()->Add(Shown(verb));
    list->SetItemIndex(0);
    menu->List = list;
    menu->SetActiveControl(list);
    TVerbMenu* form = menu.get();
    list->OnKeyDown = [form](TObject*, std::uint16_t& key, TShiftState shift) {
        if (!shift.Empty()) return;
        if (key == VK_RETURN) form->SetModalResult(mrOk);
        else if (key == VK_ESCAPE) form->SetModalResult(mrCancel);
        else return;
        key = 0;
    };
    list->OnDblClick = [form](TObject*) { form->SetModalResult(mrOk); };
    if (menu->ShowModal() != mrOk) return -1;
    return list->ItemIndex();
}

} // namespace designer
