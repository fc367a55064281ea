#pragma once
// The pictures built into the program, found by resource name as the
// library's start-up reads them. tools/resgen draws them at build time.
#include <cstddef>
#include <string>

struct TacResource {
    const char* Name;
    const unsigned char* Data;
    size_t Size;
};

extern const TacResource acResourceTable[];
extern const size_t acResourceCount;

// The bytes of the named resource (names compare without regard to case).
// Raises EReadError "Resource <name> not found" for a name that is not there.
std::string ReadResource(const std::string& name);
