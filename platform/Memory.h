#pragma once
// Hints about large blocks of memory.
#include <cstddef>

// Asks the system to back the block with large pages where it can: the
// first write to hundreds of megabytes otherwise takes one fault per small
// page, which costs far more than the writing. Small blocks are left alone;
// a system without large pages ignores the hint.
void AdviseLargePages(void* block, size_t size);
