#include "SampleForm.h"

#include <cstdio>

namespace streamtest {

using namespace host;

Owned<TBitmap> SampleGlyph() {
    Owned<TBitmap> glyph(TBitmap::Create());
    glyph->SetSize(2, 2);
    glyph->SetPixel(0, 0, 0xFF0000);
    glyph->SetPixel(1, 0, 0x00FF00);
    glyph->SetPixel(0, 1, 0x0000FF);
    glyph->SetPixel(1, 1, 0xFFFFFF);
    return glyph;
}

std::string GlyphHex(const TBitmap& bitmap) {
    const std::vector<unsigned char> file = bitmap.SaveToMemory();
    std::vector<unsigned char> data;
    for (int i = 0; i < 4; ++i) data.push_back(static_cast<unsigned char>(file.size() >> (8 * i)));
    data.insert(data.end(), file.begin(), file.end());
    std::string hex;
    char pair[3];
    for (unsigned char b : data) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        hex += pair;
    }
    return hex;
}

std::string SampleFormText() {
    return "object MainForm: TProbeForm\n"
           "  Left = 10\n"
           "  Top = 20\n"
           "  Width = 400\n"
           "  Height = 300\n"
           "  Caption = 'Main'\n"
           "  object Grid: TDBGrid\n"
           "    Left = 0\n"
           "    Top = 0\n"
           "    Width = 400\n"
           "    Height = 200\n"
           "    Align = alClient\n"
           "    DataSource = Source\n"
           "    Options = [dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs]\n"
           "    ReadOnly = True\n"
           "    TabOrder = 0\n"
           "    OnDblClick = GridDblClick\n"
           "  end\n"
           "  object Panel1: TWinControl\n"
           "    Left = 0\n"
           "    Top = 200\n"
           "    Width = 400\n"
           "    Height = 100\n"
           "    Align = alBottom\n"
           "    Constraints.MaxHeight = 120\n"
           "    TabOrder = 1\n"
           "    object Edit1: TEdit\n"
           "      Left = 8\n"
           "      Top = 8\n"
           "      Width = 121\n"
           "      Height = 21\n"
           "      Cursor = crHandPoint\n"
           "      Hint = 'It''s'#13#10'here'\n"
           "      ShowHint = True\n"
           "      TabOrder = 0\n"
           "      Text = 'first ' +\n"
           "        'second'\n"
           "    end\n"
           "    object Button: TSpeedButton\n"
           "      Left = 130\n"
           "      Top = 8\n"
           "      Width = 23\n"
           "      Height = 22\n"
           "      Flat = True\n"
           "      Glyph.Data = {\n"
           "        " + GlyphHex(*SampleGlyph()) + "}\n"
           "    end\n"
           "  end\n"
           "  object Source: TDataSource\n"
           "    AutoEdit = False\n"
           "  end\n"
           "  object Probe: TProbe\n"
           "    Tag = 7\n"
           "    Source = Source\n"
           "    Keys.Strings = (\n"
           "      'CustNo'\n"
           "      'Order No')\n"
           "    Active = False\n"
           "    ShortCut = 16496\n"
           "    Count = -3\n"
           "    Color = clRed\n"
           "    Ratio = 1.25E2\n"
           "    Title = #$41'b'#99\n"
           "    Side = alRight\n"
           "    Styles = [psBold, psUnderline]\n"
           "    Blob = { 00 ff 10 }\n"
           "    Font.Name = 'Mono'\n"
           "    Font.Style = [psItalic]\n"
           "    Items = <\n"
           "      item\n"
           "        Caption = 'one'\n"
           "        Source = Source\n"
           "      end\n"
           "      item\n"
           "        Width = 10\n"
           "      end>\n"
           "    OnChange = GridDblClick\n"
           "    OnValue = ProbeValue\n"
           "  end\n"
           "end\n";
}

} // namespace streamtest
