#pragma once
// A form text that uses every kind of value, for the reader, writer and
// fuzz tests.

#include "host/ui/Graphics.h"

#include <string>
#include <vector>

namespace streamtest {

// A 2 x 2 bitmap with four different pixels.
host::Owned<host::TBitmap> SampleGlyph();
// The form file's text of a bitmap's Data: size, then the BMP file, in hex.
std::string GlyphHex(const host::TBitmap& bitmap);

// MainForm (TProbeForm): Grid, Panel1 with Edit1 and Button, Source, Probe.
std::string SampleFormText();

} // namespace streamtest
