#pragma once
// Inner helpers of the link, shared by its two source files.
#include <cstdint>
#include <initializer_list>

namespace enginelink {

// True when the whole packet went out in one write.
bool WritePipe(int handle, const uint8_t* data, int count);
bool WriteCommand(std::initializer_list<uint8_t> bytes);
// Command and reply pipes both open.
bool LinkOpen();
// Empties the read buffer and reads the reply pipe dry (bounded).
void DiscardReplies();
// One reply byte; time-out and error both count as failure.
bool ReadReply(uint8_t& b);
// Block mode off, gathered bytes dropped.
void LeaveBlockMode();

} // namespace enginelink
