#include "host/terminal/MessageForm.h"

#include "host/ui/StdCtrls.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace host::term {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

// Characters on the screen: a UTF-8 sequence counts once.
int Columns(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

} // namespace

TForm* MakeMessageForm(const std::string& caption, const std::string& text, int cellWidth, int cellHeight) {
    const std::vector<std::string> lines = Lines(text);
    int widest = Columns(caption) + 6;
    for (const std::string& line : lines) widest = std::max(widest, Columns(line) + 4);
    // Never wider than the screen; a longer line is cut by its control.
    const int cols = std::clamp(widest, 24, std::max(24, Screen()->Width() / cellWidth - 4));

    TForm* form = TForm::Create(nullptr);
    form->SetBorderStyle(bsDialog);
    form->SetCaption(caption);
    form->SetPosition(poScreenCenter);
    form->SetClientWidth(cols * cellWidth);
    const int rows = static_cast<int>(lines.size());
    form->SetClientHeight((rows + 4) * cellHeight);
    for (int i = 0; i < rows; ++i) {
        TStaticText* label = TStaticText::Create(form);
        label->SetShowAccelChar(false);
        label->SetCaption(lines[static_cast<std::size_t>(i)]);
        label->SetBounds(2 * cellWidth, (1 + i) * cellHeight, (cols - 4) * cellWidth, cellHeight);
        label->SetParent(form);
    }
    TButton* ok = TButton::Create(form);
    ok->SetName("OK");
    ok->SetCaption("OK");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->SetCancel(true);
    const int buttonCols = 8;
    ok->SetBounds((cols - buttonCols) / 2 * cellWidth, (rows + 2) * cellHeight, buttonCols * cellWidth, cellHeight);
    ok->SetParent(form);
    form->SetActiveControl(ok);
    return form;
}

} // namespace host::term
