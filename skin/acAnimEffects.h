#pragma once
// The skin manager's animation settings and its lists of foreign control
// classes to skin, plus the library's version switch on the command line.
#include "skin/sConst.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using TacBtnEvents = unsigned; // a set of TacBtnEvent bits

constexpr TacBtnEvents BtnEvent(TacBtnEvent e) { return 1u << e; }

struct TacBtnEffects {
    TacBtnEvents Events = BtnEvent(beMouseEnter) | BtnEvent(beMouseLeave) | BtnEvent(beMouseDown) | BtnEvent(beMouseUp);
};

struct TacFormAnimation {
    bool Active = true;
    uint16_t Time = 0; // milliseconds
};
struct TacDialogShow : TacFormAnimation {};
struct TacFormShow : TacFormAnimation {};
struct TacPageChange : TacFormAnimation {};
struct TacSkinChanging : TacFormAnimation {
    TacSkinChanging() { Time = 100; }
};

struct TacAnimEffects {
    TacBtnEffects Buttons;
    TacDialogShow DialogShow;
    TacFormShow FormShow;
    TacPageChange PageChange;
    TacSkinChanging SkinChanging;
};

// Eighteen lists of class names, one per line, reached by index.
class ThirdPartyList {
public:
    ThirdPartyList();
    // An index outside 0..17 leaves result unchanged and writes nothing.
    void GetByIndex(int index, std::string& result) const;
    void SetByIndex(int index, const std::string& value);

private:
    std::array<std::string, 18> texts_;
};

// The manager's side: with force every list takes its default, without it
// only an empty one does; the lists then take the texts.
void UpdateThirdNames(ThirdPartyList& props, std::array<std::vector<std::string>, 18>& lists, bool force);

// The version box text, when the command line asks for it (any case; once
// however often given); empty otherwise. args excludes the program name.
std::string SkinVersionRequest(const std::vector<std::string>& args);
