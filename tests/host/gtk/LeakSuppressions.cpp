// Fontconfig keeps its configuration and font caches until the process
// ends (Pango and Cairo hold on to them); the leak checker is told so, and
// of nothing else.

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
