#pragma once
// Whether the system clipboard holds a hex dump text (see IsHexDumpText):
// false when it holds no text at all.
bool ClipboardHasHexText();
