#pragma once
// The calculator assembler: turns the compiler's listing into image bytes.
//
// Listing lines: ";" starts a comment; a name followed by a colon defines a
// label; ".db " and pairs of hexadecimal digits emits those bytes; anything
// else is an instruction: the mnemonic padded to 8 columns, then operands at
// columns 9, 18 and 27 as 8 hexadecimal digits separated by one blank. A
// label operand ('l') is the rest of the line from its column; a 'd' operand
// in the second place may be "$" and a label name, giving the label's offset.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "calc/uCalcCompilerImage.h"

// An operand as the listing writes it: 8 upper-case hexadecimal digits.
std::string CalcHex(uint32_t value);
// An instruction line: the mnemonic padded to 8 columns, the operands after
// it separated by one blank.
std::string CalcListingLine(const std::string& mnemonic, std::initializer_list<std::string> operands = {});

// Row (= opcode) of the mnemonic in the first 8 columns of the line (a
// shorter line counts as padded with blanks), or -1.
int FindCalcMnemonic(const std::string& line);

// Writes one operand of the given letter at position and advances it; false
// when the value does not fit the letter's size or the image is full.
bool EmitCalcOperand(char letter, uint32_t value, int& position, TCalcImage& image);

// Two passes over the listing, each from image position 0; position is the
// image length afterwards. The labels PROC_ONSHOW, PROC_ONAPPLY and
// PROC_ONCHANGE set the entry offsets of the header. false with the message
// in errorText at the first fault.
bool AssembleCalculator(const std::vector<std::string>& listing, std::string& errorText, int& position,
                        TCalcImage& image);

// Peephole: a value copied into the temporary 255, changed there and copied
// back becomes one instruction on the value's own register; the three lines
// stay as comments ";ooo ".
void OptimizeCalcListing(std::vector<std::string>& listing);
