#pragma once
// The library's command message: one message whose sub-code (the high word
// of wParam) names the command. Receivers compare with SkinCommandMessage,
// never with a literal.
#include <cstdint>

// 0xA100 after start-up.
extern int SkinCommandMessage;

enum TSkinCommand : uint16_t {
    AC_SETNEWSKIN = 1,
    AC_REMOVESKIN = 2,
    AC_REFRESH = 3,
    AC_GETPROVIDER = 4,
    AC_CHILDPAINT = 5,
    AC_CHECKUPDATING = 6,
    AC_CTRLHANDLED = 7,
    AC_SETUPDATING = 8,
    AC_SETMARK = 9,
    AC_GETUPDATING = 10,
    AC_GETOUTOFVIEW = 11,
    AC_BGCHANGEDIF = 12,
    AC_SECTIONCHANGED = 13,
    AC_MENUSHOWN = 14,
    AC_BEFOREREFRESH = 16,
    AC_FRAMEMOVED = 17, // no name of its own in the library's table
    AC_REPAINT = 18,
    AC_ISPAINTEDBG = 19,
    AC_PARENTBGCHANGED = 20,
    AC_GETBGCOLOR = 21,
    AC_SETOUTOFVIEW = 22,
    AC_PREPARECACHE = 23,
    AC_ADAPTCONTROL = 25,
    AC_GETSKININDEX = 26,
    AC_GETMANAGER = 27,
    AC_REWRAPCHILDREN = 28,
    AC_MOUSEENTER = 29,
    AC_MOUSELEAVE = 30,
    AC_BEGINUPDATE = 31,
    AC_ENDUPDATE = 32,
    AC_GETBG = 34,
    AC_DISABLEDPAINT = 35, // no name of its own in the library's table
    AC_GETCACHEFLAGS = 36,
    AC_UPDATEBORDERWND = 37,
    AC_LOCKREDRAW = 51,
    AC_UNLOCKREDRAW = 52,
    AC_GETAPPLICATION = 60,
    AC_GETCLIENTOFFSET = 61,
    AC_MENUHOTLEAVE = 675,
};

// wParam with the sub-code in the high word.
inline uint32_t MakeSkinWParam(uint16_t subCode, uint16_t low = 0) { return uint32_t(subCode) << 16 | low; }

// Start-up: the message number is fixed at 0xA100 (the windows library
// registers its event type alongside, skin/forms/acSkinCommand.h).
void sMessagesInitialization();
