#pragma once
// The dumps library's work on a buffer: XOR with a library dump.
#include "buffer/HDumpBuffer.h"

#include <string>

// XORs the buffer with the dump's bytes (any dump format) from offset 0 up
// to the dump's or the buffer's end, whichever comes first; a byte that
// became 0 is marked as matching, any other as differing, and the buffer
// becomes modified. false when the dump cannot be read (nothing changed;
// `message` says why when the reader knows).
bool XorWithDumpFile(TDumpBuffer& buffer, const std::string& fileName, std::string& message);
