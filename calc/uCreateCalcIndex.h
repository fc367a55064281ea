#pragma once
// The calculator index: "Calculators\index.txt" maps each tree path to its
// script, "Calculators\index.ini" holds the tree, one section per folder
// ("Root" for the top level). Also a calculator's description and picture,
// found through the index. Paths and texts are code page 1251 strings.
#include "platform/StringList.h"

#include <functional>
#include <string>

// Each section lists its folders before its calculators (the sort-mode
// choice of the last refresh; not stored).
extern bool FoldersFirst;

// Progress of a rebuild: line 1 the step, line 2 the folder or section. Set
// by the progress window while it shows; empty otherwise.
using TCalcIndexProgress = std::function<void(int line, const std::string& text)>;
extern TCalcIndexProgress CalcIndexProgress;

// Rebuilds both index files from the scripts below "Calculators" (made when
// missing). Scripts that cannot be read, whose title cannot stand in the
// tree or whose path "index.txt" cannot name so that it reads back as the
// same file are left out, each with a line in `notes`; so are links to
// folders (never followed) and linked scripts that lead out of the folder.
// Both files are written in full before either replaces the old one; false
// (old index kept as far as it was not yet replaced) when a file cannot be
// written.
bool CreateCalculatorsIndex(TStringList* notes = nullptr);

// The tree paths "index.txt" gives a file for, in its order; empty when it
// is missing.
TStringList IndexedCalculators();

// Whether both index files are there and show the same calculators: every
// calculator of the tree in "index.ini" has its file in "index.txt" and
// every file there its place in the tree (paths compare without regard to
// case, as lookups do). A pair that parted when a rebuild failed between
// its two renames, or was edited apart, does not agree.
bool CalculatorsIndexAgrees();

// The first part of a backslash-separated path; `path` keeps the rest
// (empty when there was one part only).
std::string SplitFirstPart(std::string& path);

// The script of a tree path, as "index.txt" names it, with the program
// folder in front; empty when the index or the entry is missing, or the
// entry names no "*.cal" file inside the calculators folder.
std::string CalculatorFile(const std::string& path);

// The description ("!" lines of the script's header, each ending in CR LF)
// and the picture file (empty when there is none) of a tree path.
void GetCalculatorInfo(std::string& picture, const std::string& path, std::string& description);

// Replaces the description in the script's header by the memo's lines;
// the code, from the first line holding "SIZE" on, keeps its bytes. false,
// with the reason in `error`, when the script is not in the index, has no
// title line (an emptied file) or cannot be read or written.
bool SaveCalculatorDescription(const std::string& path, const TStringList& memo, std::string* error = nullptr);
